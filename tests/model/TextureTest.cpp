#include "model/Factory.h"
#include "model/Texture.h"
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

std::shared_ptr<Texture> listEntry() {
    return Factory::NewTexture(3, "dots", "dots.bmp", TextureKind::Pattern, true, true);
}

std::shared_ptr<Texture> userImage(const QString& path = "/pics/sea.jpg") {
    return Factory::NewTexture(0, "sea", path, TextureKind::Image, false, false);
}

TEST(Texture, FactoryKeepsOnlyTheFileNameOfInternalTextures) {
    const auto internal = Factory::NewTexture(2, "grid", "/some/where/grid.bmp", TextureKind::Pattern, true, true);
    EXPECT_EQ(internal->path(), QStringLiteral("grid.bmp"));
    EXPECT_TRUE(internal->Internal());
    EXPECT_TRUE(internal->ReadOnly());
    EXPECT_FALSE(internal->InStorage());

    const auto image = userImage();
    EXPECT_EQ(image->path(), QStringLiteral("/pics/sea.jpg"));
    EXPECT_FALSE(image->Internal());
    EXPECT_EQ(image->TextureType(), TextureKind::Image);
}

TEST(Texture, ClearLeavesAListEntryAndEmptiesAClone) {
    const auto entry = listEntry();
    entry->Clear();
    EXPECT_EQ(entry->Id(), 3);
    EXPECT_EQ(entry->Name(), QStringLiteral("dots"));
    EXPECT_EQ(entry->path(), QStringLiteral("dots.bmp"));

    const auto clone = entry->Clone();
    clone->SetInStorage(true);
    clone->Clear();
    EXPECT_EQ(clone->Id(), 0);
    EXPECT_EQ(clone->Name(), QString());
    EXPECT_EQ(clone->path(), QString());
    EXPECT_EQ(clone->TextureType(), TextureKind::None);
    EXPECT_FALSE(clone->Internal());
    EXPECT_FALSE(clone->InStorage());
}

TEST(Texture, CloneIsNeverReadOnlyAndKeepsTheStorageFlag) {
    const auto clone = listEntry()->Clone();
    EXPECT_EQ(clone->Id(), 3);
    EXPECT_EQ(clone->Name(), QStringLiteral("dots"));
    EXPECT_EQ(clone->path(), QStringLiteral("dots.bmp"));
    EXPECT_EQ(clone->TextureType(), TextureKind::Pattern);
    EXPECT_TRUE(clone->Internal());
    EXPECT_FALSE(clone->ReadOnly());
    EXPECT_FALSE(clone->InStorage());

    const auto stored = userImage("/doc/CPhotossea.jpg");
    stored->SetInStorage(true);
    const auto storedClone = stored->Clone();
    EXPECT_TRUE(storedClone->InStorage());
    EXPECT_EQ(storedClone->path(), QStringLiteral("/doc/CPhotossea.jpg"));
}

TEST(Texture, EqualsComparesIdNameAndExactPath) {
    const auto a = userImage();
    EXPECT_FALSE(a->Equals(nullptr));
    EXPECT_TRUE(a->Equals(userImage()));
    EXPECT_FALSE(a->Equals(userImage("/pics/Sea.jpg")));
    EXPECT_FALSE(a->Equals(Factory::NewTexture(1, "sea", "/pics/sea.jpg", TextureKind::Image, false, false)));
    EXPECT_FALSE(a->Equals(Factory::NewTexture(0, "Sea", "/pics/sea.jpg", TextureKind::Image, false, false)));
    // Kind and flags are not compared.
    EXPECT_TRUE(a->Equals(Factory::NewTexture(0, "sea", "/pics/sea.jpg", TextureKind::Pattern, false, true)));
}

struct UniqueCase {
    const char* name;
    const char* path;
    bool stored;
    const char* unique;
};

std::ostream& operator<<(std::ostream& out, const UniqueCase& c) { return out << c.name; }

class TextureUniquePath : public ::testing::TestWithParam<UniqueCase> {};

TEST_P(TextureUniquePath, NamesThePictureInsideADocument) {
    const auto t = userImage(QString::fromUtf8(GetParam().path));
    t->SetInStorage(GetParam().stored);
    EXPECT_EQ(t->UniquePath(), QString::fromUtf8(GetParam().unique));
}

INSTANTIATE_TEST_SUITE_P(
    Texture, TextureUniquePath,
    ::testing::Values(UniqueCase{"not_stored_is_flattened", "/pics/my sea.jpg", false, "picsmy sea.jpg"},
                      UniqueCase{"not_stored_windows_path", "C:\\Photos\\sea.jpg", false, "CPhotossea.jpg"},
                      UniqueCase{"not_stored_empty", "", false, ""},
                      UniqueCase{"stored_takes_file_name", "/tmp/TIN1.tmp/picssea.jpg", true, "picssea.jpg"},
                      UniqueCase{"stored_bare_name_is_whole", "picssea.jpg", true, "picssea.jpg"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Texture, SerializeWritesTheAttributesInOrderAndMarksItStored) {
    pugi::xml_document doc;
    pugi::xml_node color = doc.append_child("Color");
    const auto image = userImage("C:\\Photos\\sea.jpg");
    ASSERT_TRUE(image->Serialize(doc, color));
    EXPECT_EQ(toXml(doc),
              "<Color><Texture id=\"0\" type=\"2\" name=\"sea\" path=\"CPhotossea.jpg\" internal=\"0\"/></Color>");
    EXPECT_TRUE(image->InStorage());

    pugi::xml_document second;
    const auto pattern = listEntry()->Clone();
    ASSERT_TRUE(pattern->Serialize(second, second.append_child("Color")));
    EXPECT_EQ(toXml(second),
              "<Color><Texture id=\"3\" type=\"1\" name=\"dots\" path=\"dots.bmp\" internal=\"1\"/></Color>");
}

TEST(Texture, ReadOnlyTexturesNeitherWriteNorRead) {
    pugi::xml_document doc;
    pugi::xml_node color = doc.append_child("Color");
    const auto entry = listEntry();
    EXPECT_FALSE(entry->Serialize(doc, color));
    EXPECT_FALSE(color.first_child());
    EXPECT_FALSE(entry->InStorage());

    pugi::xml_node texture = color.append_child("Texture");
    for (const char* a : {"id", "type", "name", "path", "internal"}) texture.append_attribute(a) = "1";
    EXPECT_FALSE(entry->DeSerialize(texture, "/doc/"));
    EXPECT_EQ(entry->Id(), 3);
    EXPECT_EQ(entry->path(), QStringLiteral("dots.bmp"));
}

pugi::xml_node parseTexture(pugi::xml_document& doc, const char* xml) {
    EXPECT_TRUE(doc.load_string(xml)) << xml;
    return doc.child("Texture");
}

TEST(Texture, DeSerializeJoinsUserPicturesWithTheRootFolder) {
    pugi::xml_document doc;
    Texture t;
    ASSERT_TRUE(
        t.DeSerialize(parseTexture(doc, R"(<Texture id="0" type="2" name="sea" path="CPhotossea.jpg" internal="0"/>)"),
                      "/tmp/TIN2A.tmp/"));
    EXPECT_EQ(t.path(), QStringLiteral("/tmp/TIN2A.tmp/CPhotossea.jpg"));
    EXPECT_EQ(t.TextureType(), TextureKind::Image);
    EXPECT_EQ(t.Name(), QStringLiteral("sea"));
    EXPECT_FALSE(t.Internal());
    EXPECT_TRUE(t.InStorage());
    EXPECT_FALSE(t.ReadOnly());

    pugi::xml_document doc2;
    Texture p;
    ASSERT_TRUE(p.DeSerialize(
        parseTexture(doc2, R"(<Texture id="3.5" type=" 1 " name="dots" path="dots.bmp" internal="1"/>)"), "/doc/"));
    EXPECT_EQ(p.Id(), 4);
    EXPECT_EQ(p.TextureType(), TextureKind::Pattern);
    EXPECT_EQ(p.path(), QStringLiteral("dots.bmp"));
    EXPECT_TRUE(p.Internal());
    EXPECT_FALSE(p.InStorage());
}

struct StoredPathCase {
    const char* name;
    const char* path;
    const char* internal;
    const char* read;
};

std::ostream& operator<<(std::ostream& out, const StoredPathCase& c) { return out << c.name; }

class TextureStoredPath : public ::testing::TestWithParam<StoredPathCase> {};

// A document's "path" may name only a file inside the unpacked folder.
TEST_P(TextureStoredPath, StaysInsideTheDocumentFolder) {
    pugi::xml_document doc;
    pugi::xml_node node = doc.append_child("Texture");
    node.append_attribute("id") = "0";
    node.append_attribute("type") = "2";
    node.append_attribute("name") = "x";
    node.append_attribute("path") = GetParam().path;
    node.append_attribute("internal") = GetParam().internal;
    Texture t;
    ASSERT_TRUE(t.DeSerialize(node, "/tmp/doc/"));
    EXPECT_EQ(t.path(), QString::fromUtf8(GetParam().read));
}

INSTANTIATE_TEST_SUITE_P(
    Texture, TextureStoredPath,
    ::testing::Values(StoredPathCase{"parent_steps_dropped", "../../home/u/.ssh/id_rsa", "0", "/tmp/doc/id_rsa"},
                      StoredPathCase{"absolute_path_dropped", "/etc/passwd", "0", "/tmp/doc/passwd"},
                      StoredPathCase{"subfolder_dropped", "sub/sea.jpg", "0", "/tmp/doc/sea.jpg"},
                      StoredPathCase{"bare_parent_is_no_name", "..", "0", "/tmp/doc/"},
                      StoredPathCase{"trailing_parent_is_no_name", "a/..", "0", "/tmp/doc/"},
                      StoredPathCase{"bare_name_kept", "CPhotossea.jpg", "0", "/tmp/doc/CPhotossea.jpg"},
                      StoredPathCase{"internal_keeps_file_name", "../textures/dots.bmp", "1", "dots.bmp"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadTextureCase {
    const char* name;
    const char* xml;
};

std::ostream& operator<<(std::ostream& out, const BadTextureCase& c) { return out << c.name; }

class TextureBadElement : public ::testing::TestWithParam<BadTextureCase> {};

TEST_P(TextureBadElement, FailsAndLeavesTheTextureAsItWas) {
    pugi::xml_document doc;
    doc.load_string(GetParam().xml);
    const auto t = userImage();
    EXPECT_FALSE(t->DeSerialize(doc.child("Texture"), "/doc/"));
    EXPECT_EQ(t->Id(), 0);
    EXPECT_EQ(t->Name(), QStringLiteral("sea"));
    EXPECT_EQ(t->path(), QStringLiteral("/pics/sea.jpg"));
    EXPECT_FALSE(t->InStorage());
}

INSTANTIATE_TEST_SUITE_P(
    Texture, TextureBadElement,
    ::testing::Values(
        BadTextureCase{"no_element", "<Other/>"},
        BadTextureCase{"missing_internal", R"(<Texture id="1" type="2" name="n" path="p"/>)"},
        BadTextureCase{"missing_id", R"(<Texture type="2" name="n" path="p" internal="0"/>)"},
        BadTextureCase{"non_numeric_id", R"(<Texture id="one" type="2" name="n" path="p" internal="0"/>)"},
        BadTextureCase{"empty_id", R"(<Texture id="" type="2" name="n" path="p" internal="0"/>)"},
        BadTextureCase{"missing_name", R"(<Texture id="1" type="2" path="p" internal="0"/>)"},
        BadTextureCase{"missing_path", R"(<Texture id="1" type="2" name="n" internal="0"/>)"},
        BadTextureCase{"missing_type", R"(<Texture id="1" name="n" path="p" internal="0"/>)"},
        BadTextureCase{"non_numeric_type", R"(<Texture id="1" type="image" name="n" path="p" internal="0"/>)"},
        BadTextureCase{"overflowing_id", R"(<Texture id="9999999999" type="2" name="n" path="p" internal="0"/>)"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
