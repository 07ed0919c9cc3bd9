// Batch options of printing and the clipboard: the print dialog's "&OK" to a
// PDF file, the exercise text to a PDF file, a picture on the clipboard.
#include "app/batch.h"
#include "app/program.h"
#include "exercises/text_print.h"
#include "mainwin/feuille_p.h"
#include "measure/clipboard.h"
#include "measure/confimp.h"
#include "measure/up_down.h"
#include "platform/file_save.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>
#include <QDir>

namespace tolvi {

namespace {
// The print dialog's options as the options before --print-pdf left them;
// one batch run is one program.
struct BatchPrint {
    const Program* program = nullptr;
    PrintOptions options;
    int clipboardWait = 5;
};

BatchPrint& state(const Program& program)
{
    static BatchPrint s;
    if (s.program != &program)
        s = BatchPrint{&program, PrintOptions{}, 5};
    return s;
}

bool printPdf(BatchContext& ctx, const QString& path)
{
    // /dev/stdout: after what the run wrote there so far.
    ctx.out.flush();
    const PrintOptions& o = state(ctx.program).options;
    Simulation& sim = ctx.program.simulation();
    Confimp dialog(PrintPictures{[&sim](double scale) { return sim.ropeImage(scale); },
                                 [&sim](double scale) { return sim.graphImage(scale); }},
                   ctx.program.messages(), &ctx.program.window());
    dialog.check1(0)->setChecked(o.rope);
    dialog.check1(1)->setChecked(o.graph);
    dialog.setValues([&sim] { return ValuesTable(sim.graph().points()); });
    if (o.table && sim.graph().points().empty())
        ctx.program.messages().information(QStringLiteral("Tableau de valeurs"),
                                           QStringLiteral("Le graphe n'a enregistré aucune valeur : la page est "
                                                          "imprimée sans tableau."));
    dialog.check1(2)->setChecked(o.table);
    dialog.text1()->setText(o.title);
    dialog.upDown1()->setValue(o.copies);
    dialog.printer().setOutputFormat(QPrinter::PdfFormat);
    // "-" is a file of that name here, as it always was for this option.
    dialog.printer().setOutputFileName(path == kStandardOutputName ? QStringLiteral("./-") : path);
    dialog.Form_Load();
    // A refused job comes back to the dialog: there it means failure.
    dialog.choosePrinter = [](QPrinter&) { return false; };
    dialog.Command1_Click();
    if (dialog.result() != QDialog::Accepted) {
        ctx.error = QStringLiteral("Impression dans %1 impossible.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

bool printTextPdf(BatchContext& ctx, const QString& path)
{
    ctx.out.flush();
    const std::optional<QString> why = saveFileWith(path, [&ctx](QIODevice& device) {
        const qint64 before = device.pos();
        {
            QPdfWriter writer(&device);
            writer.setTitle(QStringLiteral("Tolvi"));
            printText(*ctx.program.window().supertext()->document(), &writer);
        }
        return device.isSequential() || device.pos() > before;
    });
    if (why) {
        ctx.error = QStringLiteral("Impression du texte dans %1 impossible : %2").arg(QDir::toNativeSeparators(path), *why);
        return false;
    }
    return true;
}

bool copyPicture(BatchContext& ctx, const QString& which)
{
    Simulation& sim = ctx.program.simulation();
    // Without a display, the offscreen clipboard dies with the program:
    // nobody could paste from it.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        const QString display = qEnvironmentVariable("DISPLAY");
        ctx.error = display.isEmpty()
                        ? QStringLiteral("Le presse-papiers n'est pas disponible : aucun affichage n'est ouvert "
                                         "(la variable DISPLAY est vide).")
                        : QStringLiteral("Le presse-papiers n'est pas disponible : l'affichage %1 ne répond pas.")
                              .arg(display);
        return false;
    }
    const QImage image = which == QLatin1String("rope") ? sim.ropeImage() : sim.graphImage();
    if (!copyImageToClipboard(image)) {
        ctx.error = QStringLiteral("Le presse-papiers n'a pas accepté l'image.");
        return false;
    }
    ctx.program.window().setInfo(ctx.program.shared().messageCopie);
    ctx.out << ctx.program.shared().messageCopie << QLatin1Char('\n');
    ctx.out.flush();
    // On a real display the clipboard lives as long as its owner: stay a
    // while so other programs can paste, or until another copy replaces it.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        bool replaced = false;
        QClipboard* clipboard = QGuiApplication::clipboard();
        QObject::connect(clipboard, &QClipboard::dataChanged, clipboard, [&replaced, clipboard] {
            if (!clipboard->ownsClipboard())
                replaced = true;
        });
        QDeadlineTimer deadline(state(ctx.program).clipboardWait * 1000);
        while (!replaced && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(10);
        }
    }
    return true;
}
}  // namespace

void addPrintOptions(BatchOptions& options)
{
    options.push_back({QStringLiteral("--copies"), QStringLiteral("N"),
                       QStringLiteral("nombre d'exemplaires des impressions suivantes (1 à %1)").arg(kMaxCopies),
                       QStringLiteral("--copies 3 --print-pdf page.pdf"),
                       [](const QString& v) { return checkInteger(v, 1, kMaxCopies); },
                       [](BatchContext& ctx, const QString& v) {
                           state(ctx.program).options.copies = v.trimmed().toInt();
                           return true;
                       }});
    options.push_back({QStringLiteral("--no-rope"), QString(),
                       QStringLiteral("les impressions suivantes n'ont pas l'animation de la corde"),
                       QStringLiteral("--no-rope --print-pdf graphe.pdf"), nullptr,
                       [](BatchContext& ctx, const QString&) {
                           state(ctx.program).options.rope = false;
                           return true;
                       }});
    options.push_back({QStringLiteral("--no-graph"), QString(),
                       QStringLiteral("les impressions suivantes n'ont pas le graphe"),
                       QStringLiteral("--no-graph --print-pdf corde.pdf"), nullptr,
                       [](BatchContext& ctx, const QString&) {
                           state(ctx.program).options.graph = false;
                           return true;
                       }});
    options.push_back({QStringLiteral("--values-table"), QString(),
                       QStringLiteral("les impressions suivantes ont aussi le tableau des valeurs enregistrées "
                                      "par le graphe (« Le tableau de valeur »)"),
                       QStringLiteral("--values-table --print-pdf valeurs.pdf"), nullptr,
                       [](BatchContext& ctx, const QString&) {
                           state(ctx.program).options.table = true;
                           return true;
                       }});
    options.push_back({QStringLiteral("--title"), QStringLiteral("TEXTE"),
                       QStringLiteral("titre de la page des impressions suivantes"),
                       QStringLiteral("--title \"Classe de 1re S\" --print-pdf page.pdf"), nullptr,
                       [](BatchContext& ctx, const QString& v) {
                           state(ctx.program).options.title = v;
                           return true;
                       }});
    options.push_back({QStringLiteral("--print-pdf"), QStringLiteral("FICHIER"),
                       QStringLiteral("imprime comme « OK » de la fenêtre « Imprimer », dans un fichier PDF"),
                       QStringLiteral("--print-pdf page.pdf"), checkNotEmpty, printPdf});
    options.push_back({QStringLiteral("--print-text-pdf"), QStringLiteral("FICHIER"),
                       QStringLiteral("imprime le texte de la zone d'exercice dans un fichier PDF"),
                       QStringLiteral("--print-text-pdf texte.pdf"), checkNotEmpty, printTextPdf});
    options.push_back({QStringLiteral("--clipboard-wait"), QStringLiteral("S"),
                       QStringLiteral("secondes pendant lesquelles --copy garde le presse-papiers (0 à 600, 5 par défaut)"),
                       QStringLiteral("--clipboard-wait 30 --copy rope"),
                       [](const QString& v) { return checkInteger(v, 0, 600); },
                       [](BatchContext& ctx, const QString& v) {
                           state(ctx.program).clipboardWait = v.trimmed().toInt();
                           return true;
                       }});
    options.push_back({QStringLiteral("--copy"), QStringLiteral("rope|graph"),
                       QStringLiteral("place l'image de la corde ou du graphe dans le presse-papiers"),
                       QStringLiteral("--copy graph"),
                       [](const QString& v) -> std::optional<QString> {
                           if (v != QLatin1String("rope") && v != QLatin1String("graph"))
                               return QStringLiteral("rope ou graph est attendu");
                           return std::nullopt;
                       },
                       copyPicture});
}

}  // namespace tolvi
