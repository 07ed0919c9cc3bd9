#pragma once
// The batch command line: the real program, run headless. Options apply in
// the order given; messages raised meanwhile are answered with their default
// button and written to standard error as "TITLE: TEXT".

#include <QString>
#include <QStringList>
#include <QImage>
#include <QTextStream>
#include <functional>
#include <optional>
#include <vector>

namespace tolvi {
class Program;

struct BatchContext {
    Program& program;
    QTextStream& out;
    QString error;  // set by an action that failed
    double scale = 1.0;  // device pixels per unit of the pictures and snapshots that follow
};

struct BatchOption {
    QString name;        // "--wave"
    QString valueHint;   // "N", or empty for an option without value
    QString help;        // one line, in French
    QString example;     // "--wave 2"
    // Checks the value before anything runs; returns an error text.
    std::function<std::optional<QString>(const QString& value)> check;
    // Performs the action; returns false (with ctx.error) on failure.
    std::function<bool(BatchContext& ctx, const QString& value)> run;
};

using BatchOptions = std::vector<BatchOption>;

// The option that makes a batch run use the flag file TEMPQA.TMP as the
// program started by the launcher does.
inline constexpr const char* kAsLaunchedOption = "--as-launched";

// Every option of the program, in the order --help lists them.
const BatchOptions& batchOptions();

// Option groups, one per feature.
void addRopeOptions(BatchOptions& options);
void addRealRopeOptions(BatchOptions& options);
void addMeasureOptions(BatchOptions& options);
void addPrintOptions(BatchOptions& options);
void addConfigOptions(BatchOptions& options);
void addExerciseOptions(BatchOptions& options);
void addCalcOptions(BatchOptions& options);
void addPacingOptions(BatchOptions& options);
void addViewOptions(BatchOptions& options);

// True when the arguments ask for a batch run.
bool isBatch(const QStringList& arguments);

// Runs a batch from the arguments (arguments[0] is the program). Returns the
// process exit code: 0 done, 1 an action failed, 2 a bad option or value.
int runBatch(const QStringList& arguments, QTextStream& out, QTextStream& err);

QString batchHelp();

// "Tolvi 0.1.0": the name and the version of the build.
QString versionText();

// Values and files shared by the option groups.
int batchInteger(const QString& value);
double batchNumber(const QString& value);  // "2,5" or "2.5"
// Write a file whole or not at all; false with ctx.error on failure.
bool writeTextFile(BatchContext& ctx, const QString& path, const QString& text);
bool writeImageFile(BatchContext& ctx, const QString& path, const QImage& image);

// Value checks shared by the option groups.
std::optional<QString> checkInteger(const QString& value, int minimum, int maximum);
std::optional<QString> checkNumber(const QString& value);
std::optional<QString> checkZeroOne(const QString& value);  // a check box: 0 or 1
std::optional<QString> checkNotEmpty(const QString& value);

}  // namespace tolvi
