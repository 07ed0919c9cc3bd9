#include "exercises/exercise_file.h"

#include "config/record_number.h"

#include <QDir>
#include <QFileInfo>

namespace tolvi {

QString exofile::missingText(const QString& path)
{
    return QStringLiteral("Le fichier ") + QDir::toNativeSeparators(path) + QStringLiteral(" est introuvable");
}

QStringList exerciseTexts(const ExerciseRecords& e)
{
    QStringList texts{e.statement, e.configuration, e.correction, e.correctionConfiguration, e.difficulty, e.unused};
    for (const QString& n : e.notions)
        texts << n;
    texts << e.title << e.expectedTime;
    return texts;
}

RecordStatus encodeExercise(const ExerciseRecords& exercise, RecordImage& image)
{
    return buildRecordImage(exerciseTexts(exercise), image);
}

RecordStatus saveExercise(const QString& path, const ExerciseRecords& exercise)
{
    return saveRecordFile(path, exerciseTexts(exercise));
}

bool ExerciseReading::readable(int first, int last) const
{
    if (!status.ok())
        return false;
    for (int n = std::max(first, 1); n <= std::min(last, kExerciseRecordCount); ++n)
        if (damaged[std::size_t(n - 1)])
            return false;
    return true;
}

ExerciseReading decodeExercise(const RecordImage& image)
{
    ExerciseReading r;
    QStringList texts;
    for (int n = 1; n <= kExerciseRecordCount; ++n) {
        const RecordText t = image.read(n);
        r.damaged[std::size_t(n - 1)] = !t.ok();
        texts << t.text;
    }
    ExerciseRecords& e = r.records;
    e.statement = texts[0];
    e.configuration = texts[1];
    e.correction = texts[2];
    e.correctionConfiguration = texts[3];
    e.difficulty = texts[4];
    e.unused = texts[5];
    for (int i = 0; i < 4; ++i)
        e.notions[std::size_t(i)] = texts[6 + i];
    e.title = texts[10];
    e.expectedTime = texts[11];
    return r;
}

ExerciseReading readExercise(const QString& path)
{
    RecordFileRead file = readRecordFile(path, kExerciseRecordCount);
    ExerciseReading r = decodeExercise(file.image);
    r.status = file.status;
    return r;
}

bool exerciseCorrected(const QString& correction, const QString& correctionConfiguration)
{
    return !trimBlanks(correction).isEmpty() || !trimBlanks(correctionConfiguration).isEmpty();
}

int difficultyMarks(const QString& text)
{
    // A number too large to read leaves the level at 0, as no number does.
    const double v = leadingNumber(text).value_or(0.0);
    int lit = 0;
    for (int i = 0; i < 3; ++i)
        if (v > i)
            ++lit;
    return lit;
}

int hourglassCount(const QString& text)
{
    const std::optional<qint16> n = leadingWhole16(text);
    return n && *n > 0 ? *n : 0;
}

QString hourglassText(int count)
{
    return count > 0 ? QString(count, QChar(0x231B)) : QString();
}

QString notionsText(const std::array<QString, 4>& notions)
{
    QString text;
    for (const QString& line : notions)
        if (!trimBlanks(line).isEmpty())
            text += line;
    return text;
}

ExercisePreview exercisePreview(const ExerciseRecords& e)
{
    ExercisePreview p;
    p.corrected = exerciseCorrected(e.correction, e.correctionConfiguration);
    p.correctedCaption = p.corrected ? exofile::kCorrected : exofile::kNotCorrected;
    p.litMarks = difficultyMarks(e.difficulty);
    p.notions = notionsText(e.notions);
    p.title = trimBlanks(e.title);
    p.hourglasses = hourglassCount(e.expectedTime);
    return p;
}

namespace {

// Windows ignores trailing blanks and dots in a file name.
QString windowsName(const QString& part)
{
    qsizetype end = part.size();
    while (end > 0 && (part.at(end - 1) == QLatin1Char(' ') || part.at(end - 1) == QLatin1Char('.')))
        --end;
    return part.left(end);
}

// The entry of `dir` that `part` names: exactly, else without regard to case,
// else by its Windows name. Empty when none.
QString findEntry(const QDir& dir, const QString& part)
{
    if (QFileInfo::exists(dir.filePath(part)))
        return part;
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    const QString trimmed = windowsName(part);
    for (const QString& wanted : {part, trimmed}) {
        if (wanted.isEmpty())
            continue;
        for (const QString& entry : entries)
            if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
                return entry;
    }
    return {};
}

// Whether `path`, which exists, still lies in `folder` once every symbolic
// link is followed. The folder itself may be reached through links (an
// installed data folder): both are compared in their canonical form.
bool insideFolder(const QString& folder, const QString& path)
{
    QString top = QFileInfo(folder).canonicalFilePath();
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (top.isEmpty() || canonical.isEmpty())
        return false;
    if (canonical == top)
        return true;
    if (!top.endsWith(QLatin1Char('/')))
        top += QLatin1Char('/');
    return canonical.startsWith(top);
}

}  // namespace

QString resolveInFolder(const QString& folder, const QString& name)
{
    QString relative = name;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // Always inside the folder, even when the name starts with a separator,
    // a Windows drive ("C:\EXOS\ONDE1.RTF"), a network share
    // ("\\SERVEUR\PARTAGE\ONDE1.RTF") or climbs out of it with "..": such
    // a name is its last part, beside the exercise.
    const bool drive = (relative.size() >= 2 && relative.at(1) == QLatin1Char(':') && relative.at(0).isLetter() &&
                        relative.at(0).unicode() < 0x80) ||
                       relative.startsWith(QLatin1String("//"));
    if (drive && !relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 2);
    while (relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 1);
    if (drive || relative.split(QLatin1Char('/')).contains(QLatin1String(".."))) {
        relative = relative.section(QLatin1Char('/'), -1, -1, QString::SectionSkipEmpty);
        if (relative == QLatin1String(".."))
            relative.clear();
    }
    const QString exact = QDir(folder).filePath(relative);
    if (QFileInfo::exists(exact))
        return insideFolder(folder, exact) ? exact : QString();

    QDir dir(folder);
    QStringList found;
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        const QString entry = part == QLatin1String(".") ? part : findEntry(dir, part);
        if (entry.isEmpty())
            return exact;
        found << entry;
        if (i + 1 < parts.size() && !dir.cd(entry))
            return exact;
    }
    if (found.isEmpty())
        return exact;
    const QString path = QDir(folder).filePath(found.join(QLatin1Char('/')));
    return !QFileInfo::exists(path) || insideFolder(folder, path) ? path : QString();
}

}  // namespace tolvi
