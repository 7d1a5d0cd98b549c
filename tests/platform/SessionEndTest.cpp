#include "platform/SessionEnd.h"

#include <QApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

class SessionEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        SessionEnd::Install([this] { ++ends; });
    }
    void TearDown() override { SessionEnd::Uninstall(); }

    void waitForEnd() {
        QElapsedTimer clock;
        clock.start();
        while (ends == 0 && clock.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    int ends = 0;
};

TEST_F(SessionEndTest, EachTerminationSignalReachesTheEventLoopInsteadOfEndingTheProcess) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SessionEnd::Uninstall();
        ends = 0;
        SessionEnd::Install([this] { ++ends; });
        ASSERT_FALSE(SessionEnd::Requested());
        ASSERT_EQ(std::raise(signal), 0);
        // The handler only writes to the pipe: nothing runs until the loop reads it.
        EXPECT_EQ(ends, 0) << signal;
        waitForEnd();
        EXPECT_EQ(ends, 1) << signal;
        EXPECT_TRUE(SessionEnd::Requested()) << signal;
    }
}

TEST_F(SessionEndTest, TheEndRunsOnceHoweverOftenItIsAskedFor) {
    SessionEnd::Request();
    EXPECT_EQ(ends, 1);
    ASSERT_EQ(std::raise(SIGTERM), 0);
    ASSERT_EQ(std::raise(SIGTERM), 0);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 200) QApplication::processEvents(QEventLoop::AllEvents, 20);
    SessionEnd::Request();
    EXPECT_EQ(ends, 1);
}

}  // namespace
