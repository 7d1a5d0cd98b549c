#include "platform/RuntimeError.h"
#include "services/DocumentArchive.h"
#include "support/FaultInjection.h"
#include "support/PrivateMounts.h"
#include "support/TestEnvironment.h"
#include "support/ZipCrafter.h"

#include <QDir>
#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

namespace {

using ZipCrafter::Entry;

std::string pngBytes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

// Every file under the folder, with its bytes, so a test can see that nothing else was written or changed.
std::map<QString, std::string> snapshot(const QString& folder) {
    std::map<QString, std::string> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[path] = it.fileInfo().isFile() ? ZipCrafter::ReadFile(path) : std::string("<other>");
    }
    return files;
}

class DocumentArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(QDir().mkpath(Source()));
        ASSERT_TRUE(QDir().mkpath(Target()));
    }
    QString Path(const QString& name) const { return m_root.filePath(name); }
    QString Source() const { return Path(QStringLiteral("source")); }
    QString Target() const { return Path(QStringLiteral("unpacked")); }
    void Put(const QString& name, const std::string& bytes) const {
        ZipCrafter::WriteFile(Source() + "/" + name, bytes);
    }

    QTemporaryDir m_root;
};

struct ArchiveEntryInfo {
    std::string name;
    int32_t method;
};

std::vector<ArchiveEntryInfo> listEntries(const QString& path) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    std::vector<ArchiveEntryInfo> entries;
    if (!archive)
        return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
        entries.push_back({stat.name, stat.comp_method});
    }
    zip_discard(archive);
    return entries;
}

TEST_F(DocumentArchiveTest, PackThenUnpackGivesTheSameFilesUnderBareNames) {
    const std::string xml = "<Root Proofers='1' Holders='1'>" + std::string(5000, ' ') + "</Root>";
    Put("def.xml", xml);
    Put("stage.png", pngBytes(40, 30));
    Put("DPicsMy Sea.JPG", std::string("\xFF\xD8\xFF\xE0 not really a jpeg", 20));
    Put("brick.bmp", std::string(3000, 'B'));
    ASSERT_TRUE(QDir().mkpath(Source() + "/sub"));  // folders are not packed
    ZipCrafter::WriteFile(Source() + "/sub/inner.txt", "x");

    const QString doc = Path("doc.tnd");
    DocumentArchive::Pack(Source(), doc);

    const auto entries = listEntries(doc);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, "def.xml");
    std::map<std::string, int32_t> methods;
    for (const auto& e : entries) methods[e.name] = e.method;
    EXPECT_EQ(methods["def.xml"], ZIP_CM_DEFLATE);
    EXPECT_EQ(methods["brick.bmp"], ZIP_CM_DEFLATE);
    EXPECT_EQ(methods["stage.png"], ZIP_CM_STORE);
    EXPECT_EQ(methods["DPicsMy Sea.JPG"], ZIP_CM_STORE);

    DocumentArchive::Unpack(doc, Target());
    const auto unpacked = snapshot(Target());
    ASSERT_EQ(unpacked.size(), 4u);
    for (const auto& [path, bytes] : unpacked)
        EXPECT_EQ(bytes, ZipCrafter::ReadFile(Source() + "/" + QFileInfo(path).fileName())) << path.toStdString();
}

TEST_F(DocumentArchiveTest, PackReplacesTheTargetKeepingItsPermissionsAndLeavesNoOtherFile) {
    Put("def.xml", "<Root/>");
    const QString doc = Path("out/doc.tnd");
    ASSERT_TRUE(QDir().mkpath(Path("out")));
    ZipCrafter::WriteFile(doc, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(doc).constData(), 0600), 0);

    DocumentArchive::Pack(Source(), doc);

    EXPECT_EQ(QDir(Path("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("doc.tnd")});
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(doc).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(listEntries(doc).size(), 1u);
}

TEST_F(DocumentArchiveTest, PackThroughALinkReplacesTheFileItNamesAndKeepsTheLink) {
    Put("def.xml", "<Root/>");
    ZipCrafter::WriteFile(Path("real.tnd"), "old");
    ASSERT_TRUE(QFile::link(Path("real.tnd"), Path("link.tnd")));

    DocumentArchive::Pack(Source(), Path("link.tnd"));

    EXPECT_TRUE(QFileInfo(Path("link.tnd")).isSymLink());
    EXPECT_EQ(listEntries(Path("real.tnd")).size(), 1u);
}

// A save that fails leaves the previous document byte for byte and no stray file beside it.
TEST_F(DocumentArchiveTest, FailedPacksKeepThePreviousFile) {
    Put("def.xml", std::string(200000, 'x'));
    Put("stage.png", pngBytes(300, 300));
    const QString folder = Path("out");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString doc = folder + "/doc.tnd";
    ZipCrafter::WriteFile(doc, "previous document");

    struct Case {
        const char* name;
        std::function<void()> before, after;
        QString target;
        int32_t error;
    };
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const std::vector<Case> cases = {
        {"disk full",
         [] {
             std::signal(SIGXFSZ, SIG_IGN);
             rlimit tiny{1000, RLIM_INFINITY};
             ::setrlimit(RLIMIT_FSIZE, &tiny);
         },
         [saved] {
             rlimit back{saved.rlim_max, saved.rlim_max};
             ::setrlimit(RLIMIT_FSIZE, &back);
             std::signal(SIGXFSZ, SIG_DFL);
         },
         doc, RuntimeError::DiskFull},
        {"target is a folder", [] {}, [] {}, folder, RuntimeError::PathFileAccessError},
        {"missing folder", [] {}, [] {}, Path("nowhere/doc.tnd"), RuntimeError::PathNotFound},
        {"missing source", [this] { QDir(Source()).removeRecursively(); }, [] {}, doc, RuntimeError::PathNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = snapshot(folder);
        c.before();
        const int32_t error = TestEnvironment::ErrorNumberOf([&] { DocumentArchive::Pack(Source(), c.target); });
        c.after();
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(snapshot(folder), before);
        EXPECT_FALSE(QFileInfo::exists(Path("nowhere")));
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("doc.tnd")});
    }
}

TEST_F(DocumentArchiveTest, PackOverAReadOnlyFolderOrFileKeepsThePreviousFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    Put("def.xml", "<Root/>");
    const QString folder = Path("ro");
    const QString doc = folder + "/doc.tnd";
    ASSERT_TRUE(QDir().mkpath(folder));
    ZipCrafter::WriteFile(doc, "previous");
    for (const auto& [name, path, mode] :
         {std::tuple{"read-only folder", folder, 0555}, std::tuple{"read-only file", doc, 0444}}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode)), 0);
        EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { DocumentArchive::Pack(Source(), doc); }),
                  RuntimeError::PermissionDenied);
        ::chmod(QFile::encodeName(path).constData(), path == folder ? 0755 : 0644);
        EXPECT_EQ(ZipCrafter::ReadFile(doc), "previous");
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("doc.tnd")});
    }
}

// Root writes into read-only folders; a read-only file system refuses it the same way.
TEST_F(DocumentArchiveTest, PackOntoAReadOnlyFileSystemKeepsThePreviousFile) {
    PrivateMounts mounts;
    if (!mounts.Available())
        GTEST_SKIP() << mounts.Reason().toStdString();
    Put("def.xml", "<Root/>");
    const QString folder = Path("ro");
    ASSERT_TRUE(mounts.MountTmpfs(folder, 1 << 20));
    const QString doc = folder + "/doc.tnd";
    ZipCrafter::WriteFile(doc, "previous");
    ASSERT_TRUE(mounts.MakeReadOnly(folder));
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { DocumentArchive::Pack(Source(), doc); }),
              RuntimeError::PermissionDenied);
    EXPECT_EQ(ZipCrafter::ReadFile(doc), "previous");
    EXPECT_EQ(FaultInjection::EntriesOf(folder), QStringList{QStringLiteral("doc.tnd")});
}

// A save killed at any moment leaves either the previous file or the whole new one, and nothing beside it.
TEST_F(DocumentArchiveTest, ASaveKilledMidwayLosesNothing) {
    Put("def.xml", std::string(100000, 'x'));
    Put("stage.png", std::string(40 << 20, 's'));  // large enough that a kill lands inside the save
    const QString folder = Path("out");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString doc = folder + "/doc.tnd";
    ZipCrafter::WriteFile(doc, "previous document");
    const QByteArray source = QFile::encodeName(Source());
    const QByteArray target = QFile::encodeName(doc);

    for (int delayMs : {5, 20, 40, 80, 160}) {
        SCOPED_TRACE(delayMs);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                try {
                    DocumentArchive::Pack(QFile::decodeName(source), QFile::decodeName(target));
                } catch (...) {
                    ::_exit(1);
                }
            }
        }
        ::usleep(static_cast<useconds_t>(delayMs) * 1000);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        const std::string bytes = ZipCrafter::ReadFile(doc);
        if (bytes != "previous document") {
            const auto entries = listEntries(doc);
            EXPECT_EQ(entries.size(), 2u);
        }
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("doc.tnd")});
    }
}

// What standard tools make we read, and what we make they read.
TEST_F(DocumentArchiveTest, StandardZipToolsAgreeWithUs) {
    if (QStandardPaths::findExecutable("zip").isEmpty() || QStandardPaths::findExecutable("unzip").isEmpty())
        GTEST_SKIP() << "zip and unzip are not installed";
    Put("def.xml", "<Root Proofers='1' Holders='1'/>");
    Put("stage.png", pngBytes(20, 20));

    const QString theirs = Path("theirs.tnd");
    ASSERT_EQ(QProcess::execute("zip", {"-q", "-j", theirs, Source() + "/def.xml", Source() + "/stage.png"}), 0);
    DocumentArchive::Unpack(theirs, Target());
    EXPECT_EQ(ZipCrafter::ReadFile(Target() + "/def.xml"), "<Root Proofers='1' Holders='1'/>");

    const QString ours = Path("ours.tnd");
    DocumentArchive::Pack(Source(), ours);
    QProcess unzip;
    unzip.start("unzip", {"-t", ours});
    ASSERT_TRUE(unzip.waitForFinished());
    EXPECT_EQ(unzip.exitCode(), 0) << unzip.readAll().toStdString();
}

struct BadArchive {
    const char* name;
    std::function<void(const QString& path)> make;
    int32_t error;
};

std::ostream& operator<<(std::ostream& out, const BadArchive& c) { return out << c.name; }

std::function<void(const QString&)> zipOf(std::vector<Entry> entries) {
    return [entries](const QString& path) { ZipCrafter::WriteFile(path, ZipCrafter::Zip(entries)); };
}

Entry file(std::string name, std::string data = "data") {
    Entry e;
    e.name = std::move(name);
    e.data = std::move(data);
    return e;
}

template <typename F>
Entry with(Entry e, F change) {
    change(e);
    return e;
}

const Entry defXml = file("def.xml", "<Root Proofers='1' Holders='1'/>");

class BadArchives : public DocumentArchiveTest, public ::testing::WithParamInterface<BadArchive> {};

// Each refused archive writes nothing anywhere, and the folder it was to fill stays empty.
TEST_P(BadArchives, AreRefusedWithoutWritingAnything) {
    const QString doc = Path("bad.tnd");
    GetParam().make(doc);
    const auto before = snapshot(m_root.path());

    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { DocumentArchive::Unpack(doc, Target()); }), GetParam().error);

    EXPECT_EQ(snapshot(m_root.path()), before);
    EXPECT_TRUE(QDir(Target()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    EXPECT_FALSE(QFileInfo::exists(QDir::tempPath() + "/evil"));
}

using namespace DocumentArchive;

INSTANTIATE_TEST_SUITE_P(
    DocumentArchive, BadArchives,
    ::testing::Values(
        BadArchive{"folder_part", zipOf({defXml, file("sub/evil")}), UnsafeEntry},
        BadArchive{"dot_dot", zipOf({defXml, file("../evil")}), UnsafeEntry},
        BadArchive{"dot_dot_alone", zipOf({defXml, file("..")}), UnsafeEntry},
        BadArchive{"absolute_path", zipOf({defXml, file(QDir::tempPath().toStdString() + "/evil")}), UnsafeEntry},
        BadArchive{"backslash", zipOf({defXml, file("..\\evil")}), UnsafeEntry},
        BadArchive{"empty_name", zipOf({defXml, file("")}), UnsafeEntry},
        BadArchive{"control_character", zipOf({defXml, file("a\nb")}), UnsafeEntry},
        BadArchive{"name_too_long", zipOf({defXml, file(std::string(300, 'n'))}), UnsafeEntry},
        BadArchive{"symbolic_link",
                   zipOf({defXml, with(file("stage.png", "/etc/passwd"), [](Entry& e) { e.unixMode = 0120777; })}),
                   UnsafeEntry},
        BadArchive{"fifo_entry", zipOf({defXml, with(file("pipe"), [](Entry& e) { e.unixMode = 0010644; })}),
                   UnsafeEntry},
        BadArchive{"same_name_twice", zipOf({defXml, file("def.xml", "<Root/>")}), UnsafeEntry},
        BadArchive{"encrypted", zipOf({defXml, with(file("stage.png"), [](Entry& e) { e.flags |= 1; })}),
                   EncryptedEntry},
        BadArchive{"size_states_less",
                   zipOf({defXml, with(file("stage.png", std::string(5000, 'p')),
                                       [](Entry& e) { e.deflate = true; e.statedSize = 100; })}),
                   DamagedEntry},
        BadArchive{"size_states_more",
                   zipOf({defXml, with(file("stage.png", std::string(5000, 'p')),
                                       [](Entry& e) { e.deflate = true; e.statedSize = 9000; })}),
                   DamagedEntry},
        BadArchive{"bad_crc", zipOf({defXml, with(file("stage.png"), [](Entry& e) { e.crc = 12345; })}), DamagedEntry},
        BadArchive{"bad_crc_deflated",
                   zipOf({defXml, with(file("stage.png", std::string(5000, 'q')),
                                       [](Entry& e) { e.deflate = true; e.crc = 1; })}),
                   DamagedEntry},
        BadArchive{"unknown_method", zipOf({defXml, with(file("stage.png"), [](Entry& e) { e.method = 12; })}),
                   DamagedEntry},
        BadArchive{"bomb_by_ratio",
                   zipOf({with(file("def.xml", std::string(20 << 20, '\0')), [](Entry& e) { e.deflate = true; })}),
                   TooLarge},
        BadArchive{"entry_past_the_size_limit",
                   zipOf({with(file("def.xml", std::string(4 << 20, 'a')),
                               [](Entry& e) { e.deflate = true; e.statedSize = uint32_t{300} << 20; })}),
                   TooLarge},
        BadArchive{"many_entries",
                   [](const QString& path) {
                       std::vector<Entry> entries;
                       for (int i = 0; i < 100000; ++i) entries.push_back(file("e" + std::to_string(i), ""));
                       ZipCrafter::WriteFile(path, ZipCrafter::Zip(entries));
                   },
                   TooLarge},
        BadArchive{"not_a_zip", [](const QString& path) { ZipCrafter::WriteFile(path, "<Root/> plain text"); },
                   NotAnArchive},
        BadArchive{"empty_file", [](const QString& path) { ZipCrafter::WriteFile(path, ""); }, NotAnArchive},
        BadArchive{"truncated",
                   [](const QString& path) {
                       const std::string whole = ZipCrafter::Zip({defXml, file("stage.png", std::string(3000, 's'))});
                       ZipCrafter::WriteFile(path, whole.substr(0, whole.size() / 2));
                   },
                   NotAnArchive},
        BadArchive{"missing_file", [](const QString&) {}, RuntimeError::FileNotFound},
        BadArchive{"folder_named_tnd", [](const QString& path) { QDir().mkpath(path); },
                   RuntimeError::PathFileAccessError},
        BadArchive{"fifo_named_tnd",
                   [](const QString& path) { ::mkfifo(QFile::encodeName(path).constData(), 0644); },
                   RuntimeError::PathFileAccessError},
        BadArchive{"device_named_tnd", [](const QString& path) { QFile::link("/dev/zero", path); },
                   RuntimeError::PathFileAccessError},
        // The first entry is good and written; the damaged second one takes it away again.
        BadArchive{"damage_after_a_good_entry",
                   zipOf({defXml, with(file("stage.png"), [](Entry& e) { e.crc = 7; })}), DamagedEntry}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentArchiveTest, FolderEntriesAreSkipped) {
    const QString doc = Path("dirs.tnd");
    ZipCrafter::WriteFile(
        doc, ZipCrafter::Zip({with(file("pictures/", ""), [](Entry& e) { e.unixMode = 040755; }), defXml}));
    DocumentArchive::Unpack(doc, Target());
    EXPECT_EQ(QDir(Target()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"def.xml"});
}

TEST_F(DocumentArchiveTest, AnExistingFileInTheFolderIsNeverOverwritten) {
    const QString doc = Path("doc.tnd");
    ZipCrafter::WriteFile(doc, ZipCrafter::Zip({defXml}));
    ZipCrafter::WriteFile(Target() + "/def.xml", "mine");
    EXPECT_NE(TestEnvironment::ErrorNumberOf([&] { DocumentArchive::Unpack(doc, Target()); }), 0);
    EXPECT_EQ(ZipCrafter::ReadFile(Target() + "/def.xml"), "mine");
}

}  // namespace
