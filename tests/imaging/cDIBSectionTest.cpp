#include "imaging/cDIBSection.h"

#include "BitmapTestHelpers.h"
#include "platform/RuntimeError.h"
#include "support/TestEnvironment.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <set>

using namespace BitmapTestHelpers;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QString TempFile(const char* name) { return TestEnvironment::Home() + "/tmp/" + name; }

TEST(cDIBSection, RowsArePaddedToFourBytesAndTheBufferHoldsAllRows) {
    struct Case {
        int32_t width;
        int32_t bytesPerScanLine;
    };
    for (const Case c : {Case{1, 4}, Case{2, 8}, Case{3, 12}, Case{4, 12}, Case{5, 16}, Case{7, 24}}) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(c.width, 3));
        EXPECT_EQ(dib.BytesPerScanLine(), c.bytesPerScanLine) << "width " << c.width;
        EXPECT_EQ(Bytes(dib), std::vector<uint8_t>(static_cast<size_t>(c.bytesPerScanLine) * 3, 0));
        EXPECT_NE(dib.hdc(), 0);
        EXPECT_NE(dib.hDib(), 0);
    }
}

TEST(cDIBSection, FailedCreateAndClearUpLeaveAnEmptyBitmap) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(4, 4));
    // A failed re-create must not keep the size of a buffer that no longer exists.
    for (const auto& size : {std::pair{0, 4}, std::pair{4, 0}, std::pair{-2, 3}, std::pair{1 << 30, 1 << 30}}) {
        EXPECT_FALSE(dib.Create(size.first, size.second));
        EXPECT_EQ(dib.hdc(), 0);
        EXPECT_EQ(dib.hDib(), 0);
        EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
        EXPECT_EQ(dib.Width(), 0);
        EXPECT_EQ(dib.Height(), 0);
    }
    dib.ClearUp();
    dib.ClearUp();
    EXPECT_EQ(dib.hdc(), 0);
    ASSERT_TRUE(dib.Create(2, 1));
    EXPECT_EQ(dib.Width(), 2);
}

TEST(cDIBSection, OneByOneBitmapSavesAsTheSixtyTwoByteFile) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(1, 1));
    SetPixel(dib, 0, 0, {0x11, 0x22, 0x33});
    const QString path = TempFile("one.bmp");
    ASSERT_TRUE(dib.SavePicture(path));
    const uint8_t expected[62] = {
        'B',  'M',  62,   0, 0, 0, 0, 0, 0, 0, 58, 0, 0, 0,                                 // file header
        40,   0,    0,    0, 1, 0, 0, 0, 1, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0,  // size .. image size
        0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0,  // resolutions, colours used, important colours
        0,    0,    0,    0,                                        // the palette entry
        0x11, 0x22, 0x33, 0,                                        // blue, green, red, padding
    };
    EXPECT_EQ(ReadAll(path), QByteArray(reinterpret_cast<const char*>(expected), sizeof expected));
}

TEST(cDIBSection, SavedBitmapsReadBackWithTheirPixelsTheRightWayUp) {
    for (const int32_t width : {1, 2, 3, 5, 8}) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(width, 3));
        FillRandom(dib, 7u + width);
        FillPadding(dib, 0);
        const QString path = TempFile("read.bmp");
        ASSERT_TRUE(dib.SavePicture(path));
        EXPECT_EQ(ReadAll(path).size(), 58 + dib.BytesPerScanLine() * 3);
        const QImage read(path);
        ASSERT_FALSE(read.isNull()) << "width " << width;
        ASSERT_EQ(read.size(), QSize(width, 3));
        for (int32_t y = 0; y < 3; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const Bgr p = PixelAt(dib, x, 2 - y);  // picture line y is buffer row 2 - y
                EXPECT_EQ(read.pixel(x, y), qRgb(p.r, p.g, p.b)) << "width " << width << " at " << x << "," << y;
            }
        }
    }
}

TEST(cDIBSection, SavingOverALargerFileLeavesExactlyTheNewFile) {
    const QString path = TempFile("again.bmp");
    cDIBSection large;
    ASSERT_TRUE(large.Create(40, 30));
    FillRandom(large, 3u);
    ASSERT_TRUE(large.SavePicture(path));
    cDIBSection small;
    ASSERT_TRUE(small.Create(1, 1));
    SetPixel(small, 0, 0, {0x11, 0x22, 0x33});
    ASSERT_TRUE(small.SavePicture(path));
    const QByteArray file = ReadAll(path);
    ASSERT_EQ(file.size(), 62);
    EXPECT_EQ(file.right(4), QByteArray("\x11\x22\x33\x00", 4));
}

TEST(cDIBSection, AnEmptyBitmapWritesOnlyTheHeadersAndReportsFailure) {
    cDIBSection dib;
    const QString path = TempFile("empty.bmp");
    EXPECT_FALSE(dib.SavePicture(path));
    EXPECT_EQ(ReadAll(path).size(), 58);
}

TEST(cDIBSection, AFileThatCannotBeCreatedRaisesError17WithTheSystemText) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(2, 2));
    try {
        dib.SavePicture(TestEnvironment::Home() + "/no such folder/x.bmp");
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 17);
        EXPECT_EQ(e.Source(), QStringLiteral("tindral.cDIBSection"));
        EXPECT_EQ(e.Description(), QString::fromLocal8Bit(std::strerror(ENOENT)));
    }
}

TEST(cDIBSection, ResampleToTheSameSizeIsAnExactCopy) {
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(7, 5));
    FillRandom(dib, 3);
    FillPadding(dib, 0);
    const auto copy = dib.Resample(5, 7);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Width(), 7);
    EXPECT_EQ(copy->Height(), 5);
    EXPECT_EQ(Bytes(*copy), Bytes(dib));
    EXPECT_FALSE(dib.Resample(0, 7));
    EXPECT_FALSE(dib.Resample(5, -1));
}

TEST(cDIBSection, ResamplingThreePixelsToTwoTakesTheFirstTwoColumns) {
    // One row high: the missing second row has weight 0 and must not be read past the buffer.
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(3, 1));
    SetPixel(dib, 0, 0, {10, 20, 30});
    SetPixel(dib, 1, 0, {40, 50, 60});
    SetPixel(dib, 2, 0, {70, 80, 90});
    const auto small = dib.Resample(1, 2);
    ASSERT_TRUE(small);
    EXPECT_EQ(PixelAt(*small, 0, 0), (Bgr{10, 20, 30}));
    EXPECT_EQ(PixelAt(*small, 1, 0), (Bgr{40, 50, 60}));
}

TEST(cDIBSection, ResampleBlendsRowsThenColumnsRoundingHalvesToEven) {
    // 2 x 2 to 4 x 4: scales 1/4, so destination column 2 and row 2 lie half way between source pixels.
    cDIBSection dib;
    ASSERT_TRUE(dib.Create(2, 2));
    SetPixel(dib, 0, 0, {10, 10, 10});
    SetPixel(dib, 1, 0, {15, 16, 255});
    SetPixel(dib, 0, 1, {11, 13, 0});
    SetPixel(dib, 1, 1, {15, 16, 255});
    const auto big = dib.Resample(4, 4);
    ASSERT_TRUE(big);
    EXPECT_EQ(PixelAt(*big, 0, 0), (Bgr{10, 10, 10}));
    EXPECT_EQ(PixelAt(*big, 2, 0), (Bgr{12, 13, 132}));  // 12.5 -> 12, 13 exactly, 132.5 -> 132
    EXPECT_EQ(PixelAt(*big, 0, 2), (Bgr{10, 12, 5}));    // 10.5 -> 10, 11.5 -> 12, 5
    // Row 2 blends to left (10, 12, 5) and right (15, 16, 255), then half way: 12.5, 14, 130.
    EXPECT_EQ(PixelAt(*big, 2, 2), (Bgr{12, 14, 130}));
    // Three quarters each way: red blends to round(2.5) = 2 on the left, then 0.25 * 2 + 0.75 * 255 = 191.75.
    EXPECT_EQ(PixelAt(*big, 3, 3), (Bgr{14, 15, 192}));
}

// The bilinear formula written out per destination byte, in single precision, as an oracle for the pass.
uint8_t Bilinear(const cDIBSection& s, int32_t newWidth, int32_t newHeight, int32_t x, int32_t y, int k) {
    const float xScale = static_cast<float>(s.Width() - 1) / static_cast<float>(newWidth);
    const float yScale = static_cast<float>(s.Height() - 1) / static_cast<float>(newHeight);
    const float sy = static_cast<float>(y) * yScale, sx = static_cast<float>(x) * xScale;
    const int32_t iy = static_cast<int32_t>(std::floor(sy)), ix = static_cast<int32_t>(std::floor(sx));
    const float fy = sy - static_cast<float>(iy), fx = sx - static_cast<float>(ix);
    const auto p = [&](int32_t c, int32_t r) {
        return static_cast<float>(
            s.DIBSectionBitsPtr()[static_cast<size_t>(std::min(r, s.Height() - 1)) * s.BytesPerScanLine() +
                                  3 * std::min(c, s.Width() - 1) + k]);
    };
    const float left = std::nearbyint((1 - fy) * p(ix, iy) + fy * p(ix, iy + 1));
    const float right = std::nearbyint((1 - fy) * p(ix + 1, iy) + fy * p(ix + 1, iy + 1));
    return static_cast<uint8_t>(std::clamp(std::nearbyint((1 - fx) * left + fx * right), 0.0f, 255.0f));
}

TEST(cDIBSection, ResampleFollowsTheBilinearFormulaOnRandomBitmaps) {
    struct Case {
        int32_t width, height, newWidth, newHeight;
    };
    for (const Case c : {Case{37, 5, 50, 9}, Case{37, 5, 12, 3}, Case{64, 7, 63, 8}, Case{1, 1, 3, 2}, Case{1, 6, 4, 4},
                         Case{9, 1, 30, 2}}) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(c.width, c.height));
        FillRandom(dib, 40u + c.width);
        const auto result = dib.Resample(c.newHeight, c.newWidth);
        ASSERT_TRUE(result);
        int mismatches = 0;
        for (int32_t y = 0; y < c.newHeight; ++y)
            for (int32_t x = 0; x < c.newWidth; ++x)
                for (int k = 0; k < 3; ++k)
                    mismatches += At(*result, x, y)[k] != Bilinear(dib, c.newWidth, c.newHeight, x, y, k);
        EXPECT_EQ(mismatches, 0) << c.width << "x" << c.height << " to " << c.newWidth << "x" << c.newHeight;
        if (result->BytesPerScanLine() > 3 * c.newWidth) {
            EXPECT_EQ(At(*result, c.newWidth, 0)[0], 0) << "padding";
        }
    }
}

TEST(cDIBSection, RandomiseBitsFillsPixelsAndLeavesPaddingAlone) {
    for (const bool grey : {true, false}) {
        cDIBSection dib;
        ASSERT_TRUE(dib.Create(5, 9));
        FillPadding(dib, 0xAB);
        dib.RandomiseBits(grey);
        std::set<int> values;
        for (int32_t row = 0; row < 9; ++row) {
            for (int32_t x = 0; x < 5; ++x) {
                const Bgr p = PixelAt(dib, x, row);
                if (grey) {
                    EXPECT_TRUE(p.b == p.g && p.g == p.r);
                } else {
                    EXPECT_EQ(p.b, 0);
                }
                values.insert(p.g);
            }
            const uint8_t* pad = At(dib, 5, row);
            EXPECT_EQ(pad[0], 0xAB);
        }
        EXPECT_GT(values.size(), 10u) << (grey ? "grey" : "colour");
    }
}

// A 3 x 2 bitmap whose top line is red, green, blue and whose bottom line is white, grey, black.
void MakeSample(cDIBSection& dib) {
    ASSERT_TRUE(dib.Create(3, 2));
    SetPixel(dib, 0, 1, {0, 0, 255});
    SetPixel(dib, 1, 1, {0, 255, 0});
    SetPixel(dib, 2, 1, {255, 0, 0});
    SetPixel(dib, 0, 0, {255, 255, 255});
    SetPixel(dib, 1, 0, {128, 128, 128});
    SetPixel(dib, 2, 0, {0, 0, 0});
}

TEST(cDIBSection, PaintPictureDrawsTheRowsTheRightWayUpAtTheTarget) {
    cDIBSection dib;
    MakeSample(dib);
    QImage target(5, 4, QImage::Format_RGB32);
    target.fill(qRgb(1, 2, 3));
    dib.PaintPicture(target, 1, 1);
    EXPECT_EQ(target.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(target.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(3, 1), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(2, 2), qRgb(128, 128, 128));
    EXPECT_EQ(target.pixel(3, 2), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(4, 2), qRgb(1, 2, 3));
    EXPECT_EQ(target.pixel(1, 3), qRgb(1, 2, 3));

    // A source offset and size pick a part; a raster operation combines with what is there.
    target.fill(qRgb(0xF0, 0x0F, 0xFF));
    dib.PaintPicture(target, 0, 0, 1, 1, 1, 1, cDIBSection::SRCINVERT);  // the grey pixel
    EXPECT_EQ(target.pixel(0, 0), qRgb(0xF0 ^ 128, 0x0F ^ 128, 0xFF ^ 128));
    EXPECT_EQ(target.pixel(1, 0), qRgb(0xF0, 0x0F, 0xFF));

    // CopyToPicture stretches the whole bitmap over the whole target.
    QImage big(6, 4, QImage::Format_RGB32);
    big.fill(qRgb(1, 2, 3));
    dib.CopyToPicture(big);
    EXPECT_EQ(big.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(big.pixel(5, 1), qRgb(0, 0, 255));
    EXPECT_EQ(big.pixel(3, 3), qRgb(128, 128, 128));
}

TEST(cDIBSection, BlitsBetweenBitmapsCopyClipAndCombine) {
    cDIBSection src;
    MakeSample(src);
    struct Case {
        const char* name;
        int32_t destLeft, destTop, srcLeft, srcTop, rop;
        Bgr topLeft, bottomRight;  // of the 2 x 2 destination, picture coordinates
    };
    const Bgr start{0x0F, 0xF0, 0x55};
    const Case cases[] = {
        {"plain copy", 0, 0, 0, 0, cDIBSection::SRCCOPY, {0, 0, 255}, {128, 128, 128}},
        {"source offset", 0, 0, 1, 0, cDIBSection::SRCCOPY, {0, 255, 0}, {0, 0, 0}},
        {"destination offset clips", 1, 1, 0, 0, cDIBSection::SRCCOPY, start, {0, 0, 255}},
        {"negative source clips", 0, 0, -1, -1, cDIBSection::SRCCOPY, start, {0, 0, 255}},
        {"and", 0, 0, 0, 0, cDIBSection::SRCAND, {0, 0, 0x55}, {0x0F & 128, 0xF0 & 128, 0x55 & 128}},
        {"xor", 0, 0, 0, 0, cDIBSection::SRCINVERT, {0x0F, 0xF0, 0x55 ^ 255}, {0x0F ^ 128, 0xF0 ^ 128, 0x55 ^ 128}},
        {"not source", 0, 0, 0, 0, cDIBSection::NOTSRCCOPY, {255, 255, 0}, {127, 127, 127}},
        {"invert destination", 0, 0, 0, 0, cDIBSection::DSTINVERT, {0xF0, 0x0F, 0xAA}, {0xF0, 0x0F, 0xAA}},
        {"whiteness", 0, 0, 0, 0, cDIBSection::WHITENESS, {255, 255, 255}, {255, 255, 255}},
    };
    for (const Case& c : cases) {
        cDIBSection dst;
        ASSERT_TRUE(dst.Create(2, 2));
        Fill(dst, start);
        src.PaintPicture(dst.hdc(), c.destLeft, c.destTop, -1, -1, c.srcLeft, c.srcTop, c.rop);
        EXPECT_EQ(PixelAt(dst, 0, 1), c.topLeft) << c.name;
        EXPECT_EQ(PixelAt(dst, 1, 0), c.bottomRight) << c.name;
        EXPECT_EQ(At(dst, 2, 0)[0], 0) << c.name << ": padding";
    }
    // The same copy seen from the destination's side.
    cDIBSection dst;
    ASSERT_TRUE(dst.Create(2, 2));
    dst.LoadPictureBlt(src.hdc(), 1, 0);
    EXPECT_EQ(PixelAt(dst, 0, 1), (Bgr{0, 255, 0}));
    EXPECT_EQ(PixelAt(dst, 1, 0), (Bgr{0, 0, 0}));
    // A handle that is gone draws nothing.
    const cDIBSection::Handle stale = dst.hdc();
    dst.ClearUp();
    src.PaintPicture(stale);
}

TEST(cDIBSection, CreateFromPictureTakesThePicturesPixels) {
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(255, 0, 0, 255));
    picture.setPixel(1, 0, qRgba(0, 255, 0, 128));
    picture.setPixel(2, 0, qRgba(0, 0, 255, 255));
    picture.setPixel(0, 1, qRgba(255, 255, 255, 255));
    picture.setPixel(1, 1, qRgba(128, 128, 128, 255));
    picture.setPixel(2, 1, qRgba(0, 0, 0, 255));
    cDIBSection sample;
    MakeSample(sample);
    cDIBSection fromImage;
    fromImage.CreateFromHandle(picture);
    cDIBSection fromPixmap;
    fromPixmap.CreateFromPicture(QPixmap::fromImage(picture.convertToFormat(QImage::Format_RGB32)));
    for (const cDIBSection* dib : {&fromImage, &fromPixmap}) {
        ASSERT_EQ(dib->Width(), 3);
        ASSERT_EQ(dib->Height(), 2);
        EXPECT_EQ(Bytes(*dib), Bytes(sample));
    }
    EXPECT_EQ(fromImage.ToImage().convertToFormat(QImage::Format_RGB32),
              picture.convertToFormat(QImage::Format_RGB32).copy());
}

TEST(cDIBSection, CopyToClipboardAsDIBOnlyExplainsAndAsBitmapCopies) {
    cDIBSection dib;
    MakeSample(dib);
    QGuiApplication::clipboard()->clear();
    {
        ScriptedMessageBox boxes;
        EXPECT_FALSE(dib.CopyToClipboard());
        ASSERT_EQ(boxes.Requests().size(), 1u);
        EXPECT_EQ(boxes.Requests()[0].prompt,
                  QStringLiteral("I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!"));
        EXPECT_EQ(boxes.Requests()[0].buttons, MessageBox::OKOnly);
        EXPECT_EQ(boxes.Requests()[0].title, QStringLiteral("Tindral"));
        EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
    }
    ScriptedMessageBox boxes;
    EXPECT_TRUE(dib.CopyToClipboard(false));
    EXPECT_TRUE(boxes.Requests().empty());
    const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(copied.size(), QSize(3, 2));
    EXPECT_EQ(copied.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(copied.pixel(1, 1), qRgb(128, 128, 128));
}

}  // namespace
