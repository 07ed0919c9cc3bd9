#include "exercises/fichexo.h"

#include "config/record_file.h"
#include "exercises/exercise_file.h"
#include "mainwin/feuille_p.h"
#include "mainwin/flag_file.h"
#include "mainwin/image_button.h"
#include "mainwin/shared_state.h"
#include "platform/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QStorageInfo>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace tolvi {

QString exotext::overwriteText(const QString& bareName)
{
    return QStringLiteral("Le fichier ") + bareName + QStringLiteral(" existe déjà.\r\nEcraser l'ancien?");
}

QColor titleColour(int i, int n)
{
    const double b = std::nearbyint(static_cast<double>(i) / n * 100.0 + 155.0);
    return QColor(255, 255, static_cast<int>(b));
}

namespace {

// The painted title "Ouvrir un exercice", fading from pale yellow to white.
class Tito : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0, 0, 128));
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(32);  // 24 points
        font.setBold(true);
        p.setFont(font);
        const QFontMetrics metrics(font);
        const QString text = exotext::kTitle;
        const int n = static_cast<int>(text.size());
        int x = 30;
        for (int i = 1; i <= n; ++i) {
            const QString c = text.mid(i - 1, 1);
            const int top = (height() - metrics.height()) / 2 - 2;
            p.setPen(titleColour(i, n));
            p.drawText(x, top + metrics.ascent(), c);
            x += metrics.horizontalAdvance(c);
        }
    }
};

// The pictures are drawn for the device pixel ratio they are shown at, so
// that they stay sharp on a fine screen.
QPixmap markPixmap(bool lit, qreal ratio)
{
    QPixmap pixmap(QSize(22, 22) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(8, 8), 12);
    g.setColorAt(0, lit ? QColor(255, 250, 170) : QColor(110, 110, 110));
    g.setColorAt(1, lit ? QColor(230, 150, 0) : QColor(40, 40, 40));
    p.setBrush(g);
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.drawEllipse(QRectF(1.5, 1.5, 19, 19));
    return pixmap;
}

QPixmap buttonPixmap(const QString& caption, const QColor& colour, qreal ratio)
{
    QPixmap pixmap(QSize(110, 34) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 34);
    g.setColorAt(0, colour.lighter(150));
    g.setColorAt(1, colour.darker(130));
    p.setBrush(g);
    p.setPen(QPen(colour.darker(200), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 109, 33), 6, 6);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 110, 34), Qt::AlignCenter, caption);
    return pixmap;
}
}  // namespace

// ---------------------------------------------------------------------------
// The window

Fichexo::Fichexo(ExerciseContext& context, QWidget* parent) : QDialog(parent), ctx_(context)
{
    setObjectName(QStringLiteral("Fichexo"));
    setModal(true);
    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setPointSize(8);
    setFont(dialogFont);

    tito_ = new Tito(this);
    tito_->setObjectName(QStringLiteral("tito"));

    frame1_ = new QGroupBox(this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    drive1_ = new QComboBox(frame1_);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    dir1_ = new ChooserList(frame1_);
    dir1_->setObjectName(QStringLiteral("Dir1"));
    label5_ = new QLabel(QStringLiteral("Liste des exercices:"), frame1_);
    file1_ = new ChooserList(frame1_);
    file1_->setObjectName(QStringLiteral("File1"));
    file1_->setAccessibleName(QStringLiteral("Liste des exercices"));
    fichierexo_ = new QLineEdit(frame1_);
    fichierexo_->setObjectName(QStringLiteral("fichierexo"));

    ouvreur_ = new ImageButton(this);
    ouvreur_->setObjectName(QStringLiteral("ouvreur"));
    ouvreur_->setPicture([](qreal ratio) { return buttonPixmap(QStringLiteral("Ouvrir"), QColor(0, 128, 0), ratio); });
    ouvreur_->setToolTip(QStringLiteral("Ouvrir l'exercice sélectionné"));
    ouvreur_->setAccessibleName(QStringLiteral("Ouvrir"));
    ouvreur_->setAccessibleDescription(ouvreur_->toolTip());
    image5_ = new ImageButton(this);
    image5_->setObjectName(QStringLiteral("Image5"));
    image5_->setPicture([](qreal ratio) { return buttonPixmap(QStringLiteral("Fermer"), QColor(160, 0, 0), ratio); });
    image5_->setToolTip(QStringLiteral("Fermer sans charger d'exercice"));
    image5_->setAccessibleName(QStringLiteral("Fermer"));
    image5_->setAccessibleDescription(image5_->toolTip());

    intratro_ = new QLabel(QStringLiteral("Sélectionner un fichier"), this);
    titratexo_ = new QLabel(this);
    titratexo_->setObjectName(QStringLiteral("titratexo"));
    titratexo_->setWordWrap(true);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    titratexo_->setFont(titleFont);
    titratexo_->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128)"));
    label1_ = new QLabel(QStringLiteral("Notions abordées :"), this);
    text1_ = new QTextEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setReadOnly(true);
    text1_->setAcceptRichText(false);
    label4_ = new QLabel(QStringLiteral("Niveau de difficulté :"), this);
    for (std::size_t i = 0; i < image4_.size(); ++i) {
        image4_[i] = new QLabel(this);
        image4_[i]->setObjectName(QStringLiteral("Image4_%1").arg(i));
        image4_[i]->setPixmap(markPixmap(false, std::max<qreal>(1.0, image4_[i]->devicePixelRatioF())));
    }
    text2_ = new QLineEdit(this);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setReadOnly(true);
    QFont symbols(QStringLiteral("Symbola"));
    symbols.setPointSize(16);
    text2_->setFont(symbols);
    label2_ = new QLabel(QStringLiteral("Corrigé"), this);
    label3_ = new QLabel(QStringLiteral("Corrigé"), this);
    QFont stateFont(QStringLiteral("Arial"));
    stateFont.setPointSize(12);
    stateFont.setBold(true);
    label2_->setFont(stateFont);
    label3_->setFont(stateFont);
    label3_->setStyleSheet(QStringLiteral("color: rgb(128, 128, 128)"));
    label2_->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0)"));

    nameControls();

    frame2_ = new QGroupBox(this);
    frame2_->setObjectName(QStringLiteral("Frame2"));
    frame2_->setStyleSheet(QStringLiteral("QGroupBox { background: rgb(255, 255, 225); border: 2px solid rgb(0, 0, 128); }"));
    auto* waitLayout = new QVBoxLayout(frame2_);
    auto* label7 = new QLabel(QStringLiteral("Patienter quelques instants"), frame2_);
    auto* label6 = new QLabel(QStringLiteral(" Chargement des fichiers"), frame2_);
    waitLayout->addWidget(label7);
    waitLayout->addWidget(label6);
    frame2_->hide();

    connect(drive1_, &QComboBox::activated, this, [this] { Drive1_Change(); });
    connect(dir1_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        setDirPath(item->data(Qt::UserRole).toString());
    });
    connect(file1_, &QListWidget::itemClicked, this, [this] { File1_Click(); });
    // Arrows and typed letters choose an exercise as a click does.
    connect(file1_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item && keyboardMove_)
            File1_Click();
    });
    connect(file1_, &QListWidget::itemDoubleClicked, this, [this] { File1_DblClick(); });
    connect(ouvreur_, &ImageButton::clicked, this, [this] { ouvreur_Click(); });
    connect(image5_, &ImageButton::clicked, this, [this] { Image5_Click(); });
    dir1_->installEventFilter(this);
    file1_->installEventFilter(this);
}

Fichexo::~Fichexo() = default;

ChooserList::ChooserList(QWidget* parent) : QListWidget(parent) {}

void ChooserList::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // A list view tells screen readers of its new current item as of a
    // focus, shown or not: the chooser is built hidden when the exercise
    // menu opens, and a screen reader would announce it before the menu.
    if (isVisible())
        QListWidget::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous);
}

void Fichexo::nameControls()
{
    // The window shows the main window's title; a screen reader hears what
    // it is for.
    setAccessibleName(exotext::kTitle);
    drive1_->setAccessibleName(QStringLiteral("Lecteur"));
    dir1_->setAccessibleName(QStringLiteral("Répertoire"));
    label5_->setBuddy(file1_);
    fichierexo_->setAccessibleName(QStringLiteral("Fichier de l'exercice choisi"));
    label1_->setBuddy(text1_);
    text1_->setAccessibleName(QStringLiteral("Notions abordées"));
    text2_->setAccessibleName(QStringLiteral("Durée prévue"));
    nameMarks(0);
}

void Fichexo::nameMarks(int lit)
{
    // The marks say the level in words, each whether it is lit.
    const QString level = QStringLiteral("Niveau de difficulté : %1 sur 3").arg(lit);
    for (std::size_t i = 0; i < image4_.size(); ++i) {
        image4_[i]->setAccessibleName(level);
        image4_[i]->setAccessibleDescription(QStringLiteral("Marque %1 sur 3, %2")
                                                 .arg(i + 1)
                                                 .arg(int(i) < lit ? QStringLiteral("allumée")
                                                                   : QStringLiteral("éteinte")));
    }
    label4_->setAccessibleName(level);
}

void Fichexo::Form_Load()
{
    if (loaded_)
        return;
    loaded_ = true;
    titratexo_->clear();
    frame2_->hide();

    // The chooser covers the main window exactly.
    FeuilleP& main = ctx_.main;
    setWindowState(main.windowState());
    setWindowTitle(main.windowTitle());
    setWindowIcon(main.windowIcon());
    setGeometry(main.geometry());
    const int w = std::max(main.width(), 640);
    const int h = std::max(main.height(), 480);
    resize(w, h);

    tito_->setGeometry(0, 0, w, 56);
    const int top = tito_->height() - 8;
    frame1_->setGeometry(8, top, 330, h - top - 8);
    const int fw = frame1_->width();
    drive1_->setGeometry(8, 16, fw - 16, 24);
    dir1_->setGeometry(8, 46, fw - 16, 170);
    label5_->setGeometry(8, 222, fw - 16, 18);
    file1_->setGeometry(8, 242, fw - 16, frame1_->height() - 242 - 40);
    fichierexo_->setGeometry(8, frame1_->height() - 32, fw - 8 - 8, 24);

    const int x = 360;
    const int right = w - 16;
    intratro_->setGeometry(x, 80, right - x, 24);
    titratexo_->setGeometry(x, 80, right - x, 56);
    label1_->setGeometry(x, 150, right - x, 18);
    text1_->setGeometry(x, 170, right - x, 110);
    label4_->setGeometry(x, 300, 160, 22);
    for (std::size_t i = 0; i < image4_.size(); ++i)
        image4_[i]->setGeometry(x + 170 + static_cast<int>(i) * 28, 300, 22, 22);
    text2_->setGeometry(x, 340, 200, 32);
    label2_->setGeometry(x, 392, 240, 26);
    label3_->setGeometry(label2_->x() + 2, label2_->y() + 2, label2_->width(), label2_->height());
    label3_->lower();
    ouvreur_->setGeometry(x, h - 60, 110, 34);
    image5_->setGeometry(right - 110, h - 60, 110, 34);
    frame2_->setGeometry((w - 260) / 2, (h - 90) / 2, 260, 90);

    text1_->clear();
    text2_->clear();

    const QString program = withSlash(main.programDirectory());
    fillDrive1();
    const int drive = drive1_->findData(QStorageInfo(program).rootPath());
    if (drive >= 0)
        drive1_->setCurrentIndex(drive);
    setDirPath(program);
}

void Fichexo::Form_Activate()
{
    if (file1_->count() > 0) {
        selectFile(0);
        file1_->setFocus();
    }
}

void Fichexo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void Fichexo::fillDrive1()
{
    drive1_->clear();
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    const QString home = QDir::homePath();
    if (!roots.contains(home))
        roots.append(home);
    roots.sort();
    for (const QString& root : roots)
        drive1_->addItem(root, root);
}

void Fichexo::Drive1_Change()
{
    const QString chosen = drive1_->currentData().toString();
    if (QDir(chosen).isReadable())
        dirPath_ = withSlash(chosen);
    // Back to the place of the folder shown: an unreadable place changes nothing.
    const int index = drive1_->findData(QStorageInfo(dirPath_).rootPath());
    if (index >= 0)
        drive1_->setCurrentIndex(index);
    fillDir1();
    Dir1_Change();
}

void Fichexo::setDirPath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir() || !info.isReadable())
        return;
    dirPath_ = withSlash(QDir::cleanPath(info.absoluteFilePath()));
    fillDir1();
    Dir1_Change();
}

void Fichexo::fillDir1()
{
    dir1_->clear();
    QStringList ancestors;
    for (QDir d(dirPath_);; ) {
        ancestors.prepend(d.absolutePath());
        if (!d.cdUp())
            break;
    }
    int level = 0;
    for (const QString& a : ancestors) {
        const QString name = a == QLatin1String("/") ? a : QFileInfo(a).fileName();
        auto* item = new QListWidgetItem(QString(level * 2, QLatin1Char(' ')) + name, dir1_);
        item->setData(Qt::UserRole, a);
        ++level;
    }
    dir1_->setCurrentRow(dir1_->count() - 1);
    const QStringList subdirs =
        QDir(dirPath_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& s : subdirs) {
        auto* item = new QListWidgetItem(QString(level * 2, QLatin1Char(' ')) + s, dir1_);
        item->setData(Qt::UserRole, QDir(dirPath_).filePath(s));
    }
}

void Fichexo::Dir1_Change()
{
    fillFile1();
}

void Fichexo::Dir1_KeyPress(int key)
{
    if (key == 13 && dir1_->currentItem())
        setDirPath(dir1_->currentItem()->data(Qt::UserRole).toString());
}

QStringList Fichexo::files() const
{
    QStringList names;
    for (int i = 0; i < file1_->count(); ++i)
        names.append(file1_->item(i)->text());
    return names;
}

void Fichexo::fillFile1()
{
    file1_->clear();
    // "*.E33" whatever the case of the name.
    QStringList names;
    for (const QString& name : QDir(dirPath_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        if (name.endsWith(QLatin1String(".E33"), Qt::CaseInsensitive))
            names.append(name);
    file1_->addItems(names);
}

void Fichexo::selectFile(int index)
{
    if (index < 0 || index >= file1_->count())
        return;
    file1_->setCurrentRow(index);
    File1_Click();
}

void Fichexo::File1_Click()
{
    QListWidgetItem* item = file1_->currentItem();
    if (!item)
        return;
    const QString folder = withSlash(dirPath_);
    fichierexo_->setText(folder);
    QDir::setCurrent(folder);
    ctx_.shared.cheminExo = folder;
    fichierexo_->setText(folder + item->text());
    apercu();
}

void Fichexo::File1_DblClick()
{
    ouvreur_Click();
}

void Fichexo::File1_KeyPress(int key)
{
    if (key == 13)
        File1_DblClick();
}

bool Fichexo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == file1_)
                File1_KeyPress(13);
            else if (watched == dir1_)
                Dir1_KeyPress(13);
            return true;
        }
        if (watched == file1_ && !keyboardMove_) {
            keyboardMove_ = true;
            QCoreApplication::sendEvent(file1_, event);
            keyboardMove_ = false;
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Fichexo::readError()
{
    ctx_.messages.critical(exofile::kReadErrorTitle, exofile::kReadErrorText);
}

void Fichexo::missingFile(const QString& name, const QString& tried)
{
    // The path looked for, as resolved beside the exercise; a name that led
    // out of the exercise's folder is named by its last part beside it.
    QString path = tried;
    if (path.isEmpty()) {
        QString last = trimBlanks(name);
        last.replace(QLatin1Char('\\'), QLatin1Char('/'));
        path = withSlash(ctx_.shared.cheminExo) + last.section(QLatin1Char('/'), -1, -1, QString::SectionSkipEmpty);
    }
    ctx_.messages.critical(exofile::kMissingTitle, exofile::missingText(path));
}

void Fichexo::apercu()
{
    text1_->clear();
    text2_->clear();
    for (QLabel* mark : image4_)
        mark->hide();
    label4_->hide();
    ouvreur_->hide();
    if (trimBlanks(fichierexo_->text()).isEmpty())
        return;
    intratro_->hide();
    label4_->show();
    ouvreur_->show();
    label1_->show();
    label2_->show();
    label3_->show();

    const ExerciseReading reading = readExercise(fichierexo_->text());
    if (!reading.readable(exofile::kCorrection, exofile::kCorrectionConfiguration)) {
        readError();
        return;
    }
    // From here a damaged record reads as empty.
    const ExercisePreview preview = exercisePreview(reading.records);
    label2_->setText(preview.correctedCaption);
    label3_->setText(label2_->text());
    for (std::size_t i = 0; i < image4_.size(); ++i) {
        lit_[i] = preview.litMarks > static_cast<int>(i);
        image4_[i]->setPixmap(markPixmap(lit_[i], std::max<qreal>(1.0, image4_[i]->devicePixelRatioF())));
        image4_[i]->show();
    }
    nameMarks(std::clamp(preview.litMarks, 0, 3));
    text1_->setPlainText(preview.notions);
    titratexo_->setText(preview.title);
    text2_->setText(hourglassText(preview.hourglasses));
    text2_->setAccessibleDescription(preview.hourglasses > 0
                                         ? QStringLiteral("%1 sablier%2").arg(preview.hourglasses).arg(
                                               preview.hourglasses > 1 ? QStringLiteral("s") : QString())
                                         : QString());
}

void Fichexo::unload()
{
    unloaded_ = true;
    if (isVisible())
        done(QDialog::Rejected);
    hide();
}

void Fichexo::ouvreur_Click()
{
    if (trimBlanks(fichierexo_->text()).isEmpty())
        return;
    frame2_->show();
    frame2_->raise();
    frame2_->repaint();

    const ExerciseReading reading = readExercise(fichierexo_->text());
    if (!reading.readable(exofile::kStatement, exofile::kConfiguration)) {
        readError();
        frame2_->hide();
        return;
    }
    const QString folder = ctx_.shared.cheminExo;
    const QString statement = reading.records.statement;
    const QString tried = resolveInFolder(folder, trimBlanks(statement));
    if (!loadText(tried, [&] { missingFile(statement, tried); })) {
        frame2_->hide();
        return;
    }
    ctx_.main.fich()->setText(fichierexo_->text());
    ctx_.shared.exoOuvert = label2_->text() == exofile::kCorrected ? 1 : 0;
    if (!trimBlanks(reading.records.configuration).isEmpty())
        runChargeConfig(folder, reading.records.configuration);

    frame2_->hide();
    ctx_.main.supertext()->setReadOnly(false);
    ctx_.shared.texteModifie = 0;
    unload();
}

void Fichexo::Image5_Click()
{
    unload();
}

}  // namespace tolvi
