#include "ColorMatchFixture.h"

#include <sstream>
#include <string>

namespace {

using PieTest::Rgb;

std::string ToXml(const pugi::xml_node& node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw | pugi::format_no_declaration);
    return out.str();
}

std::string ColorXml(int r, int g, int b) {
    return "<Color rt=\"15410\" r=\"" + std::to_string(r) + "\" g=\"" + std::to_string(g) + "\" b=\"" +
           std::to_string(b) +
           "\"><Texture id=\"1\" type=\"0\" name=\"  No Texture\" path=\"\" internal=\"1\"/></Color>";
}

using ColorMatchDocument = ColorMatchTest;

TEST_F(ColorMatchDocument, WritesBackgroundInDecimalAndOneColourPerSliceInOrder) {
    pie->Init(host.get());
    AddColors({Rgb(10, 20, 30), Rgb(200, 100, 0)});
    ASSERT_TRUE(pie->IsDirty());
    pugi::xml_document doc;
    pugi::xml_node match = doc.append_child("Match");
    ASSERT_TRUE(pie->Serialize(doc, match));
    EXPECT_FALSE(pie->IsDirty());
    ASSERT_EQ(std::distance(match.children().begin(), match.children().end()), 1);
    const pugi::xml_node colors = match.child("Colors");
    EXPECT_EQ(std::string(colors.first_attribute().name()), "backcolor");
    EXPECT_EQ(std::string(colors.attribute("backcolor").value()), "16777215");
    std::vector<std::string> written;
    for (const pugi::xml_node& color : colors.children()) written.push_back(ToXml(color));
    ASSERT_EQ(written.size(), 2u);
    EXPECT_NE(written[0].find("r=\"10\" g=\"20\" b=\"30\""), std::string::npos) << written[0];
    EXPECT_NE(written[1].find("r=\"200\" g=\"100\" b=\"0\""), std::string::npos) << written[1];
}

TEST_F(ColorMatchDocument, WritingWithNowhereToAppendFailsAndKeepsTheFlag) {
    pie->Init(host.get());
    AddColors({Rgb(10, 20, 30)});
    pugi::xml_document doc;
    EXPECT_FALSE(pie->Serialize(doc, pugi::xml_node()));
    EXPECT_TRUE(pie->IsDirty());
}

TEST_F(ColorMatchDocument, ReadsBackWhatItWrote) {
    pie->Init(host.get());
    pie->SetBackColor(Rgb(1, 2, 3));
    AddColors({Rgb(10, 20, 30), Rgb(200, 100, 0), Rgb(0, 0, 255)});
    pugi::xml_document doc;
    pugi::xml_node match = doc.append_child("Match");
    ASSERT_TRUE(pie->Serialize(doc, match));

    ColorMatch other(host.get());
    other.resize(PieWidth, PieHeight);
    other.Init(host.get());
    int whiteRaised = 0;
    QObject::connect(&other, &ColorMatch::SetBackColorWhite, [&whiteRaised] { ++whiteRaised; });
    other.AddColor(MakeColor(Rgb(9, 9, 9)));
    ASSERT_TRUE(other.DeSerialize(nullptr, match, QStringLiteral("/doc/")));
    EXPECT_EQ(other.BackColor(), Rgb(1, 2, 3));
    std::vector<int32_t> read;
    for (const auto& color : *other.Colors()) read.push_back(color->RGBColor());
    EXPECT_EQ(read, Slices());
    EXPECT_FALSE(other.IsDirty());
    EXPECT_EQ(whiteRaised, 1);
    EXPECT_EQ(Packed(other.grab().toImage(), SlicePoint(2, 3)), Rgb(0, 0, 255));
}

// What a "Match" element holds decides what is read; a failed read leaves the pie cleared.
TEST_F(ColorMatchDocument, ReadingTakesWhatItCanAndFailsOnABadBackground) {
    struct Case {
        const char* name;
        std::string match;
        bool ok;
        int32_t background;
        std::vector<int32_t> colors;
    };
    const std::string two = ColorXml(10, 20, 30) + ColorXml(40, 50, 60);
    const Case cases[] = {
        {"BackgroundAndTwoColours",
         "<Match><Colors backcolor=\"255\">" + two + "</Colors></Match>",
         true,
         255,
         {Rgb(10, 20, 30), Rgb(40, 50, 60)}},
        {"FirstAttributeWhateverItsName", "<Match><Colors bg=\"65280\" backcolor=\"255\"/></Match>", true, 65280, {}},
        {"HexadecimalText", "<Match><Colors backcolor=\"&amp;HFF\"/></Match>", true, 255, {}},
        {"EqualColourDropped",
         "<Match><Colors backcolor=\"0\">" + ColorXml(10, 20, 30) + ColorXml(10, 20, 30) + "</Colors></Match>",
         true,
         0,
         {Rgb(10, 20, 30)}},
        {"UnreadableColourLeftOut",
         "<Match><Colors backcolor=\"0\"><Color r=\"1\"/>" + ColorXml(1, 2, 3) + "<Color rt=\"x\"/></Colors></Match>",
         true,
         0,
         {Rgb(1, 2, 3)}},
        {"NoColorsElement", "<Match/>", false, ColorMatch::White, {}},
        {"NoAttributes", "<Match><Colors>" + two + "</Colors></Match>", false, ColorMatch::White, {}},
        {"NonNumeric", "<Match><Colors backcolor=\"white\">" + two + "</Colors></Match>", false, ColorMatch::White, {}},
        {"Empty", "<Match><Colors backcolor=\"\">" + two + "</Colors></Match>", false, ColorMatch::White, {}},
        {"Negative", "<Match><Colors backcolor=\"-5\">" + two + "</Colors></Match>", false, ColorMatch::White, {}},
        {"AboveWhite",
         "<Match><Colors backcolor=\"16777216\">" + two + "</Colors></Match>",
         false,
         ColorMatch::White,
         {}},
        {"Huge",
         "<Match><Colors backcolor=\"99999999999999999999\">" + two + "</Colors></Match>",
         false,
         ColorMatch::White,
         {}},
    };
    pie->Init(host.get());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(c.match.c_str()));
        pie->SetBackColor(Rgb(7, 7, 7));
        AddColors({Rgb(99, 99, 99)});
        whiteSignals = 0;
        EXPECT_EQ(pie->DeSerialize(nullptr, doc.child("Match"), QStringLiteral("/doc/")), c.ok);
        EXPECT_EQ(whiteSignals, 1);
        EXPECT_EQ(pie->BackColor(), c.background);
        EXPECT_EQ(Slices(), c.colors);
        EXPECT_FALSE(pie->IsDirty());
        const QImage shown = Shown();
        EXPECT_EQ(Packed(shown, QPoint(0, 0)), c.background);
    }
}

}  // namespace
