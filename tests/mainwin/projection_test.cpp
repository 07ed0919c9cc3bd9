// Read from the back of a classroom: the projection layout of a full wide
// screen, the enlarged outlined markers and the graph's curves once zoomed.
#include "mainwin/image_button.h"
#include "mainwin/layout.h"
#include "mainwin/pacing_controls.h"
#include "mainwin/projection_layout.h"
#include "mainwin/zoom.h"
#include "mainwin/zoom_commands.h"
#include "measure/chronometer_controls.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "sim/rope_painter.h"
#include "window_fixture.h"

#include <algorithm>
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>
#include <QTextEdit>
#include <cmath>
#include <gtest/gtest.h>

using namespace tolvi;
using namespace tolvi::testing;

namespace {
// WCAG relative luminance and contrast ratio.
double linear(double c)
{
    c /= 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double luminance(const QColor& c)
{
    return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}
double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
// A deuteranope's view of a colour (Viénot, Brettel and Mollon 1999, in
// linear RGB).
QColor deuteranope(const QColor& c)
{
    const double r = linear(c.red()), g = linear(c.green()), b = linear(c.blue());
    const double r2 = 0.29275 * r + 0.70725 * g;
    const double g2 = 0.29275 * r + 0.70725 * g;
    const double b2 = -0.02234 * r + 0.02234 * g + b;
    const auto back = [](double v) {
        v = std::clamp(v, 0.0, 1.0);
        return int(std::lround(255.0 * (v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055)));
    };
    return QColor(back(r2), back(g2), back(b2));
}

// Rows of `image` holding a pixel darker than `threshold` (the text's ink).
int inkHeight(const QImage& image, int threshold)
{
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < threshold) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
    return top < 0 ? 0 : bottom - top + 1;
}
}  // namespace

TEST(MarkerColours, TheOutlineStandsOutOnTheRopeAlsoForADeuteranope)
{
    for (const QColor& fill : {qbColor(9), qbColor(12)}) {
        // The outline around each marker, on the rope.
        EXPECT_GE(contrast(kMarkerOutline, ropecolors::kRope), 4.5);
        EXPECT_GE(contrast(deuteranope(kMarkerOutline), deuteranope(ropecolors::kRope)), 4.5);
        // And the fill against its own outline.
        EXPECT_GE(contrast(fill, kMarkerOutline), 2.0) << fill.name().toStdString();
    }
    // Without the outline, red on the rope is too faint: why it is there.
    EXPECT_LT(contrast(qbColor(12), ropecolors::kRope), 4.5);
    EXPECT_LT(contrast(deuteranope(qbColor(12)), deuteranope(ropecolors::kRope)), 4.5);
}

TEST_F(WindowTest, ZoomedMarkersAreThreeTimesLargerWithADarkOutlineAndCurvesTwoPixelsWide)
{
    window->Form_Load();
    sim.setMarqueBleue(300);
    sim.setMarqueRouge(425);
    window->setZoom(1.8);
    const QImage rope = window->animpic()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const double k = 1.8 * rope.devicePixelRatio();
    for (const int column : {300, 425}) {
        // Along the rope's row through the marker: the marker's pixels
        // (not the yellow rope) across its width.
        const int y = int(std::lround((PictureBox::origin().y() + 54 + 0.5) * k));
        const int centre = int(std::lround((PictureBox::origin().x() + column + 0.5) * k));
        int left = centre, right = centre;
        const auto notRope = [&](int x) { return QColor(rope.pixel(x, y)) != ropecolors::kRope; };
        while (left > 0 && notRope(left - 1))
            --left;
        while (right < rope.width() - 1 && notRope(right + 1))
            ++right;
        const double across = (right - left + 1) / k;
        EXPECT_GE(across, 3.0 * 3.0 - 0.5) << "three times the 3-unit dot, column " << column;
        EXPECT_LE(across, 14.0);
        // The darkest pixel at the marker's edge: its outline.
        QColor darkest(255, 255, 255);
        for (int x = left; x <= left + int(2 * k); ++x)
            if (qGray(rope.pixel(x, y)) < qGray(darkest.rgb()))
                darkest = QColor(rope.pixel(x, y));
        EXPECT_GE(contrast(darkest, ropecolors::kRope), 4.5) << darkest.name().toStdString();
        EXPECT_GE(contrast(deuteranope(darkest), deuteranope(ropecolors::kRope)), 4.5);
    }

    // The graph's flat curve before the wave reaches the markers.
    sim.Command6_Click();
    sim.advance(0.5);
    const QImage graph = window->picture2()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const double g = 1.8 * graph.devicePixelRatio();
    const int x = int(std::lround((PictureBox::origin().x() + 36) * g));
    int blue = 0;
    for (int y = 0; y < graph.height(); ++y)
        blue += QColor(graph.pixel(x, y)) == qbColor(9) || QColor(graph.pixel(x, y)) == qbColor(12);
    EXPECT_GE(blue, 2) << "device pixels across the curve";
    window->setZoom(1.0);
}

TEST_F(WindowTest, OnAWideScreenTheProjectionLayoutShowsRopeGraphAndControlsInLargeType)
{
    window->Form_Load();
    window->selectTab(3);
    ZoomCommands commands(*window);
    commands.setProjectionPreferred(true);
    EXPECT_TRUE(commands.projectionAction()->isChecked());
    // Not a wide screen: the whole window, zoomed.
    commands.enterFullScreen(QRect(0, 0, 1280, 1024), false);
    EXPECT_EQ(commands.mode(), ZoomCommands::Mode::FullWindow);
    EXPECT_TRUE(window->onglets()->isVisibleTo(window.get()));
    commands.leaveFullScreen();

    const QRect screen(0, 0, 1920, 1080);
    commands.enterFullScreen(screen, false);
    ASSERT_EQ(commands.mode(), ZoomCommands::Mode::Projection);
    ProjectionLayout* projection = commands.projection();
    ASSERT_NE(projection, nullptr);
    const QRect rope = window->animpic()->geometry();
    const QRect graph = window->picture2()->geometry();
    EXPECT_GE(rope.width(), 1880);
    EXPECT_GE(graph.width(), 1880);
    EXPECT_GE(graph.top(), rope.bottom());
    EXPECT_FALSE(window->onglets()->isVisibleTo(window.get()));
    EXPECT_FALSE(window->supertext()->isVisibleTo(window.get()));
    QList<QWidget*> controls{window->demar(), window->command16(), window->pacing()->pasAPas(),
                             window->pacing()->ralenti(), window->command6(), window->chronometer()->label4(),
                             window->chronometer()->command5(), window->chronometer()->command3(),
                             projection->abscissa(0), projection->abscissa(1), projection->backButton()};
    for (QWidget* w : controls) {
        EXPECT_TRUE(w->isVisibleTo(window.get())) << w->objectName().toStdString();
        EXPECT_GE(w->geometry().top(), graph.bottom()) << w->objectName().toStdString();
        EXPECT_TRUE(screen.contains(w->geometry())) << w->objectName().toStdString();
        for (QWidget* other : controls) {
            if (other != w) {
                EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                    << w->objectName().toStdString() << " over " << other->objectName().toStdString();
            }
        }
    }
    // The screen is used down to its bottom: no band left empty under the
    // last row beyond a tenth of its height.
    int lowest = 0;
    for (QWidget* w : controls)
        lowest = std::max(lowest, w->geometry().bottom());
    EXPECT_GE(lowest, screen.height() * 9 / 10);
    EXPECT_EQ(projection->abscissa(0)->text(), QStringLiteral("x1 = 2,5 m"));
    EXPECT_EQ(projection->abscissa(1)->text(), QStringLiteral("x2 = 3,75 m"));
    sim.setMarqueBleue(Simulation::kNoMarker);
    sim.Timer1_Timer();
    EXPECT_EQ(projection->abscissa(0)->text(), QStringLiteral("x1 : pas de marqueur"));

    // Digits at least 28 pixels high: by the font, and by the ink drawn.
    for (QLabel* digits : {window->chronometer()->label4(), projection->abscissa(1)}) {
        const QFontMetrics metrics(digits->font(), digits);
        EXPECT_GE(metrics.tightBoundingRect(QStringLiteral("0123456789")).height(), 28)
            << digits->objectName().toStdString();
    }
    sim.Command3_Click();
    sim.advance(1.0);
    const QImage chrono = window->chronometer()->label4()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_GE(inkHeight(chrono, 100) / chrono.devicePixelRatio(), 28.0) << window->chronometer()->label4()->text().toStdString();

    // The button back to the whole window, with the tabs.
    QTest::mouseClick(projection->backButton(), Qt::LeftButton);
    EXPECT_EQ(commands.mode(), ZoomCommands::Mode::FullWindow);
    EXPECT_FALSE(commands.projectionAction()->isChecked());
    EXPECT_TRUE(window->onglets()->isVisibleTo(window.get()));
    EXPECT_FALSE(projection->backButton()->isVisibleTo(window.get()));
    EXPECT_EQ(window->animpic()->geometry(), zoom::scaled(layout::kAnimpic, 1.8, QPointF(240, 0)));
    // F9 back to the projection, Échap out of full screen: every control
    // where the design puts it.
    commands.projectionAction()->trigger();
    EXPECT_EQ(commands.mode(), ZoomCommands::Mode::Projection);
    commands.escapeAction()->trigger();
    EXPECT_EQ(commands.mode(), ZoomCommands::Mode::Window);
    EXPECT_EQ(window->animpic()->geometry(), layout::kAnimpic);
    EXPECT_EQ(window->demar()->geometry(), layout::kDemar);
    EXPECT_EQ(window->chronometer()->label4()->geometry(), layout::kLabel4);
    EXPECT_EQ(window->chronometer()->label4()->font(), window->font());
    EXPECT_TRUE(window->onglets()->isVisibleTo(window.get()));
    EXPECT_TRUE(window->supertext()->isVisibleTo(window.get()));
    EXPECT_FALSE(projection->abscissa(0)->isVisibleTo(window.get()));
}
