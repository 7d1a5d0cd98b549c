#include "platform/AtomicFile.h"
#include "platform/RuntimeError.h"
#include "support/FaultInjection.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Durability = AtomicFile::Durability;
using FaultInjection::EntriesOf;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray noise(qsizetype bytes) {
    QByteArray data(bytes, Qt::Uninitialized);
    QRandomGenerator generator(11);
    for (char& c : data) c = static_cast<char>(generator.generate());
    return data;
}

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root.isValid()); }
    QString Path(const QString& name) const { return root.filePath(name); }
    QTemporaryDir root;
};

// Every way of writing meets a full disk the same way: an error, the previous file byte for byte, nothing beside
// it. QSaveFile of Qt 6.4 commits such a file as if it were whole.
TEST_F(AtomicFileTest, AWriteThatMeetsAFullDiskFailsAndKeepsThePreviousFile) {
    const QByteArray big = noise(300 * 1024);
    writeFile(Path("source.bin"), big);
    const struct Case {
        const char* name;
        std::function<void(const QString& target, Durability durability)> write;
    } cases[] = {
        {"bytes in one call", [&](const QString& t, Durability d) { AtomicFile::WriteWhole(t, big, d); }},
        {"bytes a little at a time",
         [&](const QString& t, Durability d) {
             AtomicFile file(t, d);
             for (qsizetype at = 0; at < big.size(); at += 1000) file.Write(big.mid(at, 1000));
             file.Commit();
         }},
        {"a copy", [&](const QString& t, Durability d) { AtomicFile::CopyFile(Path("source.bin"), t, d); }},
        {"an image writer on the device whose failure is ignored",
         [&](const QString& t, Durability d) {
             AtomicFile file(t, d);
             QImageWriter writer(file.Device(), "bmp");
             (void)writer.write(FaultInjection::Noise(250, 250));
             file.Commit();
         }},
    };
    for (const Durability durability : {Durability::Kept, Durability::Scratch}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (durability == Durability::Kept ? ", kept" : ", scratch"));
            const QString folder = Path(QStringLiteral("case"));
            QDir(folder).removeRecursively();
            ASSERT_TRUE(QDir().mkpath(folder));
            const QString target = folder + "/picture.bin";
            writeFile(target, "previous");
            const auto child = FaultInjection::RunWithFileSizeLimit(64 * 1024, [&] {
                EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { c.write(target, durability); }), RuntimeError::DiskFull);
            });
            EXPECT_TRUE(child);
            EXPECT_EQ(readAll(target), "previous");
            EXPECT_EQ(EntriesOf(folder), QStringList{"picture.bin"});
        }
    }
}

TEST_F(AtomicFileTest, WhatIsWrittenArrivesWholeOnlyAtCommit) {
    const QString target = Path("doc.bin");
    writeFile(target, "previous");
    {
        AtomicFile file(target);
        file.Write(noise(1000));
        EXPECT_EQ(readAll(target), "previous");
        EXPECT_EQ(EntriesOf(root.path()), QStringList{"doc.bin"}) << "the new file has no name before Commit";
    }
    EXPECT_EQ(readAll(target), "previous") << "an AtomicFile dropped without Commit changes nothing";

    const QByteArray bytes = noise(700 * 1024);
    AtomicFile::WriteWhole(target, bytes);
    EXPECT_EQ(readAll(target), bytes);
    EXPECT_EQ(EntriesOf(root.path()), QStringList{"doc.bin"});

    AtomicFile::WriteWhole(Path("new.bin"), "fresh", Durability::Scratch);
    EXPECT_EQ(readAll(Path("new.bin")), "fresh");
}

// Writers such as the TIFF one seek back to patch what they wrote; the device must land each byte where it was
// meant, inside the buffer, across its flushes and past writes that bypass it.
TEST_F(AtomicFileTest, TheDeviceWritesAtItsPosition) {
    const QByteArray large = noise(600 * 1024);
    const struct Case {
        const char* name;
        std::function<void(QIODevice&)> script;
        QByteArray expected;
    } cases[] = {
        {"patch inside the buffer",
         [](QIODevice& d) {
             d.write("AAAA");
             d.seek(1);
             d.write("BB");
             d.seek(d.size());
             d.write("C");
         },
         "ABBAC"},
        {"patch the head after a large write",
         [&](QIODevice& d) {
             d.write("HEAD");
             d.write(large);
             d.seek(0);
             d.write("head");
             d.seek(d.size());
             d.write("TAIL");
         },
         "head" + large + "TAIL"},
        {"a hole left by a seek past the end",
         [](QIODevice& d) {
             d.seek(3);
             d.write("x");
         },
         QByteArray(3, '\0') + "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = Path("device.bin");
        AtomicFile file(target);
        QIODevice* device = file.Device();
        ASSERT_TRUE(device->isOpen());
        c.script(*device);
        file.Commit();
        EXPECT_EQ(readAll(target), c.expected);
    }
}

TEST_F(AtomicFileTest, ErrorsOfTheTargetAndTheSource) {
    ASSERT_TRUE(QDir().mkpath(Path("folder.bin")));
    writeFile(Path("file"), "a file where a folder must be");
    const struct Case {
        const char* name;
        std::function<void()> action;
        int32_t error;
    } cases[] = {
        {"the target is a folder", [&] { AtomicFile::WriteWhole(Path("folder.bin"), "x"); },
         RuntimeError::PathFileAccessError},
        {"the folder is missing", [&] { AtomicFile::WriteWhole(Path("gone/x.bin"), "x"); }, RuntimeError::PathNotFound},
        {"a file stands where the folder must be", [&] { AtomicFile::WriteWhole(Path("file/x.bin"), "x"); },
         RuntimeError::PathNotFound},
        {"the source is missing", [&] { AtomicFile::CopyFile(Path("none"), Path("copy")); },
         RuntimeError::FileNotFound},
        {"the source is a folder", [&] { AtomicFile::CopyFile(Path("folder.bin"), Path("copy")); },
         RuntimeError::PathFileAccessError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TestEnvironment::ErrorNumberOf(c.action), c.error);
    }
    EXPECT_EQ(EntriesOf(root.path()), (QStringList{"file", "folder.bin"}));
}

// A save killed between giving its file the second name and renaming it over the target leaves that name
// behind; the next save to the folder removes it, and only it.
TEST_F(AtomicFileTest, TheNextSaveRemovesTheSecondNamesOfKilledSavesOnly) {
    const QByteArray dead = QByteArray::number(FaultInjection::DeadProcessId());
    // A writer that still runs: a child kept alive until the end of the test.
    const pid_t alive = ::fork();
    if (alive == 0) {
        ::pause();
        ::_exit(0);
    }
    const QByteArray live = QByteArray::number(alive);
    const QByteArray own = QByteArray::number(QCoreApplication::applicationPid());

    const QString folder = Path("docs");
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct Case {
        QByteArray name;
        bool removed;
    } cases[] = {
        {".doc.tnd." + dead + ".0123abcd.tmp", true},
        {".other name.png." + dead + ".ffffffff.tmp", true},
        {".doc.tnd." + live + ".0123abcd.tmp", false},
        {".doc.tnd." + own + ".0123abcd.tmp", false},
        {".doc.tnd.0123abcd.tmp", false},                   // no process id: not of this pattern
        {".doc.tnd." + dead + ".0123ABCD.tmp", false},      // upper-case digits are not ours
        {".doc.tnd." + dead + ".0123abc.tmp", false},       // seven digits
        {"doc.tnd." + dead + ".0123abcd.tmp", false},       // not hidden
        {".doc.tnd." + dead + ".0123abcd.tmp.bak", false},  // another ending
        {"doc.tnd", false},
    };
    for (const Case& c : cases) writeFile(folder + "/" + QString::fromUtf8(c.name), "leftover");
    // A folder and a link of the pattern are nothing a save writes.
    ASSERT_TRUE(QDir().mkpath(folder + "/.dir." + QString::fromUtf8(dead) + ".0123abcd.tmp"));
    ASSERT_TRUE(QFile::link(folder + "/doc.tnd", folder + "/.link." + QString::fromUtf8(dead) + ".0123abcd.tmp"));
    // A writer whose process id means nothing here (another process namespace) still holds its file.
    const QString locked = folder + "/.locked.tnd." + QString::fromUtf8(dead) + ".00000000.tmp";
    writeFile(locked, "being written");
    const int lockFd = ::open(QFile::encodeName(locked).constData(), O_RDWR | O_CLOEXEC);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(lockFd, F_OFD_SETLK, &lock), 0);

    QStringList expected = EntriesOf(folder);
    for (const Case& c : cases)
        if (c.removed)
            expected.removeOne(QString::fromUtf8(c.name));
    expected.append("picture.png");
    expected.sort();

    AtomicFile::WriteWhole(folder + "/picture.png", "kept");
    EXPECT_EQ(EntriesOf(folder), expected);

    // A scratch file of a temporary folder leaves the folder's names alone.
    writeFile(folder + "/" + QString::fromUtf8(cases[0].name), "leftover");
    AtomicFile::WriteWhole(folder + "/scratch.bin", "x", Durability::Scratch);
    EXPECT_TRUE(QFile::exists(folder + "/" + QString::fromUtf8(cases[0].name)));
    AtomicFile::RemoveLeftovers(folder);
    EXPECT_FALSE(QFile::exists(folder + "/" + QString::fromUtf8(cases[0].name)));
    EXPECT_TRUE(QFile::exists(locked));

    ::close(lockFd);
    ::kill(alive, SIGKILL);
    ::waitpid(alive, nullptr, 0);
}

}  // namespace
