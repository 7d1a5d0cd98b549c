#include "platform/RuntimeError.h"
#include "services/XMLShared.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string toXml(const pugi::xml_document& doc) {
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    return out.str();
}

TEST(XMLShared, NodesAttachWithAttributesInOrderAndReplacedInPlace) {
    pugi::xml_document doc;
    pugi::xml_node root = XMLShared::AppendChild(doc, XMLShared::CreateNode(doc, "Root", "", XMLShared::Element));
    pugi::xml_node color = XMLShared::CreateNode(doc, "Color", "", XMLShared::Element);
    XMLShared::AddAttribute(doc, color, "rt", "15410");
    XMLShared::AddAttribute(doc, color, "r", "1");
    XMLShared::AddAttribute(doc, color, "g", "2");
    XMLShared::AddAttribute(doc, color, "r", "9");
    pugi::xml_node attached = XMLShared::AppendChild(root, color);
    XMLShared::AppendChild(attached, XMLShared::CreateNode(doc, "Texture", "", XMLShared::Element));
    EXPECT_EQ(toXml(doc), "<Root><Color rt=\"15410\" r=\"9\" g=\"2\"><Texture/></Color></Root>");
}

TEST(XMLShared, AttributeReadsFollowTheNumericConversion) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<Color r=\"12.5\" g=\"x\" b=\"\"/>"));
    const pugi::xml_node c = doc.child("Color");
    EXPECT_EQ(XMLShared::AttributeLong(c, "r"), 12);
    const auto number = [&](const char* name) {
        try {
            XMLShared::AttributeLong(c, name);
        } catch (const RuntimeError& e) {
            return e.Number();
        }
        return 0;
    };
    EXPECT_EQ(number("g"), RuntimeError::TypeMismatch);
    EXPECT_EQ(number("b"), RuntimeError::TypeMismatch);
    EXPECT_EQ(number("missing"), RuntimeError::ObjectVariableNotSet);
    try {
        XMLShared::AttributeText(pugi::xml_node(), "r");
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), RuntimeError::ObjectVariableNotSet);
        EXPECT_EQ(e.Source(), QStringLiteral("tindral"));
    }
}

}  // namespace
