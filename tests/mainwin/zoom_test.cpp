// The window's zoom: every control at zoom × its designed place and font,
// the pictures drawn at the zoom, nothing changed at zoom 1; the zoom
// commands and "Plein écran" on the window itself.
#include "mainwin/layout.h"
#include "mainwin/projection_layout.h"
#include "mainwin/zoom.h"
#include "mainwin/zoom_commands.h"
#include "measure/chronometer_controls.h"
#include "measure/graph_picture.h"
#include "measure/rope_picture.h"
#include "measure/tools_panel.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QStyle>
#include <QApplication>
#include <QScreen>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>
#include <QAbstractTextDocumentLayout>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <map>

using namespace tolvi;
using namespace tolvi::testing;

namespace {
struct Placed {
    QRect geometry;  // in its parent
    int fontPixels;
};

// Every control inside the window (not the windows it owns, not the inner
// parts of scroll areas), with its geometry and font.
std::map<QWidget*, Placed> controlsOf(QWidget* window)
{
    std::map<QWidget*, Placed> all;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->isWindow() || w->window() != window)
            continue;
        bool inner = false;
        for (QWidget* up = w->parentWidget(); up && up != window; up = up->parentWidget())
            if (up->inherits("QAbstractScrollArea") || up->inherits("QAbstractSpinBox") || up->inherits("QComboBox"))
                inner = true;
        if (!inner)
            all[w] = {w->geometry(), QFontInfo(w->font()).pixelSize()};
    }
    return all;
}

QImage rgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}
}  // namespace

TEST(ZoomRules, ScaledPlacesScreensThatHoldTheWindowAndFullScreenPlans)
{
    // Edges rounded, so that neighbours stay neighbours.
    EXPECT_EQ(zoom::scaled(QRect(8, 48, 790, 110), 1.0), QRect(8, 48, 790, 110));
    EXPECT_EQ(zoom::scaled(QRect(8, 48, 790, 110), 2.0), QRect(16, 96, 1580, 220));
    EXPECT_EQ(zoom::scaled(QRect(120, 0, 113, 41), 1.8, QPointF(240, 0)), QRect(456, 0, 203, 74));
    EXPECT_EQ(zoom::scaled(QRect(121, 0, 113, 41), 1.8, QPointF(240, 0)).left(),
              zoom::scaled(QRect(0, 0, 121, 41), 1.8, QPointF(240, 0)).right() + 1);
    EXPECT_EQ(zoom::toDesign(QRect(3, 3, 10, 10), 2.0), QRect(1, 1, 6, 6));
    EXPECT_EQ(zoom::toWidget(QRegion(1, 1, 3, 3), 1.5).boundingRect(), QRect(1, 1, 5, 5));

    const QSize client(800, 600);
    const QSize frame(10, 36);
    EXPECT_TRUE(fitsOnScreen(QRect(0, 0, 1920, 1050), client, frame));
    EXPECT_FALSE(fitsOnScreen(QRect(0, 30, 960, 510), client, frame));
    EXPECT_DOUBLE_EQ(fittingScale(QSize(1920, 1080), client), 1.8);
    EXPECT_DOUBLE_EQ(fittingScale(QSize(1280, 1024), client), 1.6);
    EXPECT_DOUBLE_EQ(fittingScale(QSize(), client), 1.0);

    // Full screen: the largest zoom, the layout centred.
    const FullScreenPlan wide = fullScreenPlan(QSize(1920, 1080));
    EXPECT_DOUBLE_EQ(wide.zoom, 1.8);
    EXPECT_EQ(wide.at, QPointF(240, 0));
    const FullScreenPlan square = fullScreenPlan(QSize(1280, 1024));
    EXPECT_DOUBLE_EQ(square.zoom, 1.6);
    EXPECT_EQ(square.at, QPointF(0, 32));
    EXPECT_TRUE(wideScreen(QSize(1920, 1080)));
    EXPECT_TRUE(wideScreen(QSize(1366, 768)));
    EXPECT_FALSE(wideScreen(QSize(1280, 1024)));
    EXPECT_FALSE(wideScreen(QSize(1024, 768)));

    // The menu's steps.
    EXPECT_DOUBLE_EQ(zoom::larger(1.0), 1.25);
    EXPECT_DOUBLE_EQ(zoom::smaller(1.0), 0.75);
    EXPECT_DOUBLE_EQ(zoom::larger(1.8), 2.0);
    EXPECT_DOUBLE_EQ(zoom::larger(zoom::kLargest), zoom::kLargest);
    EXPECT_DOUBLE_EQ(zoom::smaller(zoom::kSmallest), zoom::kSmallest);
}

TEST_F(WindowTest, AtZoomOneTheWindowIsPixelForPixelTheDesignBeforeAndAfterAZoom)
{
    window->Form_Load();
    // Never zoomed: the window as the design lays it out.
    const auto design = controlsOf(window.get());
    const QImage before = rgb(window->snapshot(1.0));
    ASSERT_EQ(before.size(), QSize(800, 600));
    EXPECT_EQ(window->animpic()->geometry(), layout::kAnimpic);
    EXPECT_EQ(window->picture2()->geometry(), layout::kPicture2);
    EXPECT_EQ(static_cast<QWidget*>(window->onglets())->geometry(), layout::kOnglets);

    window->setZoom(2.0);
    EXPECT_NE(rgb(window->snapshot(1.0)).size(), before.size());
    window->setZoom(1.0);
    EXPECT_EQ(window->size(), QSize(800, 600));
    const auto after = controlsOf(window.get());
    ASSERT_EQ(after.size(), design.size());
    for (const auto& [w, placed] : design) {
        EXPECT_EQ(after.at(w).geometry, placed.geometry) << w->objectName().toStdString();
        EXPECT_EQ(after.at(w).fontPixels, placed.fontPixels) << w->objectName().toStdString();
    }
    const QImage again = rgb(window->snapshot(1.0));
    ASSERT_EQ(again.size(), before.size());
    int differ = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            differ += before.pixel(x, y) != again.pixel(x, y);
    EXPECT_EQ(differ, 0);

    // The check boxes' and option buttons' own style draws at zoom 1 as the
    // application's style does.
    for (int tab = 1; tab <= 3; ++tab) {
        window->selectTab(tab);
        const QImage withZoomStyle = rgb(window->snapshot(1.0));
        std::vector<std::pair<QAbstractButton*, QStyle*>> styled;
        for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
            if (b->inherits("QCheckBox") || b->inherits("QRadioButton")) {
                styled.emplace_back(b, b->style());
                b->setStyle(nullptr);
            }
        ASSERT_FALSE(styled.empty());
        EXPECT_EQ(rgb(window->snapshot(1.0)), withZoomStyle) << "tab " << tab;
        for (auto& [b, style] : styled)
            b->setStyle(style);
    }
}

TEST_F(WindowTest, AtZoomTwoAndInFullScreenEveryControlIsAtItsScaledPlaceAndFont)
{
    window->Form_Load();
    window->selectTab(3);
    const auto design = controlsOf(window.get());
    ASSERT_GT(design.size(), 30u);
    // The exercise text grows by its layout (each size its text gives
    // itself), not by its box's font.
    QTextDocument* text = window->supertext()->document();
    const QSizeF textAtOne = text->documentLayout()->blockBoundingRect(text->firstBlock()).size();

    for (const auto& [z, at] : {std::pair{2.0, QPointF()}, std::pair{1.8, QPointF(240, 0)},
                                std::pair{1.6, QPointF(0, 32)}}) {
        window->setZoom(z, at);
        if (at.isNull()) {
            EXPECT_EQ(window->size(), QSize(int(800 * z), int(600 * z)));
        }
        for (const auto& [w, placed] : design) {
            const QPointF offset = w->parentWidget() == window.get() ? at : QPointF();
            EXPECT_EQ(w->geometry(), zoom::scaled(placed.geometry, z, offset))
                << w->objectName().toStdString() << " at " << z;
            if (w == window->supertext()) {
                EXPECT_EQ(QFontInfo(w->font()).pixelSize(), placed.fontPixels);
                continue;
            }
            EXPECT_NEAR(QFontInfo(w->font()).pixelSize(), placed.fontPixels * z, 1.0)
                << w->objectName().toStdString() << " at " << z;
        }
        const QSizeF textAtZ = text->documentLayout()->blockBoundingRect(text->firstBlock()).size();
        EXPECT_NEAR(textAtZ.height(), textAtOne.height() * z, textAtOne.height() * 0.1) << "text at " << z;
    }
    window->setZoom(1.0);
}

TEST_F(WindowTest, ZoomedPicturesAreDrawnAtTheZoomAndTheMouseReadsDesignUnits)
{
    window->Form_Load();
    sim.demar_Click();
    sim.advance(0.5);
    window->setZoom(2.0);
    RopePicture* rope = window->animpic();
    ASSERT_EQ(rope->size(), layout::kAnimpic.size() * 2);
    // The rope at twice the resolution, not a doubled picture.
    const QImage shot = rgb(rope->grab().toImage());
    const QImage fine = rgb(sim.ropeImage(2.0));
    const QPoint inside = PictureBox::origin() * 2 * int(shot.devicePixelRatio());
    int same = 0, compared = 0;
    for (int y = 4; y < fine.height() - 4; y += 3)
        for (int x = 4; x < std::min(fine.width(), shot.width() - inside.x()) - 4; x += 5) {
            ++compared;
            same += shot.pixel(inside.x() + x, inside.y() + y) == fine.pixel(x, y);
        }
    EXPECT_GT(same, compared * 97 / 100) << same << " of " << compared;

    // A click on « Outils » where the zoomed strip shows it.
    TabStrip* strip = window->onglets();
    const QRect outils = zoom::scaled(strip->tabRect(3), 2.0);
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, outils.center());
    EXPECT_EQ(window->currentTab(), 3);

    // The pointer over the rope at 2 m reads 2 m.
    QString read;
    QObject::connect(rope, &PictureBox::readout, [&](const QString& text, const QColor&, const QColor&) { read = text; });
    const QPointF at = QPointF(PictureBox::origin() + QPoint(250, 44)) * 2.0;
    QMouseEvent move(QEvent::MouseMove, at, rope->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(rope, &move);
    EXPECT_TRUE(read.contains(QStringLiteral("x = 2,00 m ; u = 0,10 m"))) << read.toStdString();
    window->setZoom(1.0);
}

TEST_F(WindowTest, ZoomCommandsAndFullScreenWorkOnTheWindowItself)
{
    window->Form_Load();
    ZoomCommands commands(*window);
    struct Expected {
        QAction* action;
        QKeySequence key;
    };
    for (const Expected& e : {Expected{commands.zoomInAction(), QKeySequence(Qt::CTRL | Qt::Key_Plus)},
                              Expected{commands.zoomOutAction(), QKeySequence(Qt::CTRL | Qt::Key_Minus)},
                              Expected{commands.zoomResetAction(), QKeySequence(Qt::CTRL | Qt::Key_0)},
                              Expected{commands.fullScreenAction(), QKeySequence(Qt::Key_F11)},
                              Expected{commands.projectionAction(), QKeySequence(Qt::Key_F9)}}) {
        ASSERT_NE(e.action, nullptr);
        EXPECT_EQ(e.action->shortcut(), e.key) << e.action->text().toStdString();
        EXPECT_FALSE(e.action->toolTip().isEmpty());
        EXPECT_TRUE(window->actions().contains(e.action)) << "in the right-click menu";
        // Its hover text goes to the hint line.
        emit e.action->hovered();
        EXPECT_EQ(window->info(), e.action->toolTip());
    }
    EXPECT_EQ(commands.fullScreenAction()->text(), QStringLiteral("Plein écran"));
    EXPECT_EQ(window->contextMenuPolicy(), Qt::ActionsContextMenu);
    window->show();

    commands.zoomOutAction()->trigger();
    EXPECT_DOUBLE_EQ(window->zoomFactor(), 0.75);
    EXPECT_EQ(window->size(), QSize(600, 450));
    commands.zoomOutAction()->trigger();
    commands.zoomOutAction()->trigger();
    EXPECT_DOUBLE_EQ(window->zoomFactor(), zoom::kSmallest);
    commands.zoomInAction()->trigger();
    EXPECT_DOUBLE_EQ(window->zoomFactor(), 0.75);
    commands.zoomResetAction()->trigger();
    EXPECT_DOUBLE_EQ(window->zoomFactor(), 1.0);
    EXPECT_EQ(window->size(), QSize(800, 600));
    // Larger only as far as the screen holds the framed window.
    commands.zoomInAction()->trigger();
    const QRect available = window->screen()->availableGeometry();
    if (available.width() >= 1030 && available.height() >= 800) {
        EXPECT_DOUBLE_EQ(window->zoomFactor(), 1.25);
    } else {
        EXPECT_DOUBLE_EQ(window->zoomFactor(), 1.0) << "the test screen holds no larger window";
    }
    EXPECT_LE(window->width(), available.width());
    const double zoomed = window->zoomFactor();

    // Full screen on a 1920 × 1080 screen: the window itself, frameless, at
    // the largest zoom, the layout centred; Échap gives it back as it was.
    const QRect before = window->geometry();
    commands.enterFullScreen(QRect(0, 0, 1920, 1080));
    EXPECT_EQ(commands.mode(), ZoomCommands::Mode::FullWindow);
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->windowState() & Qt::WindowFullScreen);
    EXPECT_DOUBLE_EQ(window->zoomFactor(), 1.8);
    EXPECT_EQ(window->animpic()->geometry(), zoom::scaled(layout::kAnimpic, 1.8, QPointF(240, 0)));
    EXPECT_TRUE(commands.fullScreenAction()->isChecked());
    EXPECT_FALSE(commands.zoomInAction()->isEnabled());
    ASSERT_TRUE(commands.escapeAction()->isEnabled());
    commands.escapeAction()->trigger();
    EXPECT_EQ(commands.mode(), ZoomCommands::Mode::Window);
    EXPECT_FALSE(window->windowState() & Qt::WindowFullScreen);
    EXPECT_DOUBLE_EQ(window->zoomFactor(), 1.0);
    EXPECT_EQ(window->size(), before.size());
    EXPECT_EQ(window->animpic()->geometry(), layout::kAnimpic);
    EXPECT_FALSE(commands.escapeAction()->isEnabled()) << "Échap is the window's own again";

    // F11 enters and leaves, from a zoomed window back to it.
    commands.zoomOutAction()->trigger();
    commands.fullScreenAction()->trigger();
    EXPECT_NE(commands.mode(), ZoomCommands::Mode::Window);
    commands.fullScreenAction()->trigger();
    EXPECT_EQ(commands.mode(), ZoomCommands::Mode::Window);
    EXPECT_DOUBLE_EQ(window->zoomFactor(), zoom::smaller(zoomed));
}

TEST_F(WindowTest, MenusAndHoverTextsOpenAtTheWindowsZoom)
{
    window->Form_Load();
    ZoomCommands commands(*window);
    window->show();
    auto* rope = qobject_cast<RopePicture*>(window->animpic());
    ASSERT_NE(rope, nullptr);
    QMenu* marker = rope->menupoint();
    const int designPixels = QFontInfo(marker->font()).pixelSize();
    // Shown by each menu before it opens; the window's own right-click
    // menu is made by Qt on each click, so it is met when polished.
    const auto opened = [](QMenu* menu) {
        emit menu->aboutToShow();
        return QFontInfo(menu->font()).pixelSize();
    };
    QMenu windowMenu(window.get());
    windowMenu.addActions(window->actions());
    windowMenu.ensurePolished();

    window->setZoom(2.5);
    EXPECT_NEAR(opened(marker), designPixels * 2.5, 1.5);
    EXPECT_NEAR(opened(&windowMenu), designPixels * 2.5, 1.5) << "polished at zoom 1, shown again";
    QMenu lateMenu(window.get());
    lateMenu.ensurePolished();
    EXPECT_NEAR(QFontInfo(lateMenu.font()).pixelSize(), designPixels * 2.5, 1.5);
    const QFont tipAtOne = QToolTip::font();
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), window->demar()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(window->demar(), &hover);
    EXPECT_NEAR(QFontInfo(QToolTip::font()).pixelSize(), QFontInfo(tipAtOne).pixelSize() * 2.5, 1.5);
    QToolTip::hideText();

    // Back at zoom 1, every menu as it was designed.
    window->setZoom(1.0);
    EXPECT_EQ(opened(marker), designPixels);
    QApplication::sendEvent(window->demar(), &hover);
    EXPECT_EQ(QToolTip::font(), tipAtOne);
    QToolTip::hideText();
}

TEST_F(WindowTest, ZoomedExerciseTextIsShownLargerAndSavedAsItIs)
{
    window->Form_Load();
    QTextEdit* box = window->supertext();
    QTextDocument* text = box->document();
    const QString htmlAtOne = text->toHtml();
    const QRectF firstAtOne = text->documentLayout()->blockBoundingRect(text->firstBlock());
    window->setZoom(2.5);
    // Each size the text gives itself grows: its first paragraph (the
    // title) two and a half times as tall.
    const QRectF firstAtZ = text->documentLayout()->blockBoundingRect(text->firstBlock());
    EXPECT_NEAR(firstAtZ.height(), firstAtOne.height() * 2.5, firstAtOne.height() * 0.15);
    // The document, as saved, copied and printed, is what it was.
    EXPECT_EQ(text->toHtml(), htmlAtOne);
    window->setZoom(1.0);
    EXPECT_EQ(text->documentLayout()->paintDevice(), box->viewport());
    EXPECT_EQ(text->documentLayout()->blockBoundingRect(text->firstBlock()), firstAtOne);
}
