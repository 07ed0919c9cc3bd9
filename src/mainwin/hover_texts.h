#pragma once
// The hints the main window writes into its hint line `info` as the mouse
// moves over its controls.

#include <QString>

namespace tolvi::hover {

// The general hint, on two lines, shown at start and over the bare window.
QString general();
// Copy confirmation, kept in the hint line while the mouse stays on "Co&pier".
QString messageCopie();

QString command2();   // "&Ouvrir"
QString command11();  // "&Enregistrer"
QString command4();   // "Co&pier"
QString command10();  // "&Imprimer"
QString command8();   // "&Calculatrice"
QString command7();   // "&Aide"
QString command1();   // "&Fermer"
QString frame2();     // perturbation panel
QString picture3();   // rope panel
QString picture1();   // tools panel
QString btexo();      // exercise button
QString animpic();    // rope picture
QString picture2();   // graph picture
// The hints while the rope or the graph has the keyboard focus.
QString animpicKeys();
QString picture2Keys();

}  // namespace tolvi::hover
