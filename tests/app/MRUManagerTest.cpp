#include "app/MRUManager.h"
#include "platform/App.h"
#include "platform/Settings.h"

#include <QSettings>

#include <gtest/gtest.h>

namespace {

QString stored() { return Settings::GetSetting(App::Title(), "MRU", "mru", "<missing>"); }
void store(const QString& text) { Settings::SaveSetting(App::Title(), "MRU", "mru", text); }

std::vector<std::pair<QString, QString>> readAll(MRUManager& mru) {
    std::vector<std::pair<QString, QString>> entries;
    mru.Reset();
    QString name, value;
    while (mru.GetNext(name, value)) entries.emplace_back(name, value);
    return entries;
}

// Counts the Changed signals raised while it lives.
struct ChangeCounter {
    explicit ChangeCounter(MRUManager& mru) {
        connection = QObject::connect(&mru, &MRUManager::Changed, [this] { ++n; });
    }
    ~ChangeCounter() { QObject::disconnect(connection); }
    int count() const { return n; }
    int n = 0;
    QMetaObject::Connection connection;
};

class MRUManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings(QSettings::IniFormat, QSettings::UserScope, App::Title(), App::Title()).remove("MRU");
    }
};

TEST_F(MRUManagerTest, StartsEmptyAndWritesTheSettingOnlyAtTheFirstChange) {
    MRUManager mru;
    mru.Init(6);
    EXPECT_TRUE(mru.Slots().empty());
    EXPECT_EQ(stored(), "<missing>");

    ChangeCounter changed(mru);
    mru.Redraw();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(stored(), "<missing>");

    mru.Add("b.tnd", "/x/b.tnd");
    mru.Add("a.tnd", "/y/a.tnd");
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(stored(),
              "<mru><item name=\"b.tnd\" pos=\"1\">/x/b.tnd</item>"
              "<item name=\"a.tnd\" pos=\"0\">/y/a.tnd</item></mru>");

    MRUManager again;
    again.Init(6);
    EXPECT_EQ(readAll(again), (std::vector<std::pair<QString, QString>>{{"a.tnd", "/y/a.tnd"}, {"b.tnd", "/x/b.tnd"}}));
}

TEST_F(MRUManagerTest, KeepsTheSixMostRecentMostRecentFirst) {
    MRUManager mru;
    mru.Init(6);
    for (int i = 1; i <= 7; ++i) mru.Add(QString("%1.tnd").arg(i), QString("/d/%1.tnd").arg(i));
    const auto entries = readAll(mru);
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries.front().first, "7.tnd");
    EXPECT_EQ(entries.back().first, "2.tnd");
    EXPECT_EQ(stored().count("<item"), 6);
    for (int rank = 0; rank < 6; ++rank) EXPECT_TRUE(stored().contains(QString("pos=\"%1\"").arg(rank)));
}

TEST_F(MRUManagerTest, AddingAPresentEntryMovesItUpAndAnotherNameMakesASecondEntry) {
    MRUManager mru;
    mru.Init(6);
    mru.Add("a.tnd", "/p/a.tnd");
    mru.Add("b.tnd", "/p/b.tnd");
    mru.Add("a.tnd", "/p/a.tnd");
    EXPECT_EQ(readAll(mru), (std::vector<std::pair<QString, QString>>{{"a.tnd", "/p/a.tnd"}, {"b.tnd", "/p/b.tnd"}}));
    mru.Add("A.tnd", "/p/a.tnd");  // names compare case and all
    EXPECT_EQ(readAll(mru).size(), 3u);
}

TEST_F(MRUManagerTest, PromoteMovesTheFirstEntryOfTheNameAndIgnoresAnUnknownName) {
    MRUManager mru;
    mru.Init(6);
    mru.Add("a.tnd", "/p/a.tnd");
    mru.Add("b.tnd", "/p/b.tnd");
    ChangeCounter changed(mru);
    const QString before = stored();
    mru.Promote("nothing.tnd");
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(stored(), before);
    mru.Promote("a.tnd");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(readAll(mru).front().first, "a.tnd");
}

TEST_F(MRUManagerTest, RemoveByValueTakesEveryMatchAndCommitsEvenWithoutOne) {
    MRUManager mru;
    mru.Init(6);
    mru.Add("a.tnd", "/p/a.tnd");
    mru.Add("other name", "/p/a.tnd");
    mru.Add("b.tnd", "/p/b.tnd");
    store("<stale/>");  // the commit writes the list again
    ChangeCounter changed(mru);
    mru.RemoveByValue("/p/none.tnd");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(stored().startsWith("<mru>"));
    mru.RemoveByValue("/p/a.tnd");
    EXPECT_EQ(readAll(mru), (std::vector<std::pair<QString, QString>>{{"b.tnd", "/p/b.tnd"}}));
}

// A stored list that cannot be read starts an empty one instead of stopping start-up; the next change replaces it.
TEST_F(MRUManagerTest, AMalformedStoredListStartsEmpty) {
    for (const char* text : {"<mru><item name='a' pos='0'>/a", "not xml at all", "<other/>", ""}) {
        SCOPED_TRACE(text);
        store(text);
        MRUManager mru;
        ASSERT_NO_THROW(mru.Init(6));
        EXPECT_TRUE(mru.Slots().empty());
        mru.Add("a.tnd", "/p/a.tnd");
        EXPECT_EQ(stored(), "<mru><item name=\"a.tnd\" pos=\"0\">/p/a.tnd</item></mru>");
    }
}

TEST_F(MRUManagerTest, AHugeStoredListKeepsItsSixMostRecent) {
    QString text = "<mru>";
    constexpr int count = 100000;
    for (int i = 0; i < count; ++i)
        text += QString("<item name=\"%1.tnd\" pos=\"%2\">/d/%1.tnd</item>").arg(i).arg(count - 1 - i);
    text += "</mru>";
    store(text);

    MRUManager mru;
    mru.Init(6);
    const auto shown = mru.Slots();
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(shown.front().path, "/d/99999.tnd");
    EXPECT_EQ(shown.back().path, "/d/99994.tnd");
    mru.Add("new.tnd", "/d/new.tnd");
    EXPECT_EQ(stored().count("<item"), 6);
}

TEST_F(MRUManagerTest, ReadingStopsAtTheFirstMissingRank) {
    store(
        "<mru><item name=\"c\" pos=\"3\">/c</item><item name=\"b\" pos=\"1\">/b</item>"
        "<item name=\"a\" pos=\"0\">/a</item></mru>");
    MRUManager mru;
    mru.Init(6);
    EXPECT_EQ(readAll(mru), (std::vector<std::pair<QString, QString>>{{"a", "/a"}, {"b", "/b"}}));
}

TEST(MRUManagerCaption, ShortensPathsOfSixtyCharactersOrMore) {
    const QString path59 = "/" + QString(50, 'p') + "/doc.tnd";  // 59 characters
    ASSERT_EQ(path59.size(), 59);
    EXPECT_EQ(MRUManager::Caption(1, path59), "&1 " + path59);
    const QString path60 = "/" + QString(51, 'p') + "/doc.tnd";
    EXPECT_EQ(MRUManager::Caption(3, path60), "&3 /pp.../doc.tnd");
}

TEST_F(MRUManagerTest, SlotsNumberTheEntriesFromTheMostRecent) {
    MRUManager mru;
    mru.Init(6);
    mru.Add("a.tnd", "/p/a.tnd");
    mru.Add("b.tnd", "/p/b.tnd");
    const auto shown = mru.Slots();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, "&1 /p/b.tnd");
    EXPECT_EQ(shown[0].path, "/p/b.tnd");
    EXPECT_EQ(shown[1].caption, "&2 /p/a.tnd");
}

}  // namespace
