#pragma once
// Fichexo, the exercise window, and the commands of the exercise menu
// optionexo (exercise_menu.h) that it runs (exercise_commands.cpp).
//
// The menu pops up under the main window's btexo picture button. Its
// commands put a statement, a correction or any RTF text into the main
// window's supertext and the open exercise's path into fich; shown modally,
// the window is the exercise chooser: places, folders and "*.E33" files, a
// preview of the selected exercise and an open button. Every command that
// loads or closes something unloads the window; ExerciseMenu creates it again
// on the next use, so the chooser always starts in the program's folder.

#include <QDialog>
#include <QListWidget>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QTextEdit;

namespace tolvi {
class FeuilleP;
class ImageButton;
class Messages;
struct SharedState;

// The file and printer dialogs of the text commands (comexo). Each returns
// nothing, or false, when the user cancels. Unset: Qt's own dialogs.
struct ExerciseDialogs {
    std::function<std::optional<QString>(QWidget* parent)> saveText;
    std::function<std::optional<QString>(QWidget* parent)> openText;
    std::function<bool(QPrinter& printer, QWidget* parent)> setupPrinter;
};

// What the exercise window works on.
struct ExerciseContext {
    FeuilleP& main;
    SharedState& shared;
    Messages& messages;
    // The configuration loader, run on shared.cheminConfig.
    std::function<void()> chargeConfig;
    ExerciseDialogs dialogs;
};

// The program's texts of the exercise commands.
namespace exotext {
inline const QString kTitle = QStringLiteral("Ouvrir un exercice");
inline const QString kAbandonTitle = QStringLiteral("Abandon des données?");
inline const QString kAbandonText = QStringLiteral("Attention: perte des modifications du texte.");
inline const QString kOverwriteTitle = QStringLiteral("Ecraser le fichier?");
// "Le fichier " + bare name + " existe déjà." CRLF "Ecraser l'ancien?"
QString overwriteText(const QString& bareName);
inline const QString kTextReadErrorTitle = QStringLiteral("Erreur de lecture.");
inline const QString kTextWriteErrorTitle = QStringLiteral("Erreur d'écriture.");
inline const QString kTextFileErrorText = QStringLiteral("Vérifier l'état du lecteur et le nom du fichier.");
inline const QString kNotRtfText = QStringLiteral("Ce fichier n'est pas un texte au format RTF.");
inline const QString kPicturesNotShownTitle = QStringLiteral("Images non affichées");
// The message about pictures of a text that cannot be shown.
QString picturesNotShownText(int count);
inline const QString kRtfFilter = QStringLiteral("Texte au format RTF (*.RTF *.rtf)");
inline const QString kTextPrefix = QStringLiteral("Texte: ");
}  // namespace exotext

// Colour of character i (1-based) of n in the painted title: white, its blue
// fading in from 161 to 255.
QColor titleColour(int i, int n);

// The chooser's folder and file lists: their current item is told to
// screen readers only while they are shown.
class ChooserList : public QListWidget {
    Q_OBJECT
public:
    explicit ChooserList(QWidget* parent = nullptr);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
};

class Fichexo : public QDialog {
    Q_OBJECT
public:
    explicit Fichexo(ExerciseContext& context, QWidget* parent = nullptr);
    ~Fichexo() override;

    // --- The window ---------------------------------------------------------
    void Form_Load();
    void Form_Activate();
    void Drive1_Change();
    void Dir1_Change();
    void Dir1_KeyPress(int key);
    void File1_Click();
    void File1_DblClick();
    void File1_KeyPress(int key);
    void ouvreur_Click();
    void Image5_Click();
    void apercu();

    // --- Menu commands --------------------------------------------------------
    void PRISENMAIN_Click();
    void openexo_Click();
    void opencor_Click();
    void Closexo_Click();
    void savetexte_Click();
    void opentexte_Click();
    void imprimetexte_Click();

    // Whether a command has unloaded the window (its owner then destroys it).
    bool unloaded() const { return unloaded_; }

    // The chooser's folder and its listed exercise files.
    QString dirPath() const { return dirPath_; }
    void setDirPath(const QString& path);
    QStringList files() const;
    void selectFile(int index);  // as a click on entry `index` of File1

    // Controls.
    QComboBox* drive1() const { return drive1_; }
    QListWidget* dir1() const { return dir1_; }
    QListWidget* file1() const { return file1_; }
    QLineEdit* fichierexo() const { return fichierexo_; }
    QLabel* titratexo() const { return titratexo_; }
    QLabel* intratro() const { return intratro_; }
    QTextEdit* text1() const { return text1_; }
    QLineEdit* text2() const { return text2_; }
    QLabel* label2() const { return label2_; }
    QLabel* label3() const { return label3_; }
    QLabel* label4() const { return label4_; }
    QLabel* image4(int i) const { return image4_.at(static_cast<std::size_t>(i)); }
    bool markLit(int i) const { return lit_.at(static_cast<std::size_t>(i)); }
    ImageButton* ouvreur() const { return ouvreur_; }
    ImageButton* image5() const { return image5_; }
    QGroupBox* frame2() const { return frame2_; }
    QWidget* tito() const { return tito_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Screen-reader names of the chooser's controls; the difficulty marks
    // say how many of the three are lit.
    void nameControls();
    void nameMarks(int lit);
    // Asks before dropping an edited text; false when the user cancels.
    bool abandonQuestion();
    // Loads an RTF file into supertext; false, the text kept as it was, when
    // it cannot be. A text too large is reported here; any other failure is
    // reported by `readFailed`, the command's own message.
    // Loads an RTF text into the exercise area; `readFailed` tells the user
    // when it cannot, `notRtf` (when given) when the file is no RTF text the reader can show,
    // with the reader's reason.
    // Pictures that cannot be shown are told of once.
    bool loadText(const QString& path, const std::function<void()>& readFailed,
                  const std::function<void(const QString& why)>& notRtf = {});
    void runChargeConfig(const QString& folder, const QString& name);
    void unload();
    void fillDir1();
    void fillFile1();
    void fillDrive1();
    void readError();
    // `name` as the exercise gives it, `tried` the path looked for.
    void missingFile(const QString& name, const QString& tried);

    ExerciseContext& ctx_;
    bool loaded_ = false;
    bool unloaded_ = false;
    bool keyboardMove_ = false;  // a key is moving through the exercise list
    QString dirPath_;
    std::array<bool, 3> lit_{};

    QWidget* tito_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QComboBox* drive1_ = nullptr;
    QListWidget* dir1_ = nullptr;
    QListWidget* file1_ = nullptr;
    QLabel* label5_ = nullptr;
    QLineEdit* fichierexo_ = nullptr;
    ImageButton* ouvreur_ = nullptr;
    ImageButton* image5_ = nullptr;
    QLabel* intratro_ = nullptr;
    QLabel* titratexo_ = nullptr;
    QLabel* label1_ = nullptr;
    QTextEdit* text1_ = nullptr;
    QLabel* label4_ = nullptr;
    std::array<QLabel*, 3> image4_{};
    QLineEdit* text2_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QGroupBox* frame2_ = nullptr;
};

}  // namespace tolvi
