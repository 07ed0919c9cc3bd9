#include "measure/values_window.h"

#include "measure/clipboard.h"
#include "platform/messages.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <memory>
#include <set>
#include <QDir>

namespace tolvi {

namespace {
// The table's texts, made when a row is shown (a 10 min recording holds
// hundreds of thousands of points).
class ValuesModel : public QAbstractTableModel {
public:
    ValuesModel(std::shared_ptr<const ValuesTable> table, QObject* parent)
        : QAbstractTableModel(parent), table_(std::move(table))
    {
    }
    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : int(std::min<std::size_t>(table_->rowCount(), std::size_t(INT_MAX)));
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return table_->row(std::size_t(index.row())).value(index.column());
        if (role == Qt::TextAlignmentRole)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Horizontal)
            return ValuesTable::header().value(section);
        return section + 1;
    }

private:
    // Shared with the window: the view may still ask while the window goes.
    std::shared_ptr<const ValuesTable> table_;
};

bool askPrinter(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Imprimer le tableau de valeurs"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

QPushButton* button(const QString& text, const QString& name, const QString& tip, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setStatusTip(tip);
    b->setAccessibleDescription(tip);
    b->setAutoDefault(false);
    return b;
}
}  // namespace

ValuesWindow::ValuesWindow(ValuesTable table, Messages& messages, QWidget* parent)
    : QDialog(parent),
      shared_(std::make_shared<const ValuesTable>(std::move(table))),
      table_(*shared_),
      messages_(messages),
      printer_(QPrinter::HighResolution)
{
    setObjectName(QStringLiteral("tableauValeurs"));
    setWindowTitle(QStringLiteral("Tableau de valeurs"));
    setAccessibleName(QStringLiteral("Tableau de valeurs"));
    setModal(true);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    resize(360, 440);
    if (parent)
        move(parent->frameGeometry().topLeft() + QPoint(20, 20));
    choosePrinter = [this](QPrinter& p) { return askPrinter(p, this); };

    auto* legend = new QLabel(
        QStringLiteral("t : temps depuis le début de l'enregistrement\n"
                       "u1, u2 : déplacement de la corde au marqueur bleu, au marqueur rouge"),
        this);
    legend->setObjectName(QStringLiteral("legende"));
    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("valeurs"));
    view_->setAccessibleName(QStringLiteral("Valeurs enregistrées"));
    view_->setAccessibleDescription(QStringLiteral("t en secondes, u1 et u2 en centimètres"));
    view_->setModel(new ValuesModel(shared_, view_));
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setAlternatingRowColors(true);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    auto* copyRows = new QAction(QStringLiteral("Copier les lignes choisies"), view_);
    copyRows->setShortcut(QKeySequence::Copy);
    copyRows->setShortcutContext(Qt::WidgetShortcut);
    view_->addAction(copyRows);
    connect(copyRows, &QAction::triggered, this, [this] { copySelection(); });

    status_ = new QLabel(QStringLiteral("%1 valeurs").arg(table_.rowCount()), this);
    status_->setObjectName(QStringLiteral("etat"));

    copy_ = button(QStringLiteral("&Copier"), QStringLiteral("copier"),
                   QStringLiteral("Copier tout le tableau pour le coller dans un tableur (Ctrl+C : les lignes "
                                  "choisies)"),
                   this);
    save_ = button(QStringLiteral("&Enregistrer..."), QStringLiteral("enregistrer"),
                   QStringLiteral("Enregistrer le tableau dans un fichier CSV (point-virgule, virgule décimale)"),
                   this);
    print_ = button(QStringLiteral("&Imprimer..."), QStringLiteral("imprimer"),
                    QStringLiteral("Imprimer le tableau de valeurs"), this);
    close_ = button(QStringLiteral("&Fermer"), QStringLiteral("fermer"), QStringLiteral("Fermer le tableau"), this);
    connect(copy_, &QPushButton::clicked, this, [this] { copyAll(); });
    connect(save_, &QPushButton::clicked, this, [this] { save(); });
    connect(print_, &QPushButton::clicked, this, [this] { print(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {copy_, save_, print_, close_})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(legend);
    layout->addWidget(view_, 1);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    view_->setFocus();
}

QString ValuesWindow::selectionText() const
{
    const QModelIndexList rows = view_->selectionModel() ? view_->selectionModel()->selectedRows() : QModelIndexList();
    if (rows.isEmpty())
        return table_.text(QLatin1Char('\t'));
    std::set<int> chosen;
    for (const QModelIndex& index : rows)
        chosen.insert(index.row());
    QString text = ValuesTable::header().join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (int row : chosen)
        text += table_.row(std::size_t(row)).join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text;
}

bool ValuesWindow::copyAll()
{
    const bool ok = copyTextToClipboard(table_.text(QLatin1Char('\t')));
    status_->setText(ok ? textCopiedMessage() : QStringLiteral("Le presse-papiers n'a pas accepté le tableau."));
    return ok;
}

bool ValuesWindow::copySelection()
{
    const bool ok = copyTextToClipboard(selectionText());
    status_->setText(ok ? textCopiedMessage() : QStringLiteral("Le presse-papiers n'a pas accepté le tableau."));
    return ok;
}

bool ValuesWindow::save()
{
    const QString path = saveAs(askSaveName, messages_, QStringLiteral("Enregistrer le tableau de valeurs"),
                                QStringLiteral("graphe.csv"), QStringLiteral("Fichiers CSV (*.csv);;Tous les fichiers (*)"),
                                QStringLiteral("csv"), table_.text(QLatin1Char(';')).toUtf8());
    if (path.isEmpty())
        return false;
    status_->setText(QStringLiteral("Tableau enregistré dans %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

bool ValuesWindow::print()
{
    if (!choosePrinter || !choosePrinter(printer_))
        return false;
    const QString failure = printValuesTable(printer_, table_, QStringLiteral("Tableau de valeurs"));
    if (!failure.isEmpty() || printer_.printerState() == QPrinter::Error) {
        messages_.critical(QStringLiteral("Impression impossible"),
                           failure.isEmpty() ? QStringLiteral("L'imprimante a refusé le document.") : failure);
        return false;
    }
    status_->setText(QStringLiteral("Tableau imprimé"));
    return true;
}

}  // namespace tolvi
