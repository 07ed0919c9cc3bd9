// Runs the real program of the build on the batch command line.
#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace batchrun {

struct Outcome {
    int code;
    QString out;
    QString err;
};

// The program started in `folder`, offscreen, and waited for (a minute at most).
inline Outcome runIn(const QString& folder, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(TOLVI_PROGRAM_DIR "/tolvi"), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace batchrun
