#include "platform/App.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

struct SignalCase {
    const char* name;
    int signal;
};

// The real program in a home and temporary folder of its own, ended by the system while it runs.
class ProgramShutdown : public ::testing::TestWithParam<SignalCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        for (const char* folder : {"tmp", "config", "data", "cache", "Documents"})
            ASSERT_TRUE(QDir(home.path()).mkpath(QString::fromLatin1(folder)));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("TMPDIR"), temp());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("XDG_DOCUMENTS_DIR"), home.filePath(QStringLiteral("Documents")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        program.setProgram(App::Path() + QStringLiteral("/tindral"));
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    }

    QString temp() const { return home.filePath(QStringLiteral("tmp")); }
    QStringList temporaries() const {
        return QDir(temp()).entryList({QStringLiteral("TIN*.tmp")},
                                      QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    // Waits until the window has loaded: its command icons sit in a temporary folder by then.
    bool waitUntilLoaded() {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000 && program.state() == QProcess::Running) {
            if (!temporaries().isEmpty()) {
                // Let start-up finish and the event loop begin.
                QThread::msleep(500);
                return true;
            }
            QThread::msleep(20);
        }
        return false;
    }

    QTemporaryDir home;
    QProcess program;
};

TEST_P(ProgramShutdown, EndsNormallyAndLeavesNoTemporaryFileOrFolder) {
    program.start();
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_TRUE(waitUntilLoaded()) << "the program did not load";
    ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), GetParam().signal), 0);
    ASSERT_TRUE(program.waitForFinished(20000)) << "the program did not end";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "killed by the signal instead of ending";
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(temporaries(), QStringList());
    EXPECT_EQ(QDir(home.filePath(QStringLiteral("Documents"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList());
}

INSTANTIATE_TEST_SUITE_P(, ProgramShutdown,
                         ::testing::Values(SignalCase{"Terminate", SIGTERM}, SignalCase{"Interrupt", SIGINT},
                                           SignalCase{"HangUp", SIGHUP}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
