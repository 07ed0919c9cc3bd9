#pragma once
// A file named on the command line, as the file manager passes it when the
// user opens a configuration or an exercise with Tolvi.

#include <QString>

namespace tolvi {
class Program;

enum class FileKind {
    Configuration,  // *.P15, and any other name: the loader checks the file
    Exercise,       // *.E33, and the getting-started activity *.PEM
};

// Chosen by the name's extension, whatever its case.
FileKind fileKind(const QString& path);

// Opens `path` in the program's window: a configuration as "&Ouvrir" loads
// it, an exercise as the launcher's request opens it. Failures are the
// usual message boxes.
void openFromCommandLine(Program& program, const QString& path);

}  // namespace tolvi
