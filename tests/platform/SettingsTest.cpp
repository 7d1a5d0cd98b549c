#include "platform/App.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

struct IniCase {
    const char* name;
    QByteArray contents;
};

class SettingsIni : public ::testing::TestWithParam<IniCase> {};

// What Qt could not parse in the file it read does not make a good write fail.
TEST_P(SettingsIni, AWriteThatWorksRaisesNothingWhateverTheFileHeld) {
    const QString file = TestEnvironment::Home() + "/.config/Tindral/Tindral.ini";
    QDir().mkpath(QFileInfo(file).path());
    {
        QFile ini(file);
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(GetParam().contents);
    }
    const QString value = QStringLiteral("/home/x/%1.tnd").arg(GetParam().name);
    EXPECT_EQ(
        TestEnvironment::ErrorNumberOf([&] { Settings::SaveSetting(App::Title(), "Folders", "LASTPATH", value); }), 0);
    EXPECT_EQ(Settings::GetSetting(App::Title(), "Folders", "LASTPATH"), value);
    QFile::remove(file);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsIni,
    ::testing::Values(IniCase{"byte_order_mark", QByteArray("\xEF\xBB\xBF[Folders]\nLASTPATH=/a.tnd\n")},
                      IniCase{"line_without_equals", QByteArray("[Folders]\njust some words\nLASTPATH=/a.tnd\n")}),
    [](const ::testing::TestParamInfo<IniCase>& info) { return std::string(info.param.name); });

TEST(SettingsWithoutHome, NothingIsWrittenToTheRootAndAWriteRaises75) {
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    const bool rootStoreExisted = QFileInfo::exists("/.config/Tindral/Tindral.ini");
    qunsetenv("HOME");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(TestEnvironment::ErrorNumberOf(
                  [] { Settings::SaveSetting(App::Title(), "Folders", "LASTPATH", "/homeless.tnd"); }),
              RuntimeError::PathFileAccessError);
    EXPECT_EQ(Settings::GetSetting(App::Title(), "Folders", "LASTPATH", "fallback"), QStringLiteral("fallback"));
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);
    const bool rootStoreExists = QFileInfo::exists("/.config/Tindral/Tindral.ini");
    EXPECT_EQ(rootStoreExists, rootStoreExisted);
    if (rootStoreExists && !rootStoreExisted)
        QDir("/.config/Tindral").removeRecursively();
}

}  // namespace
