#pragma once
// The data commands of the window: the graph's recorded values and the
// rope's profile copied as spreadsheet text or saved as CSV files, the two
// pictures saved as PNG files, and the values table. The copy menu, the
// pictures' right-click menus and the window's shortcuts share these actions.

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QKeySequence;
class QWidget;

namespace tolvi {
class Messages;
class Simulation;
class ValuesTable;
class ValuesWindow;

// Asks where to save: (title, suggested file name, name filter, default
// suffix) → the chosen path, or empty when cancelled.
using SaveNameAsker =
    std::function<QString(const QString& title, const QString& suggested, const QString& filter, const QString& suffix)>;

// Qt's save dialog, starting in the folder last saved to.
SaveNameAsker fileDialogAsker(QWidget* parent);

// Asks a name and writes `bytes` there whole (the previous file is kept on
// failure, which shows "Enregistrement impossible"). Returns the path saved,
// or empty when cancelled or failed.
QString saveAs(const SaveNameAsker& ask, Messages& messages, const QString& title, const QString& suggested,
               const QString& filter, const QString& suffix, const QByteArray& bytes);

class DataExports : public QObject {
    Q_OBJECT
public:
    enum Command {
        CopyRopeImage,
        CopyGraphImage,
        CopyGraphValues,
        CopyRopeProfile,
        SaveRopeImage,
        SaveGraphImage,
        SaveGraphValues,
        SaveRopeProfile,
        ShowValuesTable,
        PhotographRope,
        ClearPhotos,
        CommandCount
    };

    // `window` owns the actions (their shortcuts work anywhere in it);
    // `showInfo` writes the hint line; `messageCopie` is the picture copy
    // confirmation.
    DataExports(Simulation& sim, Messages& messages, QWidget* window, std::function<void(const QString&)> showInfo,
                std::function<QString()> messageCopie);

    QAction* action(Command c) const { return actions_[c]; }
    // The items of the copy menu after its two picture copies.
    QList<QAction*> copyMenuActions() const;
    QList<QAction*> ropeActions() const;
    QList<QAction*> graphActions() const;
    // Every action with a shortcut, for the window.
    QList<QAction*> shortcutActions() const;

    // Where files are saved (Qt's dialog by default; tests answer it).
    SaveNameAsker askSaveName;
    // Shows the values table (modal by default; tests look at it instead).
    std::function<void(ValuesWindow&)> showValues;

    // The commands; each returns whether it did its job and writes what it
    // did, or why not, in the hint line.
    bool copyImage(bool graph);
    bool copyGraphValues();
    bool copyRopeProfile();
    bool saveImage(bool graph);
    bool saveGraphValues();
    bool saveRopeProfile();
    bool showValuesTable();
    // « Photographier la corde » and « Effacer les photographies ».
    bool photograph();
    bool clearPhotos();

private:
    QAction* add(Command c, const QString& name, const QString& text, const QString& tip, const QKeySequence& keys,
                 std::function<bool()> command);
    bool refuseEmptyRecording();

    Simulation& sim_;
    Messages& messages_;
    QWidget* window_;
    std::function<void(const QString&)> showInfo_;
    std::function<QString()> messageCopie_;
    QAction* actions_[CommandCount] = {};
};

// The confirmation after a copy of values as text.
QString textCopiedMessage();

}  // namespace tolvi
