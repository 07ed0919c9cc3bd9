// The main window drawn at a device pixel ratio of 2: the same layout and
// colours, the pictures at the finer resolution.
#include "mainwin/image_button.h"
#include "mainwin/tool_icons.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "window_fixture.h"

#include <QPainter>

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

// The part of `shot` (drawn at `scale`) under a whole child widget.
QImage under(const QImage& shot, const QWidget* child, const QWidget* window, double scale)
{
    return shot.copy(QRect(child->mapTo(window, QPoint(0, 0)) * scale, child->size() * scale))
        .convertToFormat(QImage::Format_RGB32);
}

// `picture` as a 1-unit-per-pixel image enlarged to `scale` by doubling
// pixels: what a picture drawn at one device pixel per unit would show.
QImage doubled(const QPixmap& picture, double scale)
{
    const QImage unit = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    return unit.scaled(unit.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}
}  // namespace

TEST_F(WindowTest, AtScaleTwoThePauseAndExercisePicturesAreDrawnFinely)
{
    window->Form_Load();
    ImageButton* const pause = window->command16();
    ImageButton* const btexo = window->btexo();
    const auto expected = [&](ImageButton* button, const QPixmap& picture) {
        // What the window shows there without the button, with the picture over it.
        button->hide();
        QImage image = under(window->snapshot(2.0), button, window.get(), 2.0);
        button->show();
        QPainter p(&image);
        p.drawPixmap(0, 0, picture);
        return image;
    };
    for (const bool running : {true, false}) {
        if (sim.controls().timerEnabled != running)
            sim.command16_Click();
        const QPixmap fine = icons::pause(running, 2.0);
        ASSERT_EQ(fine.size(), QSize(48, 48));
        EXPECT_EQ(under(window->snapshot(2.0), pause, window.get(), 2.0), expected(pause, fine)) << running;
        // Real detail: not the picture at one device pixel per unit with its pixels doubled.
        EXPECT_NE(fine.toImage().convertToFormat(QImage::Format_ARGB32), doubled(icons::pause(running), 2.0))
            << running;
    }
    const QPixmap tab = exerciseButtonPixmap(btexo->size(), 2.0);
    EXPECT_EQ(tab.deviceIndependentSize().toSize(), btexo->size());
    EXPECT_EQ(under(window->snapshot(2.0), btexo, window.get(), 2.0), expected(btexo, tab));
    EXPECT_NE(tab.toImage().convertToFormat(QImage::Format_ARGB32),
              doubled(exerciseButtonPixmap(btexo->size()), 2.0));
    // The edges of the tab keep their unit pixels: white at the top left,
    // black at the bottom right, at both resolutions.
    const QImage unitTab = exerciseButtonPixmap(btexo->size()).toImage();
    const QImage fineTab = tab.toImage();
    for (const QPoint& at : {QPoint(0, 0), QPoint(5, 0), QPoint(btexo->width() - 1, 3),
                             QPoint(3, btexo->height() - 1), QPoint(btexo->width() - 2, 4)})
        for (const QPoint& d : {QPoint(0, 0), QPoint(1, 1)})
            EXPECT_EQ(fineTab.pixelColor(2 * at + d), unitTab.pixelColor(at)) << at.x() << "," << at.y();
    // Back at one device pixel per unit, the window shows the plain pictures.
    const QImage unit = window->snapshot();
    EXPECT_EQ(under(unit, btexo, window.get(), 1.0), unitTab.convertToFormat(QImage::Format_RGB32));
}

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
