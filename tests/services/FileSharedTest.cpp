#include "platform/RuntimeError.h"
#include "services/FileShared.h"
#include "services/SpecialFolders.h"
#include "support/TempFolders.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct PathCase {
    const char* name;
    QString (*op)(const QString&);
    const char* input;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const PathCase& c) { return out << c.name; }

class PathHelpers : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathHelpers, GiveTheExpectedText) {
    EXPECT_EQ(GetParam().op(QString::fromUtf8(GetParam().input)), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    FileShared, PathHelpers,
    ::testing::Values(PathCase{"file_name_of_full_path", FileShared::GetFileName, "/a/b.txt", "b.txt"},
                      PathCase{"file_name_of_bare_name", FileShared::GetFileName, "b.txt", "b.txt"},
                      PathCase{"strip_without_dot_is_empty", FileShared::StripExtension, "readme", ""},
                      PathCase{"strip_takes_last_dot", FileShared::StripExtension, "a.b.c", "a.b"},
                      PathCase{"extension_without_dot_is_whole", FileShared::GetExtension, "readme", "readme"},
                      PathCase{"extension_after_last_dot", FileShared::GetExtension, "a.b.c", "c"},
                      PathCase{"backslash_kept", FileShared::AddBackslash, "/x/", "/x/"},
                      PathCase{"backslash_added", FileShared::AddBackslash, "/x", "/x/"},
                      PathCase{"backslash_of_empty", FileShared::AddBackslash, "", "/"},
                      PathCase{"flatten_windows_path", FileShared::FlattenPath, "D:\\Pics\\My Sea.JPG",
                               "DPicsMy Sea.JPG"},
                      PathCase{"flatten_unix_path", FileShared::FlattenPath, "/home/u/My Sea.JPG", "homeuMy Sea.JPG"},
                      PathCase{"flatten_empty", FileShared::FlattenPath, "", ""},
                      PathCase{"trim_null_without_nul", SpecialFolders::TrimNull, "abc", "abc"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileShared, TrimNullCutsAtTheFirstNul) {
    EXPECT_EQ(SpecialFolders::TrimNull(QString::fromUtf16(u"ab\0cd", 5)), QStringLiteral("ab"));
}

TEST(FileShared, TempPathsAreUniqueAndFree) {
    const QString a = FileShared::GetTempFilePath();
    const QString b = FileShared::GetTempFilePath();
    EXPECT_NE(a, b);
    EXPECT_FALSE(QFileInfo::exists(a));
    EXPECT_FALSE(QFileInfo::exists(b));
    EXPECT_TRUE(a.startsWith(QDir::tempPath() + "/TIN"));
    EXPECT_TRUE(a.endsWith(".tmp"));
}

// The start-up sweep reads the process id back out of a name; any other name must give none.
TEST(FileShared, ANameMadeHereCarriesThisProcess) {
    const QString name = FileShared::GetFileName(FileShared::GetTempFilePath());
    EXPECT_EQ(FileShared::TemporaryNameProcess(name.toStdString()), QCoreApplication::applicationPid());
    EXPECT_EQ(FileShared::TemporaryNameProcess((name + ".bmp").toStdString()), QCoreApplication::applicationPid())
        << "the stage's undo copy";
}

struct NameCase {
    const char* name;
    const char* fileName;
    qint64 process;
};

std::ostream& operator<<(std::ostream& out, const NameCase& c) { return out << c.name; }

class TemporaryNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(TemporaryNames, GiveTheProcessOnlyForTheProgramsOwnForm) {
    EXPECT_EQ(FileShared::TemporaryNameProcess(GetParam().fileName), GetParam().process);
}

INSTANTIATE_TEST_SUITE_P(FileShared, TemporaryNames,
                         ::testing::Values(NameCase{"one_digit_process", "TIN1DEADBEEF.tmp", 1},
                                           NameCase{"counter_of_zeros", "TIN2A6F00000000.tmp", 0x2A6F},
                                           NameCase{"eight_digit_process", "TINFFFFFFFF0000000A.tmp", 0xFFFFFFFF},
                                           NameCase{"undo_copy", "TIN2A6F0000001B.tmp.bmp", 0x2A6F},
                                           NameCase{"no_process_digits", "TIN0000001B.tmp", 0},
                                           NameCase{"windows_style_short_name", "TIN4F2A.tmp", 0},
                                           NameCase{"process_with_leading_zero", "TIN02A6F0000001B.tmp", 0},
                                           NameCase{"nine_digit_process", "TIN1FFFFFFFF0000000A.tmp", 0},
                                           NameCase{"lower_case_hex", "TIN2a6f0000001b.tmp", 0},
                                           NameCase{"not_hex", "TINDRAL00000001.tmp", 0},
                                           NameCase{"other_suffix", "TIN2A6F0000001B.tmp.txt", 0},
                                           NameCase{"no_suffix", "TIN2A6F0000001B", 0},
                                           NameCase{"lower_case_prefix", "tin2A6F0000001B.tmp", 0},
                                           NameCase{"something_before", "xTIN2A6F0000001B.tmp", 0},
                                           NameCase{"bare_prefix_and_suffix", "TIN.tmp", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct UnusableCase {
    const char* name;
    QString (*tmpdir)();
};

class UnusableTmpdir : public ::testing::TestWithParam<UnusableCase> {};

TEST_P(UnusableTmpdir, FallsBackToTheSystemsTemporaryFolder) {
    const QString system = TestEnvironment::Home() + "/system-tmp";
    QDir().mkpath(system);
    TempFolders folders(GetParam().tmpdir(), system);
    const QString path = FileShared::GetTempFilePath();
    EXPECT_EQ(QFileInfo(path).path(), system);
    EXPECT_EQ(FileShared::TemporaryFolder(), system);
    EXPECT_FALSE(QFileInfo::exists(path));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, UnusableTmpdir,
    ::testing::Values(UnusableCase{"missing", [] { return TestEnvironment::Home() + "/no-such-folder"; }},
                      UnusableCase{"a_plain_file",
                                   [] {
                                       const QString file = TestEnvironment::Home() + "/tmpdir-is-a-file";
                                       QFile f(file);
                                       f.open(QIODevice::WriteOnly);
                                       return file;
                                   }},
                      // Not even root may create files in /proc.
                      UnusableCase{"read_only", [] { return QStringLiteral("/proc"); }}),
    [](const ::testing::TestParamInfo<UnusableCase>& info) { return std::string(info.param.name); });

// The old 16-bit counter handed a live colour's name out again after 65,535 names.
TEST(FileShared, TempNamesDoNotRepeatBeyondSixteenBits) {
    QSet<QString> seen;
    for (int i = 0; i < 0x10000 + 16; ++i) {
        const QString path = FileShared::GetTempFilePath();
        ASSERT_FALSE(seen.contains(path)) << "after " << i << " names";
        seen.insert(path);
    }
    const QString name = QFileInfo(*seen.begin()).fileName();
    EXPECT_TRUE(name.startsWith("TIN") && name.endsWith(".tmp")) << name.toStdString();
}

// The name after path: the same prefix with the counter's eight hexadecimal digits one higher.
QString nameAfter(const QString& path) {
    const qsizetype digits = path.size() - 4 - 8;
    const uint counter = path.mid(digits, 8).toUInt(nullptr, 16);
    return path.left(digits) + QStringLiteral("%1").arg(counter + 1, 8, 16, QLatin1Char('0')).toUpper() + ".tmp";
}

// A file, or a link to nowhere, left at a name by a copy of the program that ended is never handed out, also
// once names in that folder are only looked up rather than created.
TEST(FileShared, ANameWhoseFileExistsIsSkipped) {
    const QString folder = TestEnvironment::Home() + "/taken-tmp";
    QDir().mkpath(folder);
    TempFolders folders(folder, folder);
    FileShared::GetTempFilePath();
    for (const bool dangling : {false, true}) {
        const QString taken = nameAfter(FileShared::GetTempFilePath());
        if (dangling) {
            ASSERT_EQ(::symlink("/no/such/target", QFile::encodeName(taken).constData()), 0);
        } else {
            QFile file(taken);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        const QString next = FileShared::GetTempFilePath();
        EXPECT_NE(next, taken) << (dangling ? "dangling link" : "plain file");
        EXPECT_EQ(QFileInfo(next).path(), folder);
        EXPECT_FALSE(QFileInfo(next).exists() || QFileInfo(next).isSymLink());
    }
}

// Names keep coming from a folder once it took a file; when it goes away they come from the system's.
TEST(FileShared, AFolderThatVanishesAfterUseGivesWayToTheSystemFolder) {
    const QString user = TestEnvironment::Home() + "/vanishing-tmp";
    const QString system = TestEnvironment::Home() + "/system-tmp-2";
    QDir().mkpath(user);
    QDir().mkpath(system);
    TempFolders folders(user, system);
    EXPECT_EQ(QFileInfo(FileShared::GetTempFilePath()).path(), user);
    EXPECT_EQ(QFileInfo(FileShared::GetTempFilePath()).path(), user);
    ASSERT_TRUE(QDir(user).removeRecursively());
    EXPECT_EQ(QFileInfo(FileShared::GetTempFilePath()).path(), system);
    QDir().mkpath(user);
    EXPECT_EQ(QFileInfo(FileShared::GetTempFilePath()).path(), user);
}

TEST(FileShared, AFailedTemporaryWriteIsReportedOnceAndTheCallerCarriesOn) {
    ScriptedMessageBox boxes;
    EXPECT_TRUE(FileShared::WriteTemporaryFile("/tmp/a", [] { return true; }));
    EXPECT_TRUE(boxes.Requests().empty());
    EXPECT_FALSE(FileShared::WriteTemporaryFile("/gone/TIN1.tmp", [] { return false; }));
    EXPECT_FALSE(FileShared::WriteTemporaryFile(
        "/gone/TIN2.tmp", []() -> bool { Err::Raise(17, "tindral.cDIBSection", "No such file or directory"); }));
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_TRUE(boxes.Requests()[0].prompt.contains("/gone/TIN1.tmp"));
    EXPECT_EQ(boxes.Requests()[0].buttons, MessageBox::Exclamation);
}

// A document or picture path that names a FIFO is no file: callers would block opening it.
TEST(FileShared, AFifoIsNoFile) {
    const QString dir = TestEnvironment::Home() + "/fifo";
    QDir().mkpath(dir);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "/pipe.tnd").constData(), 0600), 0);
    EXPECT_FALSE(FileShared::FileExists(dir + "/pipe.tnd"));
    EXPECT_FALSE(FileShared::FileExists(dir + "/*.tnd"));
}

TEST(FileShared, NoTemporaryFolderRaises2600) {
    TempFolders folders(TestEnvironment::Home() + "/no-such-folder", TestEnvironment::Home() + "/no-system-tmp");
    EXPECT_TRUE(FileShared::TemporaryFolder().isEmpty());
    try {
        FileShared::GetTempFilePath();
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 2600);
        EXPECT_EQ(e.Source(), QStringLiteral("Win32Calls_GetTempFilePath"));
        EXPECT_EQ(e.Description(), QStringLiteral("Error creating temporary file."));
    }
}

TEST(FileShared, FileExistsSeesOrdinaryFilesOnly) {
    const QString dir = TestEnvironment::Home() + "/exists";
    QDir().mkpath(dir + "/sub");
    QFile f(dir + "/a.bmp");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(FileShared::FileExists(""));
    EXPECT_FALSE(FileShared::FileExists(dir + "/sub"));
    EXPECT_TRUE(FileShared::FileExists(dir + "/a.bmp"));
    EXPECT_TRUE(FileShared::FileExists(dir + "/*.bmp"));
    EXPECT_FALSE(FileShared::FileExists(dir + "/*.png"));
    EXPECT_FALSE(FileShared::FileExists(dir + "/b.bmp"));
    QFile hidden(dir + "/.hidden.png");
    ASSERT_TRUE(hidden.open(QIODevice::WriteOnly));
    hidden.close();
    EXPECT_FALSE(FileShared::FileExists(dir + "/.hidden.png"));
    EXPECT_FALSE(FileShared::FileExists(dir + "/*.png"));
}

TEST(FileShared, DeleteFolderRemovesFilesAndLeavesAFolderWithSubfolders) {
    const QString flat = TestEnvironment::Home() + "/flat";
    const QString nested = TestEnvironment::Home() + "/nested";
    QDir().mkpath(flat);
    QDir().mkpath(nested + "/inner");
    for (const QString& d : {flat, nested}) {
        QFile f(d + "/x.txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    FileShared::DeleteFolder(flat);
    FileShared::DeleteFolder(nested);
    FileShared::DeleteFolder("");
    EXPECT_FALSE(QFileInfo::exists(flat));
    EXPECT_TRUE(QFileInfo::exists(nested + "/inner"));
    EXPECT_FALSE(QFileInfo::exists(nested + "/x.txt"));
}

TEST(SpecialFolders, AreTheUsersPicturesAndDocumentsFolders) {
    EXPECT_EQ(SpecialFolders::MyPicturesFolder(), TestEnvironment::Home() + "/Pictures");
    EXPECT_EQ(SpecialFolders::GetSpecialFolder(39), SpecialFolders::MyPicturesFolder());
    EXPECT_EQ(SpecialFolders::GetSpecialFolder(12), SpecialFolders::MyDocumentsFolder());
    EXPECT_EQ(SpecialFolders::GetSpecialFolder(28), QString());
}

TEST(FileShared, LastPathDefaultsToTheDocumentsFolder) {
    EXPECT_EQ(FileShared::GetLastPath("*.tnd"), SpecialFolders::MyDocumentsFolder() + "/*.tnd");
    EXPECT_EQ(SpecialFolders::MyDocumentsFolder(), TestEnvironment::Home() + "/Documents");
    FileShared::SaveLastPath("/work/a.tnd");
    EXPECT_EQ(FileShared::GetLastPath("*.tnd"), QStringLiteral("/work/a.tnd"));
}

TEST(FileShared, ShellAndWaitReturnsAfterTheProgramEnds) {
    const QString marker = TestEnvironment::Home() + "/ran";
    FileShared::ShellAndWait("touch \"" + marker + "\"");
    EXPECT_TRUE(QFileInfo::exists(marker));
    EXPECT_THROW(FileShared::ShellAndWait("/no/such/program"), RuntimeError);
}

// The events handled while waiting can be the ones that see the program end; the wait must still finish.
TEST(FileShared, ShellAndWaitReturnsWhenTheEventsSeeTheProgramEnd) {
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        std::fputs("ShellAndWait still waits for a program that has ended\n", stderr);
        std::_Exit(1);
    });
    watchdog.start(10000);
    QTimer::singleShot(0, [] {
        QThread::msleep(300);
        QCoreApplication::processEvents();
    });
    FileShared::ShellAndWait("sleep 0.05");
    EXPECT_TRUE(watchdog.isActive());
}

}  // namespace
