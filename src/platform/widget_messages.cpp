#include "platform/widget_messages.h"

#include <QMessageBox>

namespace tolvi {

Answer WidgetMessages::ask(MessageKind kind, const QString& title, const QString& text)
{
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    box.setText(text);
    switch (kind) {
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::Critical:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::Exclamation:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::QuestionOkCancel:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MessageKind::QuestionYesNo:
    case MessageKind::WarningYesNo:
        box.setIcon(kind == MessageKind::WarningYesNo ? QMessageBox::Warning : QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // Escape on an OK-only box closes it like OK.
        return kind == MessageKind::QuestionOkCancel && box.clickedButton() == nullptr ? Answer::Cancel : Answer::Ok;
    }
}

}  // namespace tolvi
