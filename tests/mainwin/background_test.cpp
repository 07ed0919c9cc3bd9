#include "mainwin/background_painter.h"
#include "mainwin/layout.h"
#include "mainwin/size_rule.h"
#include "window_fixture.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <cmath>

using namespace tolvi;
using tolvi::testing::WindowTest;

namespace {

QColor rgb(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

// The gradient's rule, written out independently: ties go to the even
// neighbour.
QColor expectedGradient(int y)
{
    const double a = std::nearbyint(255.0 - y / 600.0 * 55.0);
    const double b = std::nearbyint(255.0 - y / 600.0 * 75.0);
    return QColor(int(a), int(a), int(b));
}

}  // namespace

TEST(Background, GradientRowsFollowTheRuleWithTiesToEven)
{
    QImage image(801, 601, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter p(&image);
    paintBackground(p, designedBackgroundLayout());
    p.end();

    EXPECT_EQ(rgb(image, 0, 0), QColor(255, 255, 255));
    EXPECT_EQ(rgb(image, 0, 300), QColor(228, 228, 218));  // 227.5 and 217.5 go up to even
    EXPECT_EQ(rgb(image, 0, 600), QColor(200, 200, 180));
    EXPECT_EQ(rgb(image, 800, 600), QColor(200, 200, 180));
    for (int y = 0; y <= 600; ++y)
        ASSERT_EQ(rgb(image, 2, y), expectedGradient(y)) << "row " << y;
}

TEST(Background, ShadowAndChronometerPlate)
{
    const QImage image = backgroundImage(layout::kClient, designedBackgroundLayout());
    const QColor darkGrey(128, 128, 128);
    // Shadow: three pixels right of and below the text area and its title.
    const QRect s = layout::kSupertext;
    const int right = s.left() + s.width() + 3;
    const int bottom = s.top() + s.height() + 3;
    EXPECT_EQ(rgb(image, right, layout::kFich.top() + 3), darkGrey);
    EXPECT_EQ(rgb(image, right, bottom), darkGrey);
    EXPECT_EQ(rgb(image, right + 1, bottom), expectedGradient(bottom));
    EXPECT_EQ(rgb(image, right, layout::kFich.top() + 2), expectedGradient(layout::kFich.top() + 2));
    EXPECT_EQ(rgb(image, s.left() + 3, bottom + 1), expectedGradient(bottom + 1));

    // Plate around Label4, across its middle row from the left.
    const int L = layout::kLabel4.left();
    const int T = layout::kLabel4.top();
    const int W = layout::kLabel4.width();
    const int H = layout::kLabel4.height();
    EXPECT_EQ(rgb(image, L - 101, T), expectedGradient(T));
    EXPECT_EQ(rgb(image, L - 100, T), QColor(0, 0, 0));          // black outline, drawn last
    EXPECT_EQ(rgb(image, L - 99, T), QColor(255, 255, 255));     // white outline
    EXPECT_EQ(rgb(image, L - 98, T), QColor(0, 100, 180));       // fill over the blue outline
    EXPECT_EQ(rgb(image, L + W + 88, T), QColor(0, 100, 180));
    EXPECT_EQ(rgb(image, L + W + 89, T), QColor(0, 0, 128));     // blue outline shows right of the fill
    EXPECT_EQ(rgb(image, L + W + 90, T), QColor(0, 0, 0));
    EXPECT_EQ(rgb(image, L, T + H + 4), QColor(0, 0, 128));      // and below it
    EXPECT_EQ(rgb(image, L, T + H + 5), QColor(0, 0, 0));
    EXPECT_EQ(rgb(image, L, T - 5), QColor(0, 0, 0));

    // "Chronomètre :" in white on the plate, starting at L - 89.
    QFont bold(QStringLiteral("Arial"));
    bold.setPointSize(8);
    bold.setBold(true);
    const QFontMetrics metrics(bold, &image);
    int white = 0;
    for (int x = L - 89; x < L - 89 + metrics.horizontalAdvance(QStringLiteral("Chronomètre :")); ++x)
        for (int y = T + 2; y < T + 2 + metrics.height(); ++y)
            white += rgb(image, x, y) == QColor(255, 255, 255);
    EXPECT_GT(white, 20);
    for (int y = T - 3; y <= T + H + 3; ++y)  // nothing written left of the caption
        EXPECT_EQ(rgb(image, L - 91, y), QColor(0, 100, 180));
}

TEST(SizeRule, CentredOnWideScreensMaximisedOnSmallOnes)
{
    EXPECT_EQ(sizeRuleGeometry(QRect(0, 0, 1024, 768), QSize(800, 600)), QRect(112, 84, 800, 600));
    EXPECT_EQ(sizeRuleGeometry(QRect(0, 0, 851, 600), QSize(800, 600)), QRect(25, 0, 800, 600));
    EXPECT_FALSE(sizeRuleGeometry(QRect(0, 0, 850, 768), QSize(800, 600)));
    EXPECT_FALSE(sizeRuleGeometry(QRect(0, 0, 800, 600), QSize(800, 600)));
    // A second screen to the right: centred on that screen.
    EXPECT_EQ(sizeRuleGeometry(QRect(1920, 0, 1280, 1024), QSize(810, 630)), QRect(2155, 197, 810, 630));
}

TEST(SizeRule, CentresTheRealFrameOnceTheWindowSystemTellsIt)
{
    const QRect screen(0, 0, 1024, 768);
    CentredPlacement placement;
    // Before the window is mapped its frame is unknown: the client alone.
    EXPECT_EQ(placement.place(screen, QSize(800, 600), QSize(0, 0)), QPoint(112, 84));
    EXPECT_FALSE(placement.mustCentreAgain(QSize(0, 0), QPoint(112, 84)));
    // Then the window manager adds a 26 px title bar and 1 px borders: the
    // frame is centred again at once, not on the first resize.
    ASSERT_TRUE(placement.mustCentreAgain(QSize(2, 28), QPoint(112, 84)));
    EXPECT_EQ(placement.place(screen, QSize(800, 600), QSize(2, 28)), QPoint(111, 70));
    EXPECT_FALSE(placement.mustCentreAgain(QSize(2, 28), QPoint(111, 70)));
    // Some window managers put the client, not the frame, where asked.
    CentredPlacement clientPlaced;
    clientPlaced.place(screen, QSize(800, 600), QSize(0, 0));
    EXPECT_TRUE(clientPlaced.mustCentreAgain(QSize(2, 28), QPoint(111, 57)));
    // Once the user has moved the window, it stays where it was put.
    CentredPlacement moved;
    moved.place(screen, QSize(800, 600), QSize(0, 0));
    EXPECT_FALSE(moved.mustCentreAgain(QSize(2, 28), QPoint(300, 200)));
    // A small screen keeps the window maximised: nothing to centre.
    CentredPlacement small;
    EXPECT_FALSE(small.place(QRect(0, 0, 800, 600), QSize(800, 600), QSize(0, 0)));
    EXPECT_FALSE(small.mustCentreAgain(QSize(2, 28), QPoint(0, 0)));
}

TEST_F(WindowTest, ControlsStandAtTheirDesignedPlaces)
{
    window->Form_Load();
    const struct {
        const char* name;
        QRect place;
    } table[] = {
        {"Command2", layout::kCommand2},   {"Command11", layout::kCommand11}, {"Command4", layout::kCommand4},
        {"Command10", layout::kCommand10}, {"Command8", layout::kCommand8},   {"Command7", layout::kCommand7},
        {"Command1", layout::kCommand1},   {"animpic", {8, 48, 790, 110}},    {"demar", {8, 163, 65, 21}},
        {"command16", {80, 162, 24, 24}},  {"Label1", {160, 168, 233, 14}},   {"Label4", {557, 166, 144, 17}},
        {"Command5", {696, 168, 17, 17}},  {"Command3", {716, 168, 65, 17}},  {"Picture2", {8, 192, 785, 109}},
        {"Command6", {8, 304, 65, 21}},    {"info", {160, 308, 233, 33}},     {"btexo", {432, 308, 97, 19}},
        {"fich", {432, 308, 361, 19}},     {"supertext", {432, 327, 361, 218}}, {"Onglets", {8, 348, 417, 199}},
    };
    for (const auto& row : table) {
        auto* widget = window->findChild<QWidget*>(QString::fromLatin1(row.name));
        ASSERT_NE(widget, nullptr) << row.name;
        EXPECT_EQ(widget->geometry(), row.place) << row.name;
    }
    EXPECT_EQ(layout::kCommand2, QRect(0, 0, 121, 41));
    EXPECT_EQ(layout::kCommand1, QRect(680, 0, 121, 41));
    for (int i = 1; i < 6; ++i)
        EXPECT_EQ(window->topButton(i)->geometry(), QRect(120 + 112 * (i - 1), 0, 113, 41));

    const struct {
        const char* name;
        QRect place;
    } tools[] = {
        {"Check1", {40, 32, 321, 17}},   {"Labelg", {176, 79, 57, 17}},   {"UpDown1", {232, 79, 16, 17}},
        {"Check2", {40, 104, 145, 17}},  {"Labeli0", {96, 144, 65, 17}},  {"Labeli1", {264, 144, 81, 17}},
    };
    for (const auto& row : tools) {
        auto* widget = window->picture1()->findChild<QWidget*>(QString::fromLatin1(row.name));
        ASSERT_NE(widget, nullptr) << row.name;
        EXPECT_EQ(widget->geometry(), row.place) << row.name;
    }
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("Label2"))->geometry().topLeft(), QPoint(40, 80));
}

TEST_F(WindowTest, WindowKeepsItsDesignedClientAreaAndPaintsItsBackground)
{
    window->Form_Load();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tolvi"));
    QScreen* screen = window->screen();
    ASSERT_NE(screen, nullptr);
    if (screen->geometry().width() > 850)
        EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
    else
        EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);

    const QImage shot = window->snapshot();
    EXPECT_EQ(shot.size(), QSize(800, 600));
    EXPECT_EQ(shot.pixelColor(2, 300), QColor(228, 228, 218));
    EXPECT_EQ(shot.pixelColor(2, 599), expectedGradient(599));

    // Label1 blends into the background two pixels left of its corner.
    const QColor under = expectedGradient(layout::kLabel1.top());
    EXPECT_EQ(window->label1()->palette().color(QPalette::Window), under);
    EXPECT_TRUE(window->label1()->text().isEmpty());
    EXPECT_EQ(shot.pixelColor(layout::kLabel1.center()), under);
}

TEST_F(WindowTest, RopePictureShowsTheWholeDrawingWithItsFarEndDevice)
{
    window->Form_Load();
    sim.selectOptbout(BoutFixe);  // the clamp reaches the drawing's last column
    QWidget* animpic = window->findChild<QWidget*>(QStringLiteral("animpic"));
    ASSERT_NE(animpic, nullptr);
    const QImage drawing = sim.ropeImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(drawing.size(), QSize(786, 106));
    const QImage shown = animpic->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(shown.width(), 786 + 4);
    ASSERT_GE(shown.height(), 106 + 4);
    EXPECT_EQ(shown.copy(2, 2, 786, 106), drawing);
    // Still inside the window, above the start button.
    EXPECT_LE(animpic->geometry().right(), 799);
    EXPECT_LT(animpic->geometry().bottom(), window->findChild<QWidget*>(QStringLiteral("demar"))->geometry().top());
}
