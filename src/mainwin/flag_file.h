#pragma once
// The flag file TEMPQA.TMP in the program's folder, shared with the launcher
// of the collection: record 3 says whether Tolvi runs ("OUI" / "NON"),
// record 31 holds the name of an exercise the launcher asks Tolvi to open.
// Each use opens, reads or writes one record and closes the file.

#include "platform/shared_hold.h"

#include <QString>

namespace tolvi {

class FlagFile {
public:
    static constexpr int kRunningRecord = 3;
    static constexpr int kRequestRecord = 31;

    // `directory` is the program's folder.
    explicit FlagFile(QString directory);

    QString path() const;
    // Writes "OUI" or "NON" into record 3; failures change nothing else.
    void setRunning(bool running) const;
    // Record 31 as read (untrimmed), cleared at once.
    QString takeRequest() const;

private:
    QString directory_;
};

// A window's "OUI" in record 3 for as long as it runs. Several windows may
// run from one program folder: record 3 turns to "NON" only when the last
// of them closes.
class RunningFlag {
public:
    explicit RunningFlag(const QString& directory);
    ~RunningFlag();
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    FlagFile file_;
    SharedHold hold_;
};

// A folder name with its trailing "/".
QString withSlash(const QString& directory);

}  // namespace tolvi
