// The exercise menu's commands of the exercise window: the getting-started
// activity, opening an exercise and its correction, closing it, and the
// commands on the exercise text (save, open, print).
#include "exercises/fichexo.h"

#include "config/record_file.h"
#include "exercises/exercise_file.h"
#include "exercises/rtf_file.h"
#include "exercises/rtf_reader.h"
#include "exercises/rtf_writer.h"
#include "exercises/text_print.h"
#include "mainwin/feuille_p.h"
#include "mainwin/flag_file.h"
#include "mainwin/shared_state.h"
#include "platform/file_save.h"
#include "platform/messages.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextEdit>

namespace tolvi {

namespace {

std::optional<QString> defaultSaveDialog(QWidget* parent)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(exotext::kRtfFilter);
    dialog.setDefaultSuffix(QStringLiteral("RTF"));
    // The command asks its own question, naming the file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> defaultOpenDialog(QWidget* parent)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(exotext::kRtfFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

bool defaultPrinterDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

QString exotext::picturesNotShownText(int count)
{
    if (count == 1)
        return QStringLiteral("Une image de ce texte ne peut pas être affichée : « %1 » tient sa place. "
                              "Elle est gardée à l'enregistrement.").arg(kPictureNotShown);
    return QStringLiteral("%1 images de ce texte ne peuvent pas être affichées : « %2 » tient leur place. "
                          "Elles sont gardées à l'enregistrement.").arg(count).arg(kPictureNotShown);
}

bool Fichexo::abandonQuestion()
{
    if (ctx_.shared.texteModifie == 1 && !ctx_.messages.okCancel(exotext::kAbandonTitle, exotext::kAbandonText))
        return false;
    ctx_.shared.texteModifie = 0;
    return true;
}

bool Fichexo::loadText(const QString& path, const std::function<void()>& readFailed,
                       const std::function<void(const QString& why)>& notRtf)
{
    const RtfFileRead file = readRtfFile(path);
    if (file.status == RtfFileStatus::TooLarge) {
        ctx_.messages.critical(rtffile::kTooLargeTitle, rtffile::tooLargeText(path, file.size));
        return false;
    }
    QTextEdit* text = ctx_.main.supertext();
    RtfReadNotes notes;
    const bool notRtfFile = file.status == RtfFileStatus::NotRtf;
    QString why = exotext::kNotRtfText;
    if (file.status != RtfFileStatus::Ok || !readRtf(file.bytes, *text->document(), &why, &notes)) {
        if ((notRtfFile || file.status == RtfFileStatus::Ok) && notRtf)
            notRtf(why);
        else if (readFailed)
            readFailed();
        return false;
    }
    if (notes.picturesNotShown > 0)
        ctx_.messages.information(exotext::kPicturesNotShownTitle, exotext::picturesNotShownText(notes.picturesNotShown));
    QTextCursor start(text->document());
    text->setTextCursor(start);
    return true;
}

void Fichexo::runChargeConfig(const QString& folder, const QString& name)
{
    ctx_.shared.cheminConfig = resolveInFolder(folder, trimBlanks(name));
    if (ctx_.chargeConfig)
        ctx_.chargeConfig();
}

void Fichexo::openexo_Click()
{
    if (!abandonQuestion())
        return;
    Form_Load();
    exec();
}

void Fichexo::opencor_Click()
{
    if (!abandonQuestion())
        return;
    FeuilleP& main = ctx_.main;
    main.setCursor(Qt::WaitCursor);
    auto stop = [&] {
        frame2_->hide();
        main.unsetCursor();
    };
    const QString exercise = main.fich()->text();
    const ExerciseReading reading = readExercise(exercise);
    if (!reading.readable(exofile::kCorrection, exofile::kCorrectionConfiguration)) {
        readError();
        stop();
        return;
    }
    // The names are beside the open exercise file, wherever the chooser was
    // browsed since.
    const QString folder = withSlash(QFileInfo(exercise).absolutePath());
    ctx_.shared.cheminExo = folder;
    const ExerciseRecords& r = reading.records;
    const QString correction = resolveInFolder(folder, trimBlanks(r.correction));
    if (!trimBlanks(r.correction).isEmpty() && !loadText(correction, [&] { missingFile(r.correction, correction); })) {
        stop();
        return;
    }
    if (!trimBlanks(r.correctionConfiguration).isEmpty())
        runChargeConfig(folder, r.correctionConfiguration);
    stop();
    main.supertext()->setReadOnly(true);
    ctx_.shared.texteModifie = 0;
    unload();
}

void Fichexo::PRISENMAIN_Click()
{
    // The activity replaces the text as the other commands do: ask first.
    if (!abandonQuestion())
        return;
    FeuilleP& main = ctx_.main;
    const QString folder = withSlash(main.programDirectory());
    ctx_.shared.cheminExo = folder;
    const QString path = resolveInFolder(folder, exofile::kGettingStartedName);
    if (!QFileInfo(path).isFile())
        return;
    auto failedMessage = [&] {
        ctx_.messages.critical(exofile::kGettingStartedErrorTitle, exofile::kGettingStartedErrorText);
    };
    const ExerciseReading reading = readExercise(path);
    if (!reading.readable(exofile::kStatement, exofile::kConfiguration)) {
        failedMessage();
        unload();
        return;
    }
    if (!loadText(resolveInFolder(folder, trimBlanks(reading.records.statement)), failedMessage)) {
        unload();
        return;
    }
    main.fich()->setText(path);
    ctx_.shared.exoOuvert = 0;
    if (!trimBlanks(reading.records.configuration).isEmpty())
        runChargeConfig(folder, reading.records.configuration);
    main.supertext()->setReadOnly(false);
    ctx_.shared.texteModifie = 0;
    unload();
}

void Fichexo::Closexo_Click()
{
    if (!abandonQuestion())
        return;
    ctx_.main.fich()->clear();
    ctx_.main.ecritIntro();
    ctx_.shared.exoOuvert = 0;
    ctx_.shared.texteModifie = 0;
    unload();
}

void Fichexo::savetexte_Click()
{
    const auto chosen = ctx_.dialogs.saveText ? ctx_.dialogs.saveText(this) : defaultSaveDialog(&ctx_.main);
    if (!chosen || chosen->isEmpty())
        return;
    const QFileInfo info(*chosen);
    if (info.exists() &&
        !ctx_.messages.okCancel(exotext::kOverwriteTitle, exotext::overwriteText(info.fileName())))
        return;
    const QByteArray rtf = writeRtf(*ctx_.main.supertext()->document());
    // A text that was not saved stays marked as edited, so that closing
    // still warns about it.
    if (saveFileWhole(*chosen, rtf)) {
        ctx_.messages.critical(exotext::kTextWriteErrorTitle, exotext::kTextFileErrorText);
        return;
    }
    ctx_.shared.texteModifie = 0;
}

void Fichexo::opentexte_Click()
{
    if (!abandonQuestion())
        return;
    const auto chosen = ctx_.dialogs.openText ? ctx_.dialogs.openText(this) : defaultOpenDialog(&ctx_.main);
    if (!chosen || chosen->isEmpty())
        return;
    ctx_.shared.exoOuvert = 0;
    loadText(
        *chosen, [this] { ctx_.messages.critical(exotext::kTextReadErrorTitle, exotext::kTextFileErrorText); },
        [this](const QString& why) { ctx_.messages.critical(exotext::kTextReadErrorTitle, why); });
    ctx_.main.supertext()->setReadOnly(false);
    ctx_.main.fich()->setText(exotext::kTextPrefix + *chosen);
    ctx_.shared.texteModifie = 0;
}

void Fichexo::imprimetexte_Click()
{
    QPrinter printer;
    const bool chosen = ctx_.dialogs.setupPrinter ? ctx_.dialogs.setupPrinter(printer, this)
                                                  : defaultPrinterDialog(printer, &ctx_.main);
    if (!chosen)
        return;
    printText(*ctx_.main.supertext()->document(), &printer);
}

}  // namespace tolvi
