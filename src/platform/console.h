#pragma once
// The program's process as the system starts it: its arguments, its
// standard streams for the batch line, whether a desktop is there.

#include <QStringList>

namespace tolvi {

// The command line, the program's name first, in full Unicode (on Windows,
// not through the ANSI code page).
QStringList programArguments(int argc, char** argv);

// Makes the standard streams fit for a batch run: on Windows, a program
// started from a console window writes into it (in UTF-8, so that accents
// read right), and output goes out byte for byte, with no CR added.
void prepareBatchStreams();

// Whether a desktop session is there for a clipboard that other programs
// read (always on Windows; on X11 when DISPLAY is set).
bool hasDesktopSession();

}  // namespace tolvi
