#include "mainwin/flag_file.h"

#include "config/record_file.h"

namespace tolvi {

QString withSlash(const QString& directory)
{
    return directory.endsWith(QLatin1Char('/')) ? directory : directory + QLatin1Char('/');
}

FlagFile::FlagFile(QString directory) : directory_(std::move(directory)) {}

QString FlagFile::path() const
{
    return withSlash(directory_) + QStringLiteral("TEMPQA.TMP");
}

void FlagFile::setRunning(bool running) const
{
    writeRecord(path(), kRunningRecord, running ? QStringLiteral("OUI") : QStringLiteral("NON"));
}

QString FlagFile::takeRequest() const
{
    const RecordText request = takeRecord(path(), kRequestRecord);
    return request.ok() ? request.text : QString();
}

RunningFlag::RunningFlag(const QString& directory) : file_(directory), hold_(file_.path())
{
    file_.setRunning(true);
}

RunningFlag::~RunningFlag()
{
    hold_.release([this] { file_.setRunning(false); });
}

}  // namespace tolvi
