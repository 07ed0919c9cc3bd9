#pragma once
// The calculator window "Machine à calculer", shown modally from the main
// window. The keys build the expression, EXE evaluates it; everything but the
// widgets lives in CalculatorSession.

#include "calc/calculator_session.h"

#include <QDialog>
#include <QFont>
#include <map>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tolvi {

class Machine : public QDialog {
    Q_OBJECT
public:
    explicit Machine(QWidget* parent = nullptr);

    CalculatorSession& session() { return session_; }
    // The key of that control name ("B7", "bsin", "EXE", ...), or nullptr.
    QPushButton* touche(const QString& nom) const;
    QLineEdit* z1() const { return z1_; }
    QRadioButton* angle(int index) const { return angle_[index]; }
    QRadioButton* C(int index) const { return c_[index]; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void touche_Click(const ToucheMachine& touche);
    void EXE_Click();
    // A key that cannot act now: a beep, nothing written.
    void refuser();
    void C_Click(int index);
    // Form_KeyPress: true when the key was the calculator's.
    bool Form_KeyPress(QKeyEvent* event);
    void z1_Change();

    CalculatorSession session_;
    QLineEdit* z1_ = nullptr;
    QRadioButton* angle_[2] = {nullptr, nullptr};
    QRadioButton* c_[2] = {nullptr, nullptr};
    std::map<QString, QPushButton*> touches_;
    QFont policeAffichage_;  // the display's own size, for the expression
};

}  // namespace tolvi
