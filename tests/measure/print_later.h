#pragma once
// Printing as a user does while the animation goes on: the simulation
// advances while the dialog is filled in and again while a printer (a PDF
// file) is chosen, then "&OK" prints.

#include "measure/confimp.h"
#include "sim/simulation.h"

#include <QPrinterInfo>
#include <QString>

namespace tolvi::testing {

inline void printLater(Confimp& dialog, Simulation& sim, const QString& pdf)
{
    sim.advance(1.0);  // the user fills in the dialog
    dialog.choosePrinter = [&sim, pdf](QPrinter& printer) {
        sim.advance(1.0);  // and takes time to choose the printer
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    // With a printer installed, no choice is asked for: the file is set
    // beforehand, and the time passes all the same.
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
        dialog.printer().setOutputFormat(QPrinter::PdfFormat);
        dialog.printer().setOutputFileName(pdf);
        dialog.Form_Load();
        sim.advance(1.0);
    }
    dialog.Command1_Click();
}

}  // namespace tolvi::testing
