#pragma once
// ouvrir, "Ouvrir une configuration": the user picks a .P15 file in the
// place, directory and file lists (or types its path) and "OUVRIR" loads it
// into the main window through chargeConfig.

#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tolvi {
class FileBrowser;
class Messages;
class Simulation;
struct SharedState;

class OpenDialog : public QDialog {
    Q_OBJECT
public:
    // `setTitle` names the loaded file in the main window; `mainWindow`
    // places the dialog 20 pixels right of and below its top-left corner.
    OpenDialog(Simulation& sim, SharedState& shared, Messages& messages,
               std::function<void(const QString&)> setTitle, QWidget* mainWindow);

    FileBrowser& browser() const { return *browser_; }
    QLineEdit* ficharge() const { return ficharge_; }
    QPushButton* command1() const { return command1_; }
    QPushButton* command2() const { return command2_; }
    QFrame* frame1() const { return frame1_; }

    void File1_Click(const QString& name);
    void File1_DblClick(const QString& name);
    void Command1_Click();  // "OUVRIR"
    void Command2_Click();  // "ANNULER"

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Simulation& sim_;
    SharedState& shared_;
    Messages& messages_;
    std::function<void(const QString&)> setTitle_;
    FileBrowser* browser_;
    QLineEdit* ficharge_;
    QPushButton* command1_;
    QPushButton* command2_;
    QFrame* frame1_;
};

// The position of a secondary dialog: 20 pixels right of and below the main
// window's top-left corner.
QPoint dialogPosition(const QWidget* mainWindow);

}  // namespace tolvi
