#include "app/DocumentFixture.h"
#include "platform/App.h"
#include "services/DocumentArchive.h"
#include "services/FileShared.h"
#include "support/ModelPrinters.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace {

// The real program in a home and temporary folder of its own.
class Program : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        for (const char* folder : {"tmp", "config", "data", "cache", "runtime", "Documents", "documents"})
            ASSERT_TRUE(QDir(home.path()).mkpath(QString::fromLatin1(folder)));
        // Without a private runtime folder Qt makes one in TMPDIR.
        ASSERT_TRUE(QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("TMPDIR"), temp());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("XDG_DOCUMENTS_DIR"), home.filePath(QStringLiteral("Documents")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    void TearDown() override {
        for (QProcess* program : {&first, &second})
            if (program->state() != QProcess::NotRunning) {
                program->kill();
                program->waitForFinished(5000);
            }
    }

    void start(QProcess& program, const QStringList& arguments = {}) {
        program.setProcessEnvironment(env);
        program.setProgram(App::Path() + QStringLiteral("/tindral"));
        program.setArguments(arguments);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start();
        ASSERT_TRUE(program.waitForStarted(10000));
    }

    QString temp() const { return home.filePath(QStringLiteral("tmp")); }
    // Everything in the temporary folder, whoever made it.
    QStringList left() const {
        return QDir(temp()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    QStringList madeBy(qint64 process) const {
        QStringList names;
        for (const QString& name : left())
            if (FileShared::TemporaryNameProcess(name.toStdString()) == process)
                names << name;
        return names;
    }

    // Waits until the program shows what ready tells, then lets start-up finish and the event loop begin.
    bool waitUntil(const QProcess& program, const std::function<bool()>& ready) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000 && program.state() == QProcess::Running) {
            if (ready()) {
                QThread::msleep(500);
                return true;
            }
            QThread::msleep(20);
        }
        return false;
    }
    // The window has loaded once its command icons sit in a temporary folder.
    bool waitUntilLoaded(const QProcess& program) {
        return waitUntil(program, [&] { return !madeBy(program.processId()).isEmpty(); });
    }
    // A document given at start is open once its folder holds the unpacked "def.xml".
    bool waitUntilOpened(const QProcess& program) {
        return waitUntil(program, [&] {
            for (const QString& name : madeBy(program.processId()))
                if (QFileInfo::exists(temp() + "/" + name + "/def.xml"))
                    return true;
            return false;
        });
    }

    // A document of two proofers over a stage picture of its own.
    QString document() const {
        const QString folder = home.filePath(QStringLiteral("documents/parts"));
        QDir().mkpath(folder);
        QFile def(folder + QStringLiteral("/def.xml"));
        EXPECT_TRUE(def.open(QIODevice::WriteOnly));
        def.write(DocumentFixture::kDef);
        def.close();
        EXPECT_TRUE(DocumentFixture::quarters(64, 48).save(folder + QStringLiteral("/stage.png")));
        const QString path = home.filePath(QStringLiteral("documents/two.tnd"));
        DocumentArchive::Pack(folder, path);
        return path;
    }

    QTemporaryDir home;
    QProcessEnvironment env;
    QProcess first;
    QProcess second;
};

struct SignalCase {
    const char* name;
    int signal;
};

class ProgramShutdown : public Program, public ::testing::WithParamInterface<SignalCase> {};

// Ended by the system while it runs with a document open, the program unloads as on a close: the document
// folder, the undo copy, the icons and the proofers' pictures all go.
TEST_P(ProgramShutdown, EndsNormallyAndLeavesNoTemporaryFileOrFolder) {
    start(first, {document()});
    ASSERT_TRUE(waitUntilOpened(first)) << "the program did not open the document";
    ASSERT_EQ(::kill(static_cast<pid_t>(first.processId()), GetParam().signal), 0);
    ASSERT_TRUE(first.waitForFinished(20000)) << "the program did not end";
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit) << "killed by the signal instead of ending";
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(left(), QStringList());
    EXPECT_EQ(QDir(home.filePath(QStringLiteral("Documents"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList());
}

INSTANTIATE_TEST_SUITE_P(, ProgramShutdown,
                         ::testing::Values(SignalCase{"Terminate", SIGTERM}, SignalCase{"Interrupt", SIGINT},
                                           SignalCase{"HangUp", SIGHUP}),
                         [](const auto& info) { return std::string(info.param.name); });

// A run killed outright leaves its files; the next start removes them before it makes its own.
TEST_F(Program, AKilledRunsFilesGoWhenTheProgramStartsAgain) {
    start(first, {document()});
    ASSERT_TRUE(waitUntilOpened(first)) << "the program did not open the document";
    const qint64 killed = first.processId();
    ASSERT_EQ(::kill(static_cast<pid_t>(killed), SIGKILL), 0);
    ASSERT_TRUE(first.waitForFinished(20000));
    const QStringList leftovers = madeBy(killed);
    ASSERT_FALSE(leftovers.isEmpty());
    ASSERT_EQ(leftovers, left()) << "only the killed run's files are there";

    start(second);
    ASSERT_TRUE(waitUntilLoaded(second)) << "the program did not load";
    EXPECT_EQ(madeBy(killed), QStringList());
    EXPECT_EQ(madeBy(second.processId()), left());

    ASSERT_EQ(::kill(static_cast<pid_t>(second.processId()), SIGTERM), 0);
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(left(), QStringList());
}

}  // namespace
