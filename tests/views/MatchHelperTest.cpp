#include "views/MatchHelper.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct ChannelCase {
    const char* name;
    int32_t value;
    int32_t red;
    int32_t green;
    int32_t blue;
};

void PrintTo(const ChannelCase& c, std::ostream* os) { *os << c.name; }

class MatchHelperChannels : public ::testing::TestWithParam<ChannelCase> {};

// Green and blue are plain quotients, so they keep the higher channels' bits; only the closeness test
// cuts them to a byte.
TEST_P(MatchHelperChannels, ReadTheValueAsDefined) {
    const ChannelCase& c = GetParam();
    EXPECT_EQ(MatchHelper::RedOf(c.value), c.red);
    EXPECT_EQ(MatchHelper::GreenOf(c.value), c.green);
    EXPECT_EQ(MatchHelper::BlueOf(c.value), c.blue);
}

INSTANTIATE_TEST_SUITE_P(Values, MatchHelperChannels,
                         ::testing::Values(ChannelCase{"Black", 0, 0, 0, 0},
                                           ChannelCase{"Mixed", 0x123456, 0x56, 0x1234, 0x12},
                                           ChannelCase{"White", 0xFFFFFF, 255, 0xFFFF, 255},
                                           ChannelCase{"UnreadablePixel", -1, 255, 0, 0},
                                           ChannelCase{"NegativeTruncatesTowardZero", -65536, 0, -256, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MatchHelper, ColorsAreCloseWithinTenOnEveryChannel) {
    struct Case {
        int32_t a, b;
        bool close;
    };
    const auto rgb = [](int r, int g, int b) { return r + 256 * g + 65536 * b; };
    const Case cases[] = {
        {rgb(100, 100, 100), rgb(100, 100, 100), true},
        {rgb(100, 100, 100), rgb(110, 90, 110), true},
        {rgb(100, 100, 100), rgb(111, 100, 100), false},
        {rgb(100, 100, 100), rgb(100, 89, 100), false},
        {rgb(100, 100, 100), rgb(100, 100, 111), false},
        {rgb(0, 0, 0), rgb(255, 255, 255), false},
        // An unreadable pixel counts as pure red.
        {-1, rgb(250, 5, 10), true},
        {-1, rgb(255, 255, 255), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchHelper::ColorsAreClose(c.a, c.b), c.close) << c.a << " vs " << c.b;
        EXPECT_EQ(MatchHelper::ColorsAreClose(c.b, c.a), c.close) << c.b << " vs " << c.a;
    }
}

}  // namespace
