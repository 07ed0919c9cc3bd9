// Fuzzing the RTF reader, and the writer on whatever the reader made: any
// input must give a document or an error, never a crash, a hang or unbounded
// memory; what the writer writes must read again.

#include "exercises/rtf_reader.h"
#include "exercises/rtf_writer.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // QTextDocument needs a GUI application for its fonts and images.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char* qtArgv[] = {(*argv)[0], nullptr};
    (void)argc;
    static QGuiApplication app(qtArgc, qtArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray rtf = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                   static_cast<qsizetype>(size));
    QTextDocument doc;
    QString error;
    tolvi::readRtf(rtf, doc, &error);

    const QByteArray written = tolvi::writeRtf(doc);
    QTextDocument again;
    if (!tolvi::readRtf(written, again, &error))
        std::abort();  // the writer wrote something its reader refuses
    if (again.toPlainText() != doc.toPlainText())
        std::abort();  // text lost or changed on the way
    return 0;
}
