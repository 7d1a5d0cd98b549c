#include "platform/App.h"
#include "platform/MessageBox.h"
#include "platform/Settings.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBoxSeam, TitleDefaultsToTheApplicationTitleAndTheScriptAnswers) {
    ScriptedMessageBox boxes({MessageBox::Cancel});
    EXPECT_EQ(MessageBox::Show(QStringLiteral("Save?"), MessageBox::YesNoCancel | MessageBox::Question),
              MessageBox::Cancel);
    EXPECT_EQ(MessageBox::Show(QStringLiteral("Oops"), MessageBox::OKOnly, QStringLiteral("Error: 53")),
              MessageBox::OK);
    ASSERT_EQ(boxes.Requests().size(), 2u);
    EXPECT_EQ(boxes.Requests()[0].title, QStringLiteral("Tindral"));
    EXPECT_EQ(boxes.Requests()[0].buttons, MessageBox::YesNoCancel | MessageBox::Question);
    EXPECT_EQ(boxes.Requests()[1].title, QStringLiteral("Error: 53"));
}

TEST(SettingsStore, RoundTripsAndFallsBackToTheDefault) {
    EXPECT_EQ(Settings::GetSetting(App::Title(), "MRU", "mru", "<mru/>"), QStringLiteral("<mru/>"));
    Settings::SaveSetting(App::Title(), "Folders", "LASTPATH", "/home/x/a.tnd");
    EXPECT_EQ(Settings::GetSetting(App::Title(), "Folders", "LASTPATH"), QStringLiteral("/home/x/a.tnd"));
    EXPECT_TRUE(QFile::exists(TestEnvironment::Home() + "/.config/Tindral/Tindral.ini"));
}

TEST(SettingsStore, AnUnwritableStoreRaises) {
    // A plain file where the settings folder belongs blocks every write, even for root.
    const QString dir = TestEnvironment::Home() + "/.config/Tindral";
    QDir(dir).removeRecursively();
    QFile blocker(dir);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        Settings::SaveSetting(App::Title(), "Folders", "LASTPATH", "/new.tnd");
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), RuntimeError::PathFileAccessError);
        EXPECT_EQ(e.Source(), QStringLiteral("tindral"));
    }
    QFile::remove(dir);
}

}  // namespace
