#include "app/DocumentFixture.h"

#include "platform/CommandBarGallery.h"

#include <string>

namespace {

using namespace DocumentFixture;

// The "Color Schemes" gallery shows the number of strips the window shows, whichever way a document came in.
class SchemesGallery : public DocumentTest {
protected:
    // Documents of two and three strips, then a fresh program whose gallery shows one.
    void SetUp() override {
        DocumentTest::SetUp();
        for (const int strips : {2, 3}) {
            window->NumberOfHistoryGroups = strips;
            window->WriteDocument(path(QStringLiteral("%1.tnd").arg(strips)));
        }
        restart(QString());
    }

    void restart(const QString& commandLine) {
        StopProgram();
        MainModule::Main(commandLine);
        window = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<frmMain*>(widget); found && found->isVisible())
                window = found;
        ASSERT_NE(window, nullptr);
    }

    // The item the gallery of the "Selection" tab shows checked, once the event loop has run.
    int checkedItem() const {
        QApplication::processEvents();
        auto* gallery = dynamic_cast<CommandBarGallery*>(Find(CommandIds::SchemesItems));
        return gallery ? gallery->CheckedItem() : -1;
    }

    enum class Way { CommandLine, Open, RecentSlot };
    void openBy(Way way, int strips) {
        const QString document = path(QStringLiteral("%1.tnd").arg(strips));
        switch (way) {
            case Way::CommandLine: restart(document); return;
            case Way::Open: open(document); return;
            case Way::RecentSlot:
                for (int k = 0; k < CommandIds::RecentFileSlotCount; ++k)
                    if (Find(CommandIds::FirstRecentFileSlot + k)->Parameter() == document)
                        Execute(CommandIds::FirstRecentFileSlot + k);
                return;
        }
    }

    int shownStrips() const {
        int shown = 0;
        for (const auto& strip : window->history) shown += strip->isVisible() ? 1 : 0;
        return shown;
    }
};

TEST_F(SchemesGallery, FollowsTheStripCountOfEveryDocumentOpened) {
    ASSERT_EQ(checkedItem(), 1);
    for (const Way way : {Way::CommandLine, Way::Open, Way::RecentSlot})
        for (const int strips : {2, 3, 2}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(way)) + ": " + std::to_string(strips) + " strips");
            openBy(way, strips);
            ASSERT_EQ(Globals::CurrentFile, path(QStringLiteral("%1.tnd").arg(strips)));
            EXPECT_EQ(shownStrips(), strips);
            EXPECT_EQ(checkedItem(), strips);
        }
}

TEST_F(SchemesGallery, NewKeepsTheStripCountAndTheGalleryWithIt) {
    restart(path(QStringLiteral("3.tnd")));
    Execute(CommandIds::FileNew);
    EXPECT_TRUE(Globals::CurrentFile.isEmpty());
    EXPECT_EQ(shownStrips(), 3);
    EXPECT_EQ(checkedItem(), 3);
}

}  // namespace
