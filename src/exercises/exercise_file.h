#pragma once
// Exercise files (.E33) and the getting-started file TOLVI.PEM: 12 records
// of the record file (config/record_file.h), prepared outside the program.
//
//  1 statement file name (RTF)          7-10 notions covered, four lines
//  2 configuration file name (.P15)     11   title
//  3 correction text file name (RTF)    12   expected time, whole number of units
//  4 correction configuration (.P15)
//  5 difficulty, decimal text 0 to 3
//  6 not used
//
// Names in records 1 to 4 carry no folder: they lie beside the exercise file.
// An empty name means "none". TOLVI.PEM uses records 1 and 2 only.

#include "config/record_file.h"

#include <QString>
#include <QStringList>
#include <array>

namespace tolvi {

inline constexpr int kExerciseRecordCount = 12;

namespace exofile {
// Record numbers, counted from 1.
inline constexpr int kStatement = 1;
inline constexpr int kConfiguration = 2;
inline constexpr int kCorrection = 3;
inline constexpr int kCorrectionConfiguration = 4;
inline constexpr int kDifficulty = 5;
inline constexpr int kUnused = 6;
inline constexpr int kFirstNotion = 7;  // 7 to 10
inline constexpr int kTitle = 11;
inline constexpr int kExpectedTime = 12;

// The getting-started file, in the program's folder.
inline const QString kGettingStartedName = QStringLiteral("TOLVI.PEM");
// Captions of the corrected state in the preview.
inline const QString kCorrected = QStringLiteral("Exercice corrigé");
inline const QString kNotCorrected = QStringLiteral("Non corrigé");
// The exercise window's messages about these files.
inline const QString kReadErrorTitle = QStringLiteral("Lecture impossible");
inline const QString kReadErrorText = QStringLiteral("Vérifier:\r\n- le nom du fichier,\r\n- l'état du lecteur.");
inline const QString kMissingTitle = QStringLiteral("Fichier absent");
// "Le fichier " + the path looked for + " est introuvable"
QString missingText(const QString& path);
inline const QString kGettingStartedErrorTitle = QStringLiteral("Erreur lors du chargement");
inline const QString kGettingStartedErrorText =
    QStringLiteral("Fichier introuvable. Revoir l'installation du logiciel.");
}  // namespace exofile

struct ExerciseRecords {
    QString statement;                // 1
    QString configuration;            // 2
    QString correction;               // 3
    QString correctionConfiguration;  // 4
    QString difficulty;               // 5, e.g. "1.5"
    QString unused;                   // 6
    std::array<QString, 4> notions;   // 7-10
    QString title;                    // 11
    QString expectedTime;             // 12, e.g. " 4"

    bool operator==(const ExerciseRecords&) const = default;
};

// The 12 record texts in file order.
QStringList exerciseTexts(const ExerciseRecords& exercise);

// The file image (12 whole records). Refuses, naming the record, a text that
// Windows-1252 cannot hold or longer than 126 bytes.
RecordStatus encodeExercise(const ExerciseRecords& exercise, RecordImage& image);

// Writes an exercise file atomically (authoring tools).
RecordStatus saveExercise(const QString& path, const ExerciseRecords& exercise);

struct ExerciseReading {
    RecordStatus status;   // Missing or Unreadable when the file could not be read
    ExerciseRecords records;  // a damaged record reads as empty here
    std::array<bool, kExerciseRecordCount> damaged{};  // per record (index 0 = record 1)

    // Whether the file was read and records first to last are sound: the
    // read steps of opening (1-2), previewing and the correction (3-4).
    // False for a file that does not exist: an exercise file is never created.
    bool readable(int first, int last) const;
};

// Decodes an image: each record on its own, a damaged one does not stop the others.
ExerciseReading decodeExercise(const RecordImage& image);

// Reads an exercise file (only its first 12 records).
ExerciseReading readExercise(const QString& path);

// Preview rules of the exercise chooser.
struct ExercisePreview {
    bool corrected = false;
    QString correctedCaption;  // "Exercice corrigé" or "Non corrigé"
    int litMarks = 0;          // difficulty marks lit, 0 to 3
    QString notions;           // records 7-10 joined
    QString title;             // record 11, blanks trimmed
    int hourglasses = 0;       // expected time, one hourglass a unit
};
ExercisePreview exercisePreview(const ExerciseRecords& exercise);

// Corrected when record 3 or record 4, blanks trimmed, is not empty.
bool exerciseCorrected(const QString& correction, const QString& correctionConfiguration);

// Marks lit for a difficulty text: mark i (0, 1, 2) is lit when the text's
// leading number exceeds i. "3" lights three, "1.5" two, "1,5" one (the
// full stop is the only decimal point), "" none.
int difficultyMarks(const QString& text);

// Hourglasses for an expected-time text: its leading number rounded to a
// whole number (ties to even); none when that is 0, negative or beyond a
// 16-bit integer.
int hourglassCount(const QString& text);

// The hourglass symbol repeated `count` times (U+231B).
QString hourglassText(int count);

// The notions: each line whose text, blanks trimmed, is not empty, appended
// as it is, with no separator.
QString notionsText(const std::array<QString, 4>& notions);

// The path of a file named in an exercise file, relative to `folder`. When
// the exact name does not exist, each part of it is looked up without regard
// to case (files written on Windows), then without the trailing blanks and
// dots that Windows ignores. A "\" in the name separates folders. The path
// never leaves `folder`: a leading separator is dropped, and a name with a
// ".." part, a Windows drive ("C:\EXOS\ONDE1.RTF", "c:/x/y.rtf") or a
// network share ("\\SERVEUR\PARTAGE\X.RTF") stands for its last part alone. When nothing matches, the exact path is returned
// (for the message naming it). A name that exists but leads out of `folder`
// once symbolic links are followed is not found there either: the result is
// then empty, a path that opens nothing. (`folder` itself may be reached
// through links.)
QString resolveInFolder(const QString& folder, const QString& name);

}  // namespace tolvi
