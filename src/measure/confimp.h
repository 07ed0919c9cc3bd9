#pragma once
// confimp ("Imprimer"): what to print (rope picture, graph), the page title,
// the number of copies and the printer; the values table when a recording
// holds values. "&OK" prints one landscape page per
// copy and closes; "&Imprimantes" opens the printer set-up; "&Annuler"
// closes. Created for each use: every opening starts from the same values.

#include "measure/print_page.h"

#include <QDialog>
#include <QImage>
#include <QPrinter>
#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tolvi {
class Messages;
class UpDown;

class Confimp : public QDialog {
    Q_OBJECT
public:
    // `pictures` makes the rope and graph pictures when "&OK" prints, after
    // any printer choice: the animation and the recording go on meanwhile.
    Confimp(PrintPictures pictures, Messages& messages, QWidget* parent = nullptr);
    // Prints these fixed pictures.
    Confimp(const QImage& rope, const QImage& graph, Messages& messages, QWidget* parent = nullptr);

    // The printer the dialog prints on (tests point it at a PDF file).
    QPrinter& printer() { return printer_; }
    // Asks the user for a printer (Qt's print dialog by default; it offers a
    // PDF file when no printer is installed). Returns false when refused.
    std::function<bool(QPrinter&)> choosePrinter;

    // The recorded values "Le tableau de valeur" prints; the option is
    // offered only when there are some as the dialog opens.
    void setValues(ValuesTable values);
    // The same, taken again when "&OK" prints, after any printer choice, as
    // the pictures are: the recording goes on while the dialog is open.
    void setValues(std::function<ValuesTable()> values);

    // The options as the controls show them.
    PrintOptions options() const;

    void Form_Load();
    void UpDown1_Change();
    void Command1_Click();  // "&OK"
    void Command2_Click();  // "&Imprimantes"
    void Command3_Click();  // "&Annuler"

    QCheckBox* check1(int i) const { return check1_[std::size_t(i)]; }
    QLineEdit* text1() const { return text1_; }
    QLabel* label4() const { return label4_; }
    UpDown* upDown1() const { return upDown1_; }
    QLineEdit* defaut() const { return defaut_; }
    QPushButton* command(int i) const;  // 1 "&OK", 2 "&Imprimantes", 3 "&Annuler"
    QGroupBox* frame1() const { return frame1_; }
    QWidget* frame2() const { return frame2_; }

private:
    void showWaiting(bool waiting);

    PrintPictures pictures_;
    std::function<ValuesTable()> valuesSource_;
    ValuesTable values_;
    Messages& messages_;
    QPrinter printer_;
    QGroupBox* frame1_ = nullptr;
    std::array<QCheckBox*, 3> check1_{};
    QLineEdit* text1_ = nullptr;
    QLabel* label4_ = nullptr;
    UpDown* upDown1_ = nullptr;
    QLineEdit* defaut_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QWidget* frame2_ = nullptr;
};

}  // namespace tolvi
