#include "app/MainModule.h"
#include "app/frmMain.h"
#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "support/ModelGlobals.h"
#include "support/ModelPrinters.h"
#include "support/TempFolders.h"
#include "support/TestEnvironment.h"
#include "services/CommandIds.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Points the program folder at a temporary one for the test, and releases the program-wide state after.
class ProgramFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        savedPath = App::Path();
        // The window's load opens the standard picture and the draw colour's pattern from the program folder.
        for (const char* name : {"/stdimg.png", "/stdcolor.bmp"})
            ASSERT_TRUE(QFile::copy(savedPath + name, folder.path() + name));
        App::SetPath(folder.path());
    }

    void TearDown() override {
        // Owned top-level widgets (menus) go with their owner.
        const QWidgetList windows = QApplication::topLevelWidgets();
        const QList<QPointer<QWidget>> guarded(windows.begin(), windows.end());
        for (const QPointer<QWidget>& w : guarded)
            if (w && !w->parentWidget()) {
                if (auto* main = qobject_cast<frmMain*>(w.data()))
                    main->m_IsOpeningJustAfterStartup = true;
                delete w.data();
            }
        App::SetPath(savedPath);
        ModelGlobals::Release();
    }

    void addTexture(const QString& name) {
        QDir().mkpath(folder.path() + "/textures");
        QFile f(folder.path() + "/textures/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    // The names the folder lists, as the file system enumerates them.
    std::vector<QString> enumerated() const {
        std::vector<QString> names;
        for (const auto& entry : std::filesystem::directory_iterator((folder.path() + "/textures").toStdString())) {
            const QString name = QString::fromStdString(entry.path().filename().string());
            if (entry.is_regular_file() && name.endsWith(".bmp", Qt::CaseInsensitive))
                names.push_back(name);
        }
        return names;
    }

    QTemporaryDir folder;
    QString savedPath;
};

void expectOnlyNoTexture() {
    ASSERT_EQ(Globals::Textures.size(), 1u);
    const auto& t = Globals::Textures[0];
    EXPECT_EQ(t->Id(), 1);
    EXPECT_EQ(t->Name(), QStringLiteral("  No Texture"));
    EXPECT_EQ(t->path(), QString());
    EXPECT_EQ(t->TextureType(), TextureKind::None);
    EXPECT_TRUE(t->Internal());
    EXPECT_FALSE(t->ReadOnly());
}

TEST_F(ProgramFolder, NoTexturesFolderGivesOnlyNoTexture) {
    MainModule::LoadTextureList();
    expectOnlyNoTexture();
}

TEST_F(ProgramFolder, ATexturesFolderWithoutRegularBmpFilesGivesOnlyNoTexture) {
    QDir().mkpath(folder.path() + "/textures");
    addTexture("notes.txt");
    QDir().mkpath(folder.path() + "/textures/folder.bmp");
    // What is no regular file, also behind a link, is no texture: reading a FIFO or a device would block.
    const QString textures = folder.path() + "/textures/";
    ASSERT_EQ(::mkfifo(QFile::encodeName(textures + "pipe.bmp").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(textures + "pipe.bmp", textures + "to-pipe.bmp"));
    ASSERT_TRUE(QFile::link("/dev/zero", textures + "to-device.bmp"));
    ASSERT_TRUE(QFile::link(textures + "folder.bmp", textures + "to-folder.bmp"));
    ASSERT_TRUE(QFile::link(textures + "gone", textures + "dangling.bmp"));
    MainModule::LoadTextureList();
    expectOnlyNoTexture();
}

TEST_F(ProgramFolder, TextureFilesFollowInEnumerationOrder) {
    for (const char* name : {"a.bmp", "b.bmp", "c.d.bmp", "e.png"}) addTexture(name);
    MainModule::LoadTextureList();
    const std::vector<QString> names = enumerated();
    ASSERT_EQ(names.size(), 3u);
    ASSERT_EQ(Globals::Textures.size(), 4u);
    EXPECT_EQ(Globals::Textures[0]->Name(), QStringLiteral("  No Texture"));
    for (size_t i = 0; i < names.size(); ++i) {
        const auto& t = Globals::Textures[i + 1];
        EXPECT_EQ(t->Id(), static_cast<int32_t>(i + 2));
        EXPECT_EQ(t->path(), names[i]);
        EXPECT_EQ(t->Name(), names[i].left(names[i].lastIndexOf('.')));
        EXPECT_EQ(t->TextureType(), TextureKind::Pattern);
        EXPECT_TRUE(t->Internal());
        EXPECT_TRUE(t->ReadOnly());
        EXPECT_EQ(Globals::TextureItem(static_cast<int32_t>(i + 2)), t);
    }
}

TEST_F(ProgramFolder, MainMakesTheProgramWideObjectsAndShowsTheWindow) {
    addTexture("dots.bmp");
    App::SetTitle("Other");
    Globals::CurrentFile.clear();
    MainModule::Main(QString());

    EXPECT_EQ(App::Title(), QStringLiteral("Tindral"));
    EXPECT_EQ(Screen::MousePointer(), Screen::Default);
    ASSERT_TRUE(Globals::Converter);
    ASSERT_EQ(Globals::Textures.size(), 2u);
    EXPECT_EQ(Globals::Textures[1]->Name(), QStringLiteral("dots"));

    ASSERT_TRUE(Globals::TopColor);
    const Color& top = *Globals::TopColor;
    EXPECT_EQ(top.RangeType(), CommandIds::RangeAllRGB);
    ASSERT_TRUE(top.ColorTexture());
    EXPECT_TRUE(top.ColorTexture()->Equals(Globals::Textures[0]));
    EXPECT_NE(top.ColorTexture(), Globals::Textures[0]);
    // The main window's load makes it white.
    EXPECT_EQ(top.RGBColor(), 0xFFFFFF);

    // The window's three proofers are the first generated colours.
    ASSERT_TRUE(Globals::GeneratedColors);
    EXPECT_EQ(Globals::GeneratedColors->count(), 3);
    ASSERT_TRUE(Globals::DrawColor);
    EXPECT_EQ(Globals::CurrentFile, QString());

    std::vector<frmMain*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<frmMain*>(w))
            windows.push_back(m);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_TRUE(windows[0]->isVisible());
    EXPECT_EQ(windows[0]->windowTitle(), QStringLiteral("Tindral"));
}

QString missing() { return TestEnvironment::Home() + "/no-such-folder"; }

TEST_F(ProgramFolder, AMissingTmpdirFallsBackToTheSystemFolderAndStartsQuietly) {
    const QString system = TestEnvironment::Home() + "/system-tmp";
    QDir().mkpath(system);
    TempFolders folders(missing(), system);
    ScriptedMessageBox boxes;
    EXPECT_TRUE(MainModule::Main(QString()));
    EXPECT_TRUE(boxes.Requests().empty());
    ASSERT_TRUE(Globals::TopColor);
    EXPECT_EQ(QFileInfo(Globals::TopColor->TemporaryImagePath()).path(), system);
    EXPECT_FALSE(QApplication::topLevelWidgets().isEmpty());
}

// Without any temporary folder start-up ends where it stood, keeping what was made, and says why.
TEST_F(ProgramFolder, NoWritableTemporaryFolderIsExplainedAndStartUpFails) {
    addTexture("dots.bmp");
    TempFolders folders(missing(), QStringLiteral("/proc"));
    ScriptedMessageBox boxes;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(MainModule::Main(QString()));
    const std::string stderrText = testing::internal::GetCapturedStderr();

    ASSERT_EQ(boxes.Requests().size(), 1u);
    const MessageBox::Request& box = boxes.Requests()[0];
    EXPECT_TRUE(box.prompt.startsWith(QStringLiteral("Tindral cannot start"))) << box.prompt.toStdString();
    EXPECT_TRUE(box.prompt.contains(missing()));
    EXPECT_TRUE(box.prompt.contains(QStringLiteral("/proc")));
    EXPECT_EQ(box.buttons, MessageBox::Critical);
    EXPECT_NE(stderrText.find(box.prompt.toStdString()), std::string::npos) << stderrText;

    EXPECT_TRUE(Globals::Converter);
    EXPECT_EQ(Globals::Textures.size(), 2u);
    EXPECT_FALSE(Globals::TopColor);
    EXPECT_FALSE(Globals::GeneratedColors);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    EXPECT_EQ(Screen::MousePointer(), Screen::Default);
}

// A name as a run of the program with that process id makes it.
QString runName(qint64 process, int counter, const char* suffix = "") {
    return QStringLiteral("TIN%1%2.tmp%3")
        .arg(QString::number(process, 16).toUpper())
        .arg(counter, 8, 16, QLatin1Char('0'))
        .arg(QLatin1String(suffix));
}

void makeFile(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write("x");
}

bool present(const QString& path) { return QFileInfo(path).exists() || QFileInfo(path).isSymLink(); }

// Start-up clears what runs that no longer run left in both temporary folders, and only that: a running
// copy's entries, another user's, links, other kinds of entry and other names stay, and nothing outside is
// reached through a link.
TEST_F(ProgramFolder, StartUpRemovesOnlyTheLeftoversOfRunsThatEnded) {
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 dead = ended.processId();
    ASSERT_TRUE(ended.waitForFinished());
    QProcess running;
    running.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(running.waitForStarted());
    const qint64 live = running.processId();

    QTemporaryDir root;
    const QString tmp = root.filePath("tmp");
    const QString system = root.filePath("system");
    const QString outside = root.filePath("outside");
    for (const QString& folder : {tmp, system, outside + "/inner"}) ASSERT_TRUE(QDir().mkpath(folder));
    makeFile(outside + "/keep.txt");
    makeFile(outside + "/inner/keep.txt");

    const QString document = tmp + "/" + runName(dead, 3);
    const QString icons = tmp + "/" + runName(dead, 4);
    ASSERT_TRUE(QDir().mkpath(document + "/nested"));
    ASSERT_TRUE(QDir().mkpath(icons));
    for (const QString& file :
         {document + "/def.xml", document + "/stage.png", document + "/nested/a.png", icons + "/bin001.png",
          tmp + "/" + runName(dead, 1), tmp + "/" + runName(dead, 2, ".bmp"), system + "/" + runName(dead, 5)})
        makeFile(file);
    ASSERT_EQ(::symlink(QFile::encodeName(outside + "/keep.txt"), QFile::encodeName(document + "/escape")), 0);
    ASSERT_EQ(::symlink(QFile::encodeName(outside), QFile::encodeName(document + "/escape-folder")), 0);
    const QStringList gone{document, icons, tmp + "/" + runName(dead, 1), tmp + "/" + runName(dead, 2, ".bmp"),
                           system + "/" + runName(dead, 5)};

    // Another copy that runs, this process itself, and names or kinds of entry the program never makes.
    const QString liveFolder = tmp + "/" + runName(live, 2);
    const QString bmpFolder = tmp + "/" + runName(dead, 8, ".bmp");
    const QString link = tmp + "/" + runName(dead, 9);
    const QString pipe = tmp + "/" + runName(dead, 10);
    ASSERT_TRUE(QDir().mkpath(liveFolder));
    ASSERT_TRUE(QDir().mkpath(bmpFolder));
    ASSERT_EQ(::symlink(QFile::encodeName(outside), QFile::encodeName(link)), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QStringList kept{tmp + "/" + runName(live, 1),
                     liveFolder + "/def.xml",
                     tmp + "/" + runName(QCoreApplication::applicationPid(), 1),
                     tmp + "/notes.txt",
                     tmp + "/TIN4F2A.tmp",
                     tmp + "/" + runName(dead, 6, ".txt"),
                     tmp + "/" + runName(dead, 7).toLower(),
                     bmpFolder + "/inside.txt"};
    for (const QString& file : kept) makeFile(file);
    kept << link << pipe << outside + "/keep.txt" << outside + "/inner/keep.txt";
    if (::geteuid() == 0) {
        const QString others = tmp + "/" + runName(dead, 11);
        makeFile(others);
        ASSERT_EQ(::chown(QFile::encodeName(others).constData(), 65534, 65534), 0);
        kept << others;
    }

    {
        TempFolders folders(tmp, system);
        ASSERT_TRUE(MainModule::Main(QString()));
    }
    running.kill();
    running.waitForFinished();

    for (const QString& path : gone) EXPECT_FALSE(present(path)) << path.toStdString();
    for (const QString& path : kept) EXPECT_TRUE(present(path)) << path.toStdString();
}

}  // namespace
