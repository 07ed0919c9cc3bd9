#include "mainwin/feuille_p.h"

#include "platform/pixel_painting.h"

#include <cmath>

#include "config/record_file.h"
#include "exercises/exercise_file.h"
#include "mainwin/background_painter.h"
#include "mainwin/flag_file.h"
#include "mainwin/hover_texts.h"
#include "mainwin/text_zoom.h"
#include "mainwin/image_button.h"
#include "mainwin/intro_text.h"
#include "mainwin/keyboard_access.h"
#include "mainwin/layout.h"
#include "mainwin/pacing_controls.h"
#include "mainwin/perturbation_panel.h"
#include "mainwin/rope_panel.h"
#include "mainwin/shared_state.h"
#include "mainwin/size_rule.h"
#include "mainwin/tab_strip.h"
#include "mainwin/tool_icons.h"
#include "mainwin/zoom.h"
#include "measure/chronometer_controls.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "measure/tools_panel.h"
#include "platform/messages.h"
#include "sim/simulation.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTextEdit>
#include <QToolButton>

namespace tolvi {

FeuilleP::FeuilleP(Simulation& sim, SharedState& shared, Messages& messages, QWidget* parent)
    : QWidget(parent), sim_(sim), shared_(shared), messages_(messages)
{
    setObjectName(QStringLiteral("feuilleP"));
    setWindowTitle(QStringLiteral("Tolvi"));
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    setFont(font);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 224));
    setPalette(pal);
    resize(layout::kClient);
    setMouseTracking(true);
    background_ = backgroundImage(layout::kClient, designedBackgroundLayout());
    endProgram = [] { QCoreApplication::exit(0); };

    buildTopRow();

    animpic_ = new RopePicture(sim_, this);
    animpic_->setGeometry(layout::kAnimpic);

    demar_ = new QPushButton(this);
    demar_->setObjectName(QStringLiteral("demar"));
    demar_->setGeometry(layout::kDemar);
    demar_->setToolTip(QStringLiteral("Commande de la déformation"));
    connect(demar_, &QPushButton::clicked, this, [this] { sim_.demar_Click(); });

    command16_ = new ImageButton(this);
    command16_->setObjectName(QStringLiteral("command16"));
    command16_->setGeometry(layout::kCommand16);
    command16_->setToolTip(QStringLiteral("Pause"));
    command16_->setPicture([](qreal ratio) { return icons::pause(true, ratio); });
    connect(command16_, &ImageButton::clicked, this, [this] { sim_.command16_Click(); });

    pacing_ = new PacingControls(sim_, this);
    connect(pacing_, &PacingControls::speedChanged, this, &FeuilleP::syncTimer);
    connect(pacing_, &PacingControls::hovered, this, &FeuilleP::setInfo);

    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(layout::kLabel1);
    label1_->setAutoFillBackground(true);
    label1_->setMouseTracking(true);
    label1_->installEventFilter(this);

    chrono_ = new ChronometerControls(sim_, this);

    picture2_ = new GraphPicture(sim_, this);
    picture2_->setGeometry(layout::kPicture2);

    command6_ = new QPushButton(this);
    command6_->setObjectName(QStringLiteral("Command6"));
    command6_->setGeometry(layout::kCommand6);
    command6_->setToolTip(QStringLiteral("Commande du graphe"));
    connect(command6_, &QPushButton::clicked, this, [this] { sim_.Command6_Click(); });

    info_ = new QLabel(this);
    info_->setObjectName(QStringLiteral("info"));
    info_->setGeometry(layout::kInfo);
    info_->setWordWrap(true);
    info_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    fich_ = new QLineEdit(this);
    fich_->setObjectName(QStringLiteral("fich"));
    fich_->setGeometry(layout::kFich);
    fich_->setReadOnly(true);
    fich_->setFocusPolicy(Qt::NoFocus);
    // The exercise button covers the left of the field: names show after it.
    fich_->setTextMargins(layout::kBtexo.width(), 0, 0, 0);

    btexo_ = new ImageButton(this);
    btexo_->setObjectName(QStringLiteral("btexo"));
    btexo_->setGeometry(layout::kBtexo);
    btexo_->setPicture([](qreal ratio) { return exerciseButtonPixmap(layout::kBtexo.size(), ratio); });
    btexo_->setAccessibleName(QStringLiteral("Exercices"));  // what its picture reads
    btexo_->setMouseTracking(true);
    btexo_->installEventFilter(this);
    connect(btexo_, &ImageButton::clicked, this, [this] {
        if (exerciseMenuHook)
            exerciseMenuHook(btexo_->mapToGlobal(QPoint(0, btexo_->height())));
    });

    supertext_ = new QTextEdit(this);
    supertext_->setObjectName(QStringLiteral("supertext"));
    supertext_->setGeometry(layout::kSupertext);
    supertext_->setAcceptRichText(true);
    // Tab leaves the text for the next control, as everywhere in the window.
    supertext_->setTabChangesFocus(true);
    // Its text zooms by its layout, from the window's own font.
    supertext_->setFont(QWidget::font());
    textZoom_ = std::make_unique<TextZoom>(*supertext_);
    connect(supertext_, &QTextEdit::textChanged, this, [this] {
        if (!fich_->text().isEmpty())
            shared_.texteModifie = 1;
    });

    onglets_ = new TabStrip(this);
    onglets_->setGeometry(layout::kOnglets);
    picture3_ = new RopePanel(sim_);
    frame2_ = new PerturbationPanel(sim_);
    picture1_ = new ToolsPanel(sim_);
    onglets_->setPanels(picture3_, frame2_, picture1_);
    picture3_->placeBoxes();
    frame2_->placeBoxes();
    connect(picture3_, &RopePanel::hovered, this, [this] { setInfo(hover::picture3()); });
    connect(picture3_, &RopePanel::hoveredHint, this, &FeuilleP::setInfo);
    connect(frame2_, &PerturbationPanel::hovered, this, [this] { setInfo(hover::frame2()); });
    connect(picture1_, &ToolsPanel::hovered, this, [this] { setInfo(hover::picture1()); });

    for (PictureBox* box : {static_cast<PictureBox*>(animpic_), static_cast<PictureBox*>(picture2_)}) {
        connect(box, &PictureBox::readout, this, &FeuilleP::showReadout);
        connect(box, &PictureBox::readoutCleared, this, &FeuilleP::clearLabel1);
        connect(box, &PictureBox::hint, this, &FeuilleP::setInfo);
    }

    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, &sim_, &Simulation::Timer1_Timer);
    connect(&sim_, &Simulation::controlsChanged, this, &FeuilleP::syncControls);

    zoom::scaleIndicators(this);
    nameControls(*this);
    orderTabFocus(*this);
    installTabShortcuts(*this);

    clearLabel1();
    syncControls();
}

FeuilleP::~FeuilleP()
{
    // The pictures lose the focus as the window goes: nothing to show then.
    animpic_->disconnect(this);
    picture2_->disconnect(this);
}

void FeuilleP::buildTopRow()
{
    struct Button {
        const char* name;
        QRect place;
        const char* caption;
        const char* tip;
        QIcon (*icon)();
    };
    static const Button buttons[7] = {
        {"Command2", layout::kCommand2, "&Ouvrir", "Retrouver une configuration", icons::open},
        {"Command11", layout::kCommand11, "&Enregistrer", "Enregistrer la configuration actuelle", icons::save},
        {"Command4", layout::kCommand4, "Co&pier", "Placer l'image dans le presse-papiers", icons::copy},
        {"Command10", layout::kCommand10, "&Imprimer", "Imprimer l'image", icons::print},
        {"Command8", layout::kCommand8, "&Calculatrice", "Machine à calculer", icons::calculator},
        {"Command7", layout::kCommand7, "&Aide", "Aide pour utiliser cette application", icons::help},
        {"Command1", layout::kCommand1, "&Fermer", "Quitter cette application", icons::close},
    };
    for (int i = 0; i < 7; ++i) {
        const Button& b = buttons[i];
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(b.place);
        button->setText(QString::fromUtf8(b.caption));
        button->setToolTip(QString::fromUtf8(b.tip));
        button->setIcon(b.icon());
        button->setIconSize(QSize(20, 20));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setMouseTracking(true);
        button->installEventFilter(this);
        topRow_[std::size_t(i)] = button;
    }
    const auto hook = [this](std::function<void()> FeuilleP::*member) {
        return [this, member] {
            if (this->*member)
                (this->*member)();
        };
    };
    connect(topRow_[0], &QToolButton::clicked, this, hook(&FeuilleP::openConfigurationHook));
    connect(topRow_[1], &QToolButton::clicked, this, hook(&FeuilleP::saveConfigurationHook));
    connect(topRow_[2], &QToolButton::clicked, this, hook(&FeuilleP::copyHook));
    connect(topRow_[3], &QToolButton::clicked, this, hook(&FeuilleP::printHook));
    connect(topRow_[4], &QToolButton::clicked, this, hook(&FeuilleP::calculatorHook));
    connect(topRow_[5], &QToolButton::clicked, this, [this] {
        if (helpHook)
            helpHook(helpPath());
    });
    connect(topRow_[6], &QToolButton::clicked, this, &FeuilleP::Command1_Click);
}

QToolButton* FeuilleP::topButton(int i) const
{
    return i >= 0 && i < 7 ? topRow_[std::size_t(i)] : nullptr;
}

void FeuilleP::setProgramDirectory(const QString& directory)
{
    programDirectory_ = directory;
}

QString FeuilleP::programDirectory() const
{
    if (!programDirectory_.isEmpty())
        return programDirectory_;
    const QString forTests = qEnvironmentVariable("TOLVI_PROGRAM_FOLDER");
    return forTests.isEmpty() ? QCoreApplication::applicationDirPath() : forTests;
}

QString FeuilleP::helpPath() const
{
    return withSlash(programDirectory()) + QStringLiteral("MEQA.hlp");
}

// ---------------------------------------------------------------------------
// Life of the window

void FeuilleP::Form_Load()
{
    if (loaded_)
        return;
    loaded_ = true;
    sim_.setMarqueRouge(425);
    sim_.setMarqueBleue(300);
    if (flagFileUsed_)
        runningFlag_ = std::make_unique<RunningFlag>(programDirectory());
    applySizeRule();
    ecritIntro();
    setInfo(hover::general());
    shared_.messageCopie = hover::messageCopie();
    background_ = backgroundImage(layout::kClient, designedBackgroundLayout());
    update();
    sim_.setDurationIndex(4);
    sim_.selectOptpert(0);
    syncControls();
}

void FeuilleP::Form_Activate()
{
    // The marker abscissas stay as they are: they always show the markers,
    // and the tick rewrites them only when a marker moves.
    clearLabel1();
    sim_.fondi();

    const QString directory = withSlash(programDirectory());
    const QString request = flagFileUsed_ ? FlagFile(directory).takeRequest() : QString();
    if (!trimBlanks(request).isEmpty() && openExerciseRequest) {
        const bool wasVisible = isVisible();
        hide();
        shared_.cheminExo = directory;
        // Names are taken without the blanks around them, as Windows does
        // with a file name's trailing blanks, and found whatever their case,
        // as the names inside exercise files are.
        const QString path = resolveInFolder(directory, trimBlanks(request));
        // A name leading out of the program's folder is absent from it: the
        // message of an exercise that cannot be read, and nothing opened.
        if (path.isEmpty())
            messages_.critical(exofile::kReadErrorTitle, exofile::kReadErrorText);
        else
            openExerciseRequest(path);
        if (wasVisible)
            show();
        shared_.exoOuvert = 1;
    }
    sim_.readParameters();
}

void FeuilleP::Form_QueryUnload(int& cancel)
{
    if (shared_.texteModifie == 1 &&
        !messages_.okCancel(QStringLiteral("Abandon des données?"),
                            QStringLiteral("Attention: perte des modifications du texte."))) {
        cancel = 1;
        return;
    }
    if (!messages_.okCancel(QStringLiteral("Fermer"), QStringLiteral("Quitter vraiment Tolvi ?")))
        cancel = 1;
}

void FeuilleP::Form_Unload()
{
    if (unloadCalculatorHook)
        unloadCalculatorHook();
    runningFlag_.reset();
    unloaded_ = true;
    timer_.stop();
}

void FeuilleP::Command1_Click()
{
    close();
}

void FeuilleP::closeEvent(QCloseEvent* event)
{
    int cancel = 0;
    Form_QueryUnload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    if (endProgram)
        endProgram();
}

void FeuilleP::showEvent(QShowEvent* event)
{
    Form_Load();
    QWidget::showEvent(event);
    // Centred again once the window system has given the window its frame.
    if (!event->spontaneous())
        QTimer::singleShot(0, this, &FeuilleP::applySizeRule);
}

bool FeuilleP::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && loaded_ && !unloaded_)
        Form_Activate();
    const bool result = QWidget::event(event);
    // The frame the window system draws may be known only now.
    if ((event->type() == QEvent::Move || event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) &&
        loaded_ && isVisible() && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) &&
        placement_.mustCentreAgain(frameGeometry().size() - size(), frameGeometry().topLeft()))
        QTimer::singleShot(0, this, &FeuilleP::applySizeRule);
    return result;
}

// ---------------------------------------------------------------------------
// Size rule

QSize FeuilleP::zoomedClient() const
{
    return zoom::scaled(QRect(QPoint(0, 0), layout::kClient), zoom_).size();
}

void FeuilleP::setZoom(double zoom, QPointF at, bool keepSize)
{
    zoom_ = zoom;
    zoom::apply(this, zoom, at);
    textZoom_->apply(zoom);
    if (!keepSize && size() != zoomedClient())
        resize(zoomedClient());
    update();
}

void FeuilleP::setFullScreenShown(bool shown)
{
    fullScreen_ = shown;
}

void FeuilleP::setPlainBackground(bool plain)
{
    plainBackground_ = plain;
    update();
}

void FeuilleP::applySizeRule()
{
    QScreen* screen = this->screen();
    if (!screen || applyingSizeRule_ || fullScreen_)
        return;
    applyingSizeRule_ = true;
    const QRect area = screen->geometry();
    // The frame around the client area, once the window system drew one.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    const auto place = placement_.place(area, zoomedClient(), frame);
    if (place) {
        if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
            setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        if (size() != zoomedClient())
            resize(zoomedClient());
        move(*place);
    } else if (!isVisible() && !(windowState() & Qt::WindowMaximized)) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    applyingSizeRule_ = false;
}

void FeuilleP::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Minimising is left to the user; maximising comes back to the rule.
    if (event->type() == QEvent::WindowStateChange && loaded_ && !fullScreen_ &&
        !(windowState() & Qt::WindowMinimized) &&
        (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        QTimer::singleShot(0, this, &FeuilleP::applySizeRule);
}

void FeuilleP::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (loaded_ && isVisible() && !fullScreen_ && size() != zoomedClient() && !(windowState() & Qt::WindowMaximized))
        QTimer::singleShot(0, this, &FeuilleP::applySizeRule);
}

// ---------------------------------------------------------------------------
// Drawing and mirroring

void FeuilleP::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPointF at = zoom::offset(this);
    // Around the layout centred on a full screen: a dark surround.
    p.fillRect(rect(), at.isNull() ? QColor(224, 224, 224) : QColor(40, 40, 40));
    if (plainBackground_) {
        p.fillRect(rect(), QColor(40, 40, 40));
        return;
    }
    p.translate(at);
    zoom::scalePainter(p, this);
    const double scale = drawingScale(p);
    if (scale == 1.0) {
        p.drawImage(0, 0, background_);
        return;
    }
    if (fineBackground_.devicePixelRatio() != scale || fineBackground_.isNull())
        fineBackground_ = backgroundImage(layout::kClient, designedBackgroundLayout(), scale);
    p.drawImage(0, 0, fineBackground_);
}

QImage FeuilleP::snapshot(double scale)
{
    if (scale == devicePixelRatioF())
        return grab().toImage();
    QImage image(int(std::lround(width() * scale)), int(std::lround(height() * scale)), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(QColor(224, 224, 224));
    render(&image);
    return image;
}

void FeuilleP::selectTab(int n)
{
    onglets_->selectTab(n);
}

int FeuilleP::currentTab() const
{
    return onglets_->currentTab() == 0 ? 1 : onglets_->currentTab();
}

void FeuilleP::syncControls()
{
    const ControlsState& c = sim_.controls();
    if (demar_->text() != c.demarCaption())
        demar_->setText(c.demarCaption());
    if (demar_->isEnabled() != c.demarEnabled)
        demar_->setEnabled(c.demarEnabled);
    if (command6_->text() != c.command6Caption()) {
        command6_->setText(c.command6Caption());
        // Told apart from the configuration's "Enregistrer".
        command6_->setAccessibleName(c.command6Caption() + QStringLiteral(" le graphe"));
    }
    chrono_->sync();
    picture3_->sync();
    frame2_->sync();
    picture1_->sync();
    if (pauseShownRunning_ != c.timerEnabled) {
        pauseShownRunning_ = c.timerEnabled;
        command16_->setPicture([running = c.timerEnabled](qreal ratio) { return icons::pause(running, ratio); });
        command16_->setAccessibleName(c.timerEnabled ? QStringLiteral("Pause") : QStringLiteral("Reprendre l'animation"));
    }
    syncTimer();
}

void FeuilleP::syncTimer()
{
    const ControlsState& c = sim_.controls();
    // Slow motion only lengthens the wait between ticks.
    const int wait = pacing_->pacing().wallInterval(c.timerInterval);
    if (timer_.interval() != wait)
        timer_.setInterval(wait);
    const bool run = loaded_ && !unloaded_ && c.timerEnabled;
    if (run && !timer_.isActive())
        timer_.start();
    else if (!run && timer_.isActive())
        timer_.stop();
}

QString FeuilleP::info() const
{
    return info_->text();
}

void FeuilleP::setInfo(const QString& text)
{
    if (info_->text() != text)
        info_->setText(text);
}

void FeuilleP::ecritIntro()
{
    supertext_->setReadOnly(true);
    tolvi::ecritIntro(*supertext_->document());
    QTextCursor start(supertext_->document());
    start.movePosition(QTextCursor::Start);
    supertext_->setTextCursor(start);
}

// ---------------------------------------------------------------------------
// Label1 and the hint line

void FeuilleP::clearLabel1()
{
    label1_->clear();
    QPalette pal = label1_->palette();
    pal.setColor(QPalette::Window, blendColour(background_, layout::kLabel1));
    label1_->setPalette(pal);
}

void FeuilleP::showReadout(const QString& text, const QColor& foreground, const QColor& background)
{
    QPalette pal = label1_->palette();
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::WindowText, foreground);
    label1_->setPalette(pal);
    label1_->setText(text);
}

void FeuilleP::Form_MouseMove()
{
    clearLabel1();
    setInfo(hover::general());
}

void FeuilleP::Label1_MouseMove()
{
    clearLabel1();
}

void FeuilleP::mouseMoveEvent(QMouseEvent* event)
{
    // Only over the bare window: moves over controls without a hint of their
    // own come here too.
    if (!childAt(event->position().toPoint()))
        Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}

void FeuilleP::hoverHint(QObject* watched)
{
    if (watched == label1_) {
        Label1_MouseMove();
        return;
    }
    if (watched == topRow_[2]) {
        if (info() != shared_.messageCopie)
            setInfo(hover::command4());
        return;
    }
    static QString (*const hints[7])() = {hover::command2, hover::command11, hover::command4, hover::command10,
                                          hover::command8, hover::command7,  hover::command1};
    for (int i = 0; i < 7; ++i)
        if (watched == topRow_[std::size_t(i)]) {
            setInfo(hints[i]());
            return;
        }
    if (watched == btexo_)
        setInfo(hover::btexo());
}

bool FeuilleP::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove)
        hoverHint(watched);
    return QWidget::eventFilter(watched, event);
}

}  // namespace tolvi
