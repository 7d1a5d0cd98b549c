#include "StripFixture.h"

#include "model/Texture.h"
#include "services/CommandIds.h"
#include "support/ScriptedModalDialog.h"
#include "views/frmNotes.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <sstream>
#include <string>

namespace {

using ColorHistoryXml = StripTest;

std::string Xml(const pugi::xml_node& node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

// Gives the strip its notes as the notes dialog does when the user confirms them.
void ScriptedNotes(ColorHistory& strip, const QString& text) {
    ScriptedModalDialog dialog({[&text](QDialog& d) {
        static_cast<frmNotes&>(d).SetComments(text);
        ScriptedModalDialog::Click(d, QStringLiteral("&OK"));
    }});
    CommandBar* bar = StripTest::PopupOf(&strip);
    ASSERT_NE(bar, nullptr);
    bar->Owner()->ExecuteControl(bar->FindControl(CommandIds::Comments));
}

// Writes the strip, saves the document as text and parses it back, as writing and reading a document do.
pugi::xml_document WrittenAndParsed(ColorHistory& strip, int index = 2) {
    pugi::xml_document doc;
    EXPECT_TRUE(strip.Serialize(doc, doc, index, QString()));
    std::ostringstream text;
    doc.save(text);
    pugi::xml_document parsed;
    EXPECT_TRUE(parsed.load_string(text.str().c_str()));
    return parsed;
}

TEST_F(ColorHistoryXml, EmptyStripWritesItsIdCountAndEmptyNotes) {
    pugi::xml_document doc;
    ASSERT_TRUE(strip->Serialize(doc, doc, 4, QString()));
    EXPECT_EQ(Xml(doc), "<History id=\"4\" count=\"0\"><Notes/></History>");
}

TEST_F(ColorHistoryXml, ColoursAndNotesComeBackUnmodified) {
    strip->AddColorPanels({MakeColor(10, 20, 30), MakeColor(200, 100, 0)});
    pugi::xml_document doc = WrittenAndParsed(*strip);
    const pugi::xml_node history = doc.child("History");
    EXPECT_STREQ(history.attribute("id").value(), "2");
    EXPECT_STREQ(history.attribute("count").value(), "2");
    EXPECT_EQ(std::distance(history.children("Panel").begin(), history.children("Panel").end()), 2);
    EXPECT_FALSE(strip->IsDirty());

    ColorHistory other(host.get());
    other.Init(host.get());
    ASSERT_TRUE(other.DeSerialize(history, QString()));
    ASSERT_EQ(other.PanelCount(), 2);
    EXPECT_EQ(other.Panel(0)->PanelColor()->RGBColor(), MakeColor(10, 20, 30)->RGBColor());
    EXPECT_EQ(other.Panel(1)->PanelColor()->RGBColor(), MakeColor(200, 100, 0)->RGBColor());
    EXPECT_FALSE(other.IsDirty());
    other.Dispose();
}

TEST_F(ColorHistoryXml, AColourAddedTwiceIsReadBackOnce) {
    strip->AddColorPanel(MakeColor(7, 7, 7));
    strip->AddColorPanel(MakeColor(7, 7, 7));
    pugi::xml_document doc = WrittenAndParsed(*strip);
    EXPECT_STREQ(doc.child("History").attribute("count").value(), "2");
    ASSERT_TRUE(strip->DeSerialize(doc.child("History"), QString()));
    EXPECT_EQ(strip->PanelCount(), 1);
}

TEST_F(ColorHistoryXml, NotesOfAnyTextRoundTripExactly) {
    const QString texts[] = {
        QString(),
        QStringLiteral("one line"),
        QStringLiteral("first\r\nsecond\r\n\r\nfourth"),
        QStringLiteral("\ttabbed\tcolumns\t"),
        QStringLiteral("Grüße, 色, ✓ & <b>\"quoted\"</b> 'single'"),
        QStringLiteral("  leading and trailing blanks  "),
        QString(100000, QLatin1Char('x')) + QStringLiteral("\r\nend"),
    };
    for (const QString& text : texts) {
        ColorHistory source(host.get());
        source.Init(host.get());
        source.AddColorPanel(MakeColor(1, 2, 3));
        ScriptedNotes(source, text);
        ASSERT_EQ(source.Notes(), text);
        pugi::xml_document doc = WrittenAndParsed(source);
        ASSERT_TRUE(strip->DeSerialize(doc.child("History"), QString()));
        EXPECT_EQ(strip->Notes(), text) << text.left(40).toStdString();
        source.Dispose();
    }
}

TEST_F(ColorHistoryXml, LineFeedsOfADocumentBecomeCarriageReturnLineFeeds) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<History id=\"0\" count=\"0\"><Notes>a\nb\r\nc</Notes></History>",
                                pugi::parse_default & ~pugi::parse_eol));
    ASSERT_TRUE(strip->DeSerialize(doc.child("History"), QString()));
    // Every LF is replaced, so a CR LF that reached the reader gains a second CR.
    EXPECT_EQ(strip->Notes(), QStringLiteral("a\r\nb\r\r\nc"));
}

// A "History" element as a document might hold it, and what reading makes of it.
struct ReadCase {
    const char* name;
    const char* xml;
    std::vector<int> reds;
    const char* notes;
    friend void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }
};

class ColorHistoryRead : public StripTest, public ::testing::WithParamInterface<ReadCase> {};

constexpr const char* Good1 =
    "<Panel><Color r=\"1\" g=\"0\" b=\"0\" rt=\"15410\"><Texture id=\"1\" name=\"  No Texture\" "
    "path=\"\" type=\"0\" internal=\"1\" readonly=\"0\" /></Color></Panel>";
constexpr const char* Good2 =
    "<Panel><Color r=\"2\" g=\"0\" b=\"0\" rt=\"15410\"><Texture id=\"1\" name=\"  No Texture\" "
    "path=\"\" type=\"0\" internal=\"1\" readonly=\"0\" /></Color></Panel>";

TEST_P(ColorHistoryRead, BadPartsAreLeftOutAndTheRestIsRead) {
    const ReadCase& c = GetParam();
    strip->AddColorPanels(Reds(3));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(c.xml));
    EXPECT_TRUE(strip->DeSerialize(doc.first_child(), QString()));
    EXPECT_EQ(PanelReds(), c.reds);
    EXPECT_EQ(strip->Notes(), QString::fromUtf8(c.notes));
    EXPECT_FALSE(strip->IsDirty());
}

std::string Element(const std::string& attributes, const std::string& body) {
    return "<History" + attributes + ">" + body + "</History>";
}

const std::string kNoAttributes = Element("", std::string("<Notes>n</Notes>") + Good1);
const std::string kTextAttributes = Element(" id=\"x\" count=\"many\"", std::string(Good1) + Good2);
const std::string kHugeAttributes = Element(" id=\"99999999999\" count=\"-5\"", Good2);
const std::string kPanelWithoutColor = Element(" id=\"0\" count=\"2\"", std::string("<Panel />") + Good2);
const std::string kUnreadableColor =
    Element(" id=\"0\" count=\"3\"", std::string(Good1) +
                                         "<Panel><Color r=\"red\" g=\"0\" b=\"0\" rt=\"15410\" /></Panel>"
                                         "<Panel><Color r=\"1e40\" g=\"0\" b=\"0\" rt=\"15410\" /></Panel>"
                                         "<Panel><Color g=\"0\" b=\"0\" rt=\"15410\" /></Panel>" +
                                         Good2 + "<Notes>still read</Notes>");
const std::string kOnlyUnreadable = Element(" id=\"0\" count=\"1\"", "<Panel><Color r=\"\" /></Panel>");
const std::string kOutOfRangeChannel =
    Element(" id=\"0\" count=\"1\"",
            "<Panel><Color r=\"300\" g=\"-4\" b=\"0\" rt=\"15410\"><Texture id=\"1\" name=\"  No Texture\" path=\"\" "
            "type=\"0\" internal=\"1\" readonly=\"0\" /></Color></Panel>");

INSTANTIATE_TEST_SUITE_P(Elements, ColorHistoryRead,
                         ::testing::Values(ReadCase{"NoAttributes", kNoAttributes.c_str(), {1}, "n"},
                                           ReadCase{"NonNumericAttributes", kTextAttributes.c_str(), {1, 2}, ""},
                                           ReadCase{"OutOfRangeAttributes", kHugeAttributes.c_str(), {2}, ""},
                                           ReadCase{"PanelWithoutColor", kPanelWithoutColor.c_str(), {2}, ""},
                                           ReadCase{
                                               "UnreadableColours", kUnreadableColor.c_str(), {1, 2}, "still read"},
                                           ReadCase{"NothingReadable", kOnlyUnreadable.c_str(), {-1}, ""},
                                           ReadCase{"ChannelsClamped", kOutOfRangeChannel.c_str(), {255}, ""},
                                           ReadCase{"Empty", "<History />", {-1}, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorHistoryXml, NoElementClearsTheStripAndFails) {
    strip->AddColorPanels(Reds(2));
    EXPECT_FALSE(strip->DeSerialize(pugi::xml_node(), QString()));
    EXPECT_EQ(strip->PanelCount(), 0);
}

TEST_F(ColorHistoryXml, UserPicturesAreCopiedIntoTheDocumentFolder) {
    QTemporaryDir pictures;
    QTemporaryDir document;
    const QString picture = pictures.path() + QStringLiteral("/photo.png");
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::gray);
    ASSERT_TRUE(image.save(picture));
    auto color = MakeColor(40, 80, 120);
    color->ColorTexture()->SetTextureType(TextureKind::Image);
    color->ColorTexture()->SetPath(picture);
    color->ColorTexture()->SetInternal(false);
    strip->AddColorPanel(color);
    const auto texture = strip->Panel(0)->PanelColor()->ColorTexture();
    const QString unique = texture->UniquePath();

    pugi::xml_document doc;
    const QString folder = document.path() + QStringLiteral("/");
    ASSERT_TRUE(strip->Serialize(doc, doc, 0, folder));
    EXPECT_TRUE(QFile::exists(folder + unique));
    EXPECT_EQ(texture->path(), folder + unique);
    // A picture that has gone makes the write fail and leaves the strip modified.
    ASSERT_TRUE(QFile::remove(folder + unique));
    strip->AddColorPanel(MakeColor(1, 1, 1));
    pugi::xml_document again;
    EXPECT_FALSE(strip->Serialize(again, again, 0, folder));
    EXPECT_TRUE(strip->IsDirty());
}

}  // namespace
