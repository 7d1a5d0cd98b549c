#include "stage/Draw.h"

#include "platform/RasterBitmap.h"
#include "platform/RasterDC.h"
#include "platform/RuntimeError.h"

#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kWhite = RasterDC::Rgb(255, 255, 255);
constexpr uint32_t kRed = RasterDC::Rgb(255, 0, 0);
constexpr uint32_t kBlue = RasterDC::Rgb(0, 0, 255);

// A picture with a device context and a drawing tool pointed at it.
struct Stage {
    explicit Stage(int width = 60, int height = 40, uint32_t color = kWhite)
        : image(width, height, QImage::Format_RGB32), dc(&image) {
        image.fill(RasterDC::ToPixel(color));
        draw.SetHdc(dc.Handle());
    }
    uint32_t At(int x, int y) const { return RasterDC::FromPixel(image.pixel(x, y)); }
    int CountOf(uint32_t color) const {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                n += At(x, y) == color;
            }
        }
        return n;
    }

    QImage image;
    RasterDC dc;
    Draw draw;
};

// A picture whose every pixel differs, so any stray write shows.
void Gradient(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, RasterDC::ToPixel(RasterDC::Rgb(x * 4, y * 6, (x * y) % 256)));
        }
    }
}

struct Operation {
    const char* name;
    std::function<void(Draw&, uint32_t pattern)> run;
};
std::ostream& operator<<(std::ostream& os, const Operation& o) { return os << o.name; }

std::vector<Operation> AllOperations() {
    return {
        {"Ellipse", [](Draw& d, uint32_t) { d.DrawEllipse(5, 5, 40, 30); }},
        {"FilledEllipse",
         [](Draw& d, uint32_t) {
             d.SetFill(true);
             d.DrawEllipse(5, 5, 40, 30);
         }},
        {"EllipseTextured", [](Draw& d, uint32_t p) { d.DrawEllipseTextured(5, 5, 40, 30, p); }},
        {"Rect", [](Draw& d, uint32_t) { d.DrawRect(5, 5, 40, 30); }},
        {"FilledRect",
         [](Draw& d, uint32_t) {
             d.SetFill(true);
             d.DrawRect(5, 5, 40, 30);
         }},
        {"RectTextured", [](Draw& d, uint32_t p) { d.DrawRectTextured(5, 5, 40, 30, p); }},
        {"Line",
         [](Draw& d, uint32_t) {
             d.DrawLineStart(2, 3);
             d.DrawLineMove(20, 20);
             d.DrawLineEnd(30, 10, false);
         }},
        {"Text",
         [](Draw& d, uint32_t) {
             d.SetFont(std::make_shared<FontInfo>(FontInfo{QStringLiteral("Sans"), 12}));
             d.DrawTheText(2, 2, 58, 38, QStringLiteral("Hello there"));
         }},
        {"FloodFill", [](Draw& d, uint32_t) { d.DrawFloodFill(10, 10); }},
        {"FloodFillPattern", [](Draw& d, uint32_t p) { d.DrawFloodFill(10, 10, false, p); }},
    };
}

class DrawFrame : public ::testing::TestWithParam<Operation> {};

TEST_P(DrawFrame, DrawsThenLeavesTheContextsObjectsAndModeAsTheyWere) {
    Stage s;
    QImage tileImage(4, 4, QImage::Format_RGB32);
    tileImage.fill(RasterDC::ToPixel(kBlue));
    RasterBitmap tile(tileImage);
    s.draw.SetColor(kRed);
    s.draw.SetLineThickness(3);
    s.draw.SetTransparent(true);
    const QImage before = s.image;
    const int objects = s.dc.ObjectCount();
    const uint32_t pen = s.dc.SelectedPen(), brush = s.dc.SelectedBrush(), font = s.dc.SelectedFont();

    GetParam().run(s.draw, tile.Handle());

    EXPECT_NE(s.image, before) << "something was drawn";
    EXPECT_EQ(s.dc.ObjectCount(), objects) << "every created object deleted";
    EXPECT_EQ(s.dc.SelectedPen(), pen);
    EXPECT_EQ(s.dc.SelectedBrush(), brush);
    EXPECT_EQ(s.dc.SelectedFont(), font);
    EXPECT_EQ(s.dc.GetROP2(), RasterDC::R2_COPYPEN);
}

TEST_P(DrawFrame, DrawsNothingWithoutAContext) {
    Stage s;
    RasterBitmap tile(QImage(4, 4, QImage::Format_RGB32));
    const QImage before = s.image;
    for (const uint32_t handle : {0u, s.dc.Handle() + 1000u}) {
        s.draw.SetHdc(handle);
        GetParam().run(s.draw, tile.Handle());
        EXPECT_EQ(s.image, before) << "hdc " << handle;
        EXPECT_EQ(s.dc.ObjectCount(), 3);
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, DrawFrame, ::testing::ValuesIn(AllOperations()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DrawDefaults, StartYellowOneWideUnfilledOpaqueWithoutContextOrFont) {
    const Draw draw;
    EXPECT_EQ(draw.Color(), RasterDC::Rgb(255, 255, 0));
    EXPECT_EQ(draw.LineThickness(), 1);
    EXPECT_FALSE(draw.Fill());
    EXPECT_FALSE(draw.Transparent());
    EXPECT_EQ(draw.hdc(), 0u);
    EXPECT_EQ(draw.Font(), nullptr);
    EXPECT_EQ(draw.LogicalFont().height, 0);
}

TEST(DrawEllipse, OutlineKeepsTheInsideAndFillCoversIt) {
    Stage outlined(60, 40, kBlue);
    outlined.draw.SetColor(kRed);
    outlined.draw.SetLineThickness(5);
    outlined.draw.DrawEllipse(5, 5, 55, 35);
    EXPECT_EQ(outlined.At(30, 20), kBlue) << "centre";
    EXPECT_EQ(outlined.At(18, 20), kBlue) << "well inside the 5-pixel outline";
    EXPECT_EQ(outlined.At(5, 20), kRed) << "left edge";
    EXPECT_EQ(outlined.At(30, 5), kRed) << "top edge";
    EXPECT_EQ(outlined.At(1, 1), kBlue) << "outside";

    Stage filled(60, 40, kBlue);
    filled.draw.SetColor(kRed);
    filled.draw.SetFill(true);
    filled.draw.DrawEllipse(5, 5, 55, 35);
    EXPECT_EQ(filled.At(30, 20), kRed);
    EXPECT_EQ(filled.At(18, 20), kRed);
    EXPECT_EQ(filled.At(1, 1), kBlue);
}

struct Corners {
    const char* name;
    float x1, y1, x2, y2;
};
std::ostream& operator<<(std::ostream& os, const Corners& c) { return os << c.name; }

class DrawRectCorners : public ::testing::TestWithParam<Corners> {};

TEST_P(DrawRectCorners, AnyCornerOrderGivesTheSameRectangle) {
    const Corners& c = GetParam();
    for (const bool fill : {false, true}) {
        for (const int16_t width : {1, 5}) {
            Stage expected, actual;
            Gradient(expected.image);
            Gradient(actual.image);
            for (Stage* s : {&expected, &actual}) {
                s->draw.SetColor(kRed);
                s->draw.SetFill(fill);
                s->draw.SetLineThickness(width);
            }
            expected.draw.DrawRect(10, 8, 45, 30);
            actual.draw.DrawRect(c.x1, c.y1, c.x2, c.y2);
            EXPECT_EQ(actual.image, expected.image) << "fill " << fill << " width " << width;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Orders, DrawRectCorners,
                         ::testing::Values(Corners{"RightToLeft", 45, 8, 10, 30}, Corners{"BottomToTop", 10, 30, 45, 8},
                                           Corners{"BottomRightToTopLeft", 45, 30, 10, 8}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DrawRect, CoordinatesRoundHalfToEven) {
    Stage rounded, exact;
    for (Stage* s : {&rounded, &exact}) {
        s->draw.SetColor(kRed);
        s->draw.SetFill(true);
    }
    rounded.draw.DrawRect(2.5f, 3.5f, 20.5f, 11.5f);  // 2, 4, 20, 12
    exact.draw.DrawRect(2, 4, 20, 12);
    EXPECT_EQ(rounded.image, exact.image);
}

TEST(DrawRect, OutlineLeavesTheInsideAndTransparentMasksWithTheColour) {
    Stage s(60, 40, RasterDC::Rgb(0xF0, 0xAA, 0x3C));
    s.draw.SetColor(RasterDC::Rgb(0x3C, 0xFF, 0x0F));
    s.draw.DrawRect(10, 10, 40, 30);
    EXPECT_EQ(s.At(25, 20), RasterDC::Rgb(0xF0, 0xAA, 0x3C));
    EXPECT_EQ(s.At(10, 20), RasterDC::Rgb(0x3C, 0xFF, 0x0F));

    Stage masked(60, 40, RasterDC::Rgb(0xF0, 0xAA, 0x3C));
    masked.draw.SetColor(RasterDC::Rgb(0x3C, 0xFF, 0x0F));
    masked.draw.SetTransparent(true);
    masked.draw.SetFill(true);
    masked.draw.DrawRect(10, 10, 40, 30);
    EXPECT_EQ(masked.At(25, 20), RasterDC::Rgb(0x30, 0xAA, 0x0C)) << "picture AND colour";
    EXPECT_EQ(masked.At(5, 5), RasterDC::Rgb(0xF0, 0xAA, 0x3C));
}

TEST(DrawTextured, PatternFillsTheShapeWithoutAnOutlineAndAMissingBitmapDrawsNothing) {
    QImage tileImage(2, 1, QImage::Format_RGB32);
    tileImage.setPixel(0, 0, RasterDC::ToPixel(kRed));
    tileImage.setPixel(1, 0, RasterDC::ToPixel(kBlue));
    RasterBitmap tile(tileImage);
    Stage s;
    s.draw.SetLineThickness(5);
    s.draw.DrawRectTextured(10, 10, 20, 20, tile.Handle());
    EXPECT_EQ(s.At(10, 10), kRed);
    EXPECT_EQ(s.At(11, 10), kBlue);
    EXPECT_EQ(s.At(18, 18), kRed);
    EXPECT_EQ(s.At(19, 18), kWhite) << "no pen: the box less its right and bottom edge";
    EXPECT_EQ(s.At(9, 10), kWhite);

    Stage none;
    const QImage before = none.image;
    none.draw.DrawRectTextured(10, 10, 20, 20, 0);
    none.draw.DrawEllipseTextured(10, 10, 20, 20, 12345);
    none.draw.DrawFloodFill(3, 3, false, 12345);
    EXPECT_EQ(none.image, before);
}

TEST(DrawLine, TheBandErasesItselfAndTheEndLeavesOnlyTheFinalLine) {
    Stage band;
    Gradient(band.image);
    const QImage original = band.image;
    band.draw.SetColor(kRed);
    band.draw.SetLineThickness(5);
    band.draw.DrawLineStart(10, 10);
    EXPECT_EQ(band.dc.GetROP2(), RasterDC::R2_NOT);
    band.draw.DrawLineMove(50, 30);
    EXPECT_NE(band.image, original) << "the band shows";
    band.draw.DrawLineMove(10, 10);
    EXPECT_EQ(band.image, original) << "drawn back to the start, the band is gone";
    band.draw.DrawLineMove(40, 5);
    band.draw.DrawLineMove(20, 35);
    band.draw.DrawLineEnd(30, 20, false);

    Stage direct;
    Gradient(direct.image);
    direct.draw.SetColor(kRed);
    direct.draw.SetLineThickness(5);
    direct.draw.DrawLineStart(10, 10);
    direct.draw.DrawLineEnd(30, 20, true);
    EXPECT_EQ(band.image, direct.image) << "no trace of any band";
    EXPECT_EQ(band.At(20, 15), kRed);
}

TEST(DrawLine, FreeHandSegmentsJoinAndTransparentMasks) {
    Stage s(60, 40, RasterDC::Rgb(0xF0, 0xF0, 0xF0));
    s.draw.SetColor(RasterDC::Rgb(0x0F, 0xFF, 0x00));
    s.draw.SetLineThickness(3);
    s.draw.SetTransparent(true);
    s.draw.DrawLineStart(5, 5);
    s.draw.DrawLineEnd(25, 5, true);
    s.draw.DrawLineStart(25, 5);
    s.draw.DrawLineEnd(25, 30, true);
    EXPECT_EQ(s.At(15, 5), RasterDC::Rgb(0x00, 0xF0, 0x00));
    EXPECT_EQ(s.At(25, 5), RasterDC::Rgb(0x00, 0xF0, 0x00)) << "the joint";
    EXPECT_EQ(s.At(25, 20), RasterDC::Rgb(0x00, 0xF0, 0x00));
    EXPECT_EQ(s.dc.GetROP2(), RasterDC::R2_COPYPEN);
}

TEST(DrawLine, AStartWithoutAnEndGivesItsPenBack) {
    Stage s;
    const int objects = s.dc.ObjectCount();
    s.draw.DrawLineStart(1, 1);
    s.draw.DrawLineStart(2, 2);
    s.draw.DrawLineEnd(9, 9, true);
    EXPECT_EQ(s.dc.ObjectCount(), objects);
    EXPECT_EQ(s.dc.GetROP2(), RasterDC::R2_COPYPEN);
    const QImage before = s.image;
    s.draw.DrawLineEnd(20, 20, true);  // no line in progress
    s.draw.DrawLineMove(20, 20);
    EXPECT_EQ(s.image, before);
}

TEST(DrawFloodFill, FillsTheAreaAndOnItsOwnColourChangesNothing) {
    Stage s;
    s.draw.SetColor(kBlue);
    s.draw.SetLineThickness(1);
    s.draw.DrawRect(10, 10, 30, 30);
    s.draw.SetColor(kRed);
    s.draw.DrawFloodFill(20, 20);
    EXPECT_EQ(s.At(20, 20), kRed);
    EXPECT_EQ(s.At(11, 11), kRed);
    EXPECT_EQ(s.At(5, 5), kWhite) << "outside the blue outline";
    EXPECT_EQ(s.CountOf(kRed), 19 * 19);

    const QImage filled = s.image;
    s.draw.DrawFloodFill(20, 20);
    EXPECT_EQ(s.image, filled);
    s.draw.DrawFloodFill(-5, 20);
    EXPECT_EQ(s.image, filled);
}

TEST(DrawFloodFill, APatternHoldingTheAreasColourFillsOnceAndStops) {
    QImage tileImage(3, 3, QImage::Format_RGB32);
    tileImage.fill(RasterDC::ToPixel(kWhite));
    tileImage.setPixel(1, 1, RasterDC::ToPixel(kRed));
    RasterBitmap tile(tileImage);
    Stage s(300, 200);
    s.draw.DrawFloodFill(150, 100, false, tile.Handle());
    EXPECT_EQ(s.CountOf(kRed), 100 * 67);
    EXPECT_EQ(s.At(1, 1), kRed);
    EXPECT_EQ(s.At(0, 0), kWhite);
}

struct FontCase {
    const char* name;
    FontInfo font;
    int32_t height;
    int32_t weight;
    uint8_t italic, underline, strikeOut;
};
std::ostream& operator<<(std::ostream& os, const FontCase& c) { return os << c.name; }

class DrawFont : public ::testing::TestWithParam<FontCase> {};

TEST_P(DrawFont, BuildsTheLogicalFont) {
    const FontCase& c = GetParam();
    Draw draw;
    auto font = std::make_shared<FontInfo>(c.font);
    draw.SetFont(font);
    EXPECT_EQ(draw.Font(), font) << "the object itself is kept";
    const LogFont& record = draw.LogicalFont();
    EXPECT_EQ(record.height, c.height);
    EXPECT_EQ(record.weight, c.weight);
    EXPECT_EQ(record.italic, c.italic);
    EXPECT_EQ(record.underline, c.underline);
    EXPECT_EQ(record.strikeOut, c.strikeOut);
    EXPECT_EQ(record.width, 0);
    EXPECT_EQ(record.charSet, 1);
    EXPECT_EQ(record.quality, 2);
    EXPECT_EQ(std::string(record.faceName), c.font.name.left(31).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, DrawFont,
    ::testing::Values(
        FontCase{"Size22BoldIsCell35Weight800", {QStringLiteral("Tahoma"), 22, true}, 35, 800, 0, 0, 0},
        FontCase{"PlainIsWeight400", {QStringLiteral("Tahoma"), 10}, 16, 400, 0, 0, 0},
        FontCase{"StylesSetTheirFlags", {QStringLiteral("Serif"), 15, false, true, true, true}, 24, 400, 1, 1, 1},
        FontCase{"FractionalSizeRoundsHalfToEven", {QStringLiteral("Serif"), 10.3125}, 16, 400, 0, 0, 0},
        FontCase{"LongFaceNameIsCutTo31",
                 {QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn"), 12},
                 19,
                 400,
                 0,
                 0,
                 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DrawFont, NoFontObjectRaises91AndKeepsTheFont) {
    Draw draw;
    auto font = std::make_shared<FontInfo>(FontInfo{QStringLiteral("Tahoma"), 22});
    draw.SetFont(font);
    try {
        draw.SetFont(nullptr);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 91);
    }
    EXPECT_EQ(draw.Font(), font);
    EXPECT_EQ(draw.LogicalFont().height, 35);
}

TEST(DrawTheText, WrapsAtWordsInsideTheRectangleInTheColour) {
    Stage s(240, 160);
    s.draw.SetColor(kBlue);
    s.draw.SetFont(std::make_shared<FontInfo>(FontInfo{QStringLiteral("Sans"), 10}));
    s.draw.DrawTheText(20, 20, 120, 140, QStringLiteral("one two three four five six seven eight nine ten"));
    int inkRows = 0;
    int solid = 0;
    for (int y = 0; y < 160; ++y) {
        bool ink = false;
        for (int x = 0; x < 240; ++x) {
            const uint32_t c = s.At(x, y);
            if (c != kWhite) {
                ASSERT_TRUE(x >= 20 && x < 120 && y >= 20 && y < 140) << x << "," << y;
                ink = true;
                solid += c == kBlue;
            }
        }
        inkRows += ink;
    }
    EXPECT_GT(solid, 50) << "in the colour";
    EXPECT_GT(inkRows, 3 * 12) << "more than two lines of a 16-pixel cell";
    for (int y = 20; y < 140; ++y) {
        EXPECT_EQ(s.At(119, y), kWhite) << "a word cut at the edge at " << y;
    }
    EXPECT_EQ(s.dc.GetBkMode(), RasterDC::TRANSPARENT) << "left so";
}

}  // namespace
