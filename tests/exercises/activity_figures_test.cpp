// The figures the activities state (their measure sheets, data-src/*.mesures)
// are what the program really gives: each experiment is run again with the
// batch line and each figure measured on the graph, the rope or the
// chronometer. The measuring routines are checked first on curves whose
// answers are known.
#include "author.h"
#include "measures.h"
#include "physics.h"

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
    // The curve leaves the axis at its last point at rest, though it reaches
    // half a pixel only 25 ms later.
    EXPECT_NEAR(measured(QStringLiteral("debut bleu"), pulse), 0.30, 1e-6);
    EXPECT_NEAR(measured(QStringLiteral("valeur rouge 1,85"), pulse), 20, 1e-3);
    EXPECT_NEAR(measured(QStringLiteral("valeur bleu 0,424"), pulse), bump(0.42, 0.30), 1e-3);
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
    // The front is the farthest point that moved at all, not the farthest
    // one half a pixel high.
    RunOutputs foot;
    foot.ropeCsv = QStringLiteral("x (m);u (cm)\n2,98;0,9000\n2,99;0,0400\n3,00;0,0000\n3,01;0,0000\n");
    EXPECT_NEAR(measured(QStringLiteral("corde_front"), foot), 2.99, 1e-9);

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

// The rope's physics: v = √(T / µ), the calculation step the tick takes, the
// top of each shape, the markers' abscissas and the source's start.
TEST(ActivityFigures, ThePhysicsOfARopeComesFromItsConfiguration)
{
    auto value = [](const NamedValues& q, const char* name) {
        for (const auto& [n, v] : q)
            if (n == QLatin1String(name))
                return v;
        ADD_FAILURE() << name;
        return std::nan("");
    };
    ConfigRecords c;  // 0,9 N, 100 g/m, a symmetric pulse of 500 ms
    c.entries = {QStringLiteral("2,00"), QStringLiteral("100"), QStringLiteral("0,9"), QStringLiteral("20"),
                 QStringLiteral("500")};
    c.symmetric = true;
    c.blueMarker = 150;
    c.redMarker = -1;
    NamedValues q = physicalQuantities(c);
    EXPECT_NEAR(value(q, "celerite"), 3.0, 1e-12);
    EXPECT_NEAR(value(q, "masse_lineique"), 0.1, 1e-12);
    EXPECT_NEAR(value(q, "pas"), 0.05, 1e-12);
    EXPECT_NEAR(value(q, "montee"), 0.25, 1e-12);
    EXPECT_NEAR(value(q, "x_bleu"), 1.0, 1e-12);
    EXPECT_EQ(value(q, "x_rouge"), -1);
    EXPECT_EQ(value(q, "depart"), kSolitaryStart);
    EXPECT_NEAR(value(q, "longueur_onde"), 1.5, 1e-12);
    // A peak's date is known within half a step and half a column.
    EXPECT_NEAR(*samplingBound(QStringLiteral("sommet bleu 2"), q), 0.025 + 0.005 / 3, 1e-12);
    EXPECT_NEAR(*samplingBound(QStringLiteral("retard"), q), 0.05 + 0.01 / 3, 1e-12);
    EXPECT_NEAR(*samplingBound(QStringLiteral("debut rouge"), q), 0.05 + 0.005 / 3, 1e-12);
    EXPECT_FALSE(samplingBound(QStringLiteral("maximum bleu"), q));
    EXPECT_FALSE(samplingBound(QStringLiteral("phase"), q));

    // The asymmetric pulse peaks at a third of its duration, and its highest
    // sample may be two thirds of a step from the top.
    c.symmetric = false;
    c.entries[4] = QStringLiteral("100");
    q = physicalQuantities(c);
    EXPECT_NEAR(value(q, "montee"), 0.1 / 3, 1e-12);
    EXPECT_NEAR(value(q, "pas"), 0.01, 1e-12);
    EXPECT_NEAR(*samplingBound(QStringLiteral("sommet bleu"), q), 0.01 * 2 / 3 + 0.005 / 3, 1e-12);

    // The sine: a twentieth of its period, whole milliseconds, 100 ms at most;
    // its first deformation leaves after the start.
    c.wave = {false, false, true};
    c.entries[0] = QStringLiteral("1,00");
    q = physicalQuantities(c);
    EXPECT_NEAR(value(q, "pas"), 0.05, 1e-12);
    EXPECT_NEAR(value(q, "montee"), 0.25, 1e-12);
    EXPECT_NEAR(value(q, "longueur_onde"), 3.0, 1e-12);
    EXPECT_EQ(value(q, "depart"), kRepeatedStart);
    c.entries[0] = QStringLiteral("0,1");
    EXPECT_NEAR(value(physicalQuantities(c), "pas"), 0.1, 1e-12);
    c.entries[0] = QStringLiteral("3");
    EXPECT_NEAR(value(physicalQuantities(c), "pas"), 0.016, 1e-12);  // 33 ms halved: 16,5, rounded to even

    // A quotient carries the relative bound of its denominator; a
    // difference the sum of both.
    QString error;
    const NamedValues values{{QStringLiteral("t1"), 0.5833}, {QStringLiteral("t2"), 1.9167}, {QStringLiteral("tau"), 4.0 / 3}};
    const NamedValues bounds{{QStringLiteral("t1"), 0.03}, {QStringLiteral("t2"), 0.02}, {QStringLiteral("tau"), 0.05}};
    EXPECT_NEAR(*propagatedBound(QStringLiteral("t2 - t1"), values, bounds, &error), 0.05, 1e-9);
    EXPECT_NEAR(*propagatedBound(QStringLiteral("4,00 / tau"), values, bounds, &error),
                4 / (4.0 / 3 - 0.05) - 3, 1e-9);  // the larger side of the quotient
    EXPECT_NEAR(*propagatedBound(QStringLiteral("4,00 / tau"), values, bounds, &error) / 3, 0.05 / (4.0 / 3), 0.003);
    EXPECT_NEAR(*propagatedBound(QStringLiteral("2 * 3,6"), values, bounds, &error), 0, 1e-12);

    EXPECT_DOUBLE_EQ(statedRounding(QStringLiteral("0,58")), 0.005);
    EXPECT_DOUBLE_EQ(statedRounding(QStringLiteral("20")), 0.5);
    EXPECT_DOUBLE_EQ(statedRounding(QStringLiteral("2,0")), 0.05);
}

TEST(ActivityFigures, PhysicalValuesAreReadAndWeighedAgainstTheStatedFigure)
{
    QString error;
    const auto sheet = parseMeasures(
        QStringLiteral("[a]\ntolvi = --config A.P15\nt1 = 0,58 ± 0,03 : sommet bleu | depart + montee + x_bleu / celerite\n"
                       "haut = 20 ± 1 : maximum bleu | amplitude ± 0,6\ntau = 1,33 ± 0,03 : t1 * 2\n"
                       "t9 = 1 ± 0,03 : chrono | t1 + 1 ± pas\n"),
        &error);
    ASSERT_TRUE(sheet) << error.toStdString();
    EXPECT_EQ(sheet->find(QStringLiteral("t1"))->physics, QStringLiteral("depart + montee + x_bleu / celerite"));
    EXPECT_TRUE(sheet->find(QStringLiteral("t1"))->physicsBound.isEmpty());
    EXPECT_EQ(sheet->find(QStringLiteral("haut"))->physicsBound, QStringLiteral("0,6"));
    EXPECT_EQ(sheet->find(QStringLiteral("haut"))->method, QStringLiteral("maximum bleu"));
    EXPECT_TRUE(sheet->find(QStringLiteral("tau"))->physics.isEmpty());
    EXPECT_EQ(sheet->find(QStringLiteral("t9"))->physicsBound, QStringLiteral("pas"));

    struct Bad {
        const char* text;
        const char* says;
    } bad[] = {
        {"[a]\nt1 = 0,5 ± 0,1 : sommet bleu | celerity * 2", "celerity"},
        {"[a]\nt1 = 0,5 ± 0,1 : sommet bleu | t2", "t2"},
        {"[a]\nu = 20 ± 1 : maximum bleu | amplitude", "± écart"},
        {"[a]\nt1 = 0,5 ± 0,1 : sommet bleu |", "manquante"},
        {"[a]\nu = 2 ± 1 : valeur bleu", "DATE"},
    };
    for (const Bad& b : bad) {
        error.clear();
        EXPECT_FALSE(parseMeasures(QString::fromUtf8(b.text), &error)) << b.text;
        EXPECT_TRUE(error.contains(QString::fromUtf8(b.says))) << b.text << " -> " << error.toStdString();
    }

    // A stated figure agrees when the sampling's bound and its own rounding
    // cover the difference: 0,58 for 0,5833 within 0,025.
    MeasuredFigure r;
    r.figure = sheet->find(QStringLiteral("t1")) ? *sheet->find(QStringLiteral("t1")) : StatedFigure{};
    r.physical = 0.5833;
    r.bound = 0.025;
    EXPECT_TRUE(r.agreesWithPhysics());
    r.physical = 0.62;  // 0,04 away: more than 0,025 + 0,005
    EXPECT_FALSE(r.agreesWithPhysics());
    r.physical.reset();
    EXPECT_FALSE(r.agreesWithPhysics());
    r.measured = 0.6;
    EXPECT_TRUE(describe(r).contains(QStringLiteral("sans valeur physique")));
    r.physical = 0.5833;
    EXPECT_TRUE(describe(r).contains(QStringLiteral("annoncé 0,58")));
    EXPECT_TRUE(describe(r).contains(QStringLiteral("mesuré 0,6000")));
    EXPECT_TRUE(describe(r).contains(QStringLiteral("physique 0,5833 ± 0,0300")));
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
        // ... and what the physics of the rope gives, within the sampling.
        EXPECT_TRUE(r.agreesWithPhysics()) << describe(r).toStdString();
        exercises.insert(r.experiment.section(QLatin1Char(' '), 0, 0));
    }
    // Every corrected activity states its figures through a sheet.
    for (const char* name : {"CELERITE.E33", "TENSION.E33", "REFLEXIO.E33", "ONDESINU.E33", "PERIODIQ.E33",
                             "PROPAGE.E33", "QUALITE.E33", "ECHO.E33", "SIGNAL.E33", "INCERTA.E33", "PYTHON.E33",
                             "MODELSIN.E33"})
        EXPECT_TRUE(exercises.contains(QString::fromLatin1(name))) << name;
    EXPECT_GE(results.size(), 120u);

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
