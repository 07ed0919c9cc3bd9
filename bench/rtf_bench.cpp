// Reading and writing exercise texts in RTF: the time must grow with the
// size of the file, however its formatting is cut, and stay bounded for the
// shapes that hostile files take.
#include "exercises/rtf_reader.h"
#include "exercises/rtf_writer.h"

#include <QAbstractTextDocumentLayout>
#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>

using namespace tolvi;

namespace {

const QByteArray kHeader = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
                           "{\\colortbl;\\red255\\green0\\blue0;}\\pard\\plain ";

// One paragraph of `runs` pieces of text, each with a format of its own
// (bold, italic and red, another font), about 16 bytes a run: 150 000 runs
// make 2.4 MB.
QByteArray manyRuns(int runs)
{
    QByteArray rtf = kHeader;
    rtf.reserve(kHeader.size() + runs * 17);
    for (int i = 0; i < runs; ++i) {
        switch (i % 3) {
        case 0: rtf += "{\\b gras }"; break;
        case 1: rtf += "{\\i\\cf1 penche }"; break;
        default: rtf += "{\\f1\\fs20 code\\'e9 }"; break;
        }
    }
    rtf += "\\par}";
    return rtf;
}

// The same size of plain text in one paragraph.
QByteArray plainText(qsizetype bytes)
{
    QByteArray rtf = kHeader;
    while (rtf.size() < bytes)
        rtf += "du texte sans format, ";
    rtf += "\\par}";
    return rtf;
}

// A table of `rows` rows of 4 cells, each cell with a bold word.
QByteArray table(int rows)
{
    QByteArray rtf = kHeader;
    for (int r = 0; r < rows; ++r) {
        rtf += "\\trowd\\trgaph108\\clbrdrt\\brdrs\\brdrw10\\cellx2000\\cellx4000\\cellx6000\\cellx8000\n";
        for (int c = 0; c < 4; ++c)
            rtf += "\\pard\\intbl\\qc {\\b case} " + QByteArray::number(c) + "\\cell ";
        rtf += "\\row\n";
    }
    rtf += "\\pard apres\\par}";
    return rtf;
}

// The document of a text box: with a layout, as QTextEdit gives it.
void readInto(QTextDocument& doc, const QByteArray& rtf)
{
    if (!readRtf(rtf, doc))
        std::abort();
}

void BM_ReadOneParagraphManyRuns(benchmark::State& state)
{
    const QByteArray rtf = manyRuns(static_cast<int>(state.range(0)));
    QTextDocument doc;
    doc.documentLayout();
    for (auto _ : state)
        readInto(doc, rtf);
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.SetComplexityN(state.range(0));
    state.SetLabel(std::to_string(rtf.size() / 1024) + " KiB");
}
BENCHMARK(BM_ReadOneParagraphManyRuns)
    ->Arg(24000)->Arg(75000)->Arg(150000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void BM_ReadPlainTextSameSize(benchmark::State& state)
{
    const QByteArray rtf = plainText(manyRuns(150000).size());
    QTextDocument doc;
    if (state.range(0))
        doc.documentLayout();
    for (auto _ : state)
        readInto(doc, rtf);
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ReadPlainTextSameSize)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_WriteOneParagraphManyRuns(benchmark::State& state)
{
    QTextDocument doc;
    readInto(doc, manyRuns(static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(writeRtf(doc));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WriteOneParagraphManyRuns)
    ->Arg(24000)->Arg(75000)->Arg(150000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void BM_ReadTable(benchmark::State& state)
{
    const QByteArray rtf = table(static_cast<int>(state.range(0)));
    QTextDocument doc;
    doc.documentLayout();
    for (auto _ : state)
        readInto(doc, rtf);
    state.SetComplexityN(state.range(0));
    state.SetLabel(std::to_string(rtf.size() / 1024) + " KiB");
}
BENCHMARK(BM_ReadTable)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void BM_WriteTable(benchmark::State& state)
{
    QTextDocument doc;
    readInto(doc, table(static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(writeRtf(doc));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WriteTable)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// Hostile shapes, each 2.4 MB: groups nested 100 000 deep and more, and a
// run of formatting words between every letter.
void BM_ReadHostile(benchmark::State& state)
{
    QByteArray rtf = kHeader;
    const qsizetype size = 2400 * 1024;
    switch (state.range(0)) {
    case 0:
        rtf += QByteArray(size, '{') + "x";
        state.SetLabel("nested groups");
        break;
    case 1:
        while (rtf.size() < size)
            rtf += "{{{{{{{{x}}}}}}}}";
        state.SetLabel("groups around every letter");
        break;
    case 2:
        while (rtf.size() < size)
            rtf += "\\b\\i\\ul\\f1\\fs30\\cf1 x\\plain ";
        state.SetLabel("formats between every letter");
        break;
    default:
        while (rtf.size() < size)
            rtf += "\\trowd\\cellx1\\intbl x\\cell\\row ";
        state.SetLabel("one-cell rows");
        break;
    }
    QTextDocument doc;
    doc.documentLayout();
    for (auto _ : state)
        readRtf(rtf, doc);
}
BENCHMARK(BM_ReadHostile)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// A statement of `bytes` bytes: paragraphs of about 600 bytes, each with
// bold, italic, coloured and accented words.
QByteArray statement(qsizetype bytes)
{
    QByteArray rtf = kHeader;
    rtf.reserve(bytes + 1024);
    const QByteArray paragraph = "\\pard\\sa120 Une corde de {\\b 7 m} est tendue : la {\\i c\\'e9l\\'e9rit\\'e9} "
                                 "vaut {\\cf1 v = \\u8730?(T/\\'b5)}, soit {\\b\\i 12,5 m/s}. On mesure la dur\\'e9e "
                                 "du trajet entre M{\\sub 1} et M{\\sub 2} ; la longueur d'onde est \\u955? = v / f. "
                                 "{\\f1 code} et texte ordinaire pour finir la ligne, puis une autre phrase "
                                 "qui parle du signal, de son amplitude et de sa p\\'e9riode T = 0,4 s.\\par\n";
    while (rtf.size() < bytes)
        rtf += paragraph;
    rtf += "}";
    return rtf;
}

// One word of `letters` letters.
QByteArray longWord(qsizetype letters)
{
    return kHeader + "d\\'e9but " + QByteArray(letters, 'a') + " fin\\par}";
}

QByteArray sized(int64_t which)
{
    switch (which) {
    case 0: return longWord(1000000);
    case 21: {  // 20 Mo in one paragraph, a format every dozen bytes
        QByteArray rtf = kHeader;
        while (rtf.size() < 20 * 1024 * 1024)
            rtf += "{\\b gras} texte {\\i pench\\'e9} ";
        return rtf + "\\par}";
    }
    default: return statement(which * 1024 * 1024);
    }
}

void label(benchmark::State& state, const QByteArray& rtf)
{
    state.SetLabel(state.range(0) == 0 ? "mot de 1 000 000 lettres"
                   : state.range(0) == 21 ? "20 Mo en un paragraphe, un format tous les 12 octets"
                                          : std::to_string(rtf.size() / (1024 * 1024)) + " Mo");
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

// Reading into the document of a text box.
void BM_TextRead(benchmark::State& state)
{
    const QByteArray rtf = sized(state.range(0));
    for (auto _ : state) {
        QTextDocument doc;
        doc.documentLayout();
        readInto(doc, rtf);
    }
    label(state, rtf);
}
BENCHMARK(BM_TextRead)->Arg(0)->Arg(1)->Arg(5)->Arg(20)->Arg(21)->Unit(benchmark::kMillisecond)->Iterations(1);

// Reading, then laying the whole text out at the width of the window.
void BM_TextLayout(benchmark::State& state)
{
    const QByteArray rtf = sized(state.range(0));
    for (auto _ : state) {
        QTextDocument doc;
        readInto(doc, rtf);
        doc.setTextWidth(700);
        benchmark::DoNotOptimize(doc.pageCount());  // lays the whole text out
    }
    label(state, rtf);
}
BENCHMARK(BM_TextLayout)->Arg(0)->Arg(1)->Arg(5)->Arg(20)->Arg(21)->Unit(benchmark::kMillisecond)->Iterations(1);

// Saving what was read.
void BM_TextSave(benchmark::State& state)
{
    const QByteArray rtf = sized(state.range(0));
    QTextDocument doc;
    readInto(doc, rtf);
    for (auto _ : state)
        benchmark::DoNotOptimize(writeRtf(doc));
    label(state, rtf);
}
BENCHMARK(BM_TextSave)->Arg(0)->Arg(1)->Arg(5)->Arg(20)->Arg(21)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
