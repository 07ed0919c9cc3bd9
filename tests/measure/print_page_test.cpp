// The printed page: title at the top left, the rope picture and the graph at
// their natural size, centred across a landscape page, one page per copy.
#include "measure/pdf_util.h"
#include "measure/print_page.h"
#include "platform/messages.h"
#include "platform/random_source.h"
#include "sim/simulation.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tolvi;
using namespace tolvi::testing;

namespace {
// A landscape A4 page at screen resolution: one picture pixel, one page pixel.
constexpr int kDpi = 96;
const QSize kPage(1123, 794);

struct Pictures {
    ScriptedMessages messages;
    SeededRandom random;
    Simulation sim{messages, random};
    QImage rope() const { return sim.ropeImage(); }
    QImage graph() const { return sim.graphImage(); }
};

QImage render(const QImage& rope, const QImage& graph, const PrintOptions& options, PageLayout* layout = nullptr)
{
    QImage page(kPage, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    const PageLayout l = paintPage(painter, kPage, kDpi, rope, graph, options);
    if (layout)
        *layout = l;
    return page;
}

// Rows [top, bottom) that hold anything but white.
QRect inkBounds(const QImage& page, const QRect& area)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (page.pixel(x, y) != qRgb(255, 255, 255))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}
}  // namespace

TEST(PrintPage, TitleThenRopeAndGraphCentredAtNaturalSize)
{
    Pictures p;
    ASSERT_EQ(p.rope().size(), QSize(786, 106));
    PrintOptions options;
    options.title = QStringLiteral("Classe de Première S");
    PageLayout layout;
    const QImage page = render(p.rope(), p.graph(), options, &layout);

    // Natural size and centred: equal margins left and right (within a pixel).
    EXPECT_EQ(layout.rope.size(), p.rope().size());
    EXPECT_EQ(layout.graph.size(), p.graph().size());
    EXPECT_LE(std::abs(layout.rope.left() - (kPage.width() - layout.rope.right() - 1)), 1);
    EXPECT_LE(std::abs(layout.graph.left() - (kPage.width() - layout.graph.right() - 1)), 1);
    // The rope starts a twentieth of the page down, the graph below it with
    // two blank lines between.
    EXPECT_EQ(layout.rope.top(), kPage.height() / 20);
    EXPECT_GT(layout.graph.top(), layout.rope.bottom() + 20);
    EXPECT_LT(layout.graph.top(), layout.rope.bottom() + 60);

    // The pixels are the pictures' own, where the layout says.
    EXPECT_EQ(page.copy(layout.rope), p.rope().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(page.copy(layout.graph), p.graph().convertToFormat(QImage::Format_RGB32));

    // The title: ink at the top left, above the rope, in bold 12 pt (about
    // 16 pixels line at 96 dpi), nothing to its right past its text.
    const QRect title = inkBounds(page, QRect(0, 0, kPage.width(), layout.rope.top()));
    ASSERT_FALSE(title.isEmpty());
    EXPECT_LE(title.left(), 3);
    EXPECT_LE(title.top(), 6);
    EXPECT_GE(title.height(), 9);
    EXPECT_LE(title.bottom(), 20);
    EXPECT_LT(title.width(), kPage.width() / 3);
}

TEST(PrintPage, OptionsChooseWhatIsPrinted)
{
    Pictures p;
    PrintOptions none;
    none.rope = none.graph = false;
    PageLayout layout;
    const QImage titleOnly = render(p.rope(), p.graph(), none, &layout);
    EXPECT_TRUE(layout.rope.isEmpty());
    EXPECT_TRUE(layout.graph.isEmpty());
    const QRect ink = inkBounds(titleOnly, titleOnly.rect());
    EXPECT_LE(ink.bottom(), 20) << "only the title is printed";

    // Graph alone: it takes the rope's place, a twentieth of the page down.
    PrintOptions graphOnly;
    graphOnly.rope = false;
    const QImage g = render(p.rope(), p.graph(), graphOnly, &layout);
    EXPECT_EQ(layout.graph.top(), kPage.height() / 20);
    EXPECT_EQ(g.copy(layout.graph), p.graph().convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(inkBounds(g, QRect(0, layout.graph.bottom() + 1, kPage.width(),
                                   kPage.height() - layout.graph.bottom() - 1)).isEmpty());

    // An empty title prints no text.
    PrintOptions blank = none;
    blank.title.clear();
    EXPECT_TRUE(inkBounds(render(p.rope(), p.graph(), blank), QRect(QPoint(0, 0), kPage)).isEmpty());
}

TEST(PrintPage, PagesNarrowerThanThePictureStillHoldItWhole)
{
    Pictures p;
    const QSize narrow(500, 700);
    const PageLayout layout = pageLayout(narrow, kDpi, p.rope().size(), p.graph().size(), PrintOptions{});
    EXPECT_EQ(layout.rope.left(), 0);
    EXPECT_EQ(layout.rope.width(), narrow.width());
    // Proportions kept.
    EXPECT_NEAR(double(layout.rope.height()) / layout.rope.width(), 106.0 / 786.0, 0.01);
    EXPECT_LE(layout.graph.right(), narrow.width() - 1);
    EXPECT_GE(layout.graph.left(), 0);
}

TEST(PrintPage, OneLandscapePagePerCopyInOneDocument)
{
    Pictures p;
    QTemporaryDir dir;
    for (const int copies : {1, 3}) {
        for (const bool pictures : {true, false}) {
            const QString path = dir.filePath(QStringLiteral("page-%1-%2.pdf").arg(copies).arg(pictures));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            PrintOptions options;
            options.copies = copies;
            options.rope = options.graph = pictures;
            options.title = QStringLiteral("Ondes — série %1").arg(copies);
            {
                QPdfWriter writer(&file);
                EXPECT_EQ(printPages(writer, p.rope(), p.graph(), options), QString());
                // Back to portrait once the document is done.
                EXPECT_EQ(writer.pageLayout().orientation(), QPageLayout::Portrait);
            }
            file.close();
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray pdf = file.readAll();
            EXPECT_EQ(pdfPageCount(pdf), copies);
            const QSizeF size = pdfFirstPageSize(pdf);
            EXPECT_GT(size.width(), size.height()) << "landscape";
            // Each page draws the pictures; a title-only page draws none.
            if (pictures) {
                EXPECT_GE(pdfImageCount(pdf), 1);
            } else {
                EXPECT_EQ(pdfImageCount(pdf), 0);
            }
            if (const auto text = pdfText(path)) {
                EXPECT_EQ(text->count(options.title), copies) << text->toStdString();
            }
        }
    }
}

TEST(PrintPage, CopiesOutsideTheRangeAreHeldWithinIt)
{
    Pictures p;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    PrintOptions options;
    options.copies = 0;
    {
        QPdfWriter writer(&buffer);
        EXPECT_EQ(printPages(writer, p.rope(), p.graph(), options), QString());
    }
    EXPECT_EQ(pdfPageCount(bytes), 1);
}
