#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/SortedCollection.h"
#include "model/Texture.h"
#include "platform/RuntimeError.h"
#include "support/ModelGlobals.h"
#include "support/ModelPrinters.h"

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class ColorCollectionTest : public ::testing::Test {
protected:
    std::shared_ptr<Color> colour(int32_t r, int32_t g = 0, int32_t b = 0, const QString& path = "/p/a.jpg") {
        auto c = std::make_shared<Color>();
        c->SetColorTexture(Factory::NewTexture(0, "a", path, TextureKind::Image, false, false));
        c->SetColor(r, g, b);
        return c;
    }

    static std::vector<Color*> order(const ColorCollection& list) {
        std::vector<Color*> out;
        for (const auto& c : list) out.push_back(c.get());
        return out;
    }

    ModelGlobals globals;
};

TEST_F(ColorCollectionTest, TheCursorOfANewListStaysWithinIt) {
    ColorCollection list;
    EXPECT_FALSE(list.HasColors());
    EXPECT_EQ(list.Position(), 0);
    EXPECT_FALSE(list.MoveNext());
    EXPECT_EQ(list.Position(), 0);
    EXPECT_FALSE(list.MovePrevious());
    EXPECT_EQ(list.Position(), 1);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { list.Current(); }), RuntimeError::InvalidProcedureCall);
}

TEST_F(ColorCollectionTest, AddMovesTheCursorAndMovesStopAtTheEnds) {
    ColorCollection list;
    const auto a = colour(1), b = colour(2), c = colour(3);
    EXPECT_EQ(list.Add(a), a);
    list.Add(b);
    list.Add(c);
    EXPECT_TRUE(list.HasColors());
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.Position(), 3);
    EXPECT_EQ(list.Current(), c);
    EXPECT_FALSE(list.MoveNext());
    EXPECT_EQ(list.Position(), 3);
    EXPECT_TRUE(list.MovePrevious());
    EXPECT_EQ(list.Position(), 2);
    EXPECT_EQ(list.Current(), b);
    EXPECT_TRUE(list.MovePrevious());
    EXPECT_EQ(list.Position(), 1);
    EXPECT_FALSE(list.MovePrevious());
    EXPECT_EQ(list.Position(), 1);
    EXPECT_EQ(list.Item(1), a);
}

TEST_F(ColorCollectionTest, RemoveAndClearKeepTheCursor) {
    ColorCollection list;
    const auto a = colour(1), b = colour(2), c = colour(3);
    list.Add(a);
    list.Add(b);
    list.Add(c);
    list.Remove(1);
    EXPECT_EQ(order(list), (std::vector<Color*>{b.get(), c.get()}));
    EXPECT_EQ(list.Position(), 3);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { list.Current(); }), RuntimeError::InvalidProcedureCall);
    for (int32_t bad : {0, 3, -1})
        EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { list.Remove(bad); }), RuntimeError::InvalidProcedureCall) << bad;
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { list.Item(3); }), RuntimeError::InvalidProcedureCall);
    EXPECT_EQ(list.count(), 2);
    list.Clear();
    EXPECT_FALSE(list.HasColors());
    EXPECT_EQ(list.Position(), 3);
}

TEST_F(ColorCollectionTest, RemoveByColorTakesOnlyTheFirstEqualItem) {
    ColorCollection list;
    const auto first = colour(5, 5, 5), other = colour(9), second = colour(5, 5, 5);
    list.Add(first);
    list.Add(other);
    list.Add(second);
    const auto probe = colour(5, 5, 5);
    EXPECT_TRUE(list.Contains(probe));
    list.RemoveByColor(probe);
    EXPECT_EQ(order(list), (std::vector<Color*>{other.get(), second.get()}));
    list.RemoveByColor(colour(200));
    EXPECT_EQ(list.count(), 2);
    EXPECT_FALSE(list.Contains(colour(5, 5, 5, "/p/A.jpg")));
    EXPECT_FALSE(list.Contains(nullptr));
}

struct SortCase {
    const char* name;
    int32_t key;
    std::vector<int> expected;  // indexes into the fixture colours
};

std::ostream& operator<<(std::ostream& out, const SortCase& c) { return out << c.name; }

class ColorCollectionSort : public ColorCollectionTest, public ::testing::WithParamInterface<SortCase> {};

// Fixture colours: 0 (5,0,0), 1 (3,9,0), 2 (5,1,2), 3 (1,0,9), 4 white with hue -30 stored, 5 (5,0,0) again.
TEST_P(ColorCollectionSort, IsStableAndAscending) {
    std::vector<std::shared_ptr<Color>> colours{colour(5),       colour(3, 9),          colour(5, 1, 2),
                                                colour(1, 0, 9), colour(255, 255, 255), colour(5)};
    colours[4]->SetHue(-30);
    ColorCollection list;
    for (const auto& c : colours) list.Add(c);
    list.Sort(GetParam().key);
    std::vector<Color*> expected;
    for (int i : GetParam().expected) expected.push_back(colours[static_cast<size_t>(i)].get());
    EXPECT_EQ(order(list), expected);
    EXPECT_EQ(list.Position(), 6);
}

INSTANTIATE_TEST_SUITE_P(
    ColorCollection, ColorCollectionSort,
    ::testing::Values(SortCase{"sum_rgb", ColorSortKey::SumRGB, {0, 5, 2, 3, 1, 4}},
                      SortCase{"red_equal_fives_keep_order", ColorSortKey::Red, {3, 1, 0, 2, 5, 4}},
                      SortCase{"green", ColorSortKey::Green, {0, 3, 5, 2, 1, 4}},
                      SortCase{"blue", ColorSortKey::Blue, {0, 1, 5, 2, 3, 4}},
                      // HSB: 0 and 5 (0,100,2); 1 (100,100,4); 2 (345,80,2); 3 (247,100,4); 4 (-30,0,100),
                      // whose stored hue lies outside 0..359 and counts as it is.
                      SortCase{"sum_hsb_uses_stored_hue", ColorSortKey::SumHSB, {4, 0, 5, 1, 3, 2}},
                      SortCase{"hue_uses_stored_hue", ColorSortKey::Hue, {4, 0, 5, 1, 3, 2}},
                      SortCase{"saturation", ColorSortKey::Saturation, {4, 2, 0, 1, 3, 5}},
                      SortCase{"brightness", ColorSortKey::Brightness, {0, 2, 5, 1, 3, 4}},
                      SortCase{"key_9_keeps_order", 9, {0, 1, 2, 3, 4, 5}},
                      SortCase{"key_minus_1_keeps_order", -1, {0, 1, 2, 3, 4, 5}}),
    [](const auto& info) { return std::string(info.param.name); });

// Stored hue, saturation and brightness are unbounded, so their sum must not wrap round.
TEST_F(ColorCollectionTest, SumHSBOfExtremeStoredValuesDoesNotWrap) {
    const auto huge = colour(255), plain = colour(0, 255);
    huge->SetHue(INT32_MAX);
    ColorCollection list;
    list.Add(huge);
    list.Add(plain);
    list.Sort(ColorSortKey::SumHSB);
    EXPECT_EQ(order(list), (std::vector<Color*>{plain.get(), huge.get()}));
}

std::vector<QString> texts(const SortedCollection& list) {
    std::vector<QString> out;
    for (int16_t i = 1; i <= list.count(); ++i) out.push_back(list.Item(i));
    return out;
}

TEST(SortedCollection, TextsGoInBinaryOrderWithEqualOnesNewestFirst) {
    SortedCollection list;
    for (const char* t : {"b", "a", "B", "ab", "", "a"}) list.AddItem(QString::fromLatin1(t));
    EXPECT_EQ(texts(list), (std::vector<QString>{"", "B", "a", "a", "ab", "b"}));
    list.Remove(2);
    EXPECT_EQ(texts(list), (std::vector<QString>{"", "a", "a", "ab", "b"}));
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { list.Remove(6); }), RuntimeError::InvalidProcedureCall);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { list.Item(0); }), RuntimeError::InvalidProcedureCall);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { list.ItemPair(1); }), RuntimeError::TypeMismatch);
    int n = 0;
    for (const auto& entry : list) {
        EXPECT_TRUE(std::holds_alternative<QString>(entry));
        ++n;
    }
    EXPECT_EQ(n, 5);
}

TEST(SortedCollection, PairsSortByNameAndTheLaterEqualNameComesFirst) {
    SortedCollection list;
    const auto tahoma = std::make_shared<KeyNamePair>(KeyNamePair{1, "Tahoma"});
    const auto arial = std::make_shared<KeyNamePair>(KeyNamePair{2, "Arial"});
    const auto tahoma2 = std::make_shared<KeyNamePair>(KeyNamePair{3, "Tahoma"});
    list.AddPair(tahoma);
    list.AddPair(arial);
    list.AddPair(tahoma2);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.ItemPair(1), arial);
    EXPECT_EQ(list.ItemPair(2), tahoma2);
    EXPECT_EQ(list.ItemPair(3), tahoma);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { list.Item(1); }), RuntimeError::TypeMismatch);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { list.AddItem("x"); }), RuntimeError::TypeMismatch);
}

TEST(SortedCollection, HoldsAtMost32767Items) {
    SortedCollection list;
    for (int i = 0; i < 32767; ++i) list.AddItem(QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')));
    EXPECT_EQ(list.count(), 32767);
    EXPECT_EQ(list.Item(32767), QStringLiteral("32766"));
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { list.AddItem("z"); }), RuntimeError::Overflow);
    EXPECT_EQ(list.count(), 32767);
}

}  // namespace
