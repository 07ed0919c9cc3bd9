#pragma once
// Message boxes shown to the user with QMessageBox, French buttons.

#include "platform/messages.h"

class QWidget;

namespace tolvi {

class WidgetMessages : public Messages {
public:
    explicit WidgetMessages(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    Answer ask(MessageKind kind, const QString& title, const QString& text) override;

private:
    QWidget* parent_;
};

}  // namespace tolvi
