#include "platform/ParallelPng.h"
#include "platform/PictureReader.h"
#include "platform/PngFile.h"
#include "support/TestEnvironment.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

using Bytes = ParallelPng::Bytes;

QImage Noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 engine(static_cast<unsigned>(width * 7919 + height));
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = qRgb(engine() & 255, engine() & 255, engine() & 255);
    }
    return image;
}

QImage Flat(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(40, 120, 200));
    return image;
}

QImage Gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1), (x + y) & 255);
    }
    return image;
}

// A photograph stand-in: gradients with a little noise.
QImage Photo(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 engine(3);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = static_cast<int>(engine() % 9) - 4;
            line[x] = qRgb(std::clamp(x * 255 / width + noise, 0, 255), std::clamp(y * 255 / height + noise, 0, 255),
                           std::clamp(128 + 3 * noise, 0, 255));
        }
    }
    return image;
}

// Filled shapes on white, as a user draws on the stage.
QImage Drawing(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    std::mt19937 engine(5);
    for (int i = 0; i < 30; ++i) {
        const QRect box(static_cast<int>(engine() % width), static_cast<int>(engine() % height), width / 5, height / 5);
        painter.setBrush(QColor::fromRgb(engine() & 0xFFFFFF));
        painter.setPen(QPen(QColor::fromRgb(engine() & 0xFFFFFF), 3));
        i % 2 ? painter.drawEllipse(box) : painter.drawRect(box);
    }
    return image;
}

Bytes Encode(const QImage& image, uint32_t bands = 0) { return ParallelPng::Encode(PngFile::RowsOf(image), {bands}); }

QByteArray AsQByteArray(const Bytes& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// Qt's own PNG reader, the one every other picture goes through.
QImage QtDecode(const Bytes& bytes) { return QImage::fromData(AsQByteArray(bytes), "PNG"); }

QByteArray QtPng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

ParallelPng::Status Decode(const Bytes& bytes, const ParallelPng::Limits& limits = {}) {
    QImage image;
    return ParallelPng::Decode(bytes.data(), bytes.size(), limits, [&](uint32_t w, uint32_t h) {
        image = QImage(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
        return ParallelPng::Target{image.bits(), image.bytesPerLine()};
    });
}

QImage DecodeBanded(const Bytes& bytes) { return PngFile::DecodeBanded(bytes.data(), bytes.size()); }

// Everything a reader hands over besides the pixels, compared too.
void ExpectSamePicture(const QImage& actual, const QImage& expected, const std::string& what) {
    ASSERT_FALSE(actual.isNull()) << what;
    EXPECT_EQ(actual.format(), expected.format()) << what;
    EXPECT_EQ(actual.size(), expected.size()) << what;
    EXPECT_TRUE(actual == expected) << what;
    EXPECT_EQ(actual.colorSpace(), expected.colorSpace()) << what;
    EXPECT_EQ(actual.dotsPerMeterX(), expected.dotsPerMeterX()) << what;
    EXPECT_EQ(actual.textKeys(), expected.textKeys()) << what;
}

// ---- Chunks ----

uint32_t BE32(const uint8_t* p) { return (uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }
void PutBE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

struct Chunk {
    std::string type;
    Bytes data;
};

std::vector<Chunk> Chunks(const Bytes& file) {
    std::vector<Chunk> chunks;
    for (size_t at = 8; at + 12 <= file.size();) {
        const uint32_t length = BE32(&file[at]);
        chunks.push_back({std::string(reinterpret_cast<const char*>(&file[at + 4]), 4),
                          Bytes(file.begin() + static_cast<ptrdiff_t>(at + 8),
                                file.begin() + static_cast<ptrdiff_t>(at + 8 + length))});
        at += 12 + length;
    }
    return chunks;
}

// The chunks as a file, every CRC right.
Bytes Assemble(const std::vector<Chunk>& chunks) {
    Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Chunk& chunk : chunks) {
        const size_t at = file.size();
        file.resize(at + 12 + chunk.data.size());
        PutBE32(&file[at], static_cast<uint32_t>(chunk.data.size()));
        std::memcpy(&file[at + 4], chunk.type.data(), 4);
        if (!chunk.data.empty())
            std::memcpy(&file[at + 8], chunk.data.data(), chunk.data.size());
        PutBE32(&file[at + 8 + chunk.data.size()],
                static_cast<uint32_t>(crc32(0, &file[at + 4], static_cast<uInt>(4 + chunk.data.size()))));
    }
    return file;
}

Chunk& Find(std::vector<Chunk>& chunks, const std::string& type) {
    for (Chunk& chunk : chunks)
        if (chunk.type == type)
            return chunk;
    throw std::runtime_error("no chunk " + type);
}

Bytes IdatStream(const std::vector<Chunk>& chunks) {
    Bytes stream;
    for (const Chunk& chunk : chunks)
        if (chunk.type == "IDAT")
            stream.insert(stream.end(), chunk.data.begin(), chunk.data.end());
    return stream;
}

// The band table: (first row, stream offset) of each band.
std::vector<std::pair<uint32_t, uint32_t>> BandTable(const Chunk& table) {
    std::vector<std::pair<uint32_t, uint32_t>> bands;
    for (uint32_t b = 0; b < BE32(table.data.data()); ++b)
        bands.emplace_back(BE32(&table.data[4 + 8 * b]), BE32(&table.data[8 + 8 * b]));
    return bands;
}

// ---- Round trips ----

struct Size {
    const char* name;
    int width, height;
    uint32_t bands;
};

TEST(ParallelPngRoundTrip, EverySizeAndPictureReadsBackThroughQtAndInParallel) {
    const Size sizes[] = {
        {"1 x 1", 1, 1, 0},
        {"width 13 is no multiple of the 4 bands", 13, 40, 4},
        {"one row", 300, 1, 0},
        {"16384 x 4", 16384, 4, 0},
        {"3 rows, fewer than the 8 bands asked", 50, 3, 8},
        {"many bands of uneven rows", 97, 211, 10},
        {"bands picked for 1000 x 700", 1000, 700, 0},
    };
    const std::pair<const char*, QImage (*)(int, int)> pictures[] = {
        {"noise", Noise}, {"flat", Flat}, {"gradient", Gradient}};
    for (const Size& size : sizes) {
        for (const auto& [pictureName, make] : pictures) {
            const std::string what = std::string(size.name) + ", " + pictureName;
            const QImage image = make(size.width, size.height);
            const Bytes file = Encode(image, size.bands);
            ASSERT_FALSE(file.empty()) << what;
            const QImage qt = QtDecode(file);
            ExpectSamePicture(qt, image, what + " through Qt");
            EXPECT_EQ(Decode(file), ParallelPng::Status::Decoded) << what;
            ExpectSamePicture(DecodeBanded(file), qt, what + " in parallel");
        }
    }
}

TEST(ParallelPngRoundTrip, PictureFormatsOtherThanRgb32AreWrittenAsQtMakesThemOpaque) {
    QImage rgb888 = Noise(21, 9).convertToFormat(QImage::Format_RGB888);  // rows padded to 64 bytes
    QImage translucent(7, 5, QImage::Format_ARGB32);
    translucent.fill(qRgba(200, 100, 50, 128));
    translucent.setPixel(3, 2, qRgba(1, 2, 3, 0));
    QImage premultiplied = translucent.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage indexed = Gradient(9, 9).convertToFormat(QImage::Format_Indexed8);
    for (const QImage& image : {rgb888, translucent, premultiplied, indexed}) {
        const Bytes file = PngFile::Encode(image);
        const QImage expected = image.convertToFormat(QImage::Format_RGB32);
        ExpectSamePicture(QtDecode(file), expected, "Qt, format " + std::to_string(image.format()));
        ExpectSamePicture(DecodeBanded(file), expected, "parallel, format " + std::to_string(image.format()));
    }
    EXPECT_TRUE(PngFile::Encode(QImage()).empty());
}

// The file is one ordinary PNG: the band chunk right after IHDR, then IDAT chunks whose data is one zlib
// stream that zlib alone inflates, with every band's first row filtered without the row above.
TEST(ParallelPngFile, IsOneOrdinaryPngWithTheBandTableBeforeTheImageData) {
    const QImage image = Gradient(120, 90);
    const Bytes file = Encode(image, 6);
    std::vector<Chunk> chunks = Chunks(file);
    ASSERT_GE(chunks.size(), 4u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[1].type, ParallelPng::BandChunk);
    for (size_t i = 2; i + 1 < chunks.size(); ++i) EXPECT_EQ(chunks[i].type, "IDAT");
    EXPECT_EQ(chunks.back().type, "IEND");
    EXPECT_EQ(Assemble(chunks), file) << "every CRC right";
    // Ancillary, private, reserved bit clear, unsafe to copy.
    const std::string name = ParallelPng::BandChunk;
    EXPECT_TRUE(std::islower(name[0]) && std::islower(name[1]) && std::isupper(name[2]) && std::isupper(name[3]));

    const Bytes stream = IdatStream(chunks);
    const size_t rowBytes = 1 + 3 * 120;
    Bytes raw(rowBytes * 90 + 1);
    uLongf rawLength = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawLength, stream.data(), stream.size()), Z_OK);
    EXPECT_EQ(rawLength, rowBytes * 90);

    const auto bands = BandTable(Find(chunks, ParallelPng::BandChunk));
    ASSERT_EQ(bands.size(), 6u);
    for (size_t b = 0; b < bands.size(); ++b) {
        EXPECT_EQ(bands[b].first, b * 90 / 6) << "band " << b;
        EXPECT_LE(raw[bands[b].first * rowBytes], 1) << "band " << b << " starts with None or Sub";
        // Each band inflates on its own, from its offset to the next.
        const uint32_t end = b + 1 < bands.size() ? bands[b + 1].second : static_cast<uint32_t>(stream.size() - 4);
        z_stream z{};
        ASSERT_EQ(inflateInit2(&z, -15), Z_OK);
        Bytes out(rowBytes * 90);
        z.next_in = const_cast<Bytef*>(stream.data() + bands[b].second);
        z.avail_in = end - bands[b].second;
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        const int result = inflate(&z, Z_SYNC_FLUSH);
        EXPECT_EQ(result, b + 1 == bands.size() ? Z_STREAM_END : Z_OK) << "band " << b;
        const uint32_t rows = (b + 1 < bands.size() ? bands[b + 1].first : 90) - bands[b].first;
        EXPECT_EQ(z.total_out, rows * rowBytes) << "band " << b;
        EXPECT_EQ(0, std::memcmp(out.data(), raw.data() + bands[b].first * rowBytes, z.total_out)) << "band " << b;
        inflateEnd(&z);
    }
}

// Bands and IDAT chunks need not line up: the reader follows a band across chunks of any size.
TEST(ParallelPngFile, ImageDataCutIntoChunksOfAnySizeDecodesInParallel) {
    const QImage big = Noise(800, 600);
    const Bytes oneBand = Encode(big, 1);
    const std::vector<Chunk> oneBandChunks = Chunks(oneBand);
    EXPECT_GT(
        std::count_if(oneBandChunks.begin(), oneBandChunks.end(), [](const Chunk& c) { return c.type == "IDAT"; }), 2)
        << "a band of more than a megabyte spans IDAT chunks";
    EXPECT_EQ(Decode(oneBand), ParallelPng::Status::Decoded);
    ExpectSamePicture(DecodeBanded(oneBand), big, "one band");

    const QImage image = Gradient(90, 70);
    std::vector<Chunk> chunks = Chunks(Encode(image, 7));
    const Bytes stream = IdatStream(chunks);
    for (size_t piece : {size_t{1}, size_t{3}, size_t{100}}) {
        std::vector<Chunk> cut = {chunks[0], chunks[1], {"IDAT", {}}};
        for (size_t at = 0; at < stream.size(); at += piece) {
            cut.push_back(
                {"IDAT", Bytes(stream.begin() + static_cast<ptrdiff_t>(at),
                               stream.begin() + static_cast<ptrdiff_t>(std::min(stream.size(), at + piece)))});
            if (at % (7 * piece) == 0)
                cut.push_back({"IDAT", {}});
        }
        cut.push_back({"IEND", {}});
        const Bytes file = Assemble(cut);
        EXPECT_EQ(Decode(file), ParallelPng::Status::Decoded) << "pieces of " << piece;
        ExpectSamePicture(DecodeBanded(file), QtDecode(file), "pieces of " + std::to_string(piece));
    }
}

// The filter choice keeps files near Qt's default save, although each band starts afresh.
TEST(ParallelPngFile, StaysWithinAFifthMoreThanQtsDefaultSave) {
    for (const auto& [name, image] : {std::pair{"photo", Photo(800, 600)}, std::pair{"drawing", Drawing(800, 600)},
                                      std::pair{"gradient", Gradient(800, 600)}}) {
        const double ours = static_cast<double>(PngFile::Encode(image).size());
        const double qt = static_cast<double>(QtPng(image).size());
        EXPECT_LE(ours, 1.2 * qt) << name << ": " << ours << " bytes, Qt " << qt;
    }
}

// ---- Damage ----

// A PNG file on disk reads through PngFile::Read exactly as through the ordinary reader: the same picture,
// or the same error.
void ExpectReadsAsTheOrdinaryReader(const Bytes& bytes, const std::string& what) {
    const QString path = TestEnvironment::Home() + "/damaged.png";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(AsQByteArray(bytes));
    file.close();
    QImage ours, ordinary;
    const int32_t ourError = TestEnvironment::ErrorNumberOf([&] { ours = PngFile::Read(path); });
    const int32_t ordinaryError = TestEnvironment::ErrorNumberOf([&] { ordinary = PictureReader::Read(path); });
    EXPECT_EQ(ourError, ordinaryError) << what;
    if (ordinaryError == 0)
        ExpectSamePicture(ours, ordinary, what);
}

struct Damage {
    const char* name;
    std::function<void(std::vector<Chunk>&)> apply;
    bool stillOpens;  // the image data is whole, so the ordinary decode opens the picture's pixels
};

void SetBand(std::vector<Chunk>& chunks, size_t band, int field, uint32_t value) {
    PutBE32(&Find(chunks, ParallelPng::BandChunk).data[4 + 8 * band + 4 * static_cast<size_t>(field)], value);
}
uint32_t BandField(std::vector<Chunk>& chunks, size_t band, int field) {
    return BE32(&Find(chunks, ParallelPng::BandChunk).data[4 + 8 * band + 4 * static_cast<size_t>(field)]);
}
constexpr int Row = 0, Offset = 1;

TEST(ParallelPngDamage, ATableThatDoesNotCheckOutFallsBackToTheOrdinaryDecode) {
    const QImage image = Gradient(64, 48);
    const Bytes good = Encode(image, 4);
    const Damage damages[] = {
        {"second band starts a byte late", [](auto& c) { SetBand(c, 1, Offset, BandField(c, 1, Offset) + 1); }, true},
        {"second band starts a byte early", [](auto& c) { SetBand(c, 1, Offset, BandField(c, 1, Offset) - 1); }, true},
        {"last band starts past the data", [](auto& c) { SetBand(c, 3, Offset, 1u << 30); }, true},
        {"last band starts on the Adler-32",
         [](auto& c) { SetBand(c, 3, Offset, static_cast<uint32_t>(IdatStream(c).size() - 4)); }, true},
        {"first band does not start after the zlib header", [](auto& c) { SetBand(c, 0, Offset, 0); }, true},
        {"offsets out of order",
         [](auto& c) {
             const uint32_t one = BandField(c, 1, Offset);
             SetBand(c, 1, Offset, BandField(c, 2, Offset));
             SetBand(c, 2, Offset, one);
         },
         true},
        {"a band's first row one late", [](auto& c) { SetBand(c, 2, Row, BandField(c, 2, Row) + 1); }, true},
        {"rows out of order", [](auto& c) { SetBand(c, 2, Row, BandField(c, 1, Row)); }, true},
        {"a first row past the picture", [](auto& c) { SetBand(c, 3, Row, 48); }, true},
        {"more bands counted than listed", [](auto& c) { PutBE32(Find(c, ParallelPng::BandChunk).data.data(), 5); },
         true},
        {"no bands",
         [](auto& c) {
             Find(c, ParallelPng::BandChunk).data = {0, 0, 0, 0};
         },
         true},
        {"table cut short", [](auto& c) { Find(c, ParallelPng::BandChunk).data.resize(3); }, true},
        {"a band cut short",
         [](auto& c) {
             Bytes& idat = c[3].data;  // the second band's chunk
             idat.erase(idat.begin() + static_cast<ptrdiff_t>(idat.size() / 2));
         },
         false},
        {"Adler-32 wrong", [](auto& c) { c[c.size() - 2].data[3] ^= 1; }, false},
        {"zlib header asks for a dictionary", [](auto& c) { c[2].data[1] = 0x20 | 0x1F; }, false},
        // Qt corrects the gamma: the pixels differ from the ones written.
        {"a chunk Qt knows between table and data",
         [](auto& c) {
             c.insert(c.begin() + 2, Chunk{"gAMA", {0, 0, 0xB1, 0x8F}});
         },
         false},
        {"a text chunk before the table",
         [](auto& c) {
             c.insert(c.begin() + 1, Chunk{"tEXt", {'a', 0, 'b'}});
         },
         true},
        {"data after the end",
         [](auto& c) {
             c.push_back(Chunk{"IEND", {}});
         },
         true},
        {"an alpha channel declared", [](auto& c) { c[0].data[9] = 6; }, false},
    };
    for (const Damage& damage : damages) {
        std::vector<Chunk> chunks = Chunks(good);
        damage.apply(chunks);
        const Bytes bad = Assemble(chunks);
        EXPECT_NE(Decode(bad), ParallelPng::Status::Decoded) << damage.name;
        ExpectReadsAsTheOrdinaryReader(bad, damage.name);
        if (damage.stillOpens) {
            EXPECT_TRUE(QtDecode(bad).convertToFormat(QImage::Format_RGB32) == image) << damage.name << " opens";
        }
    }
}

TEST(ParallelPngDamage, WrongCrcsAndCutFilesAreLeftToTheOrdinaryDecode) {
    const QImage image = Noise(40, 30);
    const Bytes good = Encode(image, 3);
    const size_t tableCrc = 8 + 25 + 8 + Chunks(good)[1].data.size();
    const size_t firstIdatData = tableCrc + 4 + 8;
    const std::pair<const char*, std::function<void(Bytes&)>> damages[] = {
        {"band table CRC", [=](Bytes& b) { b[tableCrc] ^= 0x10; }},
        {"IHDR CRC", [](Bytes& b) { b[8 + 21] ^= 1; }},
        {"IDAT data under a CRC", [=](Bytes& b) { b[firstIdatData + 5] ^= 0x40; }},
        {"cut inside the image data", [](Bytes& b) { b.resize(b.size() / 2); }},
        {"cut before IEND", [](Bytes& b) { b.resize(b.size() - 12); }},
    };
    for (const auto& [name, damage] : damages) {
        Bytes bad = good;
        damage(bad);
        EXPECT_EQ(Decode(bad), ParallelPng::Status::Refused) << name;
        ExpectReadsAsTheOrdinaryReader(bad, name);
    }
}

// A banded file made here from rows whose filters are given: the bands deflated as independent streams,
// or as one stream with sync flushes between them, so a band may refer back into the one before.
Bytes Craft(const QImage& image, const std::vector<uint32_t>& firstRows, uint8_t firstRowFilter, bool oneStream,
            int level = 6) {
    const size_t n = 3 * static_cast<size_t>(image.width()), rowBytes = n + 1;
    Bytes raw;
    Bytes prior(n, 0), row(n);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            row[3 * x] = static_cast<uint8_t>(qRed(p));
            row[3 * x + 1] = static_cast<uint8_t>(qGreen(p));
            row[3 * x + 2] = static_cast<uint8_t>(qBlue(p));
        }
        const bool first = std::find(firstRows.begin(), firstRows.end(), static_cast<uint32_t>(y)) != firstRows.end();
        const uint8_t filter = first && y > 0 ? firstRowFilter : 0;
        raw.push_back(filter);
        for (size_t i = 0; i < n; ++i) raw.push_back(static_cast<uint8_t>(row[i] - (filter == 2 ? prior[i] : 0)));
        prior = row;
    }
    Bytes stream = {0x78, 0x01};
    std::vector<uint32_t> offsets;
    z_stream z{};
    for (size_t b = 0; b < firstRows.size(); ++b) {
        if (b == 0 || !oneStream) {
            deflateEnd(&z);
            z = z_stream{};
            deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        }
        offsets.push_back(static_cast<uint32_t>(stream.size()));
        const size_t begin = firstRows[b] * rowBytes;
        const size_t end = b + 1 < firstRows.size() ? firstRows[b + 1] * rowBytes : raw.size();
        Bytes out(deflateBound(&z, end - begin) + 64);
        z.next_in = raw.data() + begin;
        z.avail_in = static_cast<uInt>(end - begin);
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        deflate(&z, b + 1 == firstRows.size() ? Z_FINISH : Z_SYNC_FLUSH);
        stream.insert(stream.end(), out.begin(), out.end() - z.avail_out);
    }
    deflateEnd(&z);
    const uLong adler = adler32(adler32(0, nullptr, 0), raw.data(), static_cast<uInt>(raw.size()));
    stream.resize(stream.size() + 4);
    PutBE32(&stream[stream.size() - 4], static_cast<uint32_t>(adler));

    Chunk ihdr{"IHDR", Bytes(13, 0)};
    PutBE32(&ihdr.data[0], static_cast<uint32_t>(image.width()));
    PutBE32(&ihdr.data[4], static_cast<uint32_t>(image.height()));
    ihdr.data[8] = 8;
    ihdr.data[9] = 2;
    Chunk table{ParallelPng::BandChunk, Bytes(4 + 8 * firstRows.size())};
    PutBE32(&table.data[0], static_cast<uint32_t>(firstRows.size()));
    for (size_t b = 0; b < firstRows.size(); ++b) {
        PutBE32(&table.data[4 + 8 * b], firstRows[b]);
        PutBE32(&table.data[8 + 8 * b], offsets[b]);
    }
    return Assemble({ihdr, table, {"IDAT", stream}, {"IEND", {}}});
}

// Rows that repeat, so a band's first row is the same bytes as the row above it.
QImage RepeatedRows(int width, int height) {
    const QImage row = Noise(width, 1);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), row.constScanLine(0), 4 * static_cast<size_t>(width));
    return image;
}

TEST(ParallelPngDamage, BandsThatNeedTheBandAboveAreDecodedTheOrdinaryWay) {
    const QImage image = RepeatedRows(50, 40);
    const std::vector<uint32_t> firstRows = {0, 10, 20, 30};
    struct Case {
        const char* name;
        uint8_t filter;
        bool oneStream;
        ParallelPng::Status status;
    };
    for (const Case& c :
         {Case{"independent bands, first rows None (the control)", 0, false, ParallelPng::Status::Decoded},
          Case{"first rows filtered Up", 2, false, ParallelPng::Status::Refused},
          Case{"one stream: a band refers into the band above", 0, true, ParallelPng::Status::Refused}}) {
        const Bytes file = Craft(image, firstRows, c.filter, c.oneStream);
        ExpectSamePicture(QtDecode(file), image, std::string(c.name) + " through Qt");
        EXPECT_EQ(Decode(file), c.status) << c.name;
        ExpectReadsAsTheOrdinaryReader(file, c.name);
    }
}

// Deflate often holds back the end of a band: the last rows come out of a match decoded from bytes that
// were all read before, so a band must not be judged short when its input runs out.
TEST(ParallelPngDamage, BandsWhoseLastRowsComeAfterTheirLastByteAreWhole) {
    for (const auto& [name, image] : {std::pair{"flat 5 wide", Flat(5, 40)}, std::pair{"flat 13 wide", Flat(13, 40)},
                                      std::pair{"repeated rows", RepeatedRows(64, 40)}}) {
        for (int level : {1, 4, 9}) {
            const std::string what = std::string(name) + ", level " + std::to_string(level);
            const Bytes file = Craft(image, {0, 10, 20, 30}, 0, false, level);
            EXPECT_EQ(Decode(file), ParallelPng::Status::Decoded) << what;
            ExpectSamePicture(DecodeBanded(file), QtDecode(file), what);
        }
    }
}

// ---- Limits and other files ----

TEST(ParallelPngLimits, PicturesOverTheLimitsAreLeftToTheOrdinaryDecode) {
    const QImage wide = Gradient(16385, 2);
    const Bytes file = Encode(wide);
    EXPECT_EQ(Decode(file), ParallelPng::Status::Refused);
    ExpectReadsAsTheOrdinaryReader(file, "16385 wide");

    const Bytes small = Encode(Flat(10, 10));
    bool allocated = false;
    const auto allocate = [&](uint32_t, uint32_t) {
        allocated = true;
        return ParallelPng::Target{};
    };
    EXPECT_EQ(ParallelPng::Decode(small.data(), small.size(), {100, 99}, allocate), ParallelPng::Status::Refused);
    EXPECT_EQ(ParallelPng::Decode(small.data(), small.size(), {9, 1000}, allocate), ParallelPng::Status::Refused);
    // 16384 x 16384 declared in a small file: refused before anything is allocated.
    std::vector<Chunk> chunks = Chunks(small);
    PutBE32(&chunks[0].data[0], 16384);
    PutBE32(&chunks[0].data[4], 16384);
    const Bytes huge = Assemble(chunks);
    EXPECT_EQ(ParallelPng::Decode(huge.data(), huge.size(), {}, allocate), ParallelPng::Status::Refused);
    EXPECT_FALSE(allocated);
    // Within the limits, a target that cannot be had gives the decode up.
    EXPECT_EQ(ParallelPng::Decode(small.data(), small.size(), {}, allocate), ParallelPng::Status::Refused);
    EXPECT_TRUE(allocated);
}

TEST(ParallelPngOtherFiles, PicturesFromElsewhereOpenAsTheOrdinaryReaderOpensThem) {
    const QImage image = Drawing(60, 40);
    auto save = [](const QImage& picture, const char* format) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, format);
        return Bytes(bytes.begin(), bytes.end());
    };
    const std::pair<const char*, Bytes> files[] = {
        {"Qt's RGB PNG", save(image, "PNG")},
        {"Qt's PNG with alpha", save(image.convertToFormat(QImage::Format_ARGB32), "PNG")},
        {"grey PNG", save(image.convertToFormat(QImage::Format_Grayscale8), "PNG")},
        {"JPEG", save(image, "JPG")},
        {"BMP", save(image, "BMP")},
        {"empty", {}},
        {"a PNG signature alone", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}},
    };
    for (const auto& [name, bytes] : files) {
        EXPECT_EQ(Decode(bytes), ParallelPng::Status::NotBanded) << name;
        ExpectReadsAsTheOrdinaryReader(bytes, name);
    }
}

TEST(ParallelPngOtherFiles, MissingFilesFoldersAndFifosRaiseTheOrdinaryReadersErrors) {
    const QString dir = TestEnvironment::Home() + "/png-paths";
    QDir(dir).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(dir + "/folder.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "/pipe.png").constData(), 0600), 0);
    for (const char* name : {"missing.png", "folder.png", "pipe.png"}) {
        const QString path = dir + "/" + name;
        const int32_t expected = TestEnvironment::ErrorNumberOf([&] { PictureReader::Read(path); });
        EXPECT_NE(expected, 0) << name;
        EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { PngFile::Read(path); }), expected) << name;
    }
}

// A file read in pieces side by side is the file, byte for byte; one that ends sooner than asked is no read.
TEST(ParallelPngFiles, AFileIsReadWholeInPiecesAndAShortOneIsRefused) {
    const QString path = TestEnvironment::Home() + "/pieces.bin";
    Bytes contents(size_t{9} << 20);
    std::mt19937 engine(9);
    for (uint8_t& byte : contents) byte = static_cast<uint8_t>(engine());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(reinterpret_cast<const char*>(contents.data()), static_cast<qint64>(contents.size())),
              static_cast<qint64>(contents.size()));
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    for (const size_t size : {size_t{0}, size_t{1}, size_t{4} << 20, contents.size() - 3, contents.size()}) {
        Bytes read(size + 1, 0xAB);
        ASSERT_TRUE(ParallelPng::ReadFile(file.handle(), read.data(), size)) << size;
        EXPECT_TRUE(std::equal(read.begin(), read.begin() + static_cast<ptrdiff_t>(size), contents.begin())) << size;
        EXPECT_EQ(read[size], 0xAB) << "nothing past the size asked " << size;
    }
    Bytes more(contents.size() + 1);
    EXPECT_FALSE(ParallelPng::ReadFile(file.handle(), more.data(), more.size()));
    EXPECT_FALSE(ParallelPng::ReadFile(-1, more.data(), 16));
}

}  // namespace
