#pragma once
// "&Aide": the help is a French HTML page in the program's folder, opened in
// the desktop's default viewer. The graph is kept across the call.

#include <QString>
#include <QUrl>
#include <functional>

namespace tolvi {
class Messages;
class Simulation;

// The help page beside the help file name the window asks for.
QString helpPagePath(const QString& helpFile);

class HelpCommand {
public:
    HelpCommand(Simulation& sim, Messages& messages);

    // Opens a URL in the desktop's viewer (QDesktopServices by default).
    std::function<bool(const QUrl&)> openUrl;

    // Command7_Click with the window's help file path (MEQA.hlp in the
    // program's folder): opens the HTML page beside it. Returns whether the
    // viewer was started; a missing page or viewer is told in a message.
    bool Command7_Click(const QString& helpFile);

private:
    Simulation& sim_;
    Messages& messages_;
};

}  // namespace tolvi
