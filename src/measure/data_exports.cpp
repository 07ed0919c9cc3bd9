#include "measure/data_exports.h"

#include "measure/clipboard.h"
#include "measure/values_table.h"
#include "measure/values_window.h"
#include "platform/file_save.h"
#include "platform/messages.h"
#include "sim/rope_profile.h"
#include "sim/simulation.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QWidget>

namespace tolvi {

namespace {
const QString kCsvFilter = QStringLiteral("Fichiers CSV (*.csv);;Tous les fichiers (*)");
const QString kPngFilter = QStringLiteral("Images PNG (*.png);;Tous les fichiers (*)");

// "Image du graphe enregistrée dans /chemin/graphe.png"
QString savedMessage(const QString& what, bool feminine, const QString& path)
{
    return QStringLiteral("%1 %2 dans %3")
        .arg(what, feminine ? QStringLiteral("enregistrée") : QStringLiteral("enregistré"),
             QDir::toNativeSeparators(path));
}
}  // namespace

QString textCopiedMessage()
{
    return QStringLiteral("Les valeurs sont copiées : vous pouvez les coller dans un tableur (LibreOffice Calc...)");
}

SaveNameAsker fileDialogAsker(QWidget* parent)
{
    auto folder = std::make_shared<QString>(QDir::homePath());
    return [parent, folder](const QString& title, const QString& suggested, const QString& filter,
                            const QString& suffix) {
        QFileDialog dialog(parent, title, QDir(*folder).filePath(suggested), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(suffix);
        dialog.setLabelText(QFileDialog::Accept, QStringLiteral("&Enregistrer"));
        dialog.setLabelText(QFileDialog::Reject, QStringLiteral("&Annuler"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        const QString path = dialog.selectedFiles().constFirst();
        *folder = QFileInfo(path).absolutePath();
        return path;
    };
}

QString saveAs(const SaveNameAsker& ask, Messages& messages, const QString& title, const QString& suggested,
               const QString& filter, const QString& suffix, const QByteArray& bytes)
{
    const QString path = ask ? ask(title, suggested, filter, suffix) : QString();
    if (path.isEmpty())
        return QString();
    if (QFileInfo(path).isDir()) {
        messages.critical(QStringLiteral("Enregistrement impossible"),
                          QStringLiteral("%1 est un dossier : choisissez un nom de fichier.")
                              .arg(QDir::toNativeSeparators(path)));
        return QString();
    }
    const QString failure = saveFileBytes(path, bytes);
    if (!failure.isEmpty()) {
        messages.critical(QStringLiteral("Enregistrement impossible"),
                          QStringLiteral("Le fichier %1 ne peut pas être écrit (%2). Un fichier existant de ce nom "
                                         "n'a pas été modifié.")
                              .arg(QDir::toNativeSeparators(path), failure));
        return QString();
    }
    return path;
}

DataExports::DataExports(Simulation& sim, Messages& messages, QWidget* window,
                         std::function<void(const QString&)> showInfo, std::function<QString()> messageCopie)
    : QObject(window),
      sim_(sim),
      messages_(messages),
      window_(window),
      showInfo_(std::move(showInfo)),
      messageCopie_(std::move(messageCopie))
{
    setObjectName(QStringLiteral("donnees"));
    askSaveName = fileDialogAsker(window);
    showValues = [](ValuesWindow& w) { w.exec(); };
    const QKeySequence none;
    add(CopyRopeImage, QStringLiteral("copieCorde"), QStringLiteral("Copier l'image de la corde"),
        QStringLiteral("Placer l'image de la corde dans le presse-papiers"), none, [this] { return copyImage(false); });
    add(CopyGraphImage, QStringLiteral("copieGraphe"), QStringLiteral("Copier l'image du graphe"),
        QStringLiteral("Placer l'image du graphe dans le presse-papiers"), none, [this] { return copyImage(true); });
    add(CopyGraphValues, QStringLiteral("copieValeurs"), QStringLiteral("Copier les valeurs du graphe"),
        QStringLiteral("Copier t, u1 et u2 de l'enregistrement pour les coller dans un tableur"),
        QKeySequence(QStringLiteral("Ctrl+Shift+C")), [this] { return copyGraphValues(); });
    add(CopyRopeProfile, QStringLiteral("copieProfil"), QStringLiteral("Copier le profil de la corde"),
        QStringLiteral("Copier x et u de chaque centimètre de la corde pour les coller dans un tableur"),
        QKeySequence(QStringLiteral("Ctrl+Shift+P")), [this] { return copyRopeProfile(); });
    add(SaveRopeImage, QStringLiteral("imageCorde"), QStringLiteral("Enregistrer l'image de la corde (PNG)..."),
        QStringLiteral("Enregistrer l'image de la corde dans un fichier PNG"),
        QKeySequence(QStringLiteral("Ctrl+Shift+A")), [this] { return saveImage(false); });
    add(SaveGraphImage, QStringLiteral("imageGraphe"), QStringLiteral("Enregistrer l'image du graphe (PNG)..."),
        QStringLiteral("Enregistrer l'image du graphe dans un fichier PNG"),
        QKeySequence(QStringLiteral("Ctrl+Shift+G")), [this] { return saveImage(true); });
    add(SaveGraphValues, QStringLiteral("csvValeurs"), QStringLiteral("Enregistrer les valeurs du graphe (CSV)..."),
        QStringLiteral("Enregistrer t, u1 et u2 de l'enregistrement dans un fichier CSV pour un tableur"),
        QKeySequence(QStringLiteral("Ctrl+Shift+S")), [this] { return saveGraphValues(); });
    add(SaveRopeProfile, QStringLiteral("csvProfil"), QStringLiteral("Enregistrer le profil de la corde (CSV)..."),
        QStringLiteral("Enregistrer x et u de chaque centimètre de la corde dans un fichier CSV pour un tableur"),
        QKeySequence(QStringLiteral("Ctrl+Shift+R")), [this] { return saveRopeProfile(); });
    add(ShowValuesTable, QStringLiteral("tableauValeurs"), QStringLiteral("Tableau de valeurs..."),
        QStringLiteral("Afficher, copier ou imprimer les valeurs t, u1 et u2 de l'enregistrement"),
        QKeySequence(QStringLiteral("Ctrl+T")), [this] { return showValuesTable(); });
    add(PhotographRope, QStringLiteral("photoCorde"), QStringLiteral("Photographier la corde"),
        QStringLiteral("Garder l'aspect de la corde à cet instant, en pâle sous la corde, avec son temps "
                       "(jusqu'à trois photographies ; P)"),
        QKeySequence(Qt::Key_P), [this] { return photograph(); });
    add(ClearPhotos, QStringLiteral("effacerPhotos"), QStringLiteral("Effacer les photographies"),
        QStringLiteral("Enlever les photographies de la corde (Maj+P)"), QKeySequence(Qt::SHIFT | Qt::Key_P),
        [this] { return clearPhotos(); });
}

QAction* DataExports::add(Command c, const QString& name, const QString& text, const QString& tip,
                          const QKeySequence& keys, std::function<bool()> command)
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setToolTip(tip);
    action->setStatusTip(tip);
    action->setWhatsThis(tip);
    if (!keys.isEmpty()) {
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    connect(action, &QAction::triggered, this, [command = std::move(command)] { command(); });
    actions_[c] = action;
    return action;
}

QList<QAction*> DataExports::copyMenuActions() const
{
    return {actions_[CopyGraphValues], actions_[CopyRopeProfile], actions_[SaveRopeImage], actions_[SaveGraphImage],
            actions_[SaveGraphValues], actions_[SaveRopeProfile], actions_[ShowValuesTable]};
}

QList<QAction*> DataExports::ropeActions() const
{
    return {actions_[PhotographRope], actions_[ClearPhotos],    actions_[CopyRopeImage],
            actions_[CopyRopeProfile], actions_[SaveRopeImage], actions_[SaveRopeProfile]};
}

QList<QAction*> DataExports::graphActions() const
{
    return {actions_[CopyGraphImage], actions_[CopyGraphValues], actions_[SaveGraphImage], actions_[SaveGraphValues],
            actions_[ShowValuesTable]};
}

QList<QAction*> DataExports::shortcutActions() const
{
    QList<QAction*> list;
    for (QAction* a : actions_)
        if (!a->shortcut().isEmpty())
            list << a;
    return list;
}

bool DataExports::refuseEmptyRecording()
{
    if (!sim_.graph().points().empty())
        return false;
    messages_.information(QStringLiteral("Commande impossible"),
                          QStringLiteral("Le graphe n'a encore enregistré aucune valeur : placer un marqueur sur la "
                                         "corde puis cliquer sur « Enregistrer »."));
    return true;
}

bool DataExports::copyImage(bool graph)
{
    if (!copyImageToClipboard(graph ? sim_.graphImage() : sim_.ropeImage()))
        return false;
    showInfo_(messageCopie_ ? messageCopie_() : QString());
    return true;
}

bool DataExports::copyGraphValues()
{
    if (refuseEmptyRecording() || !copyTextToClipboard(sim_.graph().csv(QLatin1Char('\t'))))
        return false;
    showInfo_(textCopiedMessage());
    return true;
}

bool DataExports::copyRopeProfile()
{
    if (!copyTextToClipboard(ropeCsvWithPhotos(sim_.state(), sim_.photos(), QLatin1Char('\t'))))
        return false;
    showInfo_(textCopiedMessage());
    return true;
}

bool DataExports::saveImage(bool graph)
{
    // The picture as it stands when the command is chosen.
    const QByteArray png = pngBytes(graph ? sim_.graphImage() : sim_.ropeImage());
    const QString path = saveAs(askSaveName, messages_,
                                graph ? QStringLiteral("Enregistrer l'image du graphe")
                                      : QStringLiteral("Enregistrer l'image de la corde"),
                                graph ? QStringLiteral("graphe.png") : QStringLiteral("corde.png"), kPngFilter,
                                QStringLiteral("png"), png);
    if (path.isEmpty())
        return false;
    showInfo_(savedMessage(graph ? QStringLiteral("Image du graphe") : QStringLiteral("Image de la corde"), true, path));
    return true;
}

bool DataExports::saveGraphValues()
{
    if (refuseEmptyRecording())
        return false;
    const QString path = saveAs(askSaveName, messages_, QStringLiteral("Enregistrer les valeurs du graphe"),
                                QStringLiteral("graphe.csv"), kCsvFilter, QStringLiteral("csv"),
                                sim_.graph().csv().toUtf8());
    if (path.isEmpty())
        return false;
    showInfo_(savedMessage(QStringLiteral("Tableau de valeurs"), false, path));
    return true;
}

bool DataExports::saveRopeProfile()
{
    const QString path = saveAs(askSaveName, messages_, QStringLiteral("Enregistrer le profil de la corde"),
                                QStringLiteral("corde.csv"), kCsvFilter, QStringLiteral("csv"),
                                ropeCsvWithPhotos(sim_.state(), sim_.photos()).toUtf8());
    if (path.isEmpty())
        return false;
    showInfo_(savedMessage(QStringLiteral("Profil de la corde"), false, path));
    return true;
}

bool DataExports::photograph()
{
    sim_.photograph();
    const RopePhoto& taken = sim_.photos().back();
    showInfo_(QStringLiteral("Corde photographiée à %1 (%2 sur %3)")
                  .arg(photoLabel(taken.seconds))
                  .arg(sim_.photos().size())
                  .arg(kMostPhotos));
    return true;
}

bool DataExports::clearPhotos()
{
    if (sim_.photos().empty()) {
        showInfo_(QStringLiteral("Aucune photographie de la corde à effacer"));
        return false;
    }
    sim_.clearPhotos();
    showInfo_(QStringLiteral("Photographies de la corde effacées"));
    return true;
}

bool DataExports::showValuesTable()
{
    if (refuseEmptyRecording())
        return false;
    ValuesWindow window(ValuesTable(sim_.graph().points()), messages_, window_);
    window.askSaveName = askSaveName;
    if (showValues)
        showValues(window);
    return true;
}

}  // namespace tolvi
