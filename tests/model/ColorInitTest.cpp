#include "model/Color.h"
#include "model/ColorConverter.h"
#include "model/Globals.h"
#include "support/ModelGlobals.h"
#include "services/CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Triple = std::array<int32_t, 3>;

struct Top {
    const char* name;
    Triple rgb;
    bool setHue;
    int32_t hue;
};

const Top tops[] = {
    {"white", {255, 255, 255}, false, 0},
    {"black", {0, 0, 0}, false, 0},
    {"red_10", {10, 128, 240}, false, 0},
    {"hue_350", {200, 30, 60}, true, 350},
};

struct InitCase {
    Top top;
    int32_t range;
    bool udc;
    std::string name;
};

std::ostream& operator<<(std::ostream& out, const InitCase& c) { return out << c.name; }

std::vector<InitCase> allCases() {
    std::vector<InitCase> cases;
    for (const Top& top : tops)
        for (int32_t range = CommandIds::RangeAllRGB; range <= CommandIds::RangeGreys; ++range)
            for (bool udc : {false, true})
                cases.push_back(
                    {top, range, udc, std::string(top.name) + "_" + std::to_string(range) + (udc ? "_udc" : "")});
    return cases;
}

struct Bounds {
    int32_t low;
    int32_t high;
};

Bounds below(int32_t top) { return {0, std::max(top - 1, 0)}; }
Bounds around(int32_t top, int32_t width) { return {top - width, top + width}; }
Bounds clamped(Bounds b) { return {std::clamp(b.low, 0, 255), std::clamp(b.high, 0, 255)}; }

class ColorInit : public ::testing::TestWithParam<InitCase> {
protected:
    ModelGlobals globals;
};

// Every drawn value lies within its bounds, both ends are reached over many draws, and the other
// triple follows from the drawn one.
TEST_P(ColorInit, DrawsWithinTheRangeOfTheTopColour) {
    const InitCase& p = GetParam();
    Color& top = *Globals::TopColor;
    top.SetColor(p.top.rgb[0], p.top.rgb[1], p.top.rgb[2]);
    if (p.top.setHue)
        top.SetHue(p.top.hue);
    const Triple topRGB{top.Red(), top.Green(), top.Blue()};
    const Triple topHSB{top.Hue(), top.Saturation(), top.Brightness()};

    const bool drawsRGB = p.range == CommandIds::RangeAllRGB;
    const bool window = p.udc && (p.range == CommandIds::RangeAllRGB || p.range == CommandIds::RangeAllHSB);
    std::array<Bounds, 3> expected{};
    for (int i = 0; i < 3; ++i) {
        if (drawsRGB)
            expected[i] = window ? clamped(around(topRGB[i], 35)) : below(topRGB[i]);
        else if (p.range == CommandIds::RangeAllHSB)
            expected[i] = window ? around(topHSB[i], i == 0 ? 25 : 10) : below(topHSB[i]);
        else
            expected[i] = i == 0 ? Bounds{topHSB[0], topHSB[0]} : below(topHSB[i]);
    }

    const ColorConverter& conv = *Globals::Converter;
    std::array<Bounds, 3> seen{{{INT32_MAX, INT32_MIN}, {INT32_MAX, INT32_MIN}, {INT32_MAX, INT32_MIN}}};
    Color c;
    for (int draw = 0; draw < 10000; ++draw) {
        c.Init(Globals::TextureItem(1), p.range, p.udc);
        const Triple rgb{c.Red(), c.Green(), c.Blue()};
        const Triple hsb{c.Hue(), c.Saturation(), c.Brightness()};
        const Triple& drawn = drawsRGB ? rgb : hsb;
        for (int i = 0; i < 3; ++i) {
            seen[i].low = std::min(seen[i].low, drawn[i]);
            seen[i].high = std::max(seen[i].high, drawn[i]);
        }
        Triple derived{};
        if (drawsRGB)
            conv.SplitHSB(conv.RGBToHSB(conv.RGBToLong(rgb[0], rgb[1], rgb[2])), derived[0], derived[1], derived[2]);
        else
            conv.SplitRGB(conv.HSBToRGB(conv.HSBToLong(hsb[0], hsb[1], hsb[2])), derived[0], derived[1], derived[2]);
        ASSERT_EQ(drawsRGB ? hsb : rgb, derived) << "draw " << draw;
        ASSERT_EQ(c.RangeType(), p.range);
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(seen[i].low, expected[i].low) << "value " << i;
        EXPECT_EQ(seen[i].high, expected[i].high) << "value " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Color, ColorInit, ::testing::ValuesIn(allCases()),
                         [](const auto& info) { return info.param.name; });

// A white top colour has saturation 0, so without the window every range but RGB gives greys only.
TEST(ColorInitWhite, HSBRangesGiveGreys) {
    ModelGlobals globals;
    Color c;
    for (int32_t range = CommandIds::RangeAllHSB; range <= CommandIds::RangeGreys; ++range) {
        for (int draw = 0; draw < 500; ++draw) {
            c.Init(Globals::TextureItem(1), range);
            ASSERT_EQ(c.Red(), c.Green()) << range;
            ASSERT_EQ(c.Green(), c.Blue()) << range;
            ASSERT_LE(c.Red(), 252) << range;
        }
    }
}

}  // namespace
