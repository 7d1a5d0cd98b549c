#include "model/Color.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "support/ModelGlobals.h"
#include "support/ModelPrinters.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>

namespace {

std::string toXml(const pugi::xml_node& node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw | pugi::format_no_declaration);
    return out.str();
}

class ColorXml : public ::testing::Test {
protected:
    ModelGlobals globals;
};

TEST_F(ColorXml, WhiteOfRange15410IsWrittenWithItsTexture) {
    Color c;
    c.Init(Globals::TextureItem(1), 15410);
    c.SetColor(255, 255, 255);
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Holders");
    ASSERT_TRUE(c.Serialize(doc, root));
    EXPECT_EQ(toXml(doc),
              "<Holders><Color rt=\"15410\" r=\"255\" g=\"255\" b=\"255\"><Texture id=\"1\" type=\"0\" "
              "name=\"  No Texture\" path=\"\" internal=\"1\"/></Color></Holders>");
    EXPECT_FALSE(c.IsDirty());
    EXPECT_TRUE(c.ColorTexture()->InStorage());
}

TEST_F(ColorXml, RoundTripKeepsRangeChannelsAndTexture) {
    auto c = std::make_shared<Color>();
    c->Init(Globals::TextureItem(2), 15416);
    c->SetColor(10, 200, 255);
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Root");
    ASSERT_TRUE(c->Serialize(doc, root));
    EXPECT_EQ(toXml(root.child("Color")),
              "<Color rt=\"15416\" r=\"10\" g=\"200\" b=\"255\"><Texture id=\"2\" "
              "type=\"1\" name=\"dots\" path=\"dots.bmp\" internal=\"1\"/></Color>");

    Color back;
    ASSERT_TRUE(back.DeSerialize(root.child("Color"), "/doc/"));
    EXPECT_EQ(back.RangeType(), 15416);
    EXPECT_EQ(back.Red(), 10);
    EXPECT_EQ(back.Green(), 200);
    EXPECT_EQ(back.Blue(), 255);
    EXPECT_EQ(back.Hue(), 193);
    EXPECT_TRUE(back.ColorTexture()->Equals(c->ColorTexture()));
    EXPECT_TRUE(back.ColorTexture()->Internal());
    EXPECT_FALSE(back.IsDirty());
    EXPECT_TRUE(back.Equals(c));
}

TEST_F(ColorXml, UserPictureIsReadFromTheDocumentFolder) {
    Color c;
    c.Init(Factory::NewTexture(0, "sea", "/pics/sea.jpg", TextureKind::Image, false, false), 15410);
    pugi::xml_document doc;
    ASSERT_TRUE(c.Serialize(doc, doc.append_child("Root")));
    EXPECT_EQ(toXml(doc.child("Root").child("Color").child("Texture")),
              "<Texture id=\"0\" type=\"2\" name=\"sea\" path=\"picssea.jpg\" internal=\"0\"/>");

    Color back;
    ASSERT_TRUE(back.DeSerialize(doc.child("Root").child("Color"), "/tmp/TIN3.tmp/"));
    EXPECT_EQ(back.ColorTexture()->path(), QStringLiteral("/tmp/TIN3.tmp/picssea.jpg"));
    EXPECT_TRUE(back.ColorTexture()->InStorage());
}

TEST_F(ColorXml, WithoutATextureWritingFailsAndTheFlagStays) {
    Color c;
    c.SetColor(1, 2, 3);
    pugi::xml_document doc;
    EXPECT_FALSE(c.Serialize(doc, doc.append_child("Root")));
    EXPECT_TRUE(c.IsDirty());
}

struct BadColorCase {
    const char* name;
    const char* xml;
    int32_t range;  // what the colour holds afterwards
    int32_t red;
    bool dirty;
};

std::ostream& operator<<(std::ostream& out, const BadColorCase& c) { return out << c.name; }

class ColorBadElement : public ColorXml, public ::testing::WithParamInterface<BadColorCase> {};

// A read that fails stops at the bad attribute, keeping what was assigned and the modified flag.
TEST_P(ColorBadElement, FailsAtTheFirstBadAttribute) {
    pugi::xml_document doc;
    doc.load_string(GetParam().xml);
    Color c;
    c.SetColor(7, 7, 7);
    c.SetIsDirty(false);
    EXPECT_FALSE(c.DeSerialize(doc.child("Color"), "/doc/"));
    EXPECT_EQ(c.RangeType(), GetParam().range);
    if (GetParam().red >= 0) {
        EXPECT_EQ(c.Red(), GetParam().red);
    }
    EXPECT_EQ(c.IsDirty(), GetParam().dirty);
}

#define TEX R"(<Texture id="2" type="1" name="dots" path="dots.bmp" internal="1"/>)"

INSTANTIATE_TEST_SUITE_P(
    Color, ColorBadElement,
    ::testing::Values(
        BadColorCase{"no_element", "<Other/>", 15410, 7, false},
        BadColorCase{"missing_rt", R"(<Color r="1" g="2" b="3">)" TEX "</Color>", 15410, 7, false},
        BadColorCase{"non_numeric_rt", R"(<Color rt="rgb" r="1" g="2" b="3">)" TEX "</Color>", 15410, 7, false},
        BadColorCase{"missing_r", R"(<Color rt="15412" g="2" b="3">)" TEX "</Color>", 15412, -1, true},
        BadColorCase{"non_numeric_g", R"(<Color rt="15413" r="1" g="x" b="3">)" TEX "</Color>", 15413, 1, true},
        BadColorCase{"empty_b", R"(<Color rt="15414" r="1" g="2" b="">)" TEX "</Color>", 15414, 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorXml, ABadTextureLeavesTheColourWithACleanTexture) {
    pugi::xml_document doc;
    doc.load_string(
        R"(<Color rt="15410" r="1" g="2" b="3"><Texture id="x" type="1" name="n" path="p" internal="1"/></Color>)");
    Color c;
    ASSERT_TRUE(c.DeSerialize(doc.child("Color"), "/doc/"));
    EXPECT_EQ(c.Blue(), 3);
    EXPECT_EQ(c.ColorTexture()->Id(), 0);
    EXPECT_EQ(c.ColorTexture()->Name(), QString());

    pugi::xml_document bare;
    bare.load_string(R"(<Color rt="15411" r="4.5" g="5.5" b=" 6 "/>)");
    ASSERT_TRUE(c.DeSerialize(bare.child("Color"), "/doc/"));
    EXPECT_EQ(c.RangeType(), 15411);
    EXPECT_EQ(c.Red(), 4);
    EXPECT_EQ(c.Green(), 6);
    EXPECT_EQ(c.Blue(), 6);
    EXPECT_EQ(c.ColorTexture()->Id(), 0);
}

}  // namespace
