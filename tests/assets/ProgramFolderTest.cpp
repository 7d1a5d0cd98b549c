#include "platform/App.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

QString ProgramFile(const QString& relative) { return App::Path() + QLatin1Char('/') + relative; }

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

std::uint32_t Le32(const QByteArray& bytes, int at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(bytes.at(at + i));
    return v;
}

int Le16(const QByteArray& bytes, int at) {
    return static_cast<std::uint8_t>(bytes.at(at)) | (static_cast<std::uint8_t>(bytes.at(at + 1)) << 8);
}

struct BmpHeader {
    bool valid = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 0;
};

BmpHeader ReadBmpHeader(const QString& path) {
    const QByteArray bytes = ReadAll(path);
    BmpHeader h;
    if (bytes.size() < 54 || !bytes.startsWith("BM"))
        return h;
    h.valid = true;
    h.headerSize = Le32(bytes, 14);
    h.bitsPerPixel = Le16(bytes, 28);
    h.compression = Le32(bytes, 30);
    return h;
}

// Mean absolute grey difference between two columns (or rows) of a tile.
double LineDifference(const QImage& img, int a, int b, bool columns) {
    const int n = columns ? img.height() : img.width();
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const int va = qBlue(columns ? img.pixel(a, i) : img.pixel(i, a));
        const int vb = qBlue(columns ? img.pixel(b, i) : img.pixel(i, b));
        sum += std::abs(va - vb);
    }
    return sum / n;
}

// A tile is seamless along an axis when the step from its last line back to its first is no rougher than a
// typical step between neighbouring lines inside it: within three standard deviations of their mean, or a
// quarter above it (grainy tiles vary little from step to step, while a real seam is many times rougher).
bool Seamless(const QImage& img, bool columns) {
    const int n = columns ? img.width() : img.height();
    double sum = 0;
    double sumSq = 0;
    for (int i = 0; i + 1 < n; ++i) {
        const double d = LineDifference(img, i, i + 1, columns);
        sum += d;
        sumSq += d * d;
    }
    const double mean = sum / (n - 1);
    const double deviation = std::sqrt(std::max(0.0, sumSq / (n - 1) - mean * mean));
    return LineDifference(img, n - 1, 0, columns) <= std::max(mean + 3 * deviation, 1.25 * mean);
}

struct Regions {
    int count4 = 0;
    int count8 = 0;
    int smallest = 0;
};

// White regions of a black-and-white picture, joined through side neighbours (4) and also corners (8).
Regions CountWhiteRegions(const QImage& img) {
    const int w = img.width();
    const int h = img.height();
    Regions out;
    out.smallest = w * h;
    for (const bool corners : {false, true}) {
        std::vector<char> seen(static_cast<std::size_t>(w) * h, 0);
        std::vector<int> stack;
        int count = 0;
        for (int start = 0; start < w * h; ++start) {
            if (seen[static_cast<std::size_t>(start)] || img.pixel(start % w, start / w) != qRgb(255, 255, 255))
                continue;
            ++count;
            int size = 0;
            seen[static_cast<std::size_t>(start)] = 1;
            stack.push_back(start);
            while (!stack.empty()) {
                const int k = stack.back();
                stack.pop_back();
                ++size;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        if ((dx == 0 && dy == 0) || (!corners && dx != 0 && dy != 0))
                            continue;
                        const int x = k % w + dx;
                        const int y = k / w + dy;
                        if (x < 0 || y < 0 || x >= w || y >= h)
                            continue;
                        const std::size_t j = static_cast<std::size_t>(y) * w + x;
                        if (!seen[j] && img.pixel(x, y) == qRgb(255, 255, 255)) {
                            seen[j] = 1;
                            stack.push_back(static_cast<int>(j));
                        }
                    }
            }
            if (!corners)
                out.smallest = std::min(out.smallest, size);
        }
        (corners ? out.count8 : out.count4) = count;
    }
    return out;
}

QStringList TextureFiles() {
    return QDir(ProgramFile(QStringLiteral("textures"))).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
}

}  // namespace

TEST(ProgramFolder, HoldsEveryFileTheProgramOpens) {
    QStringList expected = {QStringLiteral("stdimg.png"), QStringLiteral("stdcolor.bmp"),
                            QStringLiteral("help/index.htm")};
    for (int n = 1; n <= 15; ++n) expected << QStringLiteral("bin/bin%1").arg(n, 3, 10, QLatin1Char('0'));
    for (const QString& relative : expected)
        EXPECT_TRUE(QFileInfo(ProgramFile(relative)).isFile()) << relative.toStdString();
}

TEST(Textures, AreTwentyThreeTilesNamedInLowerCase) {
    const QStringList files = TextureFiles();
    EXPECT_EQ(files.size(), 23);
    for (const QString& file : files) EXPECT_EQ(file, file.toLower()) << file.toStdString();
}

TEST(Textures, SeamCheckRejectsATileThatDoesNotWrap) {
    QImage ramp(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) ramp.setPixel(x, y, qRgb(60 + x, 60 + x, 60 + x));
    EXPECT_FALSE(Seamless(ramp, true));
    EXPECT_TRUE(Seamless(ramp, false));
}

TEST(Textures, AreSeamlessGreyTwentyFourBitTilesInAModestTone) {
    for (const QString& file : TextureFiles()) {
        SCOPED_TRACE(file.toStdString());
        const QString path = ProgramFile(QStringLiteral("textures/") + file);
        const BmpHeader header = ReadBmpHeader(path);
        ASSERT_TRUE(header.valid);
        EXPECT_EQ(header.bitsPerPixel, 24);
        EXPECT_EQ(header.compression, 0U);

        const QImage img = QImage(path).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.width(), img.height());
        EXPECT_GE(img.width(), 64);
        EXPECT_LE(img.width(), 256);

        double sum = 0;
        double sumSq = 0;
        int clipped = 0;
        int coloured = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb p = img.pixel(x, y);
                coloured += (qRed(p) != qBlue(p) || qGreen(p) != qBlue(p)) ? 1 : 0;
                const int v = qBlue(p);
                clipped += (v == 0 || v == 255) ? 1 : 0;
                sum += v;
                sumSq += static_cast<double>(v) * v;
            }
        const double n = static_cast<double>(img.width()) * img.height();
        const double mean = sum / n;
        const double deviation = std::sqrt(sumSq / n - mean * mean);
        EXPECT_EQ(coloured, 0) << "the filter reads only one channel, so the tile must be grey";
        // Grey 64 leaves a colour unchanged; tiles sit a little above it so colours stay true.
        EXPECT_GT(mean, 70.0);
        EXPECT_LT(mean, 140.0);
        EXPECT_GT(deviation, 6.0) << "no visible pattern";
        EXPECT_LT(deviation, 40.0) << "too harsh behind a colour";
        EXPECT_LT(clipped, n / 100);

        EXPECT_TRUE(Seamless(img, true)) << "seam between the right and left edges";
        EXPECT_TRUE(Seamless(img, false)) << "seam between the bottom and top edges";
    }
}

namespace {

struct IconCase {
    const char* file;
    int icons;  // 0: a single large icon
    const char* copyAs;
};

std::ostream& operator<<(std::ostream& out, const IconCase& c) { return out << c.file; }

class CommandIcons : public ::testing::TestWithParam<IconCase> {};

}  // namespace

TEST_P(CommandIcons, LoadUnderTheirCopiedNameWithATransparentBackground) {
    const IconCase& c = GetParam();
    const QString source = ProgramFile(QStringLiteral("bin/") + QString::fromLatin1(c.file));
    QTemporaryDir dir;
    const QString copy = dir.path() + QLatin1Char('/') + QString::fromLatin1(c.copyAs);
    ASSERT_TRUE(QFile::copy(source, copy));

    QImageReader reader(copy);
    EXPECT_EQ(reader.format(), c.icons > 0 ? QByteArray("bmp") : QByteArray("png"));
    const QImage img = reader.read().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(img.isNull()) << reader.errorString().toStdString();

    const int size = c.icons > 0 ? 16 : 32;
    const int count = c.icons > 0 ? c.icons : 1;
    EXPECT_EQ(img.width(), size * count);
    EXPECT_EQ(img.height(), size);
    if (c.icons > 0) {
        const BmpHeader header = ReadBmpHeader(source);
        EXPECT_EQ(header.bitsPerPixel, 32);
        EXPECT_EQ(header.compression, 3U);  // bit fields with an alpha mask
    }
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        const int left = i * size;
        EXPECT_EQ(qAlpha(img.pixel(left, 0)), 0);
        EXPECT_EQ(qAlpha(img.pixel(left + size - 1, size - 1)), 0);
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = left; x < left + size; ++x) opaque += qAlpha(img.pixel(x, y)) >= 128 ? 1 : 0;
        EXPECT_GT(opaque, size * size / 12) << "icon cell is (nearly) empty";
    }
}

INSTANTIATE_TEST_SUITE_P(ProgramFolder, CommandIcons,
                         ::testing::Values(IconCase{"bin001", 4, "bin001.bmp"}, IconCase{"bin002", 12, "bin002.bmp"},
                                           IconCase{"bin003", 8, "bin003.bmp"}, IconCase{"bin004", 0, "bin004.png"},
                                           IconCase{"bin005", 0, "bin005.png"}, IconCase{"bin006", 0, "bin006.png"},
                                           IconCase{"bin007", 0, "bin007.png"}, IconCase{"bin008", 0, "bin008.png"},
                                           IconCase{"bin009", 0, "bin009.png"}, IconCase{"bin010", 0, "bin010.png"},
                                           IconCase{"bin011", 0, "bin011.png"}, IconCase{"bin012", 0, "bin012.png"},
                                           IconCase{"bin013", 0, "bin013.png"}, IconCase{"bin014", 0, "bin014.png"},
                                           IconCase{"bin015", 0, "bin015.png"}),
                         [](const auto& info) { return std::string(info.param.file); });

TEST(StagePicture, IsABlackLineDrawingOfClosedRegionsThatFloodFillsCleanly) {
    const QImage img = QImage(ProgramFile(QStringLiteral("stdimg.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(800, 600));
    int other = 0;
    int black = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            black += p == qRgb(0, 0, 0) ? 1 : 0;
            other += (p != qRgb(0, 0, 0) && p != qRgb(255, 255, 255)) ? 1 : 0;
        }
    EXPECT_EQ(other, 0) << "grey edge pixels would stop a fill short of the line or let it bleed";
    EXPECT_LT(black, img.width() * img.height() / 5);

    const Regions regions = CountWhiteRegions(img);
    EXPECT_GT(regions.count4, 40);
    EXPECT_EQ(regions.count8, regions.count4) << "a line has a diagonal gap that a fill could slip through";
    EXPECT_GE(regions.smallest, 50) << "specks of white too small to fill";
}

TEST(StagePicture, RegionCountSeesADiagonalGap) {
    // Two white squares touching only at a corner: one region through corners, two through sides.
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::black);
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1), QPoint(2, 2), QPoint(3, 2),
                           QPoint(2, 3), QPoint(3, 3)})
        img.setPixel(p, qRgb(255, 255, 255));
    const Regions regions = CountWhiteRegions(img);
    EXPECT_EQ(regions.count4, 2);
    EXPECT_EQ(regions.count8, 1);
}

TEST(DrawColourPicture, IsAPlainBlackTwentyFourBitBitmap) {
    const QString path = ProgramFile(QStringLiteral("stdcolor.bmp"));
    const BmpHeader header = ReadBmpHeader(path);
    ASSERT_TRUE(header.valid);
    EXPECT_EQ(header.bitsPerPixel, 24);
    const QImage img = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(img.isNull());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) ASSERT_EQ(img.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
}

TEST(HelpPage, DescribesTheShortcutsAndMentionsNoOtherPlatform) {
    const QString page = QString::fromUtf8(ReadAll(ProgramFile(QStringLiteral("help/index.htm"))));
    ASSERT_FALSE(page.isEmpty());
    EXPECT_TRUE(page.contains(QStringLiteral("<title>")));
    for (const char* phrase : {"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+P", "Space", ".tnd"})
        EXPECT_TRUE(page.contains(QString::fromLatin1(phrase))) << phrase;
    for (const char* phrase : {"Windows", "Internet Explorer"})
        EXPECT_FALSE(page.contains(QString::fromLatin1(phrase), Qt::CaseInsensitive)) << phrase;
}
