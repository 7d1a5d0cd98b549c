#include "imaging/cDIBSection.h"
#include "views/SwatchRenderer.h"

#include <QFile>
#include <QImage>
#include <QRect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

// A bitmap whose every pixel has its own colour, derived from its place.
QRgb expectedAt(int x, int y) { return qRgb((x * 7 + y) & 0xFF, (x * 13 + 3 * y) & 0xFF, (x + 5 * y + 11) & 0xFF); }

void fillDistinct(cDIBSection& bitmap) {
    uint8_t* bits = bitmap.DIBSectionBitsPtr();
    for (int y = 0; y < bitmap.Height(); ++y) {
        // Buffer rows run bottom-up: picture row y is buffer row height - 1 - y.
        uint8_t* row = bits + static_cast<size_t>(bitmap.Height() - 1 - y) * bitmap.BytesPerScanLine();
        for (int x = 0; x < bitmap.Width(); ++x) {
            const QRgb c = expectedAt(x, y);
            row[3 * x] = static_cast<uint8_t>(qBlue(c));
            row[3 * x + 1] = static_cast<uint8_t>(qGreen(c));
            row[3 * x + 2] = static_cast<uint8_t>(qRed(c));
        }
    }
}

struct RowsCase {
    const char* name;
    int width;
    int height;
    QRect area;
};

class ScreenRows : public ::testing::TestWithParam<RowsCase> {};

// Every width around the four-pixel steps, the area at the bitmap's edges and inside it: the last pixels of
// a row and the rows at the buffer's end are where a wide read goes wrong.
TEST_P(ScreenRows, GiveTheAreasPixelsTopRowFirst) {
    const RowsCase& c = GetParam();
    cDIBSection bitmap;
    ASSERT_TRUE(bitmap.Create(c.width, c.height));
    fillDistinct(bitmap);
    const QImage rows = SwatchRenderer::ScreenRows(bitmap, c.area);
    ASSERT_EQ(rows.size(), c.area.size());
    for (int y = 0; y < c.area.height(); ++y)
        for (int x = 0; x < c.area.width(); ++x)
            ASSERT_EQ(rows.pixel(x, y), expectedAt(c.area.x() + x, c.area.y() + y)) << "at " << x << ", " << y;
}

INSTANTIATE_TEST_SUITE_P(Areas, ScreenRows,
                         ::testing::Values(RowsCase{"one_pixel", 1, 1, QRect(0, 0, 1, 1)},
                                           RowsCase{"width_5_whole", 5, 3, QRect(0, 0, 5, 3)},
                                           RowsCase{"width_6_whole", 6, 3, QRect(0, 0, 6, 3)},
                                           RowsCase{"width_7_whole", 7, 2, QRect(0, 0, 7, 2)},
                                           RowsCase{"width_10_whole", 10, 2, QRect(0, 0, 10, 2)},
                                           RowsCase{"width_33_whole", 33, 4, QRect(0, 0, 33, 4)},
                                           RowsCase{"right_edge", 40, 6, QRect(29, 2, 11, 4)},
                                           RowsCase{"inside", 40, 6, QRect(3, 1, 17, 3)},
                                           RowsCase{"one_column_at_the_end", 40, 6, QRect(39, 0, 1, 6)}),
                         [](const ::testing::TestParamInfo<RowsCase>& info) { return std::string(info.param.name); });

TEST(ScreenRowsNothing, AnEmptyAreaOrBitmapGivesNoImage) {
    cDIBSection bitmap;
    EXPECT_TRUE(SwatchRenderer::ScreenRows(bitmap, QRect(0, 0, 4, 4)).isNull());
    ASSERT_TRUE(bitmap.Create(4, 4));
    EXPECT_TRUE(SwatchRenderer::ScreenRows(bitmap, QRect()).isNull());
}

// The grey picture of a file is read once while a swatch still shows it and the file is unchanged.
class GreyPicture : public ::testing::Test {
protected:
    QString Write(const QString& name, int width, int grey = 90) {
        QImage image(width, 3, QImage::Format_RGB32);
        image.fill(QColor(grey, grey, grey));
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    // Reads the file as the swatch would, counting the reads.
    QImage Get(const QString& path) {
        return SwatchRenderer::GreyPicture(path, [&] {
            ++reads;
            return QImage(path).convertToFormat(QImage::Format_RGB32);
        });
    }

    QTemporaryDir m_dir;
    int reads = 0;
};

TEST_F(GreyPicture, TheSameUnchangedFileStillShownIsReadOnce) {
    const QString path = Write(QStringLiteral("a.png"), 5);
    const QImage first = Get(path);
    const QImage second = Get(path);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(second.size(), QSize(5, 3));
    EXPECT_EQ(second.cacheKey(), first.cacheKey()) << "the copy shares the pixels, it is no second picture";
}

TEST_F(GreyPicture, AnotherFileAChangedFileOrAPictureNoOneShowsIsReadAgain) {
    const QString a = Write(QStringLiteral("a.png"), 5);
    const QString b = Write(QStringLiteral("b.png"), 7);
    const QImage shownA = Get(a);
    QImage shown = Get(b);
    EXPECT_EQ(shown.size(), QSize(7, 3));
    EXPECT_EQ(reads, 2);

    ASSERT_TRUE(QFile::remove(b));
    Write(QStringLiteral("b.png"), 9);
    shown = Get(b);
    EXPECT_EQ(shown.size(), QSize(9, 3)) << "a file replaced on disk is never served from memory";
    EXPECT_EQ(reads, 3);

    shown = QImage();
    Get(b);
    EXPECT_EQ(reads, 4) << "a picture held by nothing but the store is let go";
}

TEST_F(GreyPicture, AFailedReadRaisesAndKeepsNothing) {
    const QString path = Write(QStringLiteral("a.png"), 5);
    const QImage shown = Get(path);
    EXPECT_THROW(SwatchRenderer::GreyPicture(Write(QStringLiteral("b.png"), 6),
                                             []() -> QImage { throw std::runtime_error("unreadable"); }),
                 std::runtime_error);
    EXPECT_EQ(Get(path).size(), QSize(5, 3));
    EXPECT_EQ(reads, 2) << "the failed read dropped what was kept before it";
    const QString missing = m_dir.filePath(QStringLiteral("missing.png"));
    EXPECT_THROW(SwatchRenderer::GreyPicture(missing, []() -> QImage { throw std::runtime_error("missing"); }),
                 std::runtime_error);
}

}  // namespace
