// Motions given to the source (a table of (t, u), a formula of t) and the
// spectrum of a recording, where a ringing rope shows its modes.
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"
#include "sim/source_drive.h"
#include "sim/spectrum.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace tolvi;

TEST(SourceMotion, TablesAreReadTheFrenchOrTheEnglishWayAndRefusedWithAReason)
{
    QString why;
    const auto table = tableMotion(QStringLiteral("t (s);u (cm)\n# une montée\n0;0\n0,5;10\r\n1.5 -10\n2\t0\n"), &why);
    ASSERT_TRUE(table) << why.toStdString();
    EXPECT_EQ((*table)(-1.0), 0.0);
    EXPECT_DOUBLE_EQ((*table)(0.25), 5.0);
    EXPECT_DOUBLE_EQ((*table)(1.0), 0.0);
    EXPECT_DOUBLE_EQ((*table)(1.75), -5.0);
    EXPECT_EQ((*table)(9.0), 0.0);  // the last value held

    EXPECT_FALSE(tableMotion(QStringLiteral("0;0\n1;x\n"), &why));
    EXPECT_EQ(why, QStringLiteral("ligne 2 illisible : deux nombres t et u sont attendus"));
    EXPECT_FALSE(tableMotion(QStringLiteral("0;0\n1;1\n0,5;2\n"), &why));
    EXPECT_EQ(why, QStringLiteral("ligne 3 : les temps doivent aller croissant"));
    EXPECT_FALSE(tableMotion(QStringLiteral("t;u\n"), &why));
    EXPECT_FALSE(tableMotion(QStringLiteral("0;1;2\n"), &why));
    EXPECT_FALSE(tableMotion(QStringLiteral("0;inf\n"), &why));
}

TEST(SourceMotion, FormulasOfTAreTheCalculatorsInRadiansAndTIsNotALetterOfAFunction)
{
    QString why;
    const auto sine = formulaMotion(QStringLiteral("10*SIN(2*3.14159265358979*t)"), &why);
    ASSERT_TRUE(sine) << why.toStdString();
    EXPECT_NEAR((*sine)(0.25), 10.0, 1e-6);
    EXPECT_NEAR((*sine)(0.75), -10.0, 1e-6);
    const auto tangent = formulaMotion(QStringLiteral("TAN(t)+T"), &why);
    ASSERT_TRUE(tangent) << why.toStdString();
    EXPECT_NEAR((*tangent)(0.5), std::tan(0.5) + 0.5, 1e-6);
    const auto comma = formulaMotion(QStringLiteral("2,5*t"), &why);
    ASSERT_TRUE(comma);
    EXPECT_NEAR((*comma)(2.0), 5.0, 1e-9);
    EXPECT_FALSE(formulaMotion(QStringLiteral("3*(t"), &why));
    EXPECT_FALSE(formulaMotion(QStringLiteral(""), &why));
    // A value the calculator cannot give is a source at rest, not a crash.
    const auto odd = formulaMotion(QStringLiteral("1/(t-1)"), &why);
    ASSERT_TRUE(odd);
    EXPECT_EQ((*odd)(1.0), 0.0);
}

TEST(SourceMotion, AGivenMotionTravelsAlongTheRopeAtTheSpeedOfTheRope)
{
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim{messages, random};
    sim.readParameters();
    sim.selectOptpert(OndeSolitaire);
    QString why;
    auto ramp = tableMotion(QStringLiteral("0;0\n0,2;20\n0,4;0\n"), &why);
    ASSERT_TRUE(ramp);
    sim.setMouvementSource(std::move(*ramp));
    // 2 m/s: the top (0,2 s) is 1 m out after 0,7 s.
    double t = 0.0;
    while (t < 0.7 - 1e-9) {
        sim.Timer1_Timer();
        t += sim.controls().timerInterval / 1000.0;
    }
    const auto& u = sim.state().deplacement;
    EXPECT_NEAR(u[150], 20.0, 1e-9);
    EXPECT_NEAR(u[130], 10.0, 1e-9);  // 0,1 s after the top
    EXPECT_EQ(u[50], 0.0);
    EXPECT_EQ(u[200], 0.0);
    sim.setMouvementSource(nullptr);
    sim.Timer1_Timer();
    EXPECT_EQ(u[150], 0.0);
}

TEST(Spectrum, LinesStandAtTheFrequenciesARecordingHoldsWithTheirAmplitudes)
{
    // 0,05 s apart over 20 s: 3 cm at 0,5 Hz and 1 cm at 1,5 Hz (blue), the
    // red marker absent.
    std::vector<GraphPoint> points;
    const double pi = std::acos(-1.0);
    for (int i = 0; i < 400; ++i) {
        const double t = 0.05 * i;
        points.push_back({t, 2.0 + 3.0 * std::sin(pi * t) + std::cos(3.0 * pi * t + 0.3), std::nullopt});
    }
    const auto lines = spectrum(points);
    ASSERT_EQ(lines.size(), 200u);
    EXPECT_NEAR(lines[9].f, 0.5, 1e-9);
    EXPECT_NEAR(*lines[9].bleu, 3.0, 1e-9);
    EXPECT_NEAR(*lines[29].bleu, 1.0, 1e-9);
    EXPECT_NEAR(*lines[10].bleu, 0.0, 1e-9);
    EXPECT_FALSE(lines[9].rouge);
    const QString csv = spectrumCsv(points);
    EXPECT_TRUE(csv.startsWith(QStringLiteral("f (Hz);A1 (cm);A2 (cm)\n0,0500;0,0000;\n")));
    EXPECT_TRUE(csv.contains(QStringLiteral("\n0,5000;3,0000;\n")));
    EXPECT_TRUE(spectrum({points.begin(), points.begin() + 3}).empty());
}
