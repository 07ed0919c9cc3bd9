#include "mainwin/panel_painters.h"
#include "mainwin/tab_strip.h"
#include "window_fixture.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>

using namespace tolvi;
using tolvi::testing::WindowTest;

namespace {

// The bounds as the strip's rule defines them, from the font's metrics.
std::array<int, 4> expectedBounds(QPaintDevice* device, int W, int current)
{
    QFont normal(QStringLiteral("Arial"));
    normal.setPointSize(8);
    QFont bold = normal;
    bold.setBold(true);
    const QString texts[4] = {QString(), QStringLiteral("Corde"), QStringLiteral("Onde"), QStringLiteral("Outils")};
    int widths[4] = {0, 0, 0, 0};
    int total = 0;
    for (int k = 1; k <= 3; ++k) {
        widths[k] = QFontMetrics(k == current ? bold : normal, device).horizontalAdvance(texts[k]);
        total += widths[k];
    }
    const double g = (W - total) / 6.0;
    std::array<int, 4> b{};
    b[0] = -1;
    b[1] = int(std::nearbyint(b[0] + widths[1] + 2 * g));
    b[2] = int(std::nearbyint(b[1] + widths[2] + 2 * g));
    b[3] = W;
    return b;
}

}  // namespace

TEST_F(WindowTest, TabBoundsComeFromTheFontAndTheCurrentTabIsMeasuredInBold)
{
    TabStrip* strip = window->onglets();
    ASSERT_EQ(strip->width(), 417);
    for (int current = 1; current <= 3; ++current) {
        window->selectTab(current);
        ASSERT_EQ(strip->currentTab(), current);
        const TabGeometry g = strip->geometry();
        const auto expected = expectedBounds(strip, 417, current);
        for (int k = 0; k <= 3; ++k)
            EXPECT_EQ(g.bounds[std::size_t(k)], expected[std::size_t(k)]) << "tab " << current << " bound " << k;
        EXPECT_EQ(g.bounds[4], 0);
        EXPECT_EQ(g.bounds[5], 0);
        EXPECT_EQ(g.h, QFontMetrics(tabFont(), strip).height());
    }
    // Measuring the current tab in bold moves the boundaries.
    window->selectTab(1);
    const auto first = strip->geometry().bounds;
    window->selectTab(3);
    const auto third = strip->geometry().bounds;
    EXPECT_NE(first[1], third[1]);
}

TEST_F(WindowTest, TabReleasesChooseByColumnOnlyInTheTabRow)
{
    TabStrip* strip = window->onglets();
    window->selectTab(1);
    const TabGeometry g = strip->geometry();
    const int b1 = g.bounds[1];

    strip->Onglets_MouseUp(b1 + 1, 16);  // below row 15: nothing
    EXPECT_EQ(strip->currentTab(), 1);
    strip->Onglets_MouseUp(b1 + 1, -1);
    EXPECT_EQ(strip->currentTab(), 1);
    strip->Onglets_MouseUp(b1, 15);      // the boundary column belongs to the left tab
    EXPECT_EQ(strip->currentTab(), 1);
    strip->Onglets_MouseUp(b1 + 0.5, 15);
    EXPECT_EQ(strip->currentTab(), 2);
    strip->Onglets_MouseUp(416, 0);      // last column: tab 3
    EXPECT_EQ(strip->currentTab(), 3);

    // Released right of the strip after pressing in it: no tab, drawn as the
    // first one with its panel.
    strip->Onglets_MouseUp(500, 5);
    EXPECT_EQ(strip->currentTab(), 0);
    EXPECT_EQ(window->currentTab(), 1);
    window->snapshot();  // paints
    EXPECT_EQ(strip->currentTab(), 1);
    EXPECT_FALSE(window->picture3()->isHidden());
    EXPECT_TRUE(window->frame2()->isHidden());
    EXPECT_TRUE(window->picture1()->isHidden());
}

TEST_F(WindowTest, EachTabShowsOnlyItsPanelInThePanelArea)
{
    QWidget* panels[4] = {nullptr, window->picture3(), window->frame2(), window->picture1()};
    for (int tab = 1; tab <= 3; ++tab) {
        window->selectTab(tab);
        const int h = window->onglets()->geometry().h;
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(panels[k]->isHidden(), k != tab) << "tab " << tab << " panel " << k;
        EXPECT_EQ(panels[tab]->geometry(), QRect(4, h + 5, 417 - 8, 199 - 4 - (h + 5)));
    }
}

TEST_F(WindowTest, TabStripOutlineAndTextsArePaintedForTheCurrentTab)
{
    window->selectTab(2);
    const QImage shot = window->onglets()->grab().toImage();
    const TabGeometry g = window->onglets()->geometry();
    const QColor white(255, 255, 255), grey(128, 128, 128);
    const int h = g.h;
    EXPECT_EQ(shot.pixelColor(0, 100), white);           // white left edge over the grey outline
    EXPECT_EQ(shot.pixelColor(416, 100), grey);          // grey right edge
    EXPECT_EQ(shot.pixelColor(g.bounds[1], h / 2), white);       // the tabs' separators
    EXPECT_EQ(shot.pixelColor(g.bounds[1] - 1, h / 2), grey);
    // The bottom line of the tab row is open under the current tab.
    EXPECT_EQ(shot.pixelColor(g.bounds[1] - 5, h + 1), white);
    EXPECT_NE(shot.pixelColor((g.bounds[1] + g.bounds[2]) / 2, h + 1), white);
    EXPECT_EQ(shot.pixelColor(g.bounds[2] + 5, h + 1), white);
    // Every tab's text is written between its bounds.
    for (int k = 1; k <= 3; ++k) {
        int dark = 0;
        for (int x = g.bounds[std::size_t(k - 1)] + 2; x < g.bounds[std::size_t(k)] - 1; ++x)
            for (int y = 1; y <= h; ++y)
                dark += qGray(shot.pixel(x, y)) < 100;
        EXPECT_GT(dark, 10) << "tab " << k;
    }
}
