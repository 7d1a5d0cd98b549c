#include "imaging/cDIBSection.h"
#include "views/SwatchRenderer.h"

#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

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

}  // namespace
