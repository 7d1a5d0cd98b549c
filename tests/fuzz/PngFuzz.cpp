// Seeded mutation fuzzing of the parallel PNG reader. It writes its own banded PNG files (and takes one of
// Qt's), mutates them for a bounded time, and stops the process on any fault: a crash or hang, an
// exception the reader must not throw, (under the sanitizers) any memory or undefined-behaviour report,
// and any input the parallel reader decodes differently from Qt's own PNG reader. Half of the inputs
// get their chunk CRCs made right again, so that mutations reach past the CRC checks into the band
// table and the deflate data. The input being run is always in <work>/input.png, so a fault leaves its
// input behind.
//
//   PngFuzz [--seconds N] [--seed S] [--work DIR]

#include "platform/ParallelPng.h"
#include "platform/PngFile.h"
#include "platform/RuntimeError.h"

#include "FuzzRun.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>

#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = ParallelPng::Bytes;

QImage picture(int width, int height, uint32_t seed, bool noisy) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 engine(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           noisy ? qRgb(engine() & 255, engine() & 255, engine() & 255)
                                 : qRgb(x * 7 & 255, y * 5 & 255, (x + y) & 255));
    return image;
}

Bytes banded(const QImage& image, uint32_t bands) {
    ParallelPng::Picture rows;
    rows.pixels = image.constBits();
    rows.stride = image.bytesPerLine();
    rows.width = static_cast<uint32_t>(image.width());
    rows.height = static_cast<uint32_t>(image.height());
    return ParallelPng::Encode(rows, {bands});
}

Bytes qtPng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return Bytes(bytes.begin(), bytes.end());
}

uint32_t readBE32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

void writeBE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// Makes every CRC right, as far as the chunk lengths lead.
void fixCrcs(Bytes& bytes) {
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const uint32_t length = readBE32(&bytes[at]);
        if (length > bytes.size() - at - 12)
            return;
        writeBE32(&bytes[at + 8 + length], static_cast<uint32_t>(crc32(0, &bytes[at + 4], 4 + length)));
        at += 12 + length;
    }
}

// The offset of the band table's data, or 0.
size_t bandTable(const Bytes& bytes) {
    constexpr size_t at = 8 + 25;
    if (bytes.size() < at + 12 || std::memcmp(&bytes[at + 4], ParallelPng::BandChunk, 4) != 0)
        return 0;
    return at + 8;
}

class Fuzzer {
public:
    Fuzzer(const QString& work, uint64_t seed) : m_work(work), m_random(seed) {
        m_seeds = {banded(picture(1, 1, 1, true), 0),    banded(picture(37, 23, 2, true), 5),
                   banded(picture(64, 64, 3, false), 8), banded(picture(100, 3, 4, false), 0),
                   banded(picture(300, 40, 5, true), 0), banded(picture(5, 200, 6, false), 32),
                   qtPng(picture(20, 20, 7, true))};
        for (size_t i = 0; i + 1 < m_seeds.size(); ++i) {
            QImage ignored;
            if (decode(m_seeds[i], ignored) != ParallelPng::Status::Decoded)
                fail("a file written here does not decode in parallel");
        }
    }

    void RunFor(std::chrono::seconds duration) {
        const auto end = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < end) {
            for (int i = 0; i < 20; ++i) step();
        }
        std::printf("PngFuzz: %llu inputs, %llu decoded in parallel\n", static_cast<unsigned long long>(m_runs),
                    static_cast<unsigned long long>(m_decoded));
    }

private:
    size_t below(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(m_random); }

    void mutate(Bytes& bytes) {
        const int rounds = 1 + static_cast<int>(below(4));
        for (int r = 0; r < rounds; ++r) {
            const size_t at = below(bytes.size() + 1);
            switch (below(9)) {
                case 0:
                    if (at < bytes.size())
                        bytes[at] = static_cast<uint8_t>(bytes[at] ^ (1 << below(8)));
                    break;
                case 1:
                    if (at < bytes.size())
                        bytes[at] = static_cast<uint8_t>(below(256));
                    break;
                case 2:
                    bytes.insert(bytes.begin() + static_cast<ptrdiff_t>(at), 1 + below(16),
                                 static_cast<uint8_t>(below(256)));
                    break;
                case 3:
                    bytes.erase(bytes.begin() + static_cast<ptrdiff_t>(at),
                                bytes.begin() + static_cast<ptrdiff_t>(std::min(bytes.size(), at + 1 + below(32))));
                    break;
                case 4:  // a boundary value: lengths, sizes, rows and offsets are big-endian 32-bit fields
                    if (at + 4 <= bytes.size())
                        writeBE32(&bytes[at], boundary());
                    break;
                case 5:  // one field of the band table
                    if (const size_t table = bandTable(bytes)) {
                        const size_t field = table + 4 * below(readBE32(&bytes[table - 8]) / 4);
                        if (field + 4 <= bytes.size())
                            writeBE32(
                                &bytes[field],
                                below(2) ? boundary() : readBE32(&bytes[field]) + static_cast<uint32_t>(below(5)) - 2);
                    }
                    break;
                case 6:  // copy a piece elsewhere
                    if (!bytes.empty()) {
                        const size_t from = below(bytes.size());
                        const Bytes piece(
                            bytes.begin() + static_cast<ptrdiff_t>(from),
                            bytes.begin() + static_cast<ptrdiff_t>(std::min(bytes.size(), from + 1 + below(64))));
                        bytes.insert(bytes.begin() + static_cast<ptrdiff_t>(at), piece.begin(), piece.end());
                    }
                    break;
                case 7: bytes.resize(at); break;
                default: {  // splice in part of another seed
                    const Bytes& other = m_seeds[below(m_seeds.size())];
                    const size_t from = below(other.size());
                    const size_t length = std::min(other.size() - from, 1 + below(128));
                    const size_t replaced = std::min(bytes.size() - at, below(64));
                    bytes.erase(bytes.begin() + static_cast<ptrdiff_t>(at),
                                bytes.begin() + static_cast<ptrdiff_t>(at + replaced));
                    bytes.insert(bytes.begin() + static_cast<ptrdiff_t>(at),
                                 other.begin() + static_cast<ptrdiff_t>(from),
                                 other.begin() + static_cast<ptrdiff_t>(from + length));
                    break;
                }
            }
        }
    }

    uint32_t boundary() {
        static const uint32_t values[] = {0,      1,      2,      3,      6,          0x7F,       0x80,      0xFF,
                                          0x3FFF, 0x4000, 0x4001, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
        return values[below(std::size(values))];
    }

    void step() {
        Bytes input = m_seeds[below(m_seeds.size())];
        mutate(input);
        if (below(2) == 0)
            fixCrcs(input);
        run(input);
    }

    static ParallelPng::Status decode(const Bytes& input, QImage& image) {
        return ParallelPng::Decode(input.data(), input.size(), {}, [&](uint32_t width, uint32_t height) {
            image = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
            return image.isNull() ? ParallelPng::Target{} : ParallelPng::Target{image.bits(), image.bytesPerLine()};
        });
    }

    void run(const Bytes& input) {
        ++m_runs;
        const QString inputPath = m_work + QStringLiteral("/input.png");
        QFile file(inputPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(input.data()), static_cast<qint64>(input.size())) !=
                static_cast<qint64>(input.size())) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(inputPath));
            std::exit(2);
        }
        file.close();
        try {
            QImage ours;
            const ParallelPng::Status status = decode(input, ours);
            if (status == ParallelPng::Status::Decoded) {
                ++m_decoded;
                const QImage qt = QImage::fromData(input.data(), static_cast<int>(input.size()), "PNG");
                if (qt.isNull() || qt.format() != ours.format() || qt != ours)
                    fail("the parallel decode differs from Qt's");
            }
            if (below(4) == 0)
                PngFile::Read(inputPath);
        } catch (const RuntimeError&) {
        } catch (const std::exception& e) {
            fail(std::string("unexpected exception: ") + e.what());
        } catch (...) {
            fail("unexpected exception");
        }
    }

    [[noreturn]] void fail(const std::string& what) {
        std::fprintf(stderr, "PngFuzz: %s\nThe input is kept in %s/input.png\n", what.c_str(), qPrintable(m_work));
        std::abort();
    }

    QString m_work;
    std::mt19937_64 m_random;
    std::vector<Bytes> m_seeds;
    uint64_t m_runs = 0;
    uint64_t m_decoded = 0;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    const FuzzRun run("PngFuzz", app.arguments());
    Fuzzer fuzzer(run.work, run.seed);
    fuzzer.RunFor(std::chrono::seconds(run.seconds));
    return 0;
}
