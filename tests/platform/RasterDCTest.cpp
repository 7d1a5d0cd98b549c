#include "platform/RasterBitmap.h"
#include "platform/RasterDC.h"

#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

#include <deque>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kWhite = RasterDC::Rgb(255, 255, 255);
constexpr uint32_t kBlack = RasterDC::Rgb(0, 0, 0);
constexpr uint32_t kRed = RasterDC::Rgb(255, 0, 0);
constexpr uint32_t kBlue = RasterDC::Rgb(0, 0, 255);

QImage Canvas(int width, int height, uint32_t color = kWhite) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(RasterDC::ToPixel(color));
    return image;
}

// The picture as rows of characters: '.' white, '#' black, 'r' red, 'b' blue, '?' any other colour.
std::vector<std::string> Rows(const QImage& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            const uint32_t c = RasterDC::FromPixel(image.pixel(x, y));
            row += c == kWhite ? '.' : c == kBlack ? '#' : c == kRed ? 'r' : c == kBlue ? 'b' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

// Pictures from rows of characters: each character is a colour of the palette.
QImage FromRows(const std::vector<std::string>& rows) {
    QImage image(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const char c = rows[y][x];
            image.setPixel(x, y, RasterDC::ToPixel(c == '#' ? kBlack : c == 'r' ? kRed : c == 'b' ? kBlue : kWhite));
        }
    }
    return image;
}

// Breadth-first 4-connected fill, one pixel at a time: the obvious fill the scanline one must match.
QImage ReferenceFill(QImage image, int x, int y, const QImage& tile) {
    const QRgb target = image.pixel(x, y);
    std::vector<char> seen(static_cast<size_t>(image.width() * image.height()), 0);
    std::deque<QPoint> queue{QPoint(x, y)};
    seen[y * image.width() + x] = 1;
    while (!queue.empty()) {
        const QPoint p = queue.front();
        queue.pop_front();
        image.setPixel(p, tile.pixel(p.x() % tile.width(), p.y() % tile.height()));
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint n = p + d;
            if (image.valid(n) && !seen[n.y() * image.width() + n.x()] && image.pixel(n) == target) {
                seen[n.y() * image.width() + n.x()] = 1;
                queue.push_back(n);
            }
        }
    }
    return image;
}

TEST(RasterDCHandles, ContextsAreFoundByHandleOnlyWhileAlive) {
    QImage image = Canvas(4, 4);
    uint32_t handle = 0;
    {
        RasterDC dc(&image);
        handle = dc.Handle();
        EXPECT_NE(handle, 0u);
        EXPECT_EQ(RasterDC::FromHandle(handle), &dc);
        RasterDC other(&image);
        EXPECT_NE(other.Handle(), handle);
    }
    EXPECT_EQ(RasterDC::FromHandle(handle), nullptr);
    EXPECT_EQ(RasterDC::FromHandle(0), nullptr);
}

TEST(RasterDCObjects, SelectReturnsThePreviousOfTheSameKindAndSelectedObjectsCannotBeDeleted) {
    QImage image = Canvas(4, 4);
    RasterDC dc(&image);
    const int stock = dc.ObjectCount();
    const uint32_t stockPen = dc.SelectedPen();
    const uint32_t stockBrush = dc.SelectedBrush();

    const uint32_t pen = dc.CreatePen(RasterDC::PS_SOLID, 3, kRed);
    const uint32_t brush = dc.CreateSolidBrush(kBlue);
    EXPECT_EQ(dc.SelectObject(pen), stockPen);
    EXPECT_EQ(dc.SelectObject(brush), stockBrush);
    EXPECT_EQ(dc.SelectedPen(), pen);
    EXPECT_FALSE(dc.DeleteObject(pen));
    EXPECT_EQ(dc.SelectObject(stockPen), pen);
    EXPECT_EQ(dc.SelectObject(stockBrush), brush);
    EXPECT_TRUE(dc.DeleteObject(pen));
    EXPECT_TRUE(dc.DeleteObject(brush));
    EXPECT_EQ(dc.ObjectCount(), stock);

    EXPECT_EQ(dc.SelectObject(pen), 0u) << "a deleted handle selects nothing";
    EXPECT_EQ(dc.SelectedPen(), stockPen);
    EXPECT_FALSE(dc.DeleteObject(pen));
    EXPECT_EQ(dc.CreatePatternBrush(0), 0u);
    EXPECT_EQ(dc.CreatePatternBrush(pen), 0u) << "not a bitmap handle";
}

struct RopCase {
    const char* name;
    int rop;
    uint32_t pen;
    uint32_t before;
    uint32_t after;
};
std::ostream& operator<<(std::ostream& os, const RopCase& c) { return os << c.name; }

class RasterDCRop : public ::testing::TestWithParam<RopCase> {};

TEST_P(RasterDCRop, GivesTheBitwiseResultOnEveryChannelAndKeepsPixelsOpaque) {
    const RopCase& c = GetParam();
    QImage image = Canvas(8, 8, c.before);
    RasterDC dc(&image);
    dc.SelectObject(dc.CreatePen(RasterDC::PS_SOLID, 1, c.pen));
    dc.SelectObject(dc.CreateSolidBrush(c.pen));
    dc.SetROP2(c.rop);
    dc.Rectangle(0, 0, 4, 4);  // filled and outlined: the pixel at (1, 1) is inside
    dc.MoveTo(0, 6);
    dc.LineTo(7, 6);
    for (const QPoint p : {QPoint(1, 1), QPoint(3, 6)}) {
        EXPECT_EQ(image.pixel(p), 0xFF000000u | RasterDC::ToPixel(c.after)) << p.x() << "," << p.y();
    }
    EXPECT_EQ(RasterDC::FromPixel(image.pixel(6, 2)), c.before) << "outside the shapes";
}

INSTANTIATE_TEST_SUITE_P(Operations, RasterDCRop,
                         ::testing::Values(RopCase{"CopyPen", RasterDC::R2_COPYPEN, 0x123456, 0xABCDEF, 0x123456},
                                           RopCase{"NotIgnoresThePen", RasterDC::R2_NOT, 0x123456, 0xF0A50F, 0x0F5AF0},
                                           RopCase{"MaskPenAnds", RasterDC::R2_MASKPEN, 0x0FF0CC, 0xF0F0AA, 0x00F088}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RasterDCRop, UnknownOperationIsRefusedAndTheModeKept) {
    QImage image = Canvas(2, 2);
    RasterDC dc(&image);
    EXPECT_EQ(dc.SetROP2(RasterDC::R2_NOT), RasterDC::R2_COPYPEN);
    EXPECT_EQ(dc.SetROP2(7), 0);
    EXPECT_EQ(dc.GetROP2(), RasterDC::R2_NOT);
}

TEST(RasterDCLines, AnInvertedLineDrawnAgainInEitherDirectionRestoresThePicture) {
    for (const int width : {1, 2, 5, 12}) {
        QImage image = Canvas(40, 30);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                image.setPixel(x, y, RasterDC::ToPixel(RasterDC::Rgb(x * 6, y * 8, 100)));
            }
        }
        const QImage original = image;
        RasterDC dc(&image);
        dc.SelectObject(dc.CreatePen(RasterDC::PS_SOLID, width, kRed));
        dc.SetROP2(RasterDC::R2_NOT);
        for (const QPoint end : {QPoint(35, 21), QPoint(30, 4), QPoint(4, 27), QPoint(17, 9)}) {
            dc.MoveTo(3, 4);
            dc.LineTo(end.x(), end.y());
            EXPECT_NE(image, original) << "width " << width;
            dc.LineTo(3, 4);  // back over itself
            EXPECT_EQ(image, original) << "width " << width << " to " << end.x() << "," << end.y();
        }
    }
}

TEST(RasterDCLines, CoverBothEndsMoveThePositionAndALineOfNoLengthDrawsNothing) {
    QImage image = Canvas(6, 3);
    RasterDC dc(&image);
    dc.MoveTo(1, 1);
    dc.LineTo(1, 1);
    EXPECT_EQ(Rows(image), (std::vector<std::string>{"......", "......", "......"}));
    dc.LineTo(4, 1);
    EXPECT_EQ(dc.CurrentPosition(), QPoint(4, 1));
    EXPECT_EQ(Rows(image), (std::vector<std::string>{"......", ".####.", "......"}));
}

TEST(RasterDCShapes, RectangleExcludesItsRightAndBottomEdges) {
    QImage image = Canvas(8, 6);
    RasterDC dc(&image);
    dc.SelectObject(dc.CreateSolidBrush(kRed));
    dc.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(Rows(image),
              (std::vector<std::string>{"........", ".#####..", ".#rrr#..", ".#rrr#..", ".#####..", "........"}));

    // Without a pen the fill alone is one pixel smaller each way.
    QImage bare = Canvas(8, 6);
    RasterDC bareDc(&bare);
    bareDc.SelectObject(bareDc.CreatePen(RasterDC::PS_NULL, 1, 0));
    bareDc.SelectObject(bareDc.CreateSolidBrush(kRed));
    bareDc.Rectangle(6, 5, 1, 1);
    EXPECT_EQ(Rows(bare),
              (std::vector<std::string>{"........", ".rrrr...", ".rrrr...", ".rrrr...", "........", "........"}));
}

TEST(RasterDCShapes, EllipseStaysInItsBoxAndAFullArcLeavesTheInsideAlone) {
    QImage filled = Canvas(24, 16);
    RasterDC dc(&filled);
    dc.SelectObject(dc.CreateSolidBrush(kRed));
    dc.Ellipse(2, 2, 22, 14);
    const std::vector<std::string> rows = Rows(filled);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 24; ++x) {
            if (x < 2 || x > 21 || y < 2 || y > 13) {
                EXPECT_EQ(rows[y][x], '.') << x << "," << y;
            }
        }
    }
    EXPECT_EQ(RasterDC::FromPixel(filled.pixel(12, 8)), kRed);

    QImage outline = Canvas(24, 16, kBlue);
    RasterDC arcDc(&outline);
    arcDc.SelectObject(arcDc.CreatePen(RasterDC::PS_SOLID, 1, kBlack));
    arcDc.Arc(2, 2, 22, 14, 11, 2, 11, 2);
    int ink = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 24; ++x) {
            ink += RasterDC::FromPixel(outline.pixel(x, y)) == kBlack;
        }
    }
    EXPECT_GT(ink, 40) << "the whole outline";
    EXPECT_EQ(RasterDC::FromPixel(outline.pixel(12, 8)), kBlue);
    EXPECT_EQ(RasterDC::FromPixel(outline.pixel(2, 8)), kBlack) << "left end";
    EXPECT_EQ(RasterDC::FromPixel(outline.pixel(21, 8)), kBlack) << "right end";
}

TEST(RasterDCPixels, GetPixelReadsPackedRgbAndIsInvalidOutside) {
    QImage image = Canvas(3, 2, RasterDC::Rgb(10, 20, 30));
    RasterDC dc(&image);
    EXPECT_EQ(dc.GetPixel(2, 1), RasterDC::Rgb(10, 20, 30));
    EXPECT_EQ(dc.GetPixel(3, 0), RasterDC::CLR_INVALID);
    EXPECT_EQ(dc.GetPixel(0, -1), RasterDC::CLR_INVALID);
    QImage none;
    RasterDC empty(&none);
    EXPECT_EQ(empty.GetPixel(0, 0), RasterDC::CLR_INVALID);
    EXPECT_FALSE(empty.LineTo(5, 5));
}

struct FillCase {
    const char* name;
    std::vector<std::string> picture;
    QPoint seed;
    std::vector<std::string> expected;  // filled in black
};
std::ostream& operator<<(std::ostream& os, const FillCase& c) { return os << c.name; }

class RasterDCFloodFill : public ::testing::TestWithParam<FillCase> {};

TEST_P(RasterDCFloodFill, FillsTheFourConnectedArea) {
    const FillCase& c = GetParam();
    QImage image = FromRows(c.picture);
    RasterDC dc(&image);
    dc.SelectObject(dc.CreateSolidBrush(kBlack));
    EXPECT_TRUE(
        dc.ExtFloodFill(c.seed.x(), c.seed.y(), dc.GetPixel(c.seed.x(), c.seed.y()), RasterDC::FLOODFILLSURFACE));
    EXPECT_EQ(Rows(image), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Areas, RasterDCFloodFill,
                         ::testing::Values(FillCase{"StopsAtAClosedBoundary",
                                                    {".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."},
                                                    {3, 2},
                                                    {".......", ".#####.", ".#####.", ".#####.", ".#####.", "......."}},
                                           FillCase{"DoesNotLeakThroughADiagonalGap",
                                                    {"..#....", "..#....", "...#...", "....###", "......."},
                                                    {0, 0},
                                                    {"###....", "###....", "####...", "#######", "#######"}},
                                           FillCase{"ReachesBackIntoEveryArmOfAComb",
                                                    {"........", ".#.#.#.#", ".#.#.#.#", ".#.#.#.#", "........"},
                                                    {2, 3},
                                                    {"########", "########", "########", "########", "########"}},
                                           FillCase{"LeavesOtherColoursInsideTheArea",
                                                    {"....", ".r..", "..b.", "...."},
                                                    {0, 0},
                                                    {"####", "#r##", "##b#", "####"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RasterDCFloodFill, MatchesAPixelByPixelFillOnRandomPicturesWithColourAndPattern) {
    std::mt19937 random(20261210);
    for (int round = 0; round < 60; ++round) {
        const int width = 1 + static_cast<int>(random() % 40);
        const int height = 1 + static_cast<int>(random() % 30);
        QImage image(width, height, QImage::Format_RGB32);
        const int colours = 2 + static_cast<int>(random() % 2);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.setPixel(x, y, RasterDC::ToPixel(RasterDC::Rgb(0, 0, 80 * static_cast<int>(random() % colours))));
            }
        }
        const int sx = static_cast<int>(random() % width);
        const int sy = static_cast<int>(random() % height);
        // Odd rounds fill with a tile made of the picture's own colours.
        QImage tile = Canvas(1, 1, kRed);
        if (round % 2 == 1) {
            tile = QImage(3, 2, QImage::Format_RGB32);
            for (int i = 0; i < 6; ++i) {
                tile.setPixel(i % 3, i / 3, RasterDC::ToPixel(RasterDC::Rgb(0, 0, 80 * (i % 3))));
            }
        }
        RasterBitmap bitmap(tile);
        const QImage expected = ReferenceFill(image, sx, sy, tile);
        RasterDC dc(&image);
        dc.SelectObject(round % 2 == 1 ? dc.CreatePatternBrush(bitmap.Handle()) : dc.CreateSolidBrush(kRed));
        dc.ExtFloodFill(sx, sy, dc.GetPixel(sx, sy), RasterDC::FLOODFILLSURFACE);
        ASSERT_EQ(image, expected) << "round " << round;
    }
}

TEST(RasterDCFloodFill, PatternIsAlignedToTheOriginAndMayHoldTheAreasOwnColour) {
    // The tile holds white, the area's colour: the fill must still cover the area once and stop.
    QImage tileImage(2, 2, QImage::Format_RGB32);
    tileImage.setPixel(0, 0, RasterDC::ToPixel(kWhite));
    tileImage.setPixel(1, 0, RasterDC::ToPixel(kRed));
    tileImage.setPixel(0, 1, RasterDC::ToPixel(kBlue));
    tileImage.setPixel(1, 1, RasterDC::ToPixel(kWhite));
    RasterBitmap tile(tileImage);

    QImage image = FromRows({"......", ".####.", ".#...#", ".####.", "......"});
    const QImage expected = ReferenceFill(image, 3, 2, tileImage);
    RasterDC dc(&image);
    dc.SelectObject(dc.CreatePatternBrush(tile.Handle()));
    EXPECT_TRUE(dc.ExtFloodFill(3, 2, kWhite, RasterDC::FLOODFILLSURFACE));
    EXPECT_EQ(image, expected);
    EXPECT_EQ(RasterDC::FromPixel(image.pixel(3, 2)), kRed) << "(3, 2) takes tile (1, 0)";
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ASSERT_EQ(qAlpha(image.pixel(x, y)), 255) << x << "," << y;
        }
    }
}

TEST(RasterDCFloodFill, RefusesAWrongColourAPointOutsideAndABorderFill) {
    QImage image = Canvas(4, 4);
    const QImage original = image;
    RasterDC dc(&image);
    dc.SelectObject(dc.CreateSolidBrush(kRed));
    EXPECT_FALSE(dc.ExtFloodFill(1, 1, kBlue, RasterDC::FLOODFILLSURFACE));
    EXPECT_FALSE(dc.ExtFloodFill(4, 1, kWhite, RasterDC::FLOODFILLSURFACE));
    EXPECT_FALSE(dc.ExtFloodFill(1, 1, kWhite, RasterDC::FLOODFILLBORDER));
    EXPECT_EQ(image, original);
}

TEST(RasterDCText, FontCellHeightAndStylesFollowTheRecord) {
    QImage image = Canvas(4, 4);
    RasterDC dc(&image);
    LogFont record;
    record.height = 35;
    record.weight = 800;
    record.italic = 1;
    record.strikeOut = 1;
    const uint32_t font = dc.CreateFontIndirect(record);
    ASSERT_NE(font, 0u);
    const QFont qfont = dc.FontOf(font);
    EXPECT_LE(QFontMetrics(qfont).height(), 35);
    EXPECT_GE(QFontMetrics(qfont).height(), 33);
    EXPECT_EQ(qfont.weight(), 800);
    EXPECT_TRUE(qfont.italic());
    EXPECT_TRUE(qfont.strikeOut());
    EXPECT_FALSE(qfont.underline());

    record.height = -20;
    EXPECT_EQ(dc.FontOf(dc.CreateFontIndirect(record)).pixelSize(), 20) << "negative: character height";
    record.height = 1'000'000;
    EXPECT_EQ(dc.CreateFontIndirect(record), 0u);
}

TEST(RasterDCText, WrapsBetweenWordsAndInksOnlyInsideTheRectangle) {
    QImage image = Canvas(200, 120);
    RasterDC dc(&image);
    LogFont record;
    record.height = 16;
    const uint32_t font = dc.CreateFontIndirect(record);
    dc.SelectObject(font);
    dc.SetTextColor(kBlack);
    dc.SetBkMode(RasterDC::TRANSPARENT);
    const QString text = QStringLiteral("alpha beta gamma delta epsilon zeta eta theta");
    const int height = dc.DrawText(text, 10, 10, 90, 110, RasterDC::DT_WORDBREAK);
    EXPECT_GT(height, 2 * 16) << "more than two lines";

    const int lineHeight = QFontMetrics(dc.FontOf(font)).height();
    bool thirdLine = false;
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (RasterDC::FromPixel(image.pixel(x, y)) != kWhite) {
                ASSERT_TRUE(x >= 10 && x < 90 && y >= 10 && y < 110) << x << "," << y;
                thirdLine = thirdLine || y >= 10 + 2 * lineHeight;
            }
        }
    }
    EXPECT_TRUE(thirdLine);
    // Lines end after the last whole word that fits, so none runs into the right edge.
    for (int y = 10; y < 110; ++y) {
        EXPECT_EQ(RasterDC::FromPixel(image.pixel(89, y)), kWhite) << y;
    }
}

}  // namespace
