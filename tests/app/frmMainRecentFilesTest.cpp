#include "app/DocumentFixture.h"

namespace {

using namespace DocumentFixture;

// The recent-files slots of the system menu.
using RecentFiles = DocumentTest;

TEST_F(RecentFiles, SlotsListTheDocumentsMostRecentFirstWithLongPathsShortened) {
    EXPECT_TRUE(slotCaptions().empty());
    const QString deep = path(QString(70, 'd'));
    QDir().mkpath(deep);
    window->WriteDocument(path("a.tnd"));
    window->WriteDocument(deep + "/long.tnd");
    window->ReadDocument(path("a.tnd"));
    window->WriteDocument(path("b.tnd"));
    EXPECT_EQ(slotCaptions(),
              (std::vector<QString>{MRUManager::Caption(1, path("b.tnd")), MRUManager::Caption(2, path("a.tnd")),
                                    "&3 " + deep.left(3) + ".../long.tnd"}));
    EXPECT_EQ(Find(CommandIds::FirstRecentFileSlot + 2)->Parameter(), deep + "/long.tnd");
}

TEST_F(RecentFiles, AVanishedFileIsReportedAndLeavesTheList) {
    window->WriteDocument(path("gone.tnd"));
    window->WriteDocument(path("here.tnd"));
    QFile::remove(path("gone.tnd"));
    ScriptedMessageBox boxes;
    Execute(CommandIds::FirstRecentFileSlot + 1);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].prompt, "File not found.");
    EXPECT_EQ(boxes.Requests()[0].buttons, MessageBox::Information);
    EXPECT_EQ(boxes.Requests()[0].title, App::Title());
    EXPECT_EQ(slotCaptions(), std::vector<QString>{MRUManager::Caption(1, path("here.tnd"))});
}

TEST_F(RecentFiles, OpeningFromASlotTitlesTheDocumentAndAFailureIsReported) {
    window->WriteDocument(path("recent.tnd"));
    window->WriteDocument(path("spoilt.tnd"));
    window->CreateNewColors();
    const auto colors = ProoferColors();
    {
        ScriptedMessageBox boxes({MessageBox::No});
        Execute(CommandIds::FirstRecentFileSlot + 1);
        EXPECT_EQ(boxes.Requests().size(), 1u) << "the modified document is questioned first";
        EXPECT_EQ(Globals::CurrentFile, path("recent.tnd"));
        EXPECT_EQ(lastPath(), path("recent.tnd"));
        EXPECT_EQ(statusText(*window), " recent.tnd");
        EXPECT_EQ(slotCaptions()[0], MRUManager::Caption(1, path("recent.tnd")));
    }
    ZipCrafter::WriteFile(path("spoilt.tnd"), "not a document");
    {
        ScriptedMessageBox boxes;
        Execute(CommandIds::FirstRecentFileSlot + 1);
        ASSERT_EQ(boxes.Requests().size(), 1u);
        EXPECT_EQ(boxes.Requests()[0].prompt, "Error loading the file from disk.");
        EXPECT_EQ(Globals::CurrentFile, path("recent.tnd"));
    }
}

TEST_F(RecentFiles, AMalformedStoredListStartsEmptyAndIsReplacedAtTheNextChange) {
    StopProgram();
    Settings::SaveSetting(App::Title(), "MRU", "mru", "<mru><item name='a'");
    window = StartProgram();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(slotCaptions().empty());
    window->WriteDocument(path("fresh.tnd"));
    EXPECT_EQ(slotCaptions(), std::vector<QString>{MRUManager::Caption(1, path("fresh.tnd"))});
    pugi::xml_document stored;
    EXPECT_TRUE(stored.load_string(Settings::GetSetting(App::Title(), "MRU", "mru").toUtf8().constData()));
}

// A document named on the command line.
using CommandLineDocument = DocumentTest;

TEST_F(CommandLineDocument, OpensTheDocumentAndNamesItOrStartsUntitled) {
    window->SetProoferCount(4, false);
    window->WriteDocument(path("start.tnd"));
    const auto colors = ProoferColors();
    StopProgram();
    clearStoredSettings();

    const struct {
        QString commandLine;
        QString current;
        size_t messages;
    } cases[] = {
        {path("start.tnd"), path("start.tnd"), 0},
        {path("missing.tnd"), "", 0},
        {"", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine.toStdString());
        ScriptedMessageBox boxes;
        MainModule::Main(c.commandLine);
        window = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<frmMain*>(widget); found && found->isVisible())
                window = found;
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Globals::CurrentFile, c.current);
        EXPECT_EQ(boxes.Requests().size(), c.messages);
        if (!c.current.isEmpty()) {
            EXPECT_EQ(ProoferColors(), colors);
            EXPECT_EQ(statusText(*window), " start.tnd");
            EXPECT_EQ(lastPath(), c.current);
            EXPECT_FALSE(window->m_IsOpeningJustAfterStartup);
        } else {
            EXPECT_EQ(statusText(*window), " Ready");
        }
        StopProgram();
        Globals::CurrentFile.clear();
    }
    window = StartProgram();
}

TEST_F(CommandLineDocument, ADamagedDocumentStartsUntitledWithOneMessage) {
    StopProgram();
    ZipCrafter::WriteFile(path("broken.tnd"), "PK nothing");
    ScriptedMessageBox boxes;
    MainModule::Main(path("broken.tnd"));
    window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<frmMain*>(widget); found && found->isVisible())
            window = found;
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].prompt, "Error loading the file from disk.");
    EXPECT_TRUE(Globals::CurrentFile.isEmpty());
    EXPECT_TRUE(lastPath().isEmpty());
}

}  // namespace
