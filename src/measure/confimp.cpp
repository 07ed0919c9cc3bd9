#include "measure/confimp.h"

#include "measure/up_down.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>

namespace tolvi {

namespace {
bool askPrinter(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Imprimantes"));
    // The copies are counted by the dialog's own control.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    return dialog.exec() == QDialog::Accepted;
}

// A printer with nowhere to send the job: with no printer installed Qt
// falls back to PDF output, which still needs a file name.
bool hasNoDestination(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return printer.outputFileName().isEmpty();
    return !printer.isValid() || printer.printerName().isEmpty();
}
}  // namespace

Confimp::Confimp(const QImage& rope, const QImage& graph, Messages& messages, QWidget* parent)
    : Confimp(PrintPictures{[rope](double) { return rope; }, [graph](double) { return graph; }}, messages, parent)
{
}

Confimp::Confimp(PrintPictures pictures, Messages& messages, QWidget* parent)
    : QDialog(parent), pictures_(std::move(pictures)), messages_(messages), printer_(QPrinter::HighResolution)
{
    setObjectName(QStringLiteral("confimp"));
    setWindowTitle(QStringLiteral("Imprimer"));
    setModal(true);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(330, 250);
    choosePrinter = [this](QPrinter& printer) { return askPrinter(printer, this); };

    frame1_ = new QGroupBox(QStringLiteral("Options"), this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setGeometry(10, 8, 310, 160);
    const char* const checks[3] = {"L'animation", "Le graphe", "Le tableau de valeur"};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(checks[i]), frame1_);
        box->setObjectName(QStringLiteral("Check1_%1").arg(i));
        box->setGeometry(14, 20 + 22 * i, 180, 20);
        check1_[std::size_t(i)] = box;
    }
    auto* label5 = new QLabel(QStringLiteral("Titre de la page :"), frame1_);
    label5->setGeometry(14, 90, 110, 20);
    text1_ = new QLineEdit(frame1_);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(124, 90, 176, 22);
    auto* label3 = new QLabel(QStringLiteral("Nombre d'exemplaires :"), frame1_);
    label3->setGeometry(14, 124, 130, 20);
    label4_ = new QLabel(frame1_);
    label4_->setObjectName(QStringLiteral("Label4"));
    label4_->setGeometry(150, 124, 28, 20);
    label4_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    upDown1_ = new UpDown(1, kMaxCopies, frame1_);
    upDown1_->setObjectName(QStringLiteral("UpDown1"));
    upDown1_->setGeometry(182, 120, 17, 28);
    connect(upDown1_, &UpDown::valueChanged, this, &Confimp::UpDown1_Change);
    upDown1_->setAccessibleName(QStringLiteral("Nombre d'exemplaires"));
    upDown1_->setAccessibleDescription(QStringLiteral("Flèches haut et bas : un exemplaire de plus ou de moins"));
    upDown1_->setValueText([](int copies) { return QString::number(copies); });
    text1_->setAccessibleName(QStringLiteral("Titre de la page"));

    auto* label2 = new QLabel(QStringLiteral("Imprimante:"), this);
    label2->setGeometry(10, 178, 70, 20);
    defaut_ = new QLineEdit(this);
    defaut_->setObjectName(QStringLiteral("defaut"));
    defaut_->setReadOnly(true);
    defaut_->setGeometry(82, 178, 238, 22);
    defaut_->setAccessibleName(QStringLiteral("Imprimante"));

    command1_ = new QPushButton(QStringLiteral("&OK"), this);
    command2_ = new QPushButton(QStringLiteral("&Imprimantes"), this);
    command3_ = new QPushButton(QStringLiteral("&Annuler"), this);
    command1_->setGeometry(10, 212, 96, 28);
    command2_->setGeometry(117, 212, 96, 28);
    command3_->setGeometry(224, 212, 96, 28);
    command1_->setDefault(true);
    command2_->setAutoDefault(false);
    command3_->setAutoDefault(false);
    connect(command1_, &QPushButton::clicked, this, &Confimp::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &Confimp::Command2_Click);
    connect(command3_, &QPushButton::clicked, this, &Confimp::Command3_Click);

    // The waiting notice, in place of the options while the job is sent.
    frame2_ = new QWidget(this);
    frame2_->setObjectName(QStringLiteral("Frame2"));
    frame2_->setGeometry(10, 40, 310, 90);
    auto* hourglass = new QLabel(QString(QChar(0x231B)), frame2_);
    QFont glyphs(QStringLiteral("Symbola"));
    glyphs.setPixelSize(32);
    hourglass->setFont(glyphs);
    hourglass->setGeometry(10, 20, 44, 44);
    auto* label1 = new QLabel(QStringLiteral("Veuillez patienter quelques instants..."), frame2_);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(60, 30, 240, 24);
    frame2_->hide();

    check1_[0]->setChecked(true);
    check1_[1]->setChecked(true);
    check1_[2]->setChecked(false);
    setValues(ValuesTable());
    text1_->setText(QStringLiteral("Kestrane - Tolvi"));
    upDown1_->showValue(1);
    UpDown1_Change();
    if (parent)
        move(parent->frameGeometry().topLeft() + QPoint(20, 20));
    Form_Load();
}

QPushButton* Confimp::command(int i) const
{
    switch (i) {
    case 1: return command1_;
    case 2: return command2_;
    case 3: return command3_;
    default: return nullptr;
    }
}

void Confimp::setValues(ValuesTable values)
{
    setValues([values = std::move(values)] { return values; });
}

void Confimp::setValues(std::function<ValuesTable()> values)
{
    valuesSource_ = std::move(values);
    values_ = valuesSource_ ? valuesSource_() : ValuesTable();
    QCheckBox* box = check1_[2];
    box->setEnabled(!values_.isEmpty());
    if (values_.isEmpty())
        box->setChecked(false);
    const QString tip = values_.isEmpty()
        ? QStringLiteral("Aucune valeur enregistrée : enregistrer d'abord un graphe")
        : QStringLiteral("Imprimer aussi le tableau des valeurs du graphe (t, u1, u2), après les images");
    box->setToolTip(tip);
    box->setStatusTip(tip);
    box->setAccessibleDescription(tip);
}

PrintOptions Confimp::options() const
{
    PrintOptions o;
    o.rope = check1_[0]->isChecked();
    o.graph = check1_[1]->isChecked();
    o.table = check1_[2]->isEnabled() && check1_[2]->isChecked();
    if (o.table)
        o.values = values_;
    o.title = text1_->text();
    o.copies = upDown1_->value();
    return o;
}

void Confimp::Form_Load()
{
    if (hasNoDestination(printer_))
        defaut_->setText(QStringLiteral("Aucune imprimante installée (fichier PDF)"));
    else if (printer_.outputFormat() == QPrinter::PdfFormat)
        defaut_->setText(QStringLiteral("Fichier PDF : ") + printer_.outputFileName());
    else
        defaut_->setText(printer_.printerName());
}

void Confimp::UpDown1_Change()
{
    label4_->setText(QString::number(upDown1_->value()));
}

void Confimp::Command2_Click()
{
    if (choosePrinter)
        choosePrinter(printer_);
    Form_Load();
}

void Confimp::Command3_Click()
{
    reject();
}

void Confimp::showWaiting(bool waiting)
{
    command1_->setVisible(!waiting);
    command2_->setVisible(!waiting);
    command3_->setVisible(!waiting);
    frame1_->setVisible(!waiting);
    frame2_->setVisible(waiting);
    repaint();
}

void Confimp::Command1_Click()
{
    // With nowhere to print, the user picks a printer or a PDF file first.
    if (hasNoDestination(printer_)) {
        if (!choosePrinter || !choosePrinter(printer_)) {
            Form_Load();
            return;
        }
        Form_Load();
        if (hasNoDestination(printer_)) {
            messages_.critical(QStringLiteral("Impression impossible"),
                               QStringLiteral("Aucune imprimante n'est disponible. Choisissez une imprimante ou "
                                              "l'impression dans un fichier PDF avec « Imprimantes »."));
            return;
        }
    }
    if (valuesSource_ && check1_[2]->isEnabled() && check1_[2]->isChecked())
        values_ = valuesSource_();
    showWaiting(true);
    // A PDF file is written as every saved file is, never half-way in place.
    const bool toPdfFile = printer_.outputFormat() == QPrinter::PdfFormat;
    const QString failure =
        toPdfFile ? printPdfFile(printer_.outputFileName(), printer_.pageLayout(), printer_.resolution(),
                                 printer_.docName(), pictures_, options())
                  : printPages(printer_, pictures_, options());
    if (!failure.isEmpty() || (!toPdfFile && printer_.printerState() == QPrinter::Error)) {
        showWaiting(false);
        messages_.critical(QStringLiteral("Impression impossible"),
                           failure.isEmpty() ? QStringLiteral("L'imprimante a refusé le document.") : failure);
        return;
    }
    accept();
}

}  // namespace tolvi
