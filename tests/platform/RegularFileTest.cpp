#include "platform/ImagingControl.h"
#include "platform/RegularFile.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class RegularFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = TestEnvironment::Home() + "/regular-" +
              QString::fromStdString(::testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir(dir).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(dir));
        picture = dir + "/real.png";
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(picture));
        fifo = dir + "/pipe.png";
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    }
    QString dir, picture, fifo;
};

TEST_F(RegularFiles, OnlyRegularFilesCountLinksFollowed) {
    ASSERT_TRUE(QFile::link(picture, dir + "/link.png"));
    ASSERT_TRUE(QFile::link(fifo, dir + "/link-to-pipe.png"));
    ASSERT_TRUE(QFile::link(dir + "/missing.png", dir + "/dangling.png"));
    struct Case {
        const char* name;
        bool regular;
    };
    for (const Case& c :
         {Case{"real.png", true}, Case{"link.png", true}, Case{"pipe.png", false}, Case{"link-to-pipe.png", false},
          Case{"dangling.png", false}, Case{"missing.png", false}, Case{"", false}})
        EXPECT_EQ(RegularFile::IsRegular(dir + "/" + c.name), c.regular) << c.name;
    EXPECT_FALSE(RegularFile::IsRegular(QString()));
    EXPECT_FALSE(RegularFile::IsRegular("/dev/null"));
}

// The imaging control never opens a FIFO: it is a file of no picture type, and the old picture stays.
TEST_F(RegularFiles, TheImagingControlRefusesAFifoAsNoPicture) {
    ImagingControl control;
    control.SetFileName(picture);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { control.SetFileName(fifo); }), ImagingControl::ErrorUnsupportedType);
    EXPECT_EQ(control.Picture().pixelColor(0, 0), QColor(Qt::red));
}

}  // namespace
