#pragma once
// The values that several windows share: the main window, the open and save
// dialogs, the exercise window and the calculator read and write them. The
// program owns one instance for its whole run; windows hold a reference.

#include <QString>
#include <cstdint>

namespace tolvi {

struct SharedState {
    // 1 when the exercise text in the main window's text area was edited.
    std::int16_t texteModifie = 0;
    // 1 when the open exercise may show its correction.
    std::int16_t exoOuvert = 0;
    // Folder of the current exercise, ending with "/".
    QString cheminExo;
    // Full path of the configuration last saved or about to be loaded.
    QString cheminConfig;
    // Shown in the hint line after a copy to the clipboard.
    QString messageCopie;
    // The calculator's memory, kept while the program runs.
    double memoire = 0.0;
};

}  // namespace tolvi
