#include "platform/Numeric.h"
#include "platform/Random.h"
#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

namespace {

struct RoundCase {
    const char* name;
    double value;
    int32_t expected;
};

std::ostream& operator<<(std::ostream& out, const RoundCase& c) { return out << c.name; }

class RoundHalfEven : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEven, GoesToTheEvenNeighbour) { EXPECT_EQ(Numeric::Round(GetParam().value), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Numeric, RoundHalfEven,
                         ::testing::Values(RoundCase{"half_down_to_even", 0.5, 0}, RoundCase{"half_up_to_even", 1.5, 2},
                                           RoundCase{"two_and_a_half", 2.5, 2}, RoundCase{"grey_127_5", 127.5, 128},
                                           RoundCase{"grey_76_5", 76.5, 76}, RoundCase{"negative_half", -0.5, 0},
                                           RoundCase{"negative_one_and_half", -1.5, -2},
                                           RoundCase{"below_half", 2.4999, 2}, RoundCase{"above_half", 2.5001, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Numeric, FloorTakesTheLargestIntegerNotAbove) {
    EXPECT_EQ(Numeric::Floor(2.99), 2);
    EXPECT_EQ(Numeric::Floor(-0.01), -1);
    EXPECT_EQ(Numeric::Floor(-25.0), -25);
}

TEST(Numeric, OutOfRangeIsOverflow) {
    try {
        Numeric::Round(3e9);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), RuntimeError::Overflow);
    }
    EXPECT_THROW(Numeric::RoundToInteger(40000), RuntimeError);
}

TEST(Numeric, TextConversion) {
    EXPECT_EQ(Numeric::ToLong(QStringLiteral("15410")), 15410);
    EXPECT_EQ(Numeric::ToLong(QStringLiteral(" 12 ")), 12);
    EXPECT_EQ(Numeric::ToLong(QStringLiteral("12.5")), 12);
    EXPECT_EQ(Numeric::ToLong(QStringLiteral("13.5")), 14);
    EXPECT_EQ(Numeric::ToLong(QStringLiteral("-3")), -3);
    EXPECT_EQ(Numeric::ToLong(QStringLiteral("&HFF")), 255);
    for (const char* bad : {"", "  ", "abc", "12abc", "1,5"}) {
        try {
            Numeric::ToLong(QString::fromLatin1(bad));
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), RuntimeError::TypeMismatch) << bad;
        }
    }
}

TEST(Random, DrawsStayInTheUnitInterval) {
    Random::Randomize();
    float lo = 1, hi = 0;
    for (int i = 0; i < 200000; ++i) {
        const float r = Random::Rnd();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        lo = std::min(lo, r);
        hi = std::max(hi, r);
    }
    EXPECT_LT(lo, 0.001f);
    EXPECT_GT(hi, 0.999f);
}

TEST(Random, ReseedingTwiceInARowGivesDifferentStreams) {
    Random::Randomize();
    const float a = Random::Rnd();
    Random::Randomize();
    const float b = Random::Rnd();
    EXPECT_NE(a, b);
}

TEST(RuntimeErrorTest, RaiseFillsSourceAndDescription) {
    try {
        Err::Raise(RuntimeError::TypeMismatch);
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Source(), QStringLiteral("tindral"));
        EXPECT_EQ(e.Description(), QStringLiteral("Type mismatch"));
    }
}

}  // namespace
