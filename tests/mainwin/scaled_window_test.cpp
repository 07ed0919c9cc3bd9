// The main window drawn at a device pixel ratio of 2: the same layout and
// colours, the pictures at the finer resolution.
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "window_fixture.h"

#include <gtest/gtest.h>

using namespace tolvi;
using namespace tolvi::testing;

namespace {
// The part of `shot` (drawn at `scale`) under the inside of a picture box.
QImage insideOf(const QImage& shot, const QWidget* box, const QWidget* window, double scale)
{
    const QPoint at = box->mapTo(window, PictureBox::origin());
    const QSize size = box->size() - QSize(4, 4);
    return shot.copy(QRect(at * scale, size * scale));
}
}  // namespace

TEST_F(WindowTest, AtScaleTwoTheWindowKeepsItsLayoutAndDrawsItsPicturesFinely)
{
    window->Form_Load();
    sim.demar_Click();
    sim.Command6_Click();
    sim.advance(1.0);
    const QImage unit = window->snapshot();
    const QImage fine = window->snapshot(2.0);
    ASSERT_EQ(fine.size(), QSize(1600, 1200));
    EXPECT_EQ(fine.devicePixelRatio(), 2.0);
    // The painted background: the same colours in the same places.
    for (const QPoint& p : {QPoint(2, 300), QPoint(2, 599), QPoint(400, 590)})
        EXPECT_EQ(fine.pixelColor(2 * p + QPoint(1, 1)), unit.pixelColor(p)) << p.x() << "," << p.y();

    // The pictures are those of the simulation at scale 2, not enlarged.
    const QImage rope = insideOf(fine, window->animpic(), window.get(), 2.0);
    const QImage ropeFine = sim.ropeImage(2.0).copy(QRect(QPoint(0, 0), rope.size()));
    EXPECT_EQ(rope.convertToFormat(QImage::Format_RGB32), ropeFine.convertToFormat(QImage::Format_RGB32));
    const QImage graph = insideOf(fine, window->picture2(), window.get(), 2.0);
    const QImage graphFine = sim.graphImage(2.0).copy(QRect(QPoint(0, 0), graph.size()));
    EXPECT_EQ(graph.convertToFormat(QImage::Format_RGB32), graphFine.convertToFormat(QImage::Format_RGB32));
    // And at one device pixel per unit the window still shows the plain ones.
    const QImage ropeUnit = insideOf(unit, window->animpic(), window.get(), 1.0);
    EXPECT_EQ(ropeUnit.convertToFormat(QImage::Format_RGB32),
              sim.ropeImage().copy(QRect(QPoint(0, 0), ropeUnit.size())).convertToFormat(QImage::Format_RGB32));
}
