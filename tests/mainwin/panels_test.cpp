#include "mainwin/panel_painters.h"
#include "mainwin/param_box.h"
#include "mainwin/perturbation_panel.h"
#include "mainwin/rope_panel.h"
#include "measure/tools_panel.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QRadioButton>

using namespace tolvi;
using tolvi::testing::WindowTest;

namespace {

int widthOf(const QString& text, QFont font, QPaintDevice* device, bool italic = false)
{
    font.setItalic(italic);
    return QFontMetrics(font, device).horizontalAdvance(text);
}

}  // namespace

TEST_F(WindowTest, RopePanelMovesItsBoxesAfterTheirLabels)
{
    window->selectTab(1);
    RopePanel* panel = window->picture3();
    panel->grab();  // a repaint
    const QFont font = panelFont();

    int left = 24;
    for (const QString& piece : {QStringLiteral("Masse linéïque (50 g · m"), QStringLiteral("-1"),
                                 QStringLiteral(" à 500 g · m"), QStringLiteral("-1"), QStringLiteral(") : µ = ")})
        left += widthOf(piece, font, panel);
    EXPECT_EQ(panel->textfreq(TfMasse)->geometry(), QRect(left, 104, 57, 19));

    const int tensionLeft = 24 + widthOf(QStringLiteral("Tension de la corde (0,1 N à 10 N) : "), font, panel) +
                            widthOf(QStringLiteral("T"), font, panel, true) +
                            widthOf(QStringLiteral(" = "), font, panel);
    EXPECT_EQ(panel->textfreq(TfTension)->geometry(), QRect(tensionLeft, 128, 57, 19));

    // Option buttons keep the panel's colour after the strip shows the panel again.
    window->selectTab(2);
    window->selectTab(1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(panel->optbout(i)->palette().color(QPalette::Window), QColor(240, 235, 230));
    EXPECT_EQ(panel->optbout(0)->text(), QStringLiteral("Extrémité liée à un amortisseur"));
    EXPECT_TRUE(panel->optbout(0)->isChecked());

    // The picture: panel colour, and the unit's raised "-1" three pixels above the line.
    const QImage shot = panel->grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(240, 235, 230));
}

TEST_F(WindowTest, PerturbationPanelPlacesItsEntries)
{
    window->selectTab(2);
    PerturbationPanel* panel = window->frame2();
    panel->grab();
    const QFont font = panelFont();
    const int amplitude = 24 + widthOf(QStringLiteral("Amplitude de la déformation (1 cm à 40 cm) : "), font, panel) +
                          widthOf(QStringLiteral("A"), font, panel, true) +
                          widthOf(QStringLiteral(" = "), font, panel);
    EXPECT_EQ(panel->textfreq(TfAmplitude)->geometry(), QRect(amplitude, 12, 57, 19));

    QFont greek(QStringLiteral("Symbol"));
    greek.setPointSize(8);
    const int duree = 24 + widthOf(QStringLiteral("Durée de la déformation (100 ms à 1 000 ms) : "), font, panel) +
                      widthOf(QStringLiteral("\u0394"), greek, panel) + widthOf(QStringLiteral("t"), font, panel, true) +
                      widthOf(QStringLiteral(" = "), font, panel);
    EXPECT_EQ(panel->textfreq(TfDuree)->geometry(), QRect(duree, 36, 57, 19));
    EXPECT_EQ(panel->textfreq(TfFrequence)->geometry(), QRect(344, 124, 41, 19));  // does not move

    // The font the Greek letters are written in has them.
    EXPECT_TRUE(QFontMetrics(greek).inFont(QChar(0x0394)));
    EXPECT_TRUE(QFontMetrics(greek).inFont(QChar(0x03C5)));

    EXPECT_EQ(panel->optpert(1)->text(), QStringLiteral("Onde périodiqe"));
    EXPECT_EQ(panel->checksi()->text(), QStringLiteral("Déformation symétrique"));

    // The brace: its vertical stroke at column 175 from row 119 to 149, the tick to 178.
    const QImage shot = panel->grab().toImage();
    for (int y = 121; y <= 147; ++y)
        EXPECT_EQ(shot.pixelColor(175, y), QColor(0, 0, 0)) << y;
    EXPECT_EQ(shot.pixelColor(178, 134), QColor(0, 0, 0));
    EXPECT_EQ(shot.pixelColor(178, 130), QColor(240, 235, 230));
}

TEST_F(WindowTest, ToolsPanelShowsDurationAndMarkerAbscissas)
{
    window->Form_Load();
    window->selectTab(3);
    ToolsPanel* panel = window->picture1();
    sim.Timer1_Timer();
    EXPECT_EQ(panel->labelg()->text(), QStringLiteral("10 s"));
    EXPECT_EQ(panel->labeli(0)->text(), QStringLiteral("2,5 m"));
    EXPECT_EQ(panel->labeli(1)->text(), QStringLiteral("3,75 m"));
    EXPECT_EQ(panel->labeli(0)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(panel->labeli(1)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    // A marker moved, taken off, put back: the texts follow at the next tick.
    sim.setMarqueBleue(123);
    sim.Timer1_Timer();
    EXPECT_EQ(panel->labeli(0)->text(), QStringLiteral("0,73 m"));
    sim.setMarqueRouge(Simulation::kNoMarker);
    sim.Timer1_Timer();
    EXPECT_EQ(panel->labeli(1)->text(), QString());
    sim.setMarqueRouge(425);
    sim.Timer1_Timer();
    EXPECT_EQ(panel->labeli(1)->text(), QStringLiteral("3,75 m"));
    EXPECT_EQ(panel->labeli(0)->text(), QStringLiteral("0,73 m"));

    // The prefixes end at the labels' left edges, in the labels' colours.
    const QImage shot = panel->grab().toImage();
    QFont bold = panelFont();
    bold.setBold(true);
    const QRect label0 = panel->labeli(0)->geometry();
    const int start = label0.left() - widthOf(QStringLiteral("x1 = "), bold, panel);
    int blue = 0;
    for (int x = start; x < label0.left(); ++x)
        for (int y = label0.top(); y < label0.bottom() + 4; ++y) {
            const QColor c = shot.pixelColor(x, y);
            blue += c.blue() > 150 && c.red() < 120;
        }
    EXPECT_GT(blue, 10);
    for (int y = label0.top() - 4; y < label0.bottom() + 4; ++y)  // nothing left of the prefix
        EXPECT_EQ(shot.pixelColor(start - 2, y).blue() > 150 && shot.pixelColor(start - 2, y).red() < 120, false);

    panel->check1()->click();
    EXPECT_TRUE(sim.controls().check1);
    panel->check2()->click();
    EXPECT_TRUE(sim.controls().check2);
}
