#include "app/DocumentCheck.h"
#include "platform/ParallelPng.h"
#include "services/DocumentArchive.h"
#include "support/DamagedPng.h"
#include "support/TestEnvironment.h"
#include "support/ZipCrafter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <optional>

namespace {

std::string png(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return DamagedPng::Encode(image).toStdString();
}

// A PNG signature and an IHDR chunk that claim the size; no pixels follow.
std::string pngHeader(uint32_t width, uint32_t height) {
    std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<char>((v >> shift) & 0xFF));
    bytes += std::string("\x08\x02\0\0\0\0\0\0\0", 9);
    return bytes;
}

// The second band's offset in the band table of a PNG in bands one byte late (CRC made right): the parallel
// reader refuses it, and the ordinary decode never reads the table.
QByteArray WithDamagedBandTable(const QByteArray& png) {
    QByteArray bytes = png;
    constexpr qsizetype table = 8 + 25 + 8, secondOffset = table + 4 + 8 + 4;
    const auto count = static_cast<qsizetype>(static_cast<uchar>(bytes[table + 3]));
    bytes[secondOffset + 3] = static_cast<char>(bytes[secondOffset + 3] + 1);
    const uLong crc =
        crc32(0, reinterpret_cast<const Bytef*>(bytes.constData() + table - 4), static_cast<uInt>(4 + 4 + 8 * count));
    for (int k = 0; k < 4; ++k) bytes[table + 4 + 8 * count + k] = static_cast<char>((crc >> (24 - 8 * k)) & 0xFF);
    return bytes;
}

const std::string kMain = "<Main rangetype='15411' isudc='0' topred='120' topgreen='50' topblue='80'/>";

std::string doc(const std::string& rootAttributes, const std::string& main = kMain, const std::string& body = "") {
    return "<Root " + rootAttributes + ">" + main + "<Holders>" + body + "</Holders><History/><Match/></Root>";
}

std::string texture(const std::string& path) {
    return "<Panel style='1'><Color rt='15410' r='1' g='2' b='3'><Texture id='1' type='2' name='t' path='" + path +
           "' internal='0'/></Color></Panel>";
}

std::string nested(int depth) {
    std::string text = "<Root Proofers='1' Holders='1'>";
    text.reserve(static_cast<size_t>(depth) * 7 + 64);
    for (int i = 0; i < depth; ++i) text += "<a>";
    for (int i = 0; i < depth; ++i) text += "</a>";
    return text + "</Root>";
}

struct DocumentCase {
    const char* name;
    std::optional<std::string> defXml;  // none: no "def.xml"
    std::optional<std::string> stage;   // none: no "stage.png"
    bool accepted;
};

std::ostream& operator<<(std::ostream& out, const DocumentCase& c) { return out << c.name; }

class Documents : public ::testing::TestWithParam<DocumentCase> {};

TEST_P(Documents, AreAcceptedOnlyWhenTheReaderCanTakeThemWhole) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    if (GetParam().defXml)
        ZipCrafter::WriteFile(folder.filePath("def.xml"), *GetParam().defXml);
    if (GetParam().stage)
        ZipCrafter::WriteFile(folder.filePath("stage.png"), *GetParam().stage);
    const int32_t error = TestEnvironment::ErrorNumberOf([&] { DocumentCheck::Verify(folder.path()); });
    EXPECT_EQ(error, GetParam().accepted ? 0 : DocumentCheck::DamagedDocument);
}

const std::string kGood = doc("Proofers='3' Holders='2' CurrentTexture='  No Texture'");
const QByteArray kBusyPng = DamagedPng::Encode(DamagedPng::Busy(120, 90));
// The same picture as the stage writes it: in four bands.
const QByteArray kBandedPng = [] {
    const QImage busy = DamagedPng::Busy(120, 90);
    const ParallelPng::Bytes png =
        ParallelPng::Encode({busy.constBits(), busy.bytesPerLine(), 120, 90, ParallelPng::Layout::Xrgb32}, {4});
    return QByteArray(reinterpret_cast<const char*>(png.data()), static_cast<qsizetype>(png.size()));
}();

INSTANTIATE_TEST_SUITE_P(
    DocumentCheck, Documents,
    ::testing::Values(
        DocumentCase{"complete", kGood, png(8, 6), true}, DocumentCase{"without_stage", kGood, std::nullopt, true},
        DocumentCase{"root_with_two_attributes", doc("Proofers='1' Holders='6'"), std::nullopt, true},
        DocumentCase{"without_main", doc("Proofers='8' Holders='1'", ""), std::nullopt, true},
        DocumentCase{"bare_texture_path", doc("Proofers='1' Holders='1'", kMain, texture("DPicsSea.jpg")), std::nullopt,
                     true},
        DocumentCase{"no_def_xml", std::nullopt, png(8, 6), false},
        DocumentCase{"malformed", "<Root Proofers='1' Holders='1'><Main>", std::nullopt, false},
        DocumentCase{"empty", "", std::nullopt, false},
        DocumentCase{"not_root", "<Other Proofers='1' Holders='1'/>", std::nullopt, false},
        DocumentCase{"nested_a_million_deep", nested(1000000), std::nullopt, false},
        DocumentCase{"nested_to_the_limit", nested(DocumentCheck::MaxXmlDepth - 1), std::nullopt, true},
        DocumentCase{"nested_past_the_limit", nested(DocumentCheck::MaxXmlDepth), std::nullopt, false},
        DocumentCase{"doctype_with_entities",
                     "<!DOCTYPE Root [<!ENTITY a 'aaaaaaaa'><!ENTITY b '&a;&a;&a;&a;'>]>" +
                         doc("Proofers='1' Holders='1' CurrentTexture='&b;'"),
                     std::nullopt, false},
        DocumentCase{"root_without_attributes", doc(""), std::nullopt, false},
        DocumentCase{"root_with_one_attribute", doc("Proofers='1'"), std::nullopt, false},
        DocumentCase{"proofers_not_a_number", doc("Proofers='three' Holders='1'"), std::nullopt, false},
        DocumentCase{"holders_not_a_number", doc("Proofers='1' Holders=''"), std::nullopt, false},
        DocumentCase{"proofers_0", doc("Proofers='0' Holders='1'"), std::nullopt, false},
        DocumentCase{"proofers_9", doc("Proofers='9' Holders='1'"), std::nullopt, false},
        DocumentCase{"proofers_minus_1", doc("Proofers='-1' Holders='1'"), std::nullopt, false},
        DocumentCase{"proofers_1e9", doc("Proofers='1e9' Holders='1'"), std::nullopt, false},
        DocumentCase{"proofers_1e99", doc("Proofers='1e99' Holders='1'"), std::nullopt, false},
        DocumentCase{"holders_0", doc("Proofers='1' Holders='0'"), std::nullopt, false},
        DocumentCase{"holders_7", doc("Proofers='1' Holders='7'"), std::nullopt, false},
        DocumentCase{"range_not_a_number",
                     doc("Proofers='1' Holders='1'", "<Main rangetype='x' topred='1' topgreen='1' topblue='1'/>"),
                     std::nullopt, false},
        DocumentCase{"range_unknown",
                     doc("Proofers='1' Holders='1'", "<Main rangetype='5' topred='1' topgreen='1' topblue='1'/>"),
                     std::nullopt, false},
        DocumentCase{
            "top_colour_not_a_number",
            doc("Proofers='1' Holders='1'", "<Main rangetype='15410' topred='1' topgreen='green' topblue='1'/>"),
            std::nullopt, false},
        DocumentCase{"top_colour_missing", doc("Proofers='1' Holders='1'", "<Main rangetype='15410'/>"), std::nullopt,
                     false},
        DocumentCase{"texture_path_up", doc("Proofers='1' Holders='1'", kMain, texture("../../evil.png")), std::nullopt,
                     false},
        DocumentCase{"texture_path_with_folder", doc("Proofers='1' Holders='1'", kMain, texture("sub/a.png")),
                     std::nullopt, false},
        DocumentCase{"texture_path_windows", doc("Proofers='1' Holders='1'", kMain, texture("..\\a.png")), std::nullopt,
                     false},
        DocumentCase{"stage_not_a_png", kGood, "GIF89a not a png at all", false},
        DocumentCase{"stage_60000_square", kGood, pngHeader(60000, 60000), false},
        DocumentCase{"stage_too_many_pixels", kGood, pngHeader(16000, 16000), false},
        DocumentCase{"stage_empty", kGood, "", false}, DocumentCase{"stage_busy", kGood, kBusyPng.toStdString(), true},
        DocumentCase{"stage_cut_in_its_data", kGood, DamagedPng::CutInItsData(kBusyPng).toStdString(), false},
        DocumentCase{"stage_cut_before_its_end", kGood, DamagedPng::CutBeforeItsEnd(kBusyPng).toStdString(), false},
        DocumentCase{"stage_header_only", kGood, pngHeader(8, 6), false},
        DocumentCase{"stage_data_corrupt", kGood, DamagedPng::WithCorruptData(kBusyPng, false).toStdString(), false},
        DocumentCase{"stage_data_corrupt_behind_a_good_crc", kGood,
                     DamagedPng::WithCorruptData(kBusyPng, true).toStdString(), false},
        DocumentCase{"stage_in_bands", kGood, kBandedPng.toStdString(), true},
        DocumentCase{"stage_in_bands_with_a_damaged_band_table", kGood, WithDamagedBandTable(kBandedPng).toStdString(),
                     true},
        DocumentCase{"stage_in_bands_cut_in_its_data", kGood, DamagedPng::CutInItsData(kBandedPng).toStdString(),
                     false},
        DocumentCase{"stage_in_bands_data_corrupt_behind_a_good_crc", kGood,
                     DamagedPng::WithCorruptData(kBandedPng, true).toStdString(), false}),
    [](const auto& info) { return std::string(info.param.name); });

// Each number the reader converts must be a whole decimal number as the program writes it: the standard
// conversion would read "2.5" or " 2" as 2 and open the document.
TEST(DocumentCheck, NumbersThatAreNotWholeDecimalNumbersAreRefusedWherePlaced) {
    struct Place {
        const char* name;
        std::string wholeValue;
        std::function<std::string(const std::string&)> document;
    };
    const Place places[] = {
        {"proofers", "2", [](const std::string& v) { return doc("Proofers='" + v + "' Holders='2'"); }},
        {"holders", "2", [](const std::string& v) { return doc("Proofers='2' Holders='" + v + "'"); }},
        {"range", "15411",
         [](const std::string& v) {
             return doc("Proofers='2' Holders='2'",
                        "<Main rangetype='" + v + "' isudc='0' topred='1' topgreen='1' topblue='1'/>");
         }},
        {"top colour", "80",
         [](const std::string& v) {
             return doc("Proofers='2' Holders='2'",
                        "<Main rangetype='15411' isudc='0' topred='1' topgreen='1' topblue='" + v + "'/>");
         }},
    };
    for (const Place& place : places) {
        const std::string& n = place.wholeValue;
        const struct {
            std::string text;
            bool accepted;
        } texts[] = {
            {n, true},
            {"0" + n, true},  // leading zeros still make a whole decimal number
            {n + ".4", false},
            {n + ".0", false},
            {n + ",5", false},
            {n + "e0", false},
            {" " + n, false},
            {n + " ", false},
            {"+" + n, false},
            {"&H" + n, false},
            {"0x" + n, false},
            {"\xef\xbc\x92", false},  // a full-width digit two
            {"-", false},
            {"", false},
            {"2147483648", false},
            {"99999999999999999999999", false},
        };
        for (const auto& t : texts) {
            SCOPED_TRACE(std::string(place.name) + " \"" + t.text + "\"");
            QTemporaryDir folder;
            ZipCrafter::WriteFile(folder.filePath("def.xml"), place.document(t.text));
            EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { DocumentCheck::Verify(folder.path()); }),
                      t.accepted ? 0 : DocumentCheck::DamagedDocument);
        }
    }
}

TEST(DocumentCheck, RefusesAHundredMegabyteDefXmlWithoutReadingIt) {
    QTemporaryDir folder;
    QFile file(folder.filePath("def.xml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(qint64{100} << 20));
    file.close();
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { DocumentCheck::Verify(folder.path()); }),
              DocumentCheck::DamagedDocument);
}

TEST(DocumentCheck, RefusesADefXmlThatIsAFolderOrALink) {
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir("def.xml"));
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { DocumentCheck::Verify(folder.path()); }),
              DocumentCheck::DamagedDocument);

    QTemporaryDir linked;
    ZipCrafter::WriteFile(linked.filePath("elsewhere.xml"), kGood);
    ASSERT_TRUE(QFile::link(linked.filePath("elsewhere.xml"), linked.filePath("def.xml")));
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { DocumentCheck::Verify(linked.path()); }),
              DocumentCheck::DamagedDocument);
}

// The whole path a document takes from the disk: pack, unpack into a fresh folder, verify.
TEST(DocumentCheck, APackedDocumentUnpacksAndPasses) {
    QTemporaryDir root;
    const QString source = root.filePath("source");
    const QString unpacked = root.filePath("unpacked");
    QDir().mkpath(source);
    QDir().mkpath(unpacked);
    ZipCrafter::WriteFile(source + "/def.xml",
                          doc("Proofers='1' Holders='1' CurrentTexture='t'", kMain, texture("DPicsSea.png")));
    ZipCrafter::WriteFile(source + "/stage.png", png(64, 48));
    ZipCrafter::WriteFile(source + "/DPicsSea.png", png(4, 4));
    DocumentArchive::Pack(source, root.filePath("doc.tnd"));
    DocumentArchive::Unpack(root.filePath("doc.tnd"), unpacked);
    const DocumentCheck::CheckedDocument checked = DocumentCheck::Verify(unpacked);
    EXPECT_EQ(ZipCrafter::ReadFile(unpacked + "/stage.png"), ZipCrafter::ReadFile(source + "/stage.png"));
    // What the check read is what the reader takes: the parsed definition and the whole stage picture.
    EXPECT_EQ(std::string(checked.definition.document_element().attribute("CurrentTexture").value()), "t");
    EXPECT_EQ(checked.stage.size(), QSize(64, 48));
    EXPECT_EQ(checked.stage.pixel(63, 47) & 0xFFFFFF, 0xFFFFFFu);

    QDir(unpacked).remove("stage.png");
    EXPECT_TRUE(DocumentCheck::Verify(unpacked).stage.isNull()) << "no stage picture, nothing decoded";
}

TEST(DocumentCheck, TheStageDecodesToEveryPixelOfTheFile) {
    QTemporaryDir folder;
    const QImage busy = DamagedPng::Busy(120, 90);
    ZipCrafter::WriteFile(folder.filePath("stage.png"), DamagedPng::Encode(busy).toStdString());
    EXPECT_EQ(DocumentCheck::DecodeStage(folder.filePath("stage.png")).convertToFormat(QImage::Format_RGB32), busy);
}

}  // namespace
