#include "app/batch.h"

#include "app/program.h"
#include "mainwin/feuille_p.h"
#include "platform/file_save.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cmath>

namespace tolvi {

namespace {
// Damper speckles are repeatable in batch runs, so pictures can be compared.
constexpr std::uint32_t kBatchSeed = 1;

const BatchOption* findOption(const QString& name)
{
    for (const BatchOption& option : batchOptions())
        if (option.name == name)
            return &option;
    return nullptr;
}
}  // namespace

const BatchOptions& batchOptions()
{
    static const BatchOptions options = [] {
        BatchOptions all;
        addRopeOptions(all);
        addRealRopeOptions(all);
        addPacingOptions(all);
        addViewOptions(all);
        addMeasureOptions(all);
        addPrintOptions(all);
        addConfigOptions(all);
        addExerciseOptions(all);
        addCalcOptions(all);
        all.push_back({QLatin1String(kAsLaunchedOption), QString(),
                       QStringLiteral("comme le programme ouvert par le lanceur de la collection : « OUI » dans "
                                      "l'enregistrement 3 du fichier drapeau TEMPQA.TMP (dossier du programme) au "
                                      "début, l'exercice demandé dans l'enregistrement 31 ouvert puis effacé, "
                                      "« NON » à la fin ; sans cette option, le fichier drapeau n'est ni lu ni écrit"),
                       QStringLiteral("--as-launched --chrono-text"), nullptr,
                       [](BatchContext&, const QString&) { return true; }});
        return all;
    }();
    return options;
}

bool isBatch(const QStringList& arguments)
{
    // "-h" and any other "-x" are options (malformed ones are refused), not
    // a file to open; "-" alone is a name.
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (arguments[i].startsWith(QLatin1Char('-')) && arguments[i] != QLatin1String("-"))
            return true;
    return false;
}

int batchInteger(const QString& value)
{
    return value.trimmed().toInt();
}

double batchNumber(const QString& value)
{
    QString v = value.trimmed();
    v.replace(QLatin1Char(','), QLatin1Char('.'));
    return v.toDouble();
}

namespace {
// Whole or not at all; "-" is the standard output, after what the run
// wrote there so far.
bool saveBytes(BatchContext& ctx, const QString& path, const QByteArray& bytes, const QString& what)
{
    ctx.out.flush();
    if (const std::optional<QString> why = saveFileWhole(path, bytes)) {
        ctx.error = QStringLiteral("Impossible d'écrire %1 %2 : %3").arg(what, QDir::toNativeSeparators(path), *why);
        return false;
    }
    return true;
}
}  // namespace

bool writeTextFile(BatchContext& ctx, const QString& path, const QString& text)
{
    return saveBytes(ctx, path, text.toUtf8(), QStringLiteral("le fichier"));
}

bool writeImageFile(BatchContext& ctx, const QString& path, const QImage& image)
{
    const QByteArray png = pngBytes(image);
    if (png.isEmpty()) {
        ctx.error = QStringLiteral("Impossible d'écrire l'image %1 : image vide").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return saveBytes(ctx, path, png, QStringLiteral("l'image"));
}

std::optional<QString> checkInteger(const QString& value, int minimum, int maximum)
{
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    if (!ok || n < minimum || n > maximum)
        return QStringLiteral("un nombre entier de %1 à %2 est attendu").arg(minimum).arg(maximum);
    return std::nullopt;
}

std::optional<QString> checkZeroOne(const QString& value)
{
    return checkInteger(value, 0, 1);
}

std::optional<QString> checkNumber(const QString& value)
{
    bool ok = false;
    QString v = value.trimmed();
    v.replace(QLatin1Char(','), QLatin1Char('.'));
    const double number = v.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return QStringLiteral("un nombre est attendu");
    return std::nullopt;
}

std::optional<QString> checkNotEmpty(const QString& value)
{
    if (value.isEmpty())
        return QStringLiteral("une valeur non vide est attendue");
    return std::nullopt;
}

QString versionText()
{
    return QStringLiteral("Tolvi " TOLVI_VERSION);
}

QString batchHelp()
{
    QString text = QStringLiteral(
        "Utilisation : tolvi [OPTION]...\n"
        "Sans option, Tolvi ouvre sa fenêtre. Avec des options, il s'exécute sans fenêtre,\n"
        "applique les actions dans l'ordre donné puis s'arrête (code 0 ; 1 si une action\n"
        "échoue ; 2 pour une option ou une valeur incorrecte). Les messages sont écrits sur\n"
        "la sortie d'erreur sous la forme « TITRE: TEXTE » ; une action qui affiche un\n"
        "message d'erreur échoue. Un FICHIER « - » est la sortie standard pour --rope-csv,\n"
        "--graph-csv, --rope-image, --graph-image, --snapshot, --text-plain et\n"
        "--print-text-pdf.\n\nOptions :\n");
    for (const BatchOption& option : batchOptions()) {
        QString head = QStringLiteral("  ") + option.name;
        if (!option.valueHint.isEmpty())
            head += QLatin1Char(' ') + option.valueHint;
        text += head + QLatin1Char('\n');
        text += QStringLiteral("      ") + option.help + QLatin1Char('\n');
        text += QStringLiteral("      exemple : tolvi ") + option.example + QLatin1Char('\n');
    }
    text += QStringLiteral("  --help\n      affiche cette aide\n      exemple : tolvi --help\n");
    text += QStringLiteral("  --version\n      affiche la version du programme\n      exemple : tolvi --version\n");
    return text;
}

int runBatch(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    struct Step {
        const BatchOption* option;
        QString value;
    };
    std::vector<Step> steps;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString name = arguments[i];
        QString value;
        bool inlineValue = false;
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            out << batchHelp();
            out.flush();
            return 0;
        }
        if (name == QLatin1String("--version")) {
            out << versionText() << QLatin1Char('\n');
            out.flush();
            return 0;
        }
        if (const qsizetype eq = name.indexOf(QLatin1Char('=')); name.startsWith(QLatin1String("--")) && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            inlineValue = true;
        }
        const BatchOption* option = name.startsWith(QLatin1String("--")) ? findOption(name) : nullptr;
        if (!option) {
            err << QStringLiteral("Option inconnue : %1 (voir tolvi --help)\n").arg(name);
            err.flush();
            return 2;
        }
        if (option->valueHint.isEmpty() && inlineValue) {
            err << QStringLiteral("L'option %1 ne prend pas de valeur (« %2 » donné).\n").arg(name, value);
            err.flush();
            return 2;
        }
        if (!option->valueHint.isEmpty() && !inlineValue) {
            if (i + 1 >= arguments.size()) {
                err << QStringLiteral("L'option %1 attend une valeur (%2).\n").arg(name, option->valueHint);
                err.flush();
                return 2;
            }
            value = arguments[++i];
        }
        if (option->check) {
            if (const auto problem = option->check(value)) {
                err << QStringLiteral("Valeur incorrecte pour %1 « %2 » : %3.\n").arg(name, value, *problem);
                err.flush();
                return 2;
            }
        }
        steps.push_back({option, value});
    }

    StderrMessages messages;
    Program program(messages, kBatchSeed);
    FeuilleP& window = program.window();
    // The flag file belongs to the window the launcher started; a batch run
    // touches it only when asked to behave as that program.
    const bool asLaunched = std::any_of(steps.begin(), steps.end(), [](const Step& step) {
        return step.option->name == QLatin1String(kAsLaunchedOption);
    });
    window.setFlagFileUsed(asLaunched);
    // The program's normal start-up, without showing the window.
    window.Form_Load();
    window.Form_Activate();
    BatchContext ctx{program, out, QString()};
    // The launcher's request that could not be opened failed the run before
    // any action.
    int code = messages.errorsShown() > 0 ? 1 : 0;
    for (const Step& step : code == 0 ? steps : std::vector<Step>()) {
        // An action that had to show an error message failed, even when it
        // went on to its end as the window does.
        const int errorsBefore = messages.errorsShown();
        const bool done = step.option->run(ctx, step.value);
        if (!done || messages.errorsShown() > errorsBefore) {
            if (!ctx.error.isEmpty())
                err << ctx.error << QLatin1Char('\n');
            code = 1;
            break;
        }
        out.flush();
    }
    out.flush();
    err.flush();
    window.Form_Unload();
    return code;
}

}  // namespace tolvi
