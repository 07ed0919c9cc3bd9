#include "measure/rope_picture.h"

#include "mainwin/hover_texts.h"
#include "mainwin/zoom.h"
#include "measure/readouts.h"
#include "sim/rope_painter.h"
#include "platform/messages.h"
#include "sim/simulation.h"
#include "text/french_numbers.h"

#include <QContextMenuEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace tolvi {

RopePicture::RopePicture(Simulation& sim, QWidget* parent) : PictureBox(parent), sim_(sim)
{
    setObjectName(QStringLiteral("animpic"));
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("menupoint"));
    auto add = [this](const char* name, const QString& caption, void (RopePicture::*slot)()) {
        QAction* action = menu_->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
    };
    add("marqbleu", QStringLiteral("Marquer en bleu"), &RopePicture::marqbleu_Click);
    add("marqrou", QStringLiteral("Marquer en rouge"), &RopePicture::marqrou_Click);
    menu_->addSeparator()->setObjectName(QStringLiteral("sedzd"));
    add("effb", QStringLiteral("Effacer le point bleu"), &RopePicture::effb_Click);
    add("effr", QStringLiteral("Effacer le point rouge"), &RopePicture::effr_Click);
    askAbscissa = [](QWidget* parent) -> std::optional<QString> {
        QInputDialog dialog(parent);
        dialog.setWindowTitle(QStringLiteral("Position du curseur"));
        dialog.setLabelText(QStringLiteral("Abscisse sur la corde (de 0 à 7 m) :"));
        dialog.setOkButtonText(QStringLiteral("OK"));
        dialog.setCancelButtonText(QStringLiteral("Annuler"));
        dialog.setInputMode(QInputDialog::TextInput);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.textValue();
    };
    setAccessibleName(QStringLiteral("Corde"));
    setAccessibleDescription(QStringLiteral(
        "Flèches gauche et droite : déplacer le curseur de 1 cm (Maj : 10 cm) ; B : marqueur bleu ; "
        "R : marqueur rouge ; Suppr : enlever les marqueurs du curseur ; Entrée : taper l'abscisse"));

    shown_ = RopeFrameKey::of(sim_.state());
    connect(&sim_, &Simulation::frameChanged, this, [this] { animationMoved(); });
    connect(&sim_, &Simulation::backgroundChanged, this, qOverload<>(&QWidget::update));
}

double RopePicture::markerSize() const
{
    // Read from the back of a classroom: three times larger once zoomed.
    return zoom::of(this) > 1.0 ? 3.0 : 1.0;
}

void RopePicture::askChanges()
{
    std::vector<QRect> parts = ropeChanges(shown_, sim_.state());
    const double size = markerSize();
    if (size > 1.0) {
        // The enlarged markers reach further than the dots the changes count.
        SimState was;
        was.deplacement = shown_.deplacement;
        for (const auto& [before, now] : {std::pair{int(shown_.marqueBleue), int(sim_.state().marqueBleue)},
                                          std::pair{int(shown_.marqueRouge), int(sim_.state().marqueRouge)}}) {
            const QRect a = markerArea(was, before, size);
            const QRect b = markerArea(sim_.state(), now, size);
            if (a != b) {
                if (!a.isNull())
                    parts.push_back(a);
                if (!b.isNull())
                    parts.push_back(b);
            }
        }
    }
    updatePicture(parts);
    shown_ = RopeFrameKey::of(sim_.state());
    // The keyboard cursor rides on the moving rope.
    if (hasFocus())
        setKeyboardCursor(keyboardCursor());
}

QImage RopePicture::picture() const
{
    return sim_.ropeImage();
}

void RopePicture::paintPicture(QPainter& painter, const QRect& exposed)
{
    canvas_.paint(painter, sim_.background(drawingScale(painter)), sim_.state(), exposed, markerSize());
}

void RopePicture::animpic_MouseMove(double x, double y)
{
    readoutAt(x, y);
    emit hint(hover::animpic());
}

void RopePicture::readoutAt(double x, double y)
{
    if (const auto text = ropeReadout(x, y)) {
        setCursor(Qt::CrossCursor);
        emit readout(*text, qbColor(15), qbColor(0));
    } else {
        setCursor(Qt::ArrowCursor);
        emit readoutCleared();
    }
}

bool RopePicture::animpic_MouseUp(double x, double y, const QPoint& global)
{
    Q_UNUSED(y);
    const auto column = tolvi::posMarque(x);
    if (!column)
        return false;
    posMarque_ = *column;
    if (showMenu)
        showMenu(menu_, global);
    return true;
}

void RopePicture::setExportActions(const QList<QAction*>& actions)
{
    PictureBox::setExportActions(actions);
    delete both_;
    both_ = nullptr;
    if (actions.isEmpty())
        return;
    both_ = newMenu(QStringLiteral("menupoint_export"));
    both_->addActions(menu_->actions());
    both_->addSeparator();
    both_->addActions(actions);
}

void RopePicture::animpic_RightUp(double x, double y, const QPoint& global)
{
    if (!both_) {
        animpic_MouseUp(x, y, global);
        return;
    }
    const auto column = tolvi::posMarque(x);
    if (column)
        posMarque_ = *column;
    if (showMenu)
        showMenu(column ? both_ : exportMenu_, global);
}

void RopePicture::marqbleu_Click() { sim_.setMarqueBleue(posMarque_); }
void RopePicture::marqrou_Click() { sim_.setMarqueRouge(posMarque_); }
void RopePicture::effb_Click() { sim_.setMarqueBleue(Simulation::kNoMarker); }
void RopePicture::effr_Click() { sim_.setMarqueRouge(Simulation::kNoMarker); }

void RopePicture::setCursorColumn(int column)
{
    setKeyboardCursor(QPoint(column, 54));
    cursorMovedByKey();
}

std::optional<int> RopePicture::columnForAbscissa(const QString& text)
{
    const auto metres = readFrench(text);
    if (!metres || !std::isfinite(*metres) || *metres < 0.0 || *metres > 7.0)
        return std::nullopt;
    return 50 + int(std::lround(*metres * 100.0));
}

QPoint RopePicture::clampCursor(QPoint at) const
{
    const int column = std::clamp(at.x(), 50, 750);
    // The cursor rides on the rope, as the markers do.
    const double d = sim_.state().deplacement[std::size_t(column)];
    return QPoint(column, 54 - int(std::lround(std::isfinite(d) ? d : 0.0)));
}

QString RopePicture::readingAtCursor() const
{
    const int column = keyboardCursor().x();
    const double d = sim_.state().deplacement[std::size_t(std::clamp(column, 50, 750))];
    return QStringLiteral("x = ") + formatPattern((column - 50) / 100.0, QStringLiteral("0.00")) +
           QStringLiteral(" m ; u = ") + formatPattern(std::isfinite(d) ? d : 0.0, QStringLiteral("0.0")) +
           QStringLiteral(" cm");
}

void RopePicture::cursorReadout()
{
    // The readout as the pointer gives it, but the keys' hint only: the
    // pointer's hint in between would change the hint line at every tick.
    const QPoint at = keyboardCursor();
    readoutAt(at.x(), at.y());
    emit hint(hover::animpicKeys());
}

void RopePicture::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int step = mods == Qt::ShiftModifier ? 10 : 1;
    const int column = cursorColumn();
    const bool plain = mods == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!sim_.aLaMain() || (!plain && mods != Qt::ShiftModifier))
            break;
        sim_.setPositionMain(sim_.positionMain() + (event->key() == Qt::Key_Up ? 1 : -1) *
                                                        (mods == Qt::ShiftModifier ? 5 : 1));
        return;
    case Qt::Key_Left:
        if (!plain && mods != Qt::ShiftModifier)
            break;
        setCursorColumn(column - step);
        return;
    case Qt::Key_Right:
        if (!plain && mods != Qt::ShiftModifier)
            break;
        setCursorColumn(column + step);
        return;
    case Qt::Key_Home:
        if (!plain)
            break;
        setCursorColumn(50);
        return;
    case Qt::Key_End:
        if (!plain)
            break;
        setCursorColumn(750);
        return;
    case Qt::Key_B:
    case Qt::Key_R:
        if (!plain && mods != Qt::ShiftModifier)
            break;
        posMarque_ = column;
        if (event->key() == Qt::Key_B)
            marqbleu_Click();
        else
            marqrou_Click();
        cursorReadout();
        return;
    case Qt::Key_Delete:
        if (!plain)
            break;
        if (sim_.state().marqueBleue == column)
            effb_Click();
        if (sim_.state().marqueRouge == column)
            effr_Click();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!plain || !askAbscissa)
            break;
        if (const auto text = askAbscissa(this)) {
            if (const auto typed = columnForAbscissa(*text))
                setCursorColumn(*typed);
            else
                sim_.messages().critical(QStringLiteral("Position du curseur"),
                                         QStringLiteral("Taper une abscisse entre 0 et 7 m, par exemple 1,25."));
        }
        return;
    case Qt::Key_Menu:
    case Qt::Key_F10:
        if (event->key() == Qt::Key_F10 && mods != Qt::ShiftModifier)
            break;
        keyboardMenu();
        return;
    default:
        break;
    }
    PictureBox::keyPressEvent(event);
}

bool RopePicture::handPress(double x, double y)
{
    // The ruler, from the hinge to a little past the source.
    handDrag_ = sim_.aLaMain() && x <= rope::kSourceColumn + 5;
    if (handDrag_)
        handMove(y);
    return handDrag_;
}

void RopePicture::handMove(double y)
{
    if (handDrag_)
        sim_.setPositionMain(rope::kRestRow - y);
}

void RopePicture::handRelease()
{
    handDrag_ = false;
}

void RopePicture::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = event->position() / zoom::of(this) - origin();
    if (event->button() == Qt::LeftButton && handPress(at.x(), at.y()))
        return;
    PictureBox::mousePressEvent(event);
}

void RopePicture::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position() / zoom::of(this) - origin();
    if (handDrag_) {
        handMove(at.y());
        return;
    }
    animpic_MouseMove(at.x(), at.y());
}

void RopePicture::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = event->position() / zoom::of(this) - origin();
    if (handDrag_ && event->button() == Qt::LeftButton) {
        handRelease();
        return;
    }
    if (event->button() == Qt::RightButton)
        animpic_RightUp(at.x(), at.y(), event->globalPosition().toPoint());
    else
        animpic_MouseUp(at.x(), at.y(), event->globalPosition().toPoint());
}

void RopePicture::contextMenuEvent(QContextMenuEvent* event)
{
    // A mouse click is served when the button is released. The window
    // system turns the Menu key into this event (on X11 before the key
    // itself, which then goes to the open menu): the same menu as Maj+F10.
    if (event->reason() != QContextMenuEvent::Mouse)
        keyboardMenu();
    event->accept();
}

void RopePicture::keyboardMenu()
{
    // The menu a right click at the cursor gives.
    posMarque_ = cursorColumn();
    if (showMenu)
        showMenu(both_ ? both_ : menu_,
                 mapToGlobal(zoom::scaled(QRect(origin() + keyboardCursor(), QSize(1, 1)), zoom::of(this)).topLeft()));
}

}  // namespace tolvi
