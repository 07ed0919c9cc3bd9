#pragma once
// enregistrer, "Enregistrer les paramètres.": the user names a .P15 file
// (the last configuration's path is offered) in a folder of the place and
// directory lists; "ENREGISTRER" settles the name, asks before replacing a
// file and writes the current state.

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

namespace tolvi {
class FileBrowser;
class Messages;
class Simulation;
struct SharedState;

class SaveDialog : public QDialog {
    Q_OBJECT
public:
    SaveDialog(Simulation& sim, SharedState& shared, Messages& messages,
               std::function<void(const QString&)> setTitle, QWidget* mainWindow);

    FileBrowser& browser() const { return *browser_; }
    QLineEdit* text1() const { return text1_; }
    QPushButton* command1() const { return command1_; }
    QPushButton* command2() const { return command2_; }

    void File1_PathChange();
    void File1_DblClick(const QString& name);
    // "ENREGISTRER"; true when the file was written.
    bool Command1_Click();
    void Command2_Click();  // "ANNULER"

private:
    Simulation& sim_;
    SharedState& shared_;
    Messages& messages_;
    std::function<void(const QString&)> setTitle_;
    FileBrowser* browser_;
    QLineEdit* text1_;
    QPushButton* command1_;
    QPushButton* command2_;
};

}  // namespace tolvi
