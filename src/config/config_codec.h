#pragma once
// Configuration files (.P15): 18 records of the record file (record_file.h),
// written by the save dialog and read by the loader `chargeConfig`.
//
//  1 magic "TOLVI"            7-9   Optpert(0..2): "1" selected, else "0"
//  2-6 Textfreq(0..4) texts   10-12 Optbout(0..2): the same
//      as displayed ("2,00")  13-15 Check1, Check2, Checksi: "1"/"0"
//                             16    UpDown1 duration index, whole number (" 4")
//                             17-18 marqueRouge, marqueBleue (" 425", "-1")
//
// Whole numbers carry a leading blank when not negative.

#include "config/record_file.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <optional>

namespace tolvi {

inline constexpr int kConfigRecordCount = 18;

// Record numbers, counted from 1.
namespace configrec {
inline constexpr int kMagic = 1;
inline constexpr int kFirstEntry = 2;       // Textfreq(0) .. Textfreq(4): 2 to 6
inline constexpr int kFirstWave = 7;        // Optpert(0) .. Optpert(2): 7 to 9
inline constexpr int kFirstEnd = 10;        // Optbout(0) .. Optbout(2): 10 to 12
inline constexpr int kStartTogether = 13;   // Check1
inline constexpr int kContinuous = 14;      // Check2
inline constexpr int kSymmetric = 15;       // Checksi
inline constexpr int kDuration = 16;        // UpDown1
inline constexpr int kRedMarker = 17;       // marqueRouge
inline constexpr int kBlueMarker = 18;      // marqueBleue
}  // namespace configrec

// The program's texts about configuration files.
inline const QString kConfigMagic = QStringLiteral("TOLVI");
inline const QString kConfigWrongMagicTitle = QStringLiteral("Fichier non valide");
inline const QString kConfigWrongMagicText = QStringLiteral("Ce fichier ne correspond pas à cette application");
inline const QString kConfigReadErrorTitle = QStringLiteral("Erreur lors du chargement du fichier");
inline const QString kConfigReadErrorText = QStringLiteral("Lecture impossible sur disque");
inline const QString kConfigWriteErrorTitle = QStringLiteral("Enregistrement impossible");
inline const QString kConfigWriteErrorText = QStringLiteral("Ecriture impossible sur disque");
// Main window title after a save or a load: prefix + cheminConfig.
inline const QString kConfigTitlePrefix = QStringLiteral("Tolvi - ");

// The values of the 18 records. Defaults are the main window's state right
// after start-up: the entry texts it starts with, the solitary wave, the far
// end tied to a damper, no box checked, 10 s of recording, markers at 425 and
// 300.
struct ConfigRecords {
    QString magic = kConfigMagic;                                   // 1
    std::array<QString, 5> entries{QStringLiteral("2,00"), QStringLiteral("100"), QStringLiteral("0,4"),
                                   QStringLiteral("20"), QStringLiteral("500")};  // 2-6
    std::array<bool, 3> wave{true, false, false};    // 7-9   Optpert(0..2)
    std::array<bool, 3> farEnd{true, false, false};  // 10-12 Optbout(0..2)
    bool startTogether = false;  // 13 Check1
    bool continuous = false;     // 14 Check2
    bool symmetric = false;      // 15 Checksi
    int durationIndex = 4;       // 16 UpDown1, 1 to 10
    qint16 redMarker = 425;      // 17 marqueRouge, -1 when absent
    qint16 blueMarker = 300;     // 18 marqueBleue, -1 when absent

    bool operator==(const ConfigRecords&) const = default;
};

// The 18 record texts in file order.
QStringList configTexts(const ConfigRecords& config);

// The file image (18 whole records, 2304 bytes). Refuses, naming the record,
// an entry text that Windows-1252 cannot hold or longer than 126 bytes.
RecordStatus encodeConfig(const ConfigRecords& config, RecordImage& image);

// Writes the configuration file atomically: a failed save keeps the previous
// file as it was.
RecordStatus saveConfig(const QString& path, const ConfigRecords& config);

// What the loader learns from a file.
enum class ConfigReadStatus {
    Ok,          // every record readable (missing ones read as empty)
    WrongMagic,  // record 1 is not exactly "TOLVI" (also: no file, empty file): apply nothing
    Damaged,     // record damagedRecord is unreadable: apply the records before it only
    Unreadable,  // the file or its folder cannot be read: apply nothing
};

struct ConfigReading {
    ConfigReadStatus status = ConfigReadStatus::Ok;
    int damagedRecord = 0;  // with Damaged: the first unreadable record
    int recordsInFile = 0;  // records present (at most 18); the missing ones read as empty
    std::array<QString, kConfigRecordCount> texts;  // each record's text; "" when not reached
    // The records' values under the loader's rules. A boolean record is set
    // only when it is exactly "1". Record 16 counts only when it rounds to an
    // index 1 to 10 (see applies()). Records 17 and 18 round to a marker
    // column 50 to 750, or -1; any other value (0, 800, "", too large) reads
    // as -1, no marker. Fields of records not reached keep the defaults.
    ConfigRecords values;

    // Whether the loader applies record n (in record order, each as the user
    // would set it): false for every record when the magic is wrong or the
    // file unreadable, for the damaged record and those after it, and for a
    // record 16 that holds no duration index 1 to 10 (UpDown1 stays as it is).
    bool applies(int record) const;

    bool durationValid = false;  // record 16 held an index 1 to 10
};

// Decodes an image with the loader's rules.
ConfigReading decodeConfig(const RecordImage& image);

// Reads and decodes a configuration file (only its first 18 records). A name
// that does not exist in an existing folder reads as an empty file (wrong
// magic); an unreachable folder or unreadable file gives Unreadable. Never
// creates a file.
ConfigReading readConfig(const QString& path);

// The loader's reading of single records.
bool configFlag(const QString& text);                // exactly "1"
std::optional<int> configDurationIndex(const QString& text);  // 1..10 after rounding, else nothing
qint16 configMarker(const QString& text);            // 50..750 or -1; anything else -1

// The option a group ends with when the loader selects its records in order:
// the last set one, -1 when none is.
int selectedOption(const std::array<bool, 3>& group);

}  // namespace tolvi
