// A save that fails anywhere fails whole: one message, the previous file byte for byte, the window as it was,
// and nothing of the save left in the temporary folder.
#include "app/DocumentFixture.h"

#include "platform/RuntimeError.h"
#include "support/FaultInjection.h"
#include "support/PrivateMounts.h"
#include "support/TempFolders.h"

#include <QCoreApplication>

#include <sys/wait.h>

namespace {

using namespace DocumentFixture;
using FaultInjection::EntriesOf;

// Everything of the window a failed save must leave as it found it.
struct WindowState {
    QString currentFile;
    QString documentFolder;
    QStringList documentFolderFiles;
    QString status;
    std::vector<QString> recent;
    bool modified;
    std::vector<bool> flags;  // each proofer colour, each strip and its own flag, the pie, the stage
    std::vector<std::pair<QString, bool>> textures;  // every colour's texture path and stored flag
    bool operator==(const WindowState&) const = default;
};

void PrintTo(const WindowState& s, std::ostream* out) {
    *out << "file " << s.currentFile.toStdString() << ", folder " << s.documentFolder.toStdString() << " holding "
         << s.documentFolderFiles.join(' ').toStdString() << ", status \"" << s.status.toStdString() << "\", recent";
    for (const QString& name : s.recent) *out << " " << name.toStdString();
    *out << (s.modified ? ", modified" : ", not modified") << ", flags ";
    for (const bool flag : s.flags) *out << (flag ? '1' : '0');
    *out << ", textures";
    for (const auto& [path, stored] : s.textures) *out << " " << path.toStdString() << (stored ? " (stored)" : "");
}

class FailedSave : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        // A document the user has worked on: every later change counts.
        window->CreateNewColors();
        tmp = path("tmp");
        ASSERT_TRUE(QDir().mkpath(tmp));
        temp = std::make_unique<TempFolders>(tmp, tmp);
    }
    void TearDown() override {
        DocumentTest::TearDown();
        temp.reset();
    }

    WindowState state() {
        WindowState s{Globals::CurrentFile,
                      window->DocumentFolder,
                      window->DocumentFolder.isEmpty() ? QStringList() : EntriesOf(window->DocumentFolder),
                      statusText(*window),
                      slotCaptions(),
                      window->IsModified(),
                      {},
                      {}};
        std::vector<std::shared_ptr<Color>> colors = ProoferColorObjects();
        for (const auto& color : colors) s.flags.push_back(color->IsDirty());
        for (const auto& strip : window->history) {
            s.flags.push_back(strip->IsDirty());
            s.flags.push_back(strip->OwnDirty());
            for (const auto& color : stripColors(*strip)) colors.push_back(color);
        }
        s.flags.push_back(window->ctlMatch->IsDirty());
        s.flags.push_back(window->ctlStage->PictureIsDirty());
        for (const auto& color : pieColors(*window->ctlMatch)) colors.push_back(color);
        for (const auto& color : colors) {
            s.flags.push_back(color->IsDirty());
            s.textures.emplace_back(color->ColorTexture()->path(), color->ColorTexture()->InStorage());
        }
        return s;
    }

    void expectOneSaveError(const ScriptedMessageBox& boxes, int32_t number) {
        ASSERT_EQ(boxes.Requests().size(), 1u);
        EXPECT_EQ(boxes.Requests()[0].prompt, "Error saving file to disk.");
        EXPECT_EQ(boxes.Requests()[0].buttons, MessageBox::Exclamation);
        EXPECT_EQ(boxes.Requests()[0].title, QStringLiteral("Error: %1").arg(number));
    }

    QString tmp;
    std::unique_ptr<TempFolders> temp;
};

// As the user met it: a document with a large stage picture, a line drawn, a temporary folder nearly full.
TEST_F(FailedSave, AFullTemporaryFolderDuringSaveKeepsTheDocumentAndTheWindow) {
    PrivateMounts mounts;
    if (!mounts.Available())
        GTEST_SKIP() << mounts.Reason().toStdString();
    const QString picture = path("photo.png");
    ASSERT_TRUE(FaultInjection::Noise(1000, 750).save(picture));
    ASSERT_TRUE(window->ctlStage->OpenPicture(picture));
    const QString document = path("photo.tnd");
    saveAs(document);
    ASSERT_EQ(Globals::CurrentFile, document);
    window->ctlStage->Invert();
    const QByteArray before = fileBytes(document);
    const WindowState was = state();
    ASSERT_TRUE(was.modified);

    const QString tiny = path("tiny");
    ASSERT_TRUE(mounts.MountTmpfs(tiny, 4 << 20));
    ASSERT_TRUE(FaultInjection::LeaveFree(tiny, 256 << 10));
    {
        const TempFolders full(tiny, tiny);
        ScriptedMessageBox boxes;
        Execute(CommandIds::FileSave);
        // The stage reports its failure only as False.
        expectOneSaveError(boxes, RuntimeError::PathFileAccessError);
        EXPECT_EQ(EntriesOf(tiny), QStringList{"filler"}) << "nothing of the save is left in the temporary folder";
    }
    EXPECT_EQ(fileBytes(document), before);
    EXPECT_EQ(EntriesOf(dir.path()), (QStringList{"photo.png", "photo.tnd", "tiny", "tmp"}));
    EXPECT_EQ(state(), was);

    // With room again the same save goes through.
    ScriptedMessageBox boxes;
    Execute(CommandIds::FileSave);
    EXPECT_TRUE(boxes.Requests().empty());
    EXPECT_NE(fileBytes(document), before);
    EXPECT_FALSE(window->IsModified());
}

enum class Holder { Proofer, Strip, Pie };
struct LostPictureCase {
    const char* name;
    Holder holder;
    bool saveAs;  // untitled and Save As, or titled and Save
    int32_t error;
};

class FailedSaveOfALostPicture : public FailedSave, public ::testing::WithParamInterface<LostPictureCase> {
protected:
    // The colour of the holder, as the window holds it.
    std::shared_ptr<Color> held() const {
        switch (GetParam().holder) {
            case Holder::Proofer: return window->cpList[0]->PanelColor();
            case Holder::Strip: return window->history[0]->Panel(0)->PanelColor();
            case Holder::Pie: return pieColors(*window->ctlMatch).at(0);
        }
        return nullptr;
    }
};

// A picture on a removed USB stick: the colour would be lost without a word, so the save fails whole.
TEST_P(FailedSaveOfALostPicture, FailsWholeAndChangesNothing) {
    const QString picture = path("user picture.png");
    ASSERT_TRUE(quarters(40, 30).save(picture));
    auto color = Factory::NewColor(Factory::NewTexture(99, "Holiday", picture, TextureKind::Image, false, false),
                                   CommandIds::RangeAllRGB, false);
    color->SetColor(12, 34, 56);
    switch (GetParam().holder) {
        case Holder::Proofer: window->cpList[0]->SetColor(color); break;
        case Holder::Strip: window->history[0]->AddColorPanels({color}); break;
        case Holder::Pie: window->ctlMatch->AddColor(color); break;
    }
    const QString document = path("doc.tnd");
    QString lost = picture;
    if (!GetParam().saveAs) {
        saveAs(document);
        ASSERT_EQ(Globals::CurrentFile, document);
        // The colour now uses the copy inside the document folder; that copy goes.
        lost = held()->ColorTexture()->path();
        ASSERT_TRUE(lost.startsWith(window->DocumentFolder)) << lost.toStdString();
        window->history[1]->AddColorPanels({plainColor(1, 2, 3)});
    }
    const QByteArray before = fileBytes(document);
    const QStringList besideBefore = EntriesOf(dir.path());
    const QStringList tmpBefore = EntriesOf(tmp);
    const WindowState was = state();
    ASSERT_TRUE(was.modified);
    ASSERT_TRUE(QFile::rename(lost, lost + ".away"));

    {
        ScriptedMessageBox boxes;
        if (GetParam().saveAs)
            saveAs(document);
        else
            Execute(CommandIds::FileSave);
        expectOneSaveError(boxes, GetParam().error);
    }
    ASSERT_TRUE(QFile::rename(lost + ".away", lost));
    EXPECT_EQ(fileBytes(document), before);
    EXPECT_EQ(EntriesOf(dir.path()), besideBefore);
    EXPECT_EQ(EntriesOf(tmp), tmpBefore) << "the save's new folder is gone";
    EXPECT_EQ(state(), was);

    // With the picture back the same save goes through and keeps the colour with its picture.
    {
        ScriptedMessageBox boxes;
        if (GetParam().saveAs)
            saveAs(document);
        else
            Execute(CommandIds::FileSave);
        EXPECT_TRUE(boxes.Requests().empty());
    }
    EXPECT_EQ(Globals::CurrentFile, document);
    window->ReadDocument(document);
    ASSERT_NE(held(), nullptr);
    EXPECT_EQ(held()->RGBColor(), color->RGBColor());
    EXPECT_EQ(QImage(held()->ColorTexture()->path()).convertToFormat(QImage::Format_RGB32), quarters(40, 30));
}

INSTANTIATE_TEST_SUITE_P(
    Holders, FailedSaveOfALostPicture,
    // A strip reports its failure only as False.
    ::testing::Values(LostPictureCase{"ProoferSave", Holder::Proofer, false, RuntimeError::FileNotFound},
                      LostPictureCase{"ProoferSaveAs", Holder::Proofer, true, RuntimeError::FileNotFound},
                      LostPictureCase{"StripSave", Holder::Strip, false, RuntimeError::PathFileAccessError},
                      LostPictureCase{"StripSaveAs", Holder::Strip, true, RuntimeError::PathFileAccessError},
                      LostPictureCase{"PieSave", Holder::Pie, false, RuntimeError::FileNotFound},
                      LostPictureCase{"PieSaveAs", Holder::Pie, true, RuntimeError::FileNotFound}),
    [](const auto& info) { return std::string(info.param.name); });

// A full disk (a file-size limit) at each piece in turn: def.xml, the stage picture, the archive.
TEST_F(FailedSave, EveryPieceThatMeetsAFullDiskFailsTheWholeSave) {
    ASSERT_TRUE(window->ctlStage->OpenPicture([&] {
        const QString picture = path("noise.png");
        EXPECT_TRUE(FaultInjection::Noise(250, 250).save(picture));
        return picture;
    }()));
    const QString document = path("doc.tnd");
    // Changed back and forth: encoded again, to the same bytes each time.
    const auto change = [&] {
        window->ctlStage->Invert();
        window->ctlStage->Invert();
    };
    change();
    saveAs(document);
    const qint64 defXml = QFileInfo(window->DocumentFolder + "def.xml").size();
    const qint64 stagePng = QFileInfo(window->DocumentFolder + "stage.png").size();
    const qint64 archive = QFileInfo(document).size();
    ASSERT_LT(defXml, stagePng);
    ASSERT_LT(stagePng, archive);
    change();
    const QByteArray before = fileBytes(document);
    const QStringList besideBefore = EntriesOf(dir.path());
    const QStringList tmpBefore = EntriesOf(tmp);
    const WindowState was = state();

    // The stage reports its failure only as False.
    const struct {
        const char* piece;
        qint64 limit;
        int32_t error;
    } cases[] = {{"def.xml", defXml / 2, RuntimeError::DiskFull},
                 {"stage.png", (defXml + stagePng) / 2, RuntimeError::PathFileAccessError},
                 {"archive", (stagePng + archive) / 2, RuntimeError::DiskFull}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.piece);
        const auto child = FaultInjection::RunWithFileSizeLimit(c.limit, [&] {
            ScriptedMessageBox boxes;
            Execute(CommandIds::FileSave);
            expectOneSaveError(boxes, c.error);
            EXPECT_EQ(state(), was);
        });
        EXPECT_TRUE(child);
        EXPECT_EQ(fileBytes(document), before);
        EXPECT_EQ(EntriesOf(dir.path()), besideBefore);
        EXPECT_EQ(EntriesOf(tmp), tmpBefore);
    }
}

// The end of a save that failed at its last step, after the whole folder was written: nothing of it stays in
// the temporary folder, and the folder of the open document stays whole.
TEST_F(FailedSave, NothingOfItStaysInTheTemporaryFolder) {
    saveAs(path("first.tnd"));
    window->CreateNewColors();
    const QStringList tmpBefore = EntriesOf(tmp);
    const WindowState was = state();
    const QString blocked = path("blocked");
    QFile(blocked).open(QIODevice::WriteOnly);  // a file where the target's folder must be

    ScriptedMessageBox boxes;
    saveAs(blocked + "/second.tnd");
    expectOneSaveError(boxes, RuntimeError::PathNotFound);
    EXPECT_EQ(EntriesOf(tmp), tmpBefore);
    EXPECT_EQ(state(), was);
}

// Root writes into read-only folders; a read-only file system refuses it the same way.
TEST_F(FailedSave, AReadOnlyFileSystemKeepsThePreviousFileByteForByte) {
    PrivateMounts mounts;
    if (!mounts.Available())
        GTEST_SKIP() << mounts.Reason().toStdString();
    const QString folder = path("locked");
    ASSERT_TRUE(mounts.MountTmpfs(folder, 4 << 20));
    const QString target = folder + "/kept.tnd";
    saveAs(target);
    ASSERT_EQ(Globals::CurrentFile, target);
    const QByteArray before = fileBytes(target);
    ASSERT_TRUE(mounts.MakeReadOnly(folder));
    window->CreateNewColors();
    const WindowState was = state();

    ScriptedMessageBox boxes;
    Execute(CommandIds::FileSave);
    expectOneSaveError(boxes, RuntimeError::PermissionDenied);
    EXPECT_EQ(fileBytes(target), before);
    EXPECT_EQ(EntriesOf(folder), QStringList{"kept.tnd"});
    EXPECT_EQ(state(), was);
}

// A save killed in the one system call between naming its file and renaming it over the document leaves the
// second name; the next save to the folder and closing the window remove it, and nothing else.
TEST_F(FailedSave, TheSecondNameOfAKilledSaveGoesAtTheNextSaveAndAtClose) {
    const QString folder = path("docs");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString document = folder + "/doc.tnd";
    saveAs(document);
    const pid_t running = ::fork();
    if (running == 0) {
        ::pause();
        ::_exit(0);
    }
    const auto secondName = [&](pid_t writer) {
        return folder + "/.doc.tnd." + QString::number(writer) + ".1234abcd.tmp";
    };
    const QString stillWriting = secondName(running);
    const QString foreign = folder + "/.doc.tnd.1234abcd.tmp";
    for (const QString& file : {secondName(FaultInjection::DeadProcessId()), stillWriting, foreign}) {
        QFile planted(file);
        ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
        planted.write("killed");
    }
    QStringList kept = {".doc.tnd.1234abcd.tmp", QFileInfo(stillWriting).fileName(), "doc.tnd"};
    kept.sort();

    window->CreateNewColors();
    Execute(CommandIds::FileSave);
    EXPECT_EQ(EntriesOf(folder), kept);

    {
        QFile planted(secondName(FaultInjection::DeadProcessId()));
        ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(window->close());
    EXPECT_EQ(EntriesOf(folder), kept);
    ::kill(running, SIGKILL);
    ::waitpid(running, nullptr, 0);
    StopProgram();
    window = StartProgram();
}

}  // namespace
