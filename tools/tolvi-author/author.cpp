#include "author.h"

#include "exercises/rtf_writer.h"
#include "platform/file_read.h"
#include "platform/file_save.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QRegularExpression>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <array>
#include <cmath>

namespace tolvi::author {

namespace {

const QColor kBlue(0, 0, 200);

QTextCharFormat baseFormat()
{
    QTextCharFormat f;
    f.setFontFamilies({QStringLiteral("Arial")});
    f.setFontPointSize(10);
    f.setFontWeight(QFont::Normal);
    f.setFontItalic(false);
    f.setForeground(QColor(0, 0, 0));
    f.setVerticalAlignment(QTextCharFormat::AlignNormal);
    return f;
}

QTextBlockFormat paragraphFormat(Qt::Alignment alignment, double indent = 0)
{
    QTextBlockFormat b;
    b.setAlignment(alignment);
    b.setLeftMargin(indent);
    b.setBottomMargin(4);
    return b;
}

// Writes one line of inline markup at the cursor, `base` being the format of
// the paragraph.
void writeInline(QTextCursor& cursor, const QString& line, const QTextCharFormat& base)
{
    bool bold = false;
    bool italic = false;
    bool blue = false;
    QString run;
    auto current = [&] {
        QTextCharFormat f = base;
        if (bold)
            f.setFontWeight(QFont::Bold);
        if (italic)
            f.setFontItalic(true);
        if (blue)
            f.setForeground(kBlue);
        return f;
    };
    auto flush = [&] {
        if (!run.isEmpty())
            cursor.insertText(run, current());
        run.clear();
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('\\') && i + 1 < line.size()) {
            run += line[++i];
        } else if (line.mid(i, 2) == QLatin1String("**")) {
            flush();
            bold = !bold;
            ++i;
        } else if (c == QLatin1Char('[') && line.indexOf(QLatin1Char(']'), i + 1) > i + 1) {
            // A control of the window, named as it reads there: in bold.
            flush();
            const qsizetype end = line.indexOf(QLatin1Char(']'), i + 1);
            QTextCharFormat f = current();
            f.setFontWeight(QFont::Bold);
            cursor.insertText(line.mid(i + 1, end - i - 1), f);
            i = end;
        } else if (c == QLatin1Char('*')) {
            flush();
            italic = !italic;
        } else if (line.mid(i, 2) == QLatin1String("{{")) {
            flush();
            blue = true;
            ++i;
        } else if (line.mid(i, 2) == QLatin1String("}}") && blue) {
            flush();
            blue = false;
            ++i;
        } else if ((c == QLatin1Char('_') || c == QLatin1Char('^')) && line.mid(i + 1, 1) == QLatin1String("{")) {
            const qsizetype end = line.indexOf(QLatin1Char('}'), i + 2);
            if (end < 0) {
                run += c;
                continue;
            }
            flush();
            QTextCharFormat f = current();
            f.setVerticalAlignment(c == QLatin1Char('_') ? QTextCharFormat::AlignSubScript
                                                         : QTextCharFormat::AlignSuperScript);
            cursor.insertText(line.mid(i + 2, end - i - 2), f);
            i = end;
        } else {
            run += c;
        }
    }
    flush();
}

// French typography: a no-break space before ; : ! ? and », after «, and
// between a number (or a power of ten, "10^{3} m") and its unit, so that
// none of them starts a line.
QString typographie(QString line)
{
    static const QRegularExpression beforePunctuation(QStringLiteral(" ([;:!?\u00BB])"));
    static const QRegularExpression afterQuote(QStringLiteral("\u00AB "));
    static const QRegularExpression unit(
        QStringLiteral("(\\d\\}?) (m·s|g·m|kg·m|m|cm|s|ms|N|Hz|g|kg|%)(?=[\\s\u00A0.,;:!?)}·^*\u2026\u00BB/]|$)"));
    // The unit first: once a no-break space stands before « : », the unit
    // would no longer be followed by an ordinary blank.
    line.replace(unit, QStringLiteral("\\1\u00A0\\2"));
    line.replace(beforePunctuation, QStringLiteral("\u00A0\\1"));
    line.replace(afterQuote, QStringLiteral("\u00AB\u00A0"));
    return line;
}

struct KeyValue {
    int line = 0;
    QString key;
    QString value;
};

// "key = value" lines; '#' starts a comment line; a value in double quotes
// keeps its blanks.
std::optional<std::vector<KeyValue>> keyValues(const QString& text, QString* error)
{
    std::vector<KeyValue> out;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            if (error)
                *error = QStringLiteral("ligne %1 : « clé = valeur » attendu").arg(i + 1);
            return std::nullopt;
        }
        KeyValue kv{static_cast<int>(i + 1), line.left(eq).trimmed().toLower(), line.mid(eq + 1).trimmed()};
        if (kv.value.size() >= 2 && kv.value.startsWith(QLatin1Char('"')) && kv.value.endsWith(QLatin1Char('"')))
            kv.value = kv.value.mid(1, kv.value.size() - 2);
        out.push_back(kv);
    }
    return out;
}

std::optional<bool> yesNo(const QString& value)
{
    const QString v = value.toLower();
    if (v == QLatin1String("oui"))
        return true;
    if (v == QLatin1String("non"))
        return false;
    return std::nullopt;
}

std::optional<double> frenchNumber(QString value)
{
    value.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString lineError(int line, const QString& what)
{
    return QStringLiteral("ligne %1 : %2").arg(line).arg(what);
}

bool readFileText(const QString& path, QString* text, QString* error)
{
    if (!readSourceText(path, text, error))
        return false;
    text->replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return true;
}

bool readSheet(const QDir& source, const QString& name, MeasureSheet* sheet, QString* error)
{
    QString text;
    if (!readFileText(source.filePath(name), &text, error))
        return false;
    QString problem;
    auto parsed = parseMeasures(text, &problem);
    if (!parsed) {
        if (error)
            *error = name + QStringLiteral(", ") + problem;
        return false;
    }
    *sheet = std::move(*parsed);
    return true;
}

}  // namespace

bool readSourceText(const QString& path, QString* text, QString* error)
{
    const FileBytes file = readWholeFile(path, kSourceSizeLimit);
    if (file.ok()) {
        *text = QString::fromUtf8(file.bytes);
        return true;
    }
    if (error) {
        *error = QStringLiteral("%1 : lecture impossible").arg(path);
        if (file.status == FileBytes::Status::NotRegular)
            *error += QStringLiteral(" (ce n'est pas un fichier ordinaire)");
        else if (file.status == FileBytes::Status::TooLarge)
            *error += QStringLiteral(" (fichier trop grand : %1 Mo au plus)").arg(kSourceSizeLimit >> 20);
    }
    return false;
}

bool writeOutput(const QString& path, const QByteArray& bytes, QString* error)
{
    const std::optional<QString> failure = saveFileWhole(path, bytes);
    if (failure && error)
        *error = QStringLiteral("%1 : écriture impossible (%2)").arg(path, *failure);
    return !failure;
}

void markupToDocument(const QString& markup, QTextDocument& document)
{
    document.clear();
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    document.setDefaultFont(font);
    QTextCursor cursor(&document);
    bool first = true;
    bool inParagraph = false;

    auto newBlock = [&](const QTextBlockFormat& block, const QTextCharFormat& chars) {
        if (first) {
            cursor.setBlockFormat(block);
            cursor.setBlockCharFormat(chars);
            first = false;
        } else {
            cursor.insertBlock(block, chars);
        }
    };

    QString text = markup;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = typographie(raw.trimmed());
        if (line.isEmpty()) {
            inParagraph = false;
            continue;
        }
        if (line.startsWith(QLatin1String("## "))) {
            QTextCharFormat f = baseFormat();
            f.setFontPointSize(11);
            f.setFontWeight(QFont::Bold);
            f.setForeground(kBlue);
            QTextBlockFormat b = paragraphFormat(Qt::AlignLeft);
            b.setTopMargin(6);
            newBlock(b, f);
            writeInline(cursor, line.mid(3).trimmed(), f);
            inParagraph = false;
        } else if (line.startsWith(QLatin1String("# "))) {
            QTextCharFormat f = baseFormat();
            f.setFontPointSize(16);
            f.setFontWeight(QFont::Bold);
            f.setForeground(kBlue);
            newBlock(paragraphFormat(Qt::AlignHCenter), f);
            writeInline(cursor, line.mid(2).trimmed(), f);
            inParagraph = false;
        } else if (line.startsWith(QLatin1String("- "))) {
            const QTextCharFormat f = baseFormat();
            newBlock(paragraphFormat(Qt::AlignLeft, 12), f);
            cursor.insertText(QStringLiteral("\u2022 "), f);
            writeInline(cursor, line.mid(2).trimmed(), f);
            inParagraph = true;
        } else {
            const QTextCharFormat f = baseFormat();
            if (inParagraph)
                cursor.insertText(QStringLiteral(" "), f);
            else
                newBlock(paragraphFormat(Qt::AlignJustify), f);
            writeInline(cursor, line, f);
            inParagraph = true;
        }
    }
}

QByteArray markupToRtf(const QString& markup)
{
    QTextDocument document;
    markupToDocument(markup, document);
    return writeRtf(document);
}

std::optional<ConfigRecords> parseConfiguration(const QString& text, QString* error)
{
    const auto lines = keyValues(text, error);
    if (!lines)
        return std::nullopt;
    ConfigRecords config;
    static const std::array<QString, 5> entryKeys{QStringLiteral("frequence"), QStringLiteral("masse_lineique"),
                                                  QStringLiteral("tension"), QStringLiteral("amplitude"),
                                                  QStringLiteral("duree")};
    static const std::array<QString, 3> waves{QStringLiteral("solitaire"), QStringLiteral("periodique"),
                                              QStringLiteral("sinusoidale")};
    static const std::array<QString, 3> ends{QStringLiteral("amortisseur"), QStringLiteral("fixe"),
                                             QStringLiteral("libre")};
    static const std::array<int, 10> durations{1, 2, 5, 10, 20, 30, 60, 120, 300, 600};
    auto fail = [&](int line, const QString& what) {
        if (error)
            *error = lineError(line, what);
        return std::nullopt;
    };
    for (const KeyValue& kv : *lines) {
        if (const auto* it = std::find(entryKeys.begin(), entryKeys.end(), kv.key); it != entryKeys.end()) {
            if (!frenchNumber(kv.value))
                return fail(kv.line, QStringLiteral("nombre attendu pour %1").arg(kv.key));
            QString shown = kv.value;
            shown.replace(QLatin1Char('.'), QLatin1Char(','));
            config.entries[static_cast<std::size_t>(it - entryKeys.begin())] = shown;
        } else if (kv.key == QLatin1String("onde") || kv.key == QLatin1String("extremite")) {
            const auto& names = kv.key == QLatin1String("onde") ? waves : ends;
            auto& group = kv.key == QLatin1String("onde") ? config.wave : config.farEnd;
            const auto* found = std::find(names.begin(), names.end(), kv.value.toLower());
            if (found == names.end())
                return fail(kv.line, QStringLiteral("%1 : choisir parmi %2, %3, %4")
                                         .arg(kv.key, names[0], names[1], names[2]));
            group = {false, false, false};
            group[static_cast<std::size_t>(found - names.begin())] = true;
        } else if (kv.key == QLatin1String("demarrage_simultane") ||
                   kv.key == QLatin1String("enregistrement_continu") || kv.key == QLatin1String("symetrique")) {
            const auto flag = yesNo(kv.value);
            if (!flag)
                return fail(kv.line, QStringLiteral("%1 : « oui » ou « non » attendu").arg(kv.key));
            (kv.key == QLatin1String("demarrage_simultane")      ? config.startTogether
             : kv.key == QLatin1String("enregistrement_continu") ? config.continuous
                                                                  : config.symmetric) = *flag;
        } else if (kv.key == QLatin1String("duree_graphe")) {
            bool ok = false;
            const int seconds = kv.value.toInt(&ok);
            const auto* found = std::find(durations.begin(), durations.end(), seconds);
            if (!ok || found == durations.end())
                return fail(kv.line, QStringLiteral("duree_graphe : 1, 2, 5, 10, 20, 30, 60, 120, 300 ou 600 (s)"));
            config.durationIndex = static_cast<int>(found - durations.begin()) + 1;
        } else if (kv.key == QLatin1String("marqueur_bleu") || kv.key == QLatin1String("marqueur_rouge")) {
            qint16 column = -1;
            if (kv.value.toLower() != QLatin1String("aucun")) {
                const auto metres = frenchNumber(kv.value);
                if (!metres || *metres < 0 || *metres > 7)
                    return fail(kv.line, QStringLiteral("%1 : abscisse de 0 à 7 (m) ou « aucun »").arg(kv.key));
                column = static_cast<qint16>(std::lround(50 + 100 * *metres));
            }
            (kv.key == QLatin1String("marqueur_bleu") ? config.blueMarker : config.redMarker) = column;
        } else {
            return fail(kv.line, QStringLiteral("clé inconnue « %1 »").arg(kv.key));
        }
    }
    return config;
}

std::optional<ExerciseSource> parseExercise(const QString& text, QString* error)
{
    const auto lines = keyValues(text, error);
    if (!lines)
        return std::nullopt;
    ExerciseSource out;
    std::size_t notions = 0;
    auto fail = [&](int line, const QString& what) {
        if (error)
            *error = lineError(line, what);
        return std::nullopt;
    };
    for (const KeyValue& kv : *lines) {
        // "NOM.RTF < source.txt": the name written in the record, built from the source.
        QString name = kv.value;
        QString source;
        if (const qsizetype lt = kv.value.indexOf(QLatin1Char('<')); lt >= 0) {
            name = kv.value.left(lt).trimmed();
            source = kv.value.mid(lt + 1).trimmed();
        }
        QString* record = nullptr;
        bool isText = false;
        if (kv.key == QLatin1String("fichier")) {
            out.output = kv.value;
        } else if (kv.key == QLatin1String("enonce")) {
            record = &out.records.statement;
            isText = true;
        } else if (kv.key == QLatin1String("configuration")) {
            record = &out.records.configuration;
        } else if (kv.key == QLatin1String("correction")) {
            record = &out.records.correction;
            isText = true;
        } else if (kv.key == QLatin1String("configuration_correction")) {
            record = &out.records.correctionConfiguration;
        } else if (kv.key == QLatin1String("difficulte")) {
            out.records.difficulty = kv.value;
        } else if (kv.key == QLatin1String("notion")) {
            if (notions == out.records.notions.size())
                return fail(kv.line, QStringLiteral("quatre lignes de notions au plus"));
            out.records.notions[notions++] = kv.value;
        } else if (kv.key == QLatin1String("joint")) {
            // A file shipped beside the exercise as it is (a script, a table).
            if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
                return fail(kv.line, QStringLiteral("joint : nom de fichier sans dossier attendu"));
            out.attachments.push_back({name, source.isEmpty() ? name : source});
        } else if (kv.key == QLatin1String("mesures")) {
            out.measures = kv.value;
        } else if (kv.key == QLatin1String("titre")) {
            out.records.title = kv.value;
        } else if (kv.key == QLatin1String("temps")) {
            bool ok = false;
            const int units = kv.value.toInt(&ok);
            if (!ok || units < 0)
                return fail(kv.line, QStringLiteral("temps : nombre entier d'unités attendu"));
            out.records.expectedTime = QStringLiteral(" %1").arg(units);
        } else {
            return fail(kv.line, QStringLiteral("clé inconnue « %1 »").arg(kv.key));
        }
        if (record) {
            *record = name;
            if (!source.isEmpty())
                (isText ? out.texts : out.configurations).push_back({name, source});
        }
    }
    if (out.output.isEmpty())
        return fail(0, QStringLiteral("la clé « fichier » manque"));
    if (out.records.statement.isEmpty())
        return fail(0, QStringLiteral("la clé « enonce » manque"));
    return out;
}

bool buildAll(const QString& sourceDir, const QString& outputDir, QStringList* written, QString* error)
{
    const QDir source(sourceDir);
    const QStringList descriptions = source.entryList({QStringLiteral("*.exo")}, QDir::Files, QDir::Name);
    if (descriptions.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1 : aucune description d'exercice (*.exo)").arg(sourceDir);
        return false;
    }
    QDir().mkpath(outputDir);
    const QDir output(outputDir);
    auto note = [&](const QString& name) {
        if (written)
            written->append(name);
    };
    for (const QString& description : descriptions) {
        QString text;
        if (!readFileText(source.filePath(description), &text, error))
            return false;
        QString problem;
        const auto exercise = parseExercise(text, &problem);
        if (!exercise) {
            if (error)
                *error = description + QStringLiteral(", ") + problem;
            return false;
        }
        MeasureSheet sheet;
        if (!exercise->measures.isEmpty() && !readSheet(source, exercise->measures, &sheet, error))
            return false;
        for (const GeneratedFile& file : exercise->texts) {
            QString markup;
            if (!readFileText(source.filePath(file.source), &markup, error))
                return false;
            const auto quoted = substituteFigures(markup, sheet, &problem);
            if (!quoted) {
                if (error)
                    *error = file.source + QStringLiteral(", ") + problem;
                return false;
            }
            if (!writeOutput(output.filePath(file.target), markupToRtf(*quoted), error))
                return false;
            note(file.target);
        }
        for (const GeneratedFile& file : exercise->configurations) {
            QString lines;
            if (!readFileText(source.filePath(file.source), &lines, error))
                return false;
            const auto config = parseConfiguration(lines, &problem);
            if (!config) {
                if (error)
                    *error = file.source + QStringLiteral(", ") + problem;
                return false;
            }
            const RecordStatus status = saveConfig(output.filePath(file.target), *config);
            if (!status.ok()) {
                if (error)
                    *error = file.target + QStringLiteral(" : ") + status.message;
                return false;
            }
            note(file.target);
        }
        for (const GeneratedFile& file : exercise->attachments) {
            const FileBytes bytes = readWholeFile(source.filePath(file.source), kSourceSizeLimit);
            if (!bytes.ok()) {
                if (error)
                    *error = file.source + QStringLiteral(" : lecture impossible");
                return false;
            }
            if (!writeOutput(output.filePath(file.target), bytes.bytes, error))
                return false;
            note(file.target);
        }
        const RecordStatus status = saveExercise(output.filePath(exercise->output), exercise->records);
        if (!status.ok()) {
            if (error)
                *error = exercise->output + QStringLiteral(" : ") + status.message;
            return false;
        }
        note(exercise->output);
    }
    return true;
}

bool measureAll(const QString& sourceDir, const QString& program, const QString& workingDir,
                std::vector<MeasuredFigure>* results, QString* error)
{
    const QDir source(sourceDir);
    for (const QString& description : source.entryList({QStringLiteral("*.exo")}, QDir::Files, QDir::Name)) {
        QString text;
        if (!readFileText(source.filePath(description), &text, error))
            return false;
        QString problem;
        const auto exercise = parseExercise(text, &problem);
        if (!exercise) {
            if (error)
                *error = description + QStringLiteral(", ") + problem;
            return false;
        }
        if (exercise->measures.isEmpty())
            continue;
        MeasureSheet sheet;
        if (!readSheet(source, exercise->measures, &sheet, error))
            return false;
        for (Experiment& experiment : sheet.experiments)
            experiment.name = exercise->output + QLatin1Char(' ') + experiment.name;
        if (!measureSheet(sheet, program, workingDir, results, error))
            return false;
    }
    return true;
}

}  // namespace tolvi::author
