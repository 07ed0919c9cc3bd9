#pragma once
// Writing Tolvi's activities from readable sources.
//
// - A statement or a correction is plain UTF-8 text with a little markup
//   (titles, bold, italic, subscripts, lists), turned into RTF.
// - A configuration is a list of "key = value" lines, turned into a .P15.
// - An exercise is a list of "key = value" lines naming its files and
//   filling the preview fields, turned into a .E33 (or TOLVI.PEM).
//
// data-src/README.md describes the three formats for teachers.

#include "config/config_codec.h"
#include "measures.h"
#include "exercises/exercise_file.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QTextDocument;

namespace tolvi::author {

// Statement markup, line by line:
//   "# Titre"        centred title          "## Partie"   heading
//   "- élément"      list item (bullet)     blank line    new paragraph
//   other lines      joined to the paragraph they belong to, with one blank
// and inside a line:
//   **gras**  *italique*  {{en bleu}}  x_{indice}  10^{exposant}
//   [Démarrer]  the name of a control of the window as it reads there, in bold
// A character "\" keeps the next character as it is ("\*").
void markupToDocument(const QString& markup, QTextDocument& document);

// The RTF of a statement written in markup.
QByteArray markupToRtf(const QString& markup);

// The largest source read: 64 Mo, as Tolvi's own texts.
inline constexpr qint64 kSourceSizeLimit = qint64(64) << 20;

// Reads a source (UTF-8 text) as Tolvi reads its own files: only a regular
// file, or a link to one, of at most kSourceSizeLimit bytes, so that a FIFO
// or a device named by mistake never blocks the tool. False with a French
// message naming the file ("PATH : lecture impossible ...") otherwise.
bool readSourceText(const QString& path, QString* text, QString* error);

// Writes a file the tool makes as Tolvi saves its own: a regular file is
// replaced atomically, a symbolic link keeps pointing at its replaced target,
// a device or pipe is written in place, and "-" is the standard output.
// False with a French message naming the file when it cannot be written.
bool writeOutput(const QString& path, const QByteArray& bytes, QString* error);

// A configuration from its "key = value" description; nullopt with a French
// message in `error` (naming the line) when a line cannot be understood.
std::optional<ConfigRecords> parseConfiguration(const QString& text, QString* error);

// A file that the exercise names and that is built from a source beside it.
struct GeneratedFile {
    QString target;  // name written into the exercise file ("VITESSE.RTF")
    QString source;  // source file name, beside the description
};

struct ExerciseSource {
    QString output;          // the exercise file's name ("VITESSE.E33")
    ExerciseRecords records;
    std::vector<GeneratedFile> texts;           // RTF built from markup
    std::vector<GeneratedFile> configurations;  // .P15 built from descriptions
    std::vector<GeneratedFile> attachments;     // files copied as they are (a script for the pupils)
    QString measures;  // the measure sheet whose figures the texts quote ({=nom}), or empty
};

// An exercise description; nullopt with a French message when it is wrong.
std::optional<ExerciseSource> parseExercise(const QString& text, QString* error);

// Builds every "*.exo" description of `sourceDir` (with the files they name)
// into `outputDir`. Returns false with a French message on the first failure.
// `written` receives the names of the files written.
bool buildAll(const QString& sourceDir, const QString& outputDir, QStringList* written, QString* error);

// Runs the experiments of every measure sheet that a "*.exo" of `sourceDir`
// names, with `program` (tolvi) in `workingDir`, and measures each figure.
// `results` receives them in order, with the exercise's file name as the
// experiment's prefix ("CELERITE.E33 aller"). False with a message when a
// sheet cannot be read or a run fails.
bool measureAll(const QString& sourceDir, const QString& program, const QString& workingDir,
                std::vector<MeasuredFigure>* results, QString* error);

}  // namespace tolvi::author
