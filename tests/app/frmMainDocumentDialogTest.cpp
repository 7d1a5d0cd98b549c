#include "app/DocumentFixture.h"

#include "platform/FileDialog.h"
#include "services/SpecialFolders.h"

namespace {

using namespace DocumentFixture;

using DocumentDialogStart = DocumentTest;

// Where the Save As box of the document starts and what its name box holds.
FileDialog::Start saveAsStart(frmMain& window) {
    ScriptedFileDialog dialogs;  // cancel
    window.FileSaveAs();
    EXPECT_EQ(dialogs.Requests().size(), 1u);
    return dialogs.Requests().empty() ? FileDialog::Start{} : FileDialog::StartOf(dialogs.Requests()[0]);
}

TEST_F(DocumentDialogStart, SaveAsStartsInTheRememberedFolderElseDocumentsElseHome) {
    ASSERT_TRUE(Globals::CurrentFile.isEmpty());
    const QString documents = SpecialFolders::MyDocumentsFolder();
    ASSERT_TRUE(QFileInfo(documents).isDir());
    FileDialog::Start start = saveAsStart(*window);
    EXPECT_EQ(start.folder, documents);
    EXPECT_EQ(start.name, QString()) << "a pattern stays out of the name box";

    // Without a documents folder the box starts at home.
    const QString away = documents + QStringLiteral(".away");
    ASSERT_TRUE(QDir().rename(documents, away));
    start = saveAsStart(*window);
    ASSERT_TRUE(QDir().rename(away, documents));
    EXPECT_EQ(start.folder, QDir::homePath());
    EXPECT_EQ(start.name, QString());

    // Once a document was opened, its folder and name.
    window->WriteDocument(path("one.tnd"));
    open(path("one.tnd"));
    ASSERT_EQ(Globals::CurrentFile, path("one.tnd"));
    start = saveAsStart(*window);
    EXPECT_EQ(start.folder, dir.path());
    EXPECT_EQ(start.name, QStringLiteral("one.tnd"));
}

}  // namespace
