#pragma once
// The configuration loader `chargeConfig` and its twin, the state a save
// writes. Loading applies the records of a .P15 file through the same
// handlers a user's clicks run, in record order, then validates the entry
// texts, names the file in the main window's title and starts the graph and
// the wave when they are stopped.

#include "config/config_codec.h"

#include <QString>
#include <functional>
#include <optional>

namespace tolvi {
class Messages;
class Simulation;

// What the windows do around a load. Every hook may be left unset.
struct ConfigLoadHooks {
    std::function<void()> showWaiting;                 // the open dialog repaints its notice
    std::function<void()> closeDialog;                 // the open dialog closes
    std::function<void(const QString& title)> setTitle; // "Tolvi - " + path
    std::function<void()> processEvents;               // pending events run once
};

enum class ConfigLoadResult {
    Loaded,      // every record applied, title set, graph and wave started
    WrongMagic,  // "Fichier non valide": nothing changed
    Unreadable,  // "Lecture impossible sur disque" (a FIFO or a device: the open
                 // dialog's "Nom de fichier incorrect ou chemin non valide"): nothing changed
    Damaged,     // "Lecture impossible sur disque": records before the damaged one applied
};

// Loads the configuration at `cheminConfig`. Messages go through `messages`.
// Never creates a file.
ConfigLoadResult chargeConfig(Simulation& sim, Messages& messages, const QString& cheminConfig,
                              const ConfigLoadHooks& hooks = {});

// The main window's title after a save or a load of `path`.
QString configTitle(const QString& path);

// The records a save writes from the current state: the entry texts as
// displayed, the selected wave and far end, the three check boxes, the
// recording-duration index and the markers.
ConfigRecords configFromState(const Simulation& sim);

// Writes the current state to `path` (atomically). On failure shows
// "Ecriture impossible sur disque" ("Enregistrement impossible") and
// returns false; the previous file is then left as it was.
bool saveConfiguration(const Simulation& sim, Messages& messages, const QString& path);

// --- The dialogs' commands, shared with batch mode ------------------------

// The open dialog's "OUVRIR" with `ficharge` as typed: a name of blanks does
// nothing; otherwise `cheminConfig` takes it, and a name that names no
// regular file (or a link to one) is refused with "Nom de fichier incorrect ou chemin non valide" ("impossible
// d'ouvrir ce fichier"), else the file is loaded. The loader's result when
// it ran, nothing otherwise.
inline const QString kOpenRefusedTitle = QStringLiteral("impossible d'ouvrir ce fichier");
inline const QString kOpenRefusedText = QStringLiteral("Nom de fichier incorrect ou chemin non valide");
std::optional<ConfigLoadResult> openConfiguration(Simulation& sim, Messages& messages, QString& cheminConfig, const QString& ficharge,
                                                   const ConfigLoadHooks& hooks = {});

// The save dialog's name rules: blanks trimmed at both ends, everything from
// the name's first "." dropped, the folder `directory` put in front when the
// text names none, ".P15" appended; when no file has that exact name but one
// in the folder differs from it only in letter case, that file's name.
// Nothing when no name is left.
inline const QString kSaveNoNameTitle = QStringLiteral("Enregistrement impossible");
inline const QString kSaveNoNameText = QStringLiteral("Il faut donner un nom au fichier!");
inline const QString kOverwriteTitle = QStringLiteral("Ce fichier existe déjà!");
inline const QString kOverwriteText = QStringLiteral("Ecraser le fichier existant?");
std::optional<QString> saveName(const QString& text, const QString& directory);

}  // namespace tolvi
