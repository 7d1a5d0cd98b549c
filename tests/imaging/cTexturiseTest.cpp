#include "imaging/cTexturise.h"

#include "BitmapTestHelpers.h"
#include "imaging/cDIBSection.h"
#include "imaging/mHLSRGB.h"
#include "platform/RuntimeError.h"
#include "support/TestEnvironment.h"

#include <QImage>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace BitmapTestHelpers;

namespace {

// Writes a grey texture file whose picture lines are given top first, and loads it.
void LoadGreys(cTexturise& filter, const std::vector<std::vector<int>>& lines, const char* name = "tex.png") {
    QImage picture(static_cast<int>(lines[0].size()), static_cast<int>(lines.size()), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(lines[y][x], lines[y][x], lines[y][x]));
    const QString path = TestEnvironment::Home() + "/tmp/" + name;
    ASSERT_TRUE(picture.save(path));
    ScriptedMessageBox boxes;
    ASSERT_TRUE(filter.LoadTexture(path));
    EXPECT_TRUE(boxes.Requests().empty());
}

Bgr Apply(cTexturise& filter, Bgr pixel, int32_t intensity, int32_t mid, int32_t saturation) {
    cDIBSection src, dst;
    EXPECT_TRUE(src.Create(1, 1));
    EXPECT_TRUE(dst.Create(1, 1));
    SetPixel(src, 0, 0, pixel);
    filter.ApplyTexture(src, dst, intensity, mid, saturation);
    return PixelAt(dst, 0, 0);
}

TEST(cTexturise, TheMiddleGreyKeepsAPixelAndLighterOrDarkerTexelsScaleItsLightness) {
    struct Case {
        const char* name;
        int texel;
        Bgr pixel;
        Bgr expected;
    };
    const Case cases[] = {
        {"middle grey keeps the pixel", 64, {50, 100, 200}, {50, 100, 200}},
        {"middle grey keeps grey", 64, {77, 77, 77}, {77, 77, 77}},
        // White multiplies lightness by 1 + 191/255; a light pixel goes past 1 and is limited to white.
        {"white limits to white", 255, {200, 200, 200}, {255, 255, 255}},
        {"white lightens", 255, {40, 40, 40}, {70, 70, 70}},  // 40 * 446 / 255 = 69.96
        // Black multiplies by 1 - 64/255.
        {"black darkens", 0, {0, 0, 255}, {0, 0, 191}},  // lightness 0.5 * 191/255, red 2 l
    };
    for (const Case& c : cases) {
        cTexturise filter;
        LoadGreys(filter, {{c.texel}});
        EXPECT_EQ(Apply(filter, c.pixel, 100, 64, 100), c.expected) << c.name;
    }
    // Saturation 0 leaves the pixel's grey; above 100 it is limited to 1.
    cTexturise filter;
    LoadGreys(filter, {{64}});
    EXPECT_EQ(Apply(filter, {0, 0, 255}, 100, 64, 0), (Bgr{128, 128, 128}));
    // Saturation 0.476 times 9 is limited to 1: m1 = 2l - 1 with l = 300/510.
    EXPECT_EQ(Apply(filter, {100, 100, 200}, 100, 64, 900), (Bgr{45, 45, 255}));
}

TEST(cTexturise, TheTextureTilesInBothDirections) {
    // A 2 x 3 texture over a 5 x 7 plain picture: every texel gives a different lightness.
    cTexturise filter;
    LoadGreys(filter, {{10, 60}, {110, 160}, {210, 250}});  // picture lines, top first
    cDIBSection src, dst;
    ASSERT_TRUE(src.Create(5, 7));
    ASSERT_TRUE(dst.Create(5, 7));
    Fill(src, {60, 90, 120});
    filter.ApplyTexture(src, dst, 100, 64, 100);
    // Buffer row 0 takes the texture's buffer row 0, its bottom line (210, 250).
    EXPECT_EQ(PixelAt(dst, 0, 0), Apply(filter, {60, 90, 120}, 100, 64, 100));
    std::vector<Bgr> tile;
    for (int32_t row = 0; row < 3; ++row)
        for (int32_t x = 0; x < 2; ++x) tile.push_back(PixelAt(dst, x, row));
    for (size_t i = 0; i < tile.size(); ++i)
        for (size_t j = i + 1; j < tile.size(); ++j) EXPECT_FALSE(tile[i] == tile[j]) << i << " and " << j;
    for (int32_t row = 0; row < 7; ++row)
        for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(dst, x, row), tile[(row % 3) * 2 + x % 2]) << x << "," << row;
}

TEST(cTexturise, OnlyTheCommonAreaIsWrittenAndPaddingIsNeverTouched) {
    cTexturise filter;
    LoadGreys(filter, {{0, 255, 30}});
    struct Case {
        const char* name;
        int32_t srcWidth, srcHeight, dstWidth, dstHeight;
    };
    for (const Case c : {Case{"same size, three padding bytes", 3, 4, 3, 4}, Case{"larger destination", 3, 2, 5, 4},
                         Case{"smaller destination", 7, 5, 3, 2}}) {
        cDIBSection src, dst;
        ASSERT_TRUE(src.Create(c.srcWidth, c.srcHeight));
        ASSERT_TRUE(dst.Create(c.dstWidth, c.dstHeight));
        FillRandom(src, 9);
        Fill(dst, {1, 2, 3});
        FillPadding(dst, 0xEE);
        filter.ApplyTexture(src, dst, 100, 64, 100);
        for (int32_t row = 0; row < c.dstHeight; ++row) {
            for (int32_t x = 0; x < c.dstWidth; ++x) {
                const bool inside = x < c.srcWidth && row < c.srcHeight;
                EXPECT_EQ(PixelAt(dst, x, row) == (Bgr{1, 2, 3}), !inside) << c.name << " at " << x << "," << row;
            }
            for (int32_t i = 3 * c.dstWidth; i < dst.BytesPerScanLine(); ++i)
                EXPECT_EQ(At(dst, 0, row)[i], 0xEE) << c.name << ": padding of row " << row;
        }
    }
}

TEST(cTexturise, AFailedLoadWarnsAndThenCopiesTheSourceUnchanged) {
    const QString missing = TestEnvironment::Home() + "/no texture here.bmp";
    cTexturise filter;
    {
        ScriptedMessageBox boxes;
        EXPECT_FALSE(filter.LoadTexture(missing));
        ASSERT_EQ(boxes.Requests().size(), 1u);
        EXPECT_EQ(boxes.Requests()[0].prompt, "Failed to load texture '" + missing + "'");
        EXPECT_EQ(boxes.Requests()[0].buttons, MessageBox::Exclamation);
        EXPECT_EQ(boxes.Requests()[0].title, QStringLiteral("Tindral"));
    }
    ASSERT_NE(filter.Texture(), nullptr);
    EXPECT_EQ(filter.Texture()->Width(), 0);
    EXPECT_FALSE(filter.WithinTexture(0, 0));
    // With no texture at all the same copy happens.
    cTexturise none;
    for (cTexturise* f : {&filter, &none}) {
        cDIBSection src, dst;
        ASSERT_TRUE(src.Create(5, 3));
        ASSERT_TRUE(dst.Create(5, 3));
        FillRandom(src, 4);
        FillPadding(src, 0);
        f->ApplyTexture(src, dst);
        EXPECT_EQ(Bytes(dst), Bytes(src));
    }
    EXPECT_EQ(none.TexturePixelColour(0, 0), 0);
}

TEST(cTexturise, TextureBoundsAndPixelColoursCountRowsFromTheBottom) {
    cTexturise filter;
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 0));
    picture.setPixel(2, 1, qRgb(1, 2, 3));  // bottom line, last column
    const QString path = TestEnvironment::Home() + "/tmp/colours.png";
    ASSERT_TRUE(picture.save(path));
    ASSERT_TRUE(filter.LoadTexture(path));
    EXPECT_EQ(filter.TexturePixelColour(2, 0), 1 + 256 * 2 + 65536 * 3);
    EXPECT_EQ(filter.TexturePixelColour(2, 1), 0);
    struct Case {
        int32_t x, y;
        bool within;
    };
    for (const Case c : {Case{0, 0, true}, Case{2, 1, true}, Case{3, 0, false}, Case{0, 2, false}, Case{-1, 0, false},
                         Case{0, -1, false}}) {
        EXPECT_EQ(filter.WithinTexture(c.x, c.y), c.within) << c.x << "," << c.y;
        if (!c.within) {
            try {
                filter.TexturePixelColour(c.x, c.y);
                ADD_FAILURE() << "no error at " << c.x << "," << c.y;
            } catch (const RuntimeError& e) {
                EXPECT_EQ(e.Number(), RuntimeError::SubscriptOutOfRange);
            }
        }
    }
    cDIBSection target;
    ASSERT_TRUE(target.Create(4, 4));
    filter.PaintTexture(target.hdc());
    EXPECT_EQ(PixelAt(target, 2, 2), (Bgr{3, 2, 1}));  // picture line 1 of 4 is buffer row 2
}

TEST(cTexturise, ReportsProgressAfterEveryRow) {
    cTexturise filter;
    LoadGreys(filter, {{100, 20}});
    std::vector<std::pair<int32_t, int32_t>> reports;
    QObject::connect(&filter, &cTexturise::Progress,
                     [&reports](int32_t value, int32_t max) { reports.emplace_back(value, max); });
    cDIBSection src, dst;
    ASSERT_TRUE(src.Create(4, 3));
    ASSERT_TRUE(dst.Create(4, 5));
    filter.ApplyTexture(src, dst);
    EXPECT_EQ(reports, (std::vector<std::pair<int32_t, int32_t>>{{0, 2}, {1, 2}, {2, 2}}));
}

struct Setting {
    const char* name;
    int32_t intensity, mid, saturation;
};

std::ostream& operator<<(std::ostream& os, const Setting& s) { return os << s.name; }

class TexturiseFastPath : public ::testing::TestWithParam<Setting> {};

TEST_P(TexturiseFastPath, MatchesTheReferenceOnPhotographsAndPlainColours) {
    const Setting& s = GetParam();
    cTexturise filter;
    LoadGreys(filter, {{0, 64, 255, 13, 200}, {90, 91, 92, 93, 94}, {255, 254, 1, 2, 128}});
    for (const int32_t width : {1, 3, 5, 7, 13, 31}) {
        cDIBSection photo, plain, fast, reference;
        ASSERT_TRUE(photo.Create(width, 11));
        ASSERT_TRUE(plain.Create(width, 11));
        FillRandom(photo, 100u + width);
        Fill(plain, {uint8_t(17 * width), uint8_t(200 - width), 90});
        // Runs of repeated pixels inside the photograph exercise the switch between runs.
        for (int32_t x = 0; x < width / 2; ++x) SetPixel(photo, x, 3, {5, 6, 7});
        // A row of one colour but its last pixel, and a row of one colour throughout.
        for (int32_t x = 0; x < width; ++x) {
            SetPixel(photo, x, 5, {x + 1 < width ? uint8_t(90) : uint8_t(91), 40, 200});
            SetPixel(photo, x, 6, {1, 250, 128});
        }
        for (const cDIBSection* src : {&photo, &plain}) {
            ASSERT_TRUE(fast.Create(width, 11));
            ASSERT_TRUE(reference.Create(width, 11));
            filter.TexturiseBits(*src, fast, s.intensity, s.mid, s.saturation);
            filter.TexturiseBitsReference(*src, reference, s.intensity, s.mid, s.saturation);
            EXPECT_EQ(Bytes(fast), Bytes(reference)) << "width " << width << (src == &plain ? " plain" : " photo");
        }
    }
}

TEST_P(TexturiseFastPath, MatchesTheReferenceForEveryTexelOverManyPlainColours) {
    const Setting& s = GetParam();
    cTexturise filter;
    std::vector<int> greys(256);
    for (int t = 0; t < 256; ++t) greys[t] = t;
    LoadGreys(filter, {greys});
    cDIBSection src, fast, reference;
    ASSERT_TRUE(src.Create(256, 64));
    ASSERT_TRUE(fast.Create(256, 64));
    ASSERT_TRUE(reference.Create(256, 64));
    // Each row is one plain colour under all 256 texture greys; between rows the colour changes.
    for (uint32_t n = 0; n < 64 * 64; ++n) {
        const uint32_t colour = n * 2654435761u;
        for (int32_t row = 0; row < 64; ++row)
            for (int32_t x = 0; x < 256; ++x)
                SetPixel(src, x, row, {uint8_t(colour >> 8), uint8_t(colour >> 16), uint8_t((colour >> 24) + row)});
        filter.TexturiseBits(src, fast, s.intensity, s.mid, s.saturation);
        filter.TexturiseBitsReference(src, reference, s.intensity, s.mid, s.saturation);
        ASSERT_EQ(Bytes(fast), Bytes(reference)) << "colour " << colour;
        n += 63;
    }
}

INSTANTIATE_TEST_SUITE_P(cTexturise, TexturiseFastPath,
                         ::testing::Values(Setting{"swatch", 100, 64, 100}, Setting{"defaults", 100, 0, 100},
                                           Setting{"strong_and_grey", 250, 10, 30}, Setting{"nothing", 0, 0, 0},
                                           Setting{"out_of_range", -50, 300, 500}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(cTexturise, WorksInPlace) {
    cTexturise filter;
    LoadGreys(filter, {{3, 99, 250}, {64, 64, 180}});
    cDIBSection bitmap, reference;
    ASSERT_TRUE(bitmap.Create(11, 6));
    ASSERT_TRUE(reference.Create(11, 6));
    FillRandom(bitmap, 77);
    FillRandom(reference, 77);
    for (int32_t x = 0; x < 11; ++x) SetPixel(bitmap, x, 2, {9, 9, 200});
    for (int32_t x = 0; x < 11; ++x) SetPixel(reference, x, 2, {9, 9, 200});
    filter.TexturiseBitsReference(bitmap, reference, 100, 64, 100);
    filter.TexturiseBits(bitmap, bitmap, 100, 64, 100);
    EXPECT_EQ(Bytes(bitmap), Bytes(reference));
}

}  // namespace
