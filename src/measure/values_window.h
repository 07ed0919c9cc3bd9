#pragma once
// "Tableau de valeurs": the points of the graph recording in three columns,
// t, u1 (blue marker) and u2 (red marker), as the graph's CSV writes them.
// The whole table, or the rows selected, can be copied for a spreadsheet;
// the table can be saved as CSV and printed. A snapshot of the recording
// when the window opens.

#include "measure/data_exports.h"
#include "measure/values_table.h"

#include <QDialog>
#include <QPrinter>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QTableView;

namespace tolvi {
class Messages;

class ValuesWindow : public QDialog {
    Q_OBJECT
public:
    ValuesWindow(ValuesTable table, Messages& messages, QWidget* parent = nullptr);

    const ValuesTable& values() const { return table_; }
    QTableView* tableView() const { return view_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* printButton() const { return print_; }
    QPushButton* closeButton() const { return close_; }

    // The printer of "&Imprimer..." (tests point it at a PDF file) and how
    // the user chooses it (Qt's print dialog by default).
    QPrinter& printer() { return printer_; }
    std::function<bool(QPrinter&)> choosePrinter;
    // Where "&Enregistrer..." saves.
    SaveNameAsker askSaveName;

    // The rows selected (all rows when none is), as spreadsheet text.
    QString selectionText() const;
    bool copyAll();        // "&Copier"
    bool copySelection();  // Ctrl+C in the table
    bool save();           // "&Enregistrer..."
    bool print();          // "&Imprimer..."

private:
    std::shared_ptr<const ValuesTable> shared_;
    const ValuesTable& table_;
    Messages& messages_;
    QPrinter printer_;
    QTableView* view_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace tolvi
