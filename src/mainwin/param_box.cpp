#include "mainwin/param_box.h"

#include "sim/rope_painter.h"
#include "sim/simulation.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPalette>

namespace tolvi {

ParamBox::ParamBox(Simulation& sim, int index, QWidget* parent) : QLineEdit(parent), sim_(sim), index_(index)
{
    setObjectName(QStringLiteral("Textfreq%1").arg(index));
    setFrame(true);
    setTextMargins(0, 0, 0, 0);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) { sim_.setTextfreq(index_, text); });
    sync();
}

void ParamBox::sync()
{
    if (index_ < 0 || index_ > 4)
        return;
    const ControlsState& c = sim_.controls();
    const QString& text = c.textfreq[std::size_t(index_)];
    if (this->text() != text)
        setText(text);
    const bool enabled = c.textfreqEnabled[std::size_t(index_)];
    if (isEnabled() != enabled)
        setEnabled(enabled);
    // Synced at every tick: the palette is looked at only when the greying
    // changed.
    if (paletteFor_ == int(enabled))
        return;
    paletteFor_ = int(enabled);
    QPalette pal = palette();
    const QColor background = qbColor(enabled ? 15 : 7);
    if (pal.color(QPalette::Base) != background || pal.color(QPalette::Disabled, QPalette::Base) != background) {
        pal.setColor(QPalette::All, QPalette::Base, background);
        pal.setColor(QPalette::All, QPalette::Text, qbColor(0));
        setPalette(pal);
    }
}

void ParamBox::keyPressEvent(QKeyEvent* event)
{
    // Editing keys without a character (arrows, Delete, Home, shortcuts such
    // as copy and paste) are not filtered.
    const QString typed = event->text();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool backspace = event->key() == Qt::Key_Backspace;
    const bool character = typed.size() == 1 && typed.at(0).isPrint();
    if (!enter && !backspace && (!character || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))) {
        QLineEdit::keyPressEvent(event);
        return;
    }

    QChar key = enter ? QChar(13) : backspace ? QChar(8) : typed.at(0);
    if (!sim_.Textfreq_KeyPress(index_, key)) {
        event->accept();
        return;
    }
    if (enter) {
        // Validated at once; the focus stays in the box.
        sync();
        event->accept();
        return;
    }
    if (backspace) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (key != typed.at(0)) {
        insert(QString(key));  // "." typed, "," written
        sim_.setTextfreq(index_, text());
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ParamBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu or another window taking over does not leave the box.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    sim_.Textfreq_LostFocus(index_);
    sync();
}

}  // namespace tolvi
