// The figures the activities state (their measure sheets, data-src/*.mesures)
// are what the program really gives: each experiment is run again with the
// batch line and each figure measured on the graph, the rope or the
// chronometer. The measuring routines are checked first on curves whose
// answers are known.
#include "author.h"
#include "measures.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <cmath>

using namespace tolvi;
using namespace tolvi::author;

namespace {

// A graph CSV as the program writes it, from two displacement functions.
template <typename F, typename G>
QString graphCsv(double step, double duration, F blue, G red)
{
    QString csv = QStringLiteral("t (s);u1 (cm);u2 (cm)\n");
    for (int i = 0; i * step <= duration + 1e-9; ++i) {
        const double t = i * step;
        csv += QString::number(t, 'f', 3).replace(QLatin1Char('.'), QLatin1Char(',')) + QLatin1Char(';');
        csv += QString::number(blue(t), 'f', 4).replace(QLatin1Char('.'), QLatin1Char(',')) + QLatin1Char(';');
        csv += QString::number(red(t), 'f', 4).replace(QLatin1Char('.'), QLatin1Char(',')) + QLatin1Char('\n');
    }
    return csv;
}

// A raised-cosine bump of 20 cm lasting 0.5 s that starts at `start`.
double bump(double t, double start)
{
    const double s = t - start;
    return s < 0 || s > 0.5 ? 0.0 : 10.0 * (1 - std::cos(2 * M_PI * s / 0.5));
}

double measured(const QString& method, const RunOutputs& outputs,
                const std::vector<std::pair<QString, double>>& known = {})
{
    QString error;
    const auto value = measureFigure(method, outputs, known, &error);
    EXPECT_TRUE(value) << method.toStdString() << " : " << error.toStdString();
    return value.value_or(std::nan(""));
}

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

TEST(ActivityFigures, MeasuresFindStartsPeaksDelaysPeriodsAndPhases)
{
    RunOutputs pulse;
    pulse.graphCsv = graphCsv(0.01, 4, [](double t) { return bump(t, 0.30); }, [](double t) { return bump(t, 1.60); });
    EXPECT_NEAR(measured(QStringLiteral("debut bleu"), pulse), 0.33, 0.011);  // 0,5 cm reached 25 ms in
    EXPECT_NEAR(measured(QStringLiteral("sommet bleu"), pulse), 0.55, 1e-6);
    EXPECT_NEAR(measured(QStringLiteral("sommet rouge 1"), pulse), 1.85, 1e-6);
    EXPECT_NEAR(measured(QStringLiteral("retard"), pulse), 1.30, 1e-6);
    EXPECT_NEAR(measured(QStringLiteral("maximum rouge"), pulse), 20, 1e-3);
    EXPECT_NEAR(measured(QStringLiteral("fin rouge"), pulse), 0, 1e-9);
    EXPECT_NEAR(measured(QStringLiteral("pas"), pulse), 0.01, 1e-9);
    QString error;
    EXPECT_FALSE(measureFigure(QStringLiteral("sommet bleu 2"), pulse, {}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("n° 2")));

    // A sine of period 0.8 s, and the same delayed by half or a whole period.
    auto sine = [](double delay) {
        return [delay](double t) { return t < delay ? 0.0 : 10 * std::sin(2 * M_PI * (t - delay) / 0.8); };
    };
    RunOutputs opposed;
    opposed.graphCsv = graphCsv(0.02, 10, sine(0), sine(0.4));
    EXPECT_NEAR(measured(QStringLiteral("periode bleu"), opposed), 0.8, 0.005);
    EXPECT_NEAR(measured(QStringLiteral("phase"), opposed), -1, 0.01);
    RunOutputs together;
    together.graphCsv = graphCsv(0.02, 10, sine(0), sine(1.6));
    EXPECT_NEAR(measured(QStringLiteral("phase"), together), 1, 0.01);

    // The rope: crests every 1.5 m from 0.5 m to 5 m, rest beyond.
    RunOutputs rope;
    rope.ropeCsv = QStringLiteral("x (m);u (cm)\n");
    for (int c = 0; c <= 700; ++c) {
        const double x = c / 100.0;
        const double u = x <= 5.25 ? 10 * std::cos(2 * M_PI * (x - 0.5) / 1.5) : 0;
        rope.ropeCsv += QString::number(x, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')) + QLatin1Char(';') +
                        QString::number(u, 'f', 4).replace(QLatin1Char('.'), QLatin1Char(',')) + QLatin1Char('\n');
    }
    EXPECT_NEAR(measured(QStringLiteral("corde_longueur_onde"), rope), 1.5, 0.011);
    EXPECT_NEAR(measured(QStringLiteral("corde_sommet"), rope), 5.0, 0.011);
    EXPECT_NEAR(measured(QStringLiteral("corde_front"), rope), 5.25, 0.011);

    // The chronometer's texts, and computations done by the calculator.
    for (auto [text, seconds] : {std::pair{"2,35 s", 2.35}, std::pair{"1 min 5,12 s", 65.12},
                                 std::pair{"1 h 0 min 0,50 s", 3600.5}, std::pair{"0", 0.0}}) {
        RunOutputs chrono;
        chrono.chronoText = QString::fromUtf8(text);
        EXPECT_NEAR(measured(QStringLiteral("chrono"), chrono), seconds, 1e-9) << text;
    }
    const std::vector<std::pair<QString, double>> known{{QStringLiteral("t1"), 0.55}, {QStringLiteral("t2"), 1.85}};
    EXPECT_NEAR(measured(QStringLiteral("4,00 / (t2 - t1)"), {}, known), 4.0 / 1.3, 1e-9);
    EXPECT_NEAR(measured(QStringLiteral("sqr (t1 * 0)"), {}, known), 0, 1e-9);
    EXPECT_FALSE(measureFigure(QStringLiteral("t3 - t1"), {}, known, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("t3")));
    EXPECT_FALSE(measureFigure(QStringLiteral("sommet bleu"), RunOutputs{}, {}, &error));
}

TEST(ActivityFigures, SheetsAreReadQuotedAndTheirMistakesNamed)
{
    QString error;
    const auto sheet = parseMeasures(QStringLiteral("# essai\n[aller]\ntolvi = --config \"A B.P15\" --advance 4\n"
                                                    "t1 = 0,55 ± 0,03 : sommet bleu\nt2 = 1,85 +- 0,03 : sommet rouge\n"
                                                    "tau = 1,30 ± 0,05 : t2 - t1\n[retour]\nbas = −20 ± 1 : minimum bleu\n"),
                                     &error);
    ASSERT_TRUE(sheet) << error.toStdString();
    ASSERT_EQ(sheet->experiments.size(), 2u);
    EXPECT_EQ(sheet->experiments[0].arguments,
              (QStringList{"--config", "A B.P15", "--advance", "4"}));
    ASSERT_TRUE(sheet->find(QStringLiteral("tau")));
    EXPECT_EQ(sheet->find(QStringLiteral("tau"))->stated, QStringLiteral("1,30"));
    EXPECT_DOUBLE_EQ(sheet->find(QStringLiteral("t2"))->tolerance, 0.03);
    EXPECT_DOUBLE_EQ(sheet->find(QStringLiteral("bas"))->value, -20);

    const auto text = substituteFigures(QStringLiteral("τ ≈ {=tau} s, {=bas} cm, {{bleu}}"), *sheet, &error);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, QStringLiteral("τ ≈ 1,30 s, −20 cm, {{bleu}}"));
    EXPECT_FALSE(substituteFigures(QStringLiteral("{=v}"), *sheet, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("{=v}")));

    struct Bad {
        const char* text;
        const char* says;
    } bad[] = {
        {"t1 = 0,5 ± 0,1 : sommet bleu", "ligne 1"},
        {"[a]\nt1 = 0,5 : sommet bleu", "tolérance"},
        {"[a]\nt1 = vite ± 0,1 : sommet bleu", "nombre"},
        {"[a]\nt1 = 0,5 ± 0,1 : sommet vert", "bleu"},
        {"[a]\nt1 = 0,5 ± 0,1 : t0 * 2", "t0"},
        {"[a]\nt1 = 0,5 ± 0,1 : pas\nt1 = 1 ± 1 : pas", "déjà"},
        {"[a]\nt1 = 0,5 ± 0,1", "méthode"},
    };
    for (const Bad& b : bad) {
        error.clear();
        EXPECT_FALSE(parseMeasures(QString::fromUtf8(b.text), &error)) << b.text;
        EXPECT_TRUE(error.contains(QString::fromUtf8(b.says))) << b.text << " -> " << error.toStdString();
    }
}

TEST(ActivityFigures, EveryFigureTheActivitiesStateIsWhatTheProgramMeasures)
{
    std::vector<MeasuredFigure> results;
    QString error;
    ASSERT_TRUE(measureAll(QStringLiteral(TOLVI_SOURCE_DIR "/data-src/exercices"), QStringLiteral(TOLVI_PROGRAM_DIR "/tolvi"),
                           QStringLiteral(TOLVI_SOURCE_DIR "/data"), &results, &error))
        << error.toStdString();
    QSet<QString> exercises;
    for (const MeasuredFigure& r : results) {
        EXPECT_TRUE(r.agrees()) << describe(r).toStdString();
        exercises.insert(r.experiment.section(QLatin1Char(' '), 0, 0));
    }
    // Every corrected activity states its figures through a sheet.
    for (const char* name : {"CELERITE.E33", "TENSION.E33", "REFLEXIO.E33", "ONDESINU.E33", "PERIODIQ.E33",
                             "PROPAGE.E33", "QUALITE.E33"})
        EXPECT_TRUE(exercises.contains(QString::fromLatin1(name))) << name;
    EXPECT_GE(results.size(), 60u);

    // And every figure of a sheet is quoted by a text, none left behind.
    const QDir sources(QStringLiteral(TOLVI_SOURCE_DIR "/data-src/exercices"));
    QString texts;
    for (const QString& file : sources.entryList({QStringLiteral("*.txt")}, QDir::Files))
        texts += readAll(sources.filePath(file));
    static const QRegularExpression raw(QStringLiteral("\\{=[A-Za-z_]"));
    for (const QString& file : QDir(QStringLiteral(TOLVI_SOURCE_DIR "/data")).entryList({QStringLiteral("*.RTF")}))
        EXPECT_FALSE(readAll(QStringLiteral(TOLVI_SOURCE_DIR "/data/") + file).contains(raw)) << file.toStdString();
    int quotedFigures = 0;
    for (const MeasuredFigure& r : results)
        quotedFigures += texts.contains(QStringLiteral("{=%1}").arg(r.figure.name));
    EXPECT_GE(quotedFigures, int(results.size()) * 9 / 10);
}
