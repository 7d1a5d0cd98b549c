#include "app/DocumentFixture.h"
#include "support/DamagedPng.h"

#include "app/DocumentCheck.h"
#include "platform/RibbonBar.h"
#include "platform/RibbonTab.h"

#include <functional>

namespace {

using namespace DocumentFixture;

// The whole composition.
using DocumentRoundTrip = DocumentTest;

TEST_F(DocumentRoundTrip, RestoresEveryPartOfTheCompositionExactly) {
    // A user picture as a proofer's texture, a stage picture of our own, five proofers, three strips.
    const QString picture = path("user picture.png");
    ASSERT_TRUE(quarters(40, 30).save(picture));
    const QString stagePicture = path("stage source.png");
    const QImage stageImage = quarters(64, 48);
    ASSERT_TRUE(stageImage.save(stagePicture));

    window->SetProoferCount(5, false);
    window->cpList[1]->SetColor(Factory::NewColor(
        Factory::NewTexture(99, "Holiday", picture, TextureKind::Image, false, false), CommandIds::RangeAllRGB, false));
    window->cpList[1]->PanelColor()->SetColor(12, 34, 56);
    window->cpList[3]->SetFixed(true);
    ChooserHelper::SelectTextureByName(Globals::TextureItem(2)->Name(), window->chooserHost());
    const QString textureName = window->SelectedTexture->Name();

    pugi::xml_document notes;
    notes.load_string("<History id='0' count='0'><Notes>warm\r\nfor the hall</Notes></History>");
    window->history[0]->DeSerialize(notes.document_element(), QString());
    window->history[0]->AddColorPanels({plainColor(1, 2, 3), plainColor(200, 100, 50), plainColor(9, 9, 9)});
    window->history[2]->AddColorPanels({plainColor(255, 0, 0)});
    window->NumberOfHistoryGroups = 3;
    ChooserHelper::ShowHistoryGroups(3, window->chooserHost());

    window->ctlMatch->AddColor(plainColor(7, 77, 177));
    window->ctlMatch->AddColor(plainColor(250, 250, 0));
    window->ctlMatch->SetBackColor(0x334455);

    CommandBarControl* userDefined = Find(CommandIds::UserDefinedColors);
    ASSERT_NE(userDefined, nullptr);
    ChooserHelper::SetColorRange(CommandIds::RangeAllHSB, userDefined->Parent(), window->chooserHost());
    ChooserHelper::SetColorRange(CommandIds::UserDefinedColors, userDefined->Parent(), window->chooserHost());
    window->sldTopColor[0]->setValue(120);
    window->sldTopColor[1]->setValue(50);
    window->sldTopColor[2]->setValue(80);
    ASSERT_TRUE(window->ctlStage->OpenPicture(stagePicture));

    const auto proofers = valuesOf(ProoferColorObjects());
    const auto strip0 = valuesOf(stripColors(*window->history[0]));
    const auto strip2 = valuesOf(stripColors(*window->history[2]));
    const auto pie = valuesOf(pieColors(*window->ctlMatch));
    const QString notesText = window->history[0]->Notes();
    const QString document = path("full.tnd");

    saveAs(document);
    ASSERT_EQ(Globals::CurrentFile, document);
    ScriptedMessageBox boxes({MessageBox::No});
    Execute(CommandIds::FileNew);
    ASSERT_NE(valuesOf(ProoferColorObjects()), proofers);
    ASSERT_EQ(window->ctlMatch->BackColor(), 0xFFFFFF);
    open(document);

    EXPECT_EQ(Globals::CurrentFile, document);
    EXPECT_EQ(valuesOf(ProoferColorObjects()), proofers);
    EXPECT_TRUE(window->cpList[3]->Fixed());
    EXPECT_FALSE(window->cpList[2]->Fixed());
    EXPECT_TRUE(window->cpList[1]->PanelColor()->ColorTexture()->path().startsWith(window->DocumentFolder))
        << "the texture is read from the copy inside the document";
    EXPECT_EQ(QImage(window->cpList[1]->PanelColor()->ColorTexture()->path()).convertToFormat(QImage::Format_RGB32),
              quarters(40, 30));
    EXPECT_EQ(window->SelectedTexture->Name(), textureName);
    EXPECT_EQ(dynamic_cast<CommandBarComboBox*>(Find(CommandIds::ProoferCount))->ListIndex(), 5);
    EXPECT_EQ(window->NumberOfHistoryGroups, 3);
    EXPECT_EQ(valuesOf(stripColors(*window->history[0])), strip0);
    EXPECT_EQ(valuesOf(stripColors(*window->history[2])), strip2);
    EXPECT_EQ(window->history[0]->Notes(), notesText);
    EXPECT_EQ(window->history[1]->PanelCount(), 0);
    EXPECT_EQ(valuesOf(pieColors(*window->ctlMatch)), pie);
    EXPECT_EQ(window->ctlMatch->BackColor(), 0x334455);
    EXPECT_EQ(window->m_RangeType, CommandIds::RangeAllHSB);
    EXPECT_TRUE(window->m_IsUDC);
    EXPECT_EQ(window->sldTopColor[0]->value(), 120);
    EXPECT_EQ(window->sldTopColor[1]->value(), 50);
    EXPECT_EQ(window->sldTopColor[2]->value(), 80);
    EXPECT_EQ(window->ctlStage->ImageControl()->Picture().convertToFormat(QImage::Format_RGB32), stageImage);
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(statusText(*window), " full.tnd");
}

TEST_F(DocumentRoundTrip, DefXmlHoldsTheCountsByPositionAndMainByNameInTheirOrder) {
    window->SetProoferCount(3, false);
    window->NumberOfHistoryGroups = 2;
    CommandBarControl* hsb = Find(CommandIds::RangeAllHSB);
    ChooserHelper::SetColorRange(CommandIds::RangeAllHSB, hsb->Parent(), window->chooserHost());
    window->sldTopColor[0]->setValue(120);
    window->sldTopColor[1]->setValue(50);
    window->sldTopColor[2]->setValue(80);
    window->WriteDocument(path("three.tnd"));

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file((window->DocumentFolder + "def.xml").toUtf8().constData()));
    const pugi::xml_node root = doc.document_element();
    std::vector<std::string> rootAttributes;
    for (const pugi::xml_attribute a : root.attributes())
        rootAttributes.push_back(a.name() + std::string("=") + a.value());
    EXPECT_EQ(rootAttributes,
              (std::vector<std::string>{"Proofers=3", "Holders=2",
                                        "CurrentTexture=" + window->SelectedTexture->Name().toStdString()}));
    std::vector<std::string> mainAttributes;
    for (const pugi::xml_attribute a : root.child("Main").attributes())
        mainAttributes.push_back(a.name() + std::string("=") + a.value());
    EXPECT_EQ(mainAttributes,
              (std::vector<std::string>{"rangetype=15411", "isudc=0", "topred=120", "topgreen=50", "topblue=80"}));
    EXPECT_EQ(doc.select_nodes("/Root/Holders/Panel").size(), 3u);
    EXPECT_EQ(doc.select_nodes("/Root/History/History").size(), 6u);
    EXPECT_EQ(doc.select_nodes("/Root/Match/Colors").size(), 1u);

    ScriptedMessageBox boxes({MessageBox::No});
    Execute(CommandIds::FileNew);
    window->ReadDocument(path("three.tnd"));
    EXPECT_EQ(window->cpList.size(), 3u);
    EXPECT_EQ(dynamic_cast<CommandBarComboBox*>(Find(CommandIds::ProoferCount))->ListIndex(), 3);
    EXPECT_EQ(window->NumberOfHistoryGroups, 2);
}

TEST_F(DocumentRoundTrip, EachSaveMakesAFreshFolderAndRemovesThePreviousOne) {
    const QString picture = path("pic.png");
    ASSERT_TRUE(quarters(8, 8).save(picture));
    window->cpList[0]->SetColor(Factory::NewColor(
        Factory::NewTexture(50, "Pic", picture, TextureKind::Image, false, false), CommandIds::RangeAllRGB, false));
    window->WriteDocument(path("a.tnd"));
    const QString first = window->DocumentFolder;
    const QString copy = window->cpList[0]->PanelColor()->ColorTexture()->path();
    EXPECT_TRUE(copy.startsWith(first)) << copy.toStdString();
    window->WriteDocument(path("a.tnd"));
    const QString second = window->DocumentFolder;
    EXPECT_NE(first, second);
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_TRUE(QFileInfo::exists(second + "def.xml"));
    EXPECT_FALSE(QFileInfo::exists(second + "temp.zip"));
    EXPECT_TRUE(QFileInfo::exists(second + FileShared::GetFileName(copy)))
        << "a picture stored by the first save travels into the second";
    EXPECT_TRUE(QFileInfo::exists(picture)) << "the user's own file is only copied";
}

TEST_F(DocumentRoundTrip, APieColourWithAPictureSurvivesTwoSaves) {
    const QString picture = path("pie.png");
    ASSERT_TRUE(quarters(8, 8).save(picture));
    window->ctlMatch->AddColor(Factory::NewColor(
        Factory::NewTexture(51, "Pie", picture, TextureKind::Image, false, false), CommandIds::RangeAllRGB, false));
    window->WriteDocument(path("pie.tnd"));
    window->WriteDocument(path("pie.tnd"));
    window->ReadDocument(path("pie.tnd"));
    const auto colors = pieColors(*window->ctlMatch);
    ASSERT_EQ(colors.size(), 1u);
    EXPECT_TRUE(QFileInfo(colors[0]->ColorTexture()->path()).isFile())
        << colors[0]->ColorTexture()->path().toStdString();
}

TEST_F(DocumentRoundTrip, AStageUnchangedSinceItsPngIsStoredAsThatFileAndAChangedOneIsEncoded) {
    const QString source = path("stage.png");
    QImageWriter writer(source, "png");
    writer.setQuality(0);
    ASSERT_TRUE(writer.write(quarters(64, 48)));
    const QByteArray original = fileBytes(source);
    ASSERT_TRUE(window->ctlStage->OpenPicture(source));

    window->WriteDocument(path("same.tnd"));
    EXPECT_EQ(fileBytes(window->DocumentFolder + "stage.png"), original);

    window->ctlStage->Invert();
    window->WriteDocument(path("changed.tnd"));
    const QByteArray changed = fileBytes(window->DocumentFolder + "stage.png");
    EXPECT_NE(changed, original);
    QImage inverted = quarters(64, 48);
    inverted.invertPixels();
    EXPECT_EQ(QImage::fromData(changed).convertToFormat(QImage::Format_RGB32), inverted);

    window->WriteDocument(path("changed.tnd"));
    EXPECT_EQ(fileBytes(window->DocumentFolder + "stage.png"), changed) << "the file just written stands for it";
    window->ReadDocument(path("changed.tnd"));
    window->WriteDocument(path("again.tnd"));
    EXPECT_EQ(fileBytes(window->DocumentFolder + "stage.png"), changed) << "and so does the file just read";
}

// What a document may hold that the reader handles by its own quiet rules.
using DocumentReading = DocumentTest;

TEST_F(DocumentReading, QuietRulesForPartsThatMayBeMissing) {
    // No stage picture: the stage shows the standard picture and the rest is read.
    const QString noStage = pack("nostage.tnd", {{"def.xml", kDef}});
    ASSERT_TRUE(quarters(16, 16).save(path("mine.png")));
    ASSERT_TRUE(window->ctlStage->OpenPicture(path("mine.png")));
    window->ReadDocument(noStage);
    EXPECT_EQ(ProoferColors(), (std::vector<int32_t>{10 + 20 * 256 + 30 * 65536, 40 + 50 * 256 + 60 * 65536}));
    EXPECT_TRUE(window->cpList[1]->Fixed());
    EXPECT_TRUE(window->ctlStage->CurrentPicture().endsWith("stdimg.png"));

    // Root with two attributes keeps the selected texture.
    ChooserHelper::SelectTextureByName(Globals::TextureItem(2)->Name(), window->chooserHost());
    const QString kept = window->SelectedTexture->Name();
    window->ReadDocument(pack("twoattrs.tnd", {{"def.xml", defWith(" CurrentTexture='  No Texture'", "")}}));
    EXPECT_EQ(window->SelectedTexture->Name(), kept);

    // No Main: range, flag and sliders stay.
    window->sldTopColor[1]->setValue(33);
    window->ReadDocument(pack("nomain.tnd", {{"def.xml", defWith("<Main rangetype='15410' isudc='0' topred='255' "
                                                                 "topgreen='255' topblue='255'/>",
                                                                 "")}}));
    EXPECT_EQ(window->sldTopColor[1]->value(), 33);
}

TEST_F(DocumentReading, TheUserDefinedFlagIsOnOnlyForTheTextOne) {
    const struct {
        const char* isudc;
        bool on;
    } cases[] = {{"1", true}, {"0", false}, {"yes", false}, {"", false}};
    for (const auto& c : cases) {
        window->ReadDocument(pack(QString("udc%1.tnd").arg(c.isudc),
                                  {{"def.xml", defWith("isudc='0'", QByteArray("isudc='") + c.isudc + "'")}}));
        EXPECT_EQ(window->m_IsUDC, c.on) << c.isudc;
        EXPECT_EQ(window->m_RangeType, CommandIds::RangeAllRGB) << c.isudc;
    }
}

// Documents that are refused whole: one message, and the window as it was.
using DamagedDocument = DocumentTest;

TEST_F(DamagedDocument, IsRefusedWithOneMessageAndChangesNothing) {
    window->WriteDocument(path("good.tnd"));
    Globals::CurrentFile = path("good.tnd");
    window->UpdateAppCaption();
    const QString folder = window->DocumentFolder;
    const auto colors = ProoferColors();
    const auto captions = slotCaptions();
    const QString stage = window->ctlStage->CurrentPicture();
    QDir().mkpath(path("a folder.tnd"));
    const QByteArray busyPng = DamagedPng::Encode(DamagedPng::Busy(120, 90));

    const struct {
        const char* name;
        std::function<QString()> make;
    } cases[] = {
        {"not a zip",
         [&] {
             ZipCrafter::WriteFile(path("text.tnd"), "hello, world");
             return path("text.tnd");
         }},
        {"empty file",
         [&] {
             ZipCrafter::WriteFile(path("empty.tnd"), "");
             return path("empty.tnd");
         }},
        {"a folder", [&] { return path("a folder.tnd"); }},
        {"no def.xml",
         [&] {
             return pack("nodef.tnd", {{"stage.png", "x"}});
         }},
        {"malformed def.xml",
         [&] {
             return pack("bad.tnd", {{"def.xml", "<Root Proofers='2'"}});
         }},
        {"empty def.xml",
         [&] {
             return pack("emptydef.tnd", {{"def.xml", ""}});
         }},
        {"nine proofers",
         [&] {
             return pack("nine.tnd", {{"def.xml", defWith("Proofers='2'", "Proofers='9'")}});
         }},
        {"no proofers",
         [&] {
             return pack("zero.tnd", {{"def.xml", defWith("Proofers='2'", "Proofers='0'")}});
         }},
        {"huge count",
         [&] {
             return pack("e9.tnd", {{"def.xml", defWith("Proofers='2'", "Proofers='1e9'")}});
         }},
        {"text count",
         [&] {
             return pack("abc.tnd", {{"def.xml", defWith("Proofers='2'", "Proofers='two'")}});
         }},
        {"seven strips",
         [&] {
             return pack("h7.tnd", {{"def.xml", defWith("Holders='1'", "Holders='7'")}});
         }},
        {"root without attributes",
         [&] {
             return pack("noattr.tnd", {{"def.xml", "<Root><Main/><Holders/><History/><Match/></Root>"}});
         }},
        {"doctype",
         [&] {
             return pack("dtd.tnd", {{"def.xml", "<!DOCTYPE Root [<!ENTITY a 'aaaa'>]>" + kDef}});
         }},
        {"texture outside",
         [&] {
             return pack("escape.tnd", {{"def.xml", defWith("path=''", "path='../../etc/passwd'")}});
         }},
        {"stage not a png",
         [&] {
             return pack("stage.tnd", {{"def.xml", kDef}, {"stage.png", "GIF89a"}});
         }},
        {"stage cut short",
         [&] {
             return pack("cut.tnd", {{"def.xml", kDef}, {"stage.png", DamagedPng::CutInItsData(busyPng)}});
         }},
        {"stage data corrupt",
         [&] {
             return pack("corrupt.tnd", {{"def.xml", kDef}, {"stage.png", DamagedPng::WithCorruptData(busyPng, true)}});
         }},
        {"fractional count",
         [&] {
             return pack("half.tnd", {{"def.xml", defWith("Proofers='2'", "Proofers='2.5'")}});
         }},
        {"count with a blank",
         [&] {
             return pack("blank.tnd", {{"def.xml", defWith("Holders='1'", "Holders=' 1'")}});
         }},
        {"top colour as an exponent",
         [&] {
             return pack("exp.tnd", {{"def.xml", defWith("topred='255'", "topred='2e2'")}});
         }},
        {"entry with a folder",
         [&] {
             ZipCrafter::Entry def;
             def.name = "def.xml";
             def.data = kDef.toStdString();
             ZipCrafter::Entry evil;
             evil.name = "../evil.txt";
             evil.data = "x";
             ZipCrafter::WriteFile(path("slip.tnd"), ZipCrafter::Zip({def, evil}));
             return path("slip.tnd");
         }},
        {"bad crc",
         [&] {
             ZipCrafter::Entry entry;
             entry.name = "def.xml";
             entry.data = kDef.toStdString();
             entry.crc = 1234;
             ZipCrafter::WriteFile(path("crc.tnd"), ZipCrafter::Zip({entry}));
             return path("crc.tnd");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = c.make();
        ScriptedMessageBox boxes;
        open(target);
        ASSERT_EQ(boxes.Requests().size(), 1u);
        EXPECT_EQ(boxes.Requests()[0].prompt, "Error loading the file from disk.");
        EXPECT_EQ(boxes.Requests()[0].buttons, MessageBox::Exclamation);
        EXPECT_TRUE(boxes.Requests()[0].title.startsWith("Error: "));
        EXPECT_EQ(Globals::CurrentFile, path("good.tnd"));
        EXPECT_EQ(window->DocumentFolder, folder);
        EXPECT_TRUE(QFileInfo::exists(folder + "def.xml"));
        EXPECT_EQ(ProoferColors(), colors);
        EXPECT_EQ(slotCaptions(), captions);
        EXPECT_EQ(window->ctlStage->CurrentPicture(), stage);
        EXPECT_EQ(statusText(*window), " good.tnd");
        EXPECT_TRUE(Find(CommandIds::FileOpen)->Enabled());
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("evil.txt")));
    }
}

// Document A is open, its stage changed and not saved, the user in "Staging". A damaged document B, whichever
// way it comes, gets one message after the save question (answered No) and leaves everything of A as it was.
TEST_F(DamagedDocument, KeepsTheOpenDocumentItsUnsavedStageAndTheWorkspaceWhicheverWayItComes) {
    const QString a = pack("a.tnd", {{"def.xml", defWith("<History/>",
                                                         "<History><History id='0' count='0'>"
                                                         "<Notes>from A</Notes></History></History>")},
                                     {"stage.png", DamagedPng::Encode(quarters(64, 48))}});
    open(a);
    ASSERT_EQ(Globals::CurrentFile, a);
    window->ShowWorkspace(CommandIds::StagingTab);
    Execute(CommandIds::InvertColors);
    ASSERT_TRUE(window->ctlStage->PictureIsDirty());
    const QImage changedStage = window->ctlStage->ImageControl()->Picture();
    const QString folder = window->DocumentFolder;
    const auto colors = ProoferColors();

    const QByteArray busyPng = DamagedPng::Encode(DamagedPng::Busy(120, 90));
    const struct {
        const char* name;
        std::map<QString, QByteArray> files;
    } documents[] = {
        {"stage cut short", {{"def.xml", kDef}, {"stage.png", DamagedPng::CutInItsData(busyPng)}}},
        {"stage data corrupt", {{"def.xml", kDef}, {"stage.png", DamagedPng::WithCorruptData(busyPng, true)}}},
        {"fractional count", {{"def.xml", defWith("Proofers='2'", "Proofers='2.5'")}, {"stage.png", busyPng}}},
    };
    const struct {
        const char* name;
        bool asks;
        std::function<void(const QString&)> prepare;
        std::function<void(const QString&)> open;
    } ways[] = {
        {"Open", true, [](const QString&) {}, [this](const QString& b) { open(b); }},
        {"a recent slot", true, [this](const QString& b) { window->MRU->Add(FileShared::GetFileName(b), b); },
         [this](const QString&) { Execute(CommandIds::FirstRecentFileSlot); }},
        {"the command line", false, [](const QString&) {},
         [this](const QString& b) { window->OpenDocumentFromCommandLine(b); }},
    };
    for (const auto& way : ways)
        for (const auto& document : documents) {
            SCOPED_TRACE(std::string(document.name) + " through " + way.name);
            const QString b = pack("b.tnd", document.files);
            way.prepare(b);
            const std::vector<QString> before = slotCaptions();
            ScriptedMessageBox boxes({MessageBox::No});
            way.open(b);
            const auto& asked = boxes.Requests();
            ASSERT_EQ(asked.size(), way.asks ? 2u : 1u);
            if (way.asks) {
                EXPECT_EQ(asked[0].prompt, "Do you want to save the changes to a?");
            }
            EXPECT_EQ(asked.back().prompt, "Error loading the file from disk.");
            EXPECT_EQ(asked.back().title, QStringLiteral("Error: %1").arg(DocumentCheck::DamagedDocument));

            EXPECT_EQ(Globals::CurrentFile, a);
            EXPECT_EQ(statusText(*window), " a.tnd");
            EXPECT_EQ(window->DocumentFolder, folder);
            EXPECT_TRUE(QFileInfo::exists(folder + "stage.png"));
            EXPECT_EQ(ProoferColors(), colors);
            EXPECT_EQ(window->history[0]->Notes(), "from A");
            EXPECT_EQ(window->ctlStage->ImageControl()->Picture(), changedStage);
            EXPECT_TRUE(window->ctlStage->PictureIsDirty());
            EXPECT_TRUE(window->IsModified());
            EXPECT_EQ(slotCaptions(), before);
            EXPECT_TRUE(window->ctlStage->isVisible());
            EXPECT_FALSE(window->cpList[0]->isVisible());
            EXPECT_EQ(window->RibbonBar()->SelectedTab()->Id(), CommandIds::StagingTab);
        }

    // A document that opens shows the proofers.
    ScriptedMessageBox boxes({MessageBox::No});
    open(a);
    EXPECT_EQ(Globals::CurrentFile, a);
    EXPECT_FALSE(window->ctlStage->isVisible());
    EXPECT_TRUE(window->cpList[0]->isVisible());
    EXPECT_EQ(window->RibbonBar()->SelectedTab()->Id(), CommandIds::SelectionTab);
    EXPECT_EQ(window->ctlStage->ImageControl()->Picture(), quarters(64, 48)) << "the stage as A has it";
    EXPECT_FALSE(window->IsModified());
}

// Saving that fails keeps what was there.
using DocumentSaveFailure = DocumentTest;

TEST_F(DocumentSaveFailure, ATargetThatIsAFolderIsReportedAndKept) {
    const QString target = path("folder.tnd");
    QDir().mkpath(target + "/inside");
    ScriptedMessageBox boxes;
    saveAs(target);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].prompt, "Error saving file to disk.");
    EXPECT_EQ(boxes.Requests()[0].buttons, MessageBox::Exclamation);
    EXPECT_TRUE(boxes.Requests()[0].title.startsWith("Error: "));
    EXPECT_TRUE(Globals::CurrentFile.isEmpty());
    EXPECT_TRUE(QFileInfo(target + "/inside").isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"folder.tnd"});
}

TEST_F(DocumentSaveFailure, AReadOnlyFolderKeepsThePreviousFileByteForByte) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString folder = path("locked");
    QDir().mkpath(folder);
    const QString target = folder + "/kept.tnd";
    window->WriteDocument(target);
    Globals::CurrentFile = target;
    const QByteArray before = fileBytes(target);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    window->CreateNewColors();

    ScriptedMessageBox boxes;
    Execute(CommandIds::FileSave);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].prompt, "Error saving file to disk.");
    EXPECT_EQ(fileBytes(target), before);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"kept.tnd"});
    EXPECT_EQ(Globals::CurrentFile, target);
}

// The commands and the question that protects unsaved work.
using DocumentCommands = DocumentTest;

TEST_F(DocumentCommands, TheQuestionNamesTheFileWithoutItsDocumentExtension) {
    const struct {
        QString current;
        QString prompt;
    } cases[] = {
        {"", "Do you want to save this file?"},
        {"/docs/Spring.TND", "Do you want to save the changes to Spring?"},
        {"/docs/Spring.tnd", "Do you want to save the changes to Spring?"},
        {"/docs/Spring.txt", "Do you want to save the changes to Spring.txt?"},
    };
    for (const auto& c : cases) {
        Globals::CurrentFile = c.current;
        ScriptedMessageBox boxes({MessageBox::Cancel});
        EXPECT_EQ(window->PromptSaveChanges(), MessageBox::Cancel);
        ASSERT_EQ(boxes.Requests().size(), 1u);
        EXPECT_EQ(boxes.Requests()[0].prompt, c.prompt);
        EXPECT_EQ(boxes.Requests()[0].buttons, 35);
        EXPECT_EQ(boxes.Requests()[0].title, App::Title());
    }
}

TEST_F(DocumentCommands, NewOnAModifiedUntitledDocumentFollowsTheAnswer) {
    window->CreateNewColors();
    const auto colors = ProoferColors();

    {  // Cancel keeps everything.
        ScriptedMessageBox boxes({MessageBox::Cancel});
        Execute(CommandIds::FileNew);
        EXPECT_EQ(boxes.Requests().size(), 1u);
        EXPECT_EQ(ProoferColors(), colors);
    }
    {  // Yes opens Save As; cancelling it stops New.
        ScriptedMessageBox boxes({MessageBox::Yes});
        ScriptedFileDialog dialogs;
        Execute(CommandIds::FileNew);
        ASSERT_EQ(dialogs.Requests().size(), 1u);
        EXPECT_EQ(dialogs.Requests()[0].mode, FileDialog::Mode::Save);
        EXPECT_EQ(dialogs.Requests()[0].filter, "Tindral File (*.tnd)|*.tnd;");
        EXPECT_EQ(dialogs.Requests()[0].flags, FileDialog::OverwritePrompt);
        EXPECT_EQ(ProoferColors(), colors);
        EXPECT_TRUE(Find(CommandIds::FileOpen)->Enabled());
    }
    {  // No clears the document.
        window->ctlMatch->AddColor(plainColor(1, 1, 1));
        window->ctlMatch->SetBackColor(0x102030);
        window->history[0]->AddColorPanels({plainColor(5, 5, 5)});
        ScriptedMessageBox boxes({MessageBox::No});
        Execute(CommandIds::FileNew);
        EXPECT_NE(ProoferColors(), colors);
        EXPECT_EQ(window->history[0]->PanelCount(), 0);
        EXPECT_TRUE(pieColors(*window->ctlMatch).empty());
        EXPECT_EQ(window->ctlMatch->BackColor(), 0xFFFFFF);
        EXPECT_EQ(window->m_RangeType, CommandIds::RangeAllRGB);
        EXPECT_FALSE(window->m_IsUDC);
        EXPECT_FALSE(window->IsModified());
        EXPECT_EQ(statusText(*window), " Ready");
        EXPECT_TRUE(Globals::CurrentFile.isEmpty());
    }
}

TEST_F(DocumentCommands, YesAtTheQuestionSavesAndClosing) {
    window->WriteDocument(path("close.tnd"));
    Globals::CurrentFile = path("close.tnd");
    const QByteArray before = fileBytes(path("close.tnd"));
    window->CreateNewColors();
    const auto colors = ProoferColors();
    ScriptedMessageBox boxes({MessageBox::Yes});
    EXPECT_TRUE(window->close());
    EXPECT_EQ(boxes.Requests().size(), 1u);
    EXPECT_NE(fileBytes(path("close.tnd")), before);
    StopProgram();
    window = StartProgram();
    ASSERT_NE(window, nullptr);
    window->ReadDocument(path("close.tnd"));
    EXPECT_EQ(ProoferColors(), colors);
}

TEST_F(DocumentCommands, AnUntouchedDocumentIsNeverQuestioned) {
    window->WriteDocument(path("quiet.tnd"));
    ScriptedMessageBox boxes;
    Execute(CommandIds::FileNew);
    open(path("quiet.tnd"));
    EXPECT_TRUE(boxes.Requests().empty());
    EXPECT_EQ(Globals::CurrentFile, path("quiet.tnd"));
}

TEST_F(DocumentCommands, SaveOnAnUntitledDocumentWritesNothingAndSucceeds) {
    ScriptedFileDialog dialogs;
    ScriptedMessageBox boxes;
    EXPECT_TRUE(window->FileSave());
    EXPECT_TRUE(dialogs.Requests().empty());
    EXPECT_TRUE(boxes.Requests().empty());
    EXPECT_TRUE(window->DocumentFolder.isEmpty());
}

TEST_F(DocumentCommands, OnlyOpeningRemembersThePathAndTheDialogsStartFromIt) {
    window->WriteDocument(path("one.tnd"));
    EXPECT_TRUE(lastPath().isEmpty()) << "writing never remembers";
    {
        ScriptedFileDialog dialogs({path("two.tnd")});
        Execute(CommandIds::FileSaveAs);
        EXPECT_EQ(Globals::CurrentFile, path("two.tnd"));
        EXPECT_TRUE(lastPath().isEmpty());
    }
    {
        ScriptedFileDialog dialogs({path("one.tnd")});
        EXPECT_TRUE(window->FileOpen());
        ASSERT_EQ(dialogs.Requests().size(), 1u);
        EXPECT_EQ(dialogs.Requests()[0].mode, FileDialog::Mode::Open);
        EXPECT_EQ(dialogs.Requests()[0].flags, FileDialog::FileMustExist | FileDialog::HideReadOnly);
        EXPECT_EQ(dialogs.Requests()[0].filter, "Tindral File (*.tnd)|*.tnd;");
        EXPECT_EQ(lastPath(), path("one.tnd"));
    }
    {
        ScriptedFileDialog dialogs;  // cancel
        EXPECT_FALSE(window->FileSaveAs());
        ASSERT_EQ(dialogs.Requests().size(), 1u);
        EXPECT_EQ(dialogs.Requests()[0].fileName, path("one.tnd"));
        EXPECT_EQ(Globals::CurrentFile, path("one.tnd"));
    }
    {
        ScriptedFileDialog dialogs;  // cancel
        ScriptedMessageBox boxes;
        EXPECT_FALSE(window->FileOpen());
        EXPECT_TRUE(boxes.Requests().empty());
        EXPECT_TRUE(Find(CommandIds::FileOpen)->Enabled());
    }
}

}  // namespace
