#pragma once
// feuilleP, the main window: composes the rope and graph pictures, the
// chronometer, the tab strip with its three panels and the exercise area
// over the simulation, paints its background, serves the launcher's flag
// file, and asks before closing. Every control mirrors the simulation after
// each of its signals; the window's timer schedules the animation tick.

#include "mainwin/size_rule.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QToolButton;

namespace tolvi {
class TextZoom;
class ChronometerControls;
class GraphPicture;
class ImageButton;
class PacingControls;
class RunningFlag;
class Messages;
class PerturbationPanel;
class RopePanel;
class RopePicture;
class Simulation;
class TabStrip;
class ToolsPanel;
struct SharedState;

class FeuilleP : public QWidget {
    Q_OBJECT
public:
    FeuilleP(Simulation& sim, SharedState& shared, Messages& messages, QWidget* parent = nullptr);
    ~FeuilleP() override;

    // The program's folder (flag file, help file); unless set, the folder
    // named by the environment variable TOLVI_PROGRAM_FOLDER (for developers'
    // tests), else the executable's folder.
    void setProgramDirectory(const QString& directory);
    QString programDirectory() const;
    // Whether start-up, activation and unloading use the flag file (records
    // 3 and 31); batch runs leave it to the window unless asked.
    void setFlagFileUsed(bool used) { flagFileUsed_ = used; }

    // --- Life of the window ------------------------------------------------
    // Once, before the window is first shown (showing it runs it if needed).
    void Form_Load();
    // Each time the window becomes active (run by the window system).
    void Form_Activate();
    // A close request: sets `cancel` to 1 to keep the window open.
    void Form_QueryUnload(int& cancel);
    // The window's end: calculator unloaded, flag "NON". Asks nothing.
    void Form_Unload();
    // "&Fermer": a close request, with its questions.
    void Command1_Click();

    // --- Batch and tests ---------------------------------------------------
    // As a click on tab n (1 Corde, 2 Onde, 3 Outils).
    void selectTab(int n);
    int currentTab() const;
    // The whole window as it looks now (works unshown and offscreen).
    // The whole window as drawn, at `scale` device pixels per unit.
    QImage snapshot(double scale = 1.0);
    // The persistent background painted at load.
    const QImage& background() const { return background_; }
    QTimer& timer1() { return timer_; }

    // --- Zoom ----------------------------------------------------------------
    // Lays the window out at `zoom` × its design, the design's top-left at
    // `at` (the layout centred on a full screen). The window's own size
    // follows unless `keepSize`.
    void setZoom(double zoom, QPointF at = QPointF(), bool keepSize = false);
    double zoomFactor() const { return zoom_; }
    // The client size at the present zoom.
    QSize zoomedClient() const;
    // While shown full screen, the size rule leaves the window alone.
    void setFullScreenShown(bool shown);
    bool fullScreenShown() const { return fullScreen_; }
    // The projection layout paints a plain background, not the window's.
    void setPlainBackground(bool plain);

    // The hint line.
    QString info() const;
    void setInfo(const QString& text);

    // --- Hooks for the features that plug in later (unset: nothing) ---------
    std::function<void()> openConfigurationHook;   // "&Ouvrir"
    std::function<void()> saveConfigurationHook;   // "&Enregistrer"
    std::function<void()> copyHook;                // "Co&pier"
    std::function<void()> printHook;               // "&Imprimer"
    std::function<void()> calculatorHook;          // "&Calculatrice"
    std::function<void(const QString& helpFile)> helpHook;  // "&Aide"
    std::function<void(const QPoint& global)> exerciseMenuHook;  // btexo
    // The launcher asked for an exercise: the exercise window opens it.
    std::function<void(const QString& path)> openExerciseRequest;
    // Closing the main window closes the calculator.
    std::function<void()> unloadCalculatorHook;
    // Ends the program after the window closed (default: leave the event loop).
    std::function<void()> endProgram;

    // --- Controls ------------------------------------------------------------
    Simulation& simulation() const { return sim_; }
    RopePicture* animpic() const { return animpic_; }
    GraphPicture* picture2() const { return picture2_; }
    TabStrip* onglets() const { return onglets_; }
    RopePanel* picture3() const { return picture3_; }
    PerturbationPanel* frame2() const { return frame2_; }
    ToolsPanel* picture1() const { return picture1_; }
    ChronometerControls* chronometer() const { return chrono_; }
    QPushButton* demar() const { return demar_; }
    QPushButton* command6() const { return command6_; }
    ImageButton* command16() const { return command16_; }
    ImageButton* btexo() const { return btexo_; }
    PacingControls* pacing() const { return pacing_; }  // "Pas à pas" and "Ralenti"
    QLabel* label1() const { return label1_; }
    QLabel* infoLabel() const { return info_; }
    QLineEdit* fich() const { return fich_; }
    QTextEdit* supertext() const { return supertext_; }
    QToolButton* topButton(int i) const;  // 0 "&Ouvrir" .. 6 "&Fermer"

    // Writes the introduction into supertext (read-only, caret at the start).
    void ecritIntro();
    // Form_MouseMove and Label1_MouseMove.
    void Form_MouseMove();
    void Label1_MouseMove();

    // The help file's path: MEQA.hlp in the program's folder.
    QString helpPath() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTopRow();
    void syncControls();
    void syncTimer();
    void applySizeRule();
    void clearLabel1();
    void showReadout(const QString& text, const QColor& foreground, const QColor& background);
    void hoverHint(QObject* watched);

    Simulation& sim_;
    SharedState& shared_;
    Messages& messages_;
    QString programDirectory_;
    bool flagFileUsed_ = true;
    std::unique_ptr<RunningFlag> runningFlag_;  // while the window runs, when the flag file is used
    CentredPlacement placement_;
    QImage background_;
    QImage fineBackground_;  // background_ at the window's device pixel ratio
    QTimer timer_;
    bool loaded_ = false;
    bool unloaded_ = false;
    bool applyingSizeRule_ = false;

    std::array<QToolButton*, 7> topRow_{};
    RopePicture* animpic_ = nullptr;
    GraphPicture* picture2_ = nullptr;
    TabStrip* onglets_ = nullptr;
    RopePanel* picture3_ = nullptr;
    PerturbationPanel* frame2_ = nullptr;
    ToolsPanel* picture1_ = nullptr;
    ChronometerControls* chrono_ = nullptr;
    QPushButton* demar_ = nullptr;
    QPushButton* command6_ = nullptr;
    ImageButton* command16_ = nullptr;
    ImageButton* btexo_ = nullptr;
    PacingControls* pacing_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* info_ = nullptr;
    QLineEdit* fich_ = nullptr;
    QTextEdit* supertext_ = nullptr;
    bool pauseShownRunning_ = true;
    double zoom_ = 1.0;
    std::unique_ptr<TextZoom> textZoom_;
    bool fullScreen_ = false;
    bool plainBackground_ = false;
};

}  // namespace tolvi
