// The stage's PNG written and read on all cores, beside Qt's own PNG save and single-core decode of the
// same pictures in the same run: a 4000 x 3000 and an 8000 x 6000 photo stand-in (noisy gradients) and a
// flat drawing (filled shapes on white). Encode counters give the file sizes; every benchmark also gives
// the CPU time of all the process's threads per run, which shows the work apart from how busy the
// machine's other cores are.
#include "platform/PictureReader.h"
#include "platform/PngFile.h"

#include "support/BenchSupport.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <ctime>
#include <map>
#include <random>
#include <utility>

namespace {

enum Kind { Photo = 0, Flat = 1 };

// Counts the CPU time of every thread of the process while the benchmark runs.
class AllThreadsCpu {
public:
    explicit AllThreadsCpu(benchmark::State& state) : m_state(state), m_start(std::clock()) {}
    ~AllThreadsCpu() {
        const double ms = 1000.0 * static_cast<double>(std::clock() - m_start) / CLOCKS_PER_SEC;
        m_state.counters["cpu_ms_all_threads"] = ms / static_cast<double>(std::max<int64_t>(1, m_state.iterations()));
    }

private:
    benchmark::State& m_state;
    std::clock_t m_start;
};

QImage flat(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    std::mt19937 engine(11);
    for (int i = 0; i < 60; ++i) {
        const QRect box(static_cast<int>(engine() % width), static_cast<int>(engine() % height), width / 6, height / 6);
        painter.setBrush(QColor::fromRgb(engine() & 0xFFFFFF));
        painter.setPen(QPen(QColor::fromRgb(engine() & 0xFFFFFF), 5));
        i % 2 ? painter.drawEllipse(box) : painter.drawRect(box);
    }
    return image;
}

// The picture of a kind at scale 1 (4000 x 3000) or 2 (8000 x 6000), made once.
const QImage& picture(int kind, int scale) {
    static std::map<std::pair<int, int>, QImage> made;
    QImage& image = made[{kind, scale}];
    if (image.isNull())
        image = kind == Photo ? BenchSupport::Photo(4000 * scale, 3000 * scale) : flat(4000 * scale, 3000 * scale);
    return image;
}

QByteArray qtPng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

struct Files {
    QTemporaryDir dir;
    std::map<std::pair<int, int>, std::pair<QString, QString>> paths;  // ours, Qt's
};

// The picture's file written by us and by Qt's default save, made once.
const std::pair<QString, QString>& files(int kind, int scale) {
    static Files f;
    auto& entry = f.paths[{kind, scale}];
    if (entry.first.isEmpty()) {
        const QString stem = f.dir.filePath(QStringLiteral("%1-%2").arg(kind).arg(scale));
        const ParallelPng::Bytes ours = PngFile::Encode(picture(kind, scale));
        QFile out(stem + "-ours.png");
        out.open(QIODevice::WriteOnly);
        out.write(reinterpret_cast<const char*>(ours.data()), static_cast<qint64>(ours.size()));
        out.close();
        QFile qt(stem + "-qt.png");
        qt.open(QIODevice::WriteOnly);
        qt.write(qtPng(picture(kind, scale)));
        qt.close();
        entry = {stem + "-ours.png", stem + "-qt.png"};
    }
    return entry;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Baseline: Qt's default PNG save.
void BM_QtEncode(benchmark::State& state) {
    const QImage& image = picture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    qsizetype bytes = 0;
    const AllThreadsCpu cpu(state);
    for (auto _ : state) bytes = qtPng(image).size();
    state.counters["png_bytes"] = static_cast<double>(bytes);
}

void BM_ParallelEncode(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0)), scale = static_cast<int>(state.range(1));
    const QImage& image = picture(kind, scale);
    size_t bytes = 0;
    {
        const AllThreadsCpu cpu(state);
        for (auto _ : state) bytes = PngFile::Encode(image).size();
    }
    state.counters["png_bytes"] = static_cast<double>(bytes);
    state.counters["size_vs_qt"] =
        static_cast<double>(bytes) / static_cast<double>(contents(files(kind, scale).second).size());
}

// The benchmark's picture as written by us, and by Qt's default save.
QString ours(const benchmark::State& state) {
    return files(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))).first;
}
QString qts(const benchmark::State& state) {
    return files(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))).second;
}

void QtDecode(benchmark::State& state, const QString& path) {
    const AllThreadsCpu cpu(state);
    for (auto _ : state) {
        QImageReader reader(path);
        reader.setAllocationLimit(PictureReader::AllocationLimitMB);
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void Read(benchmark::State& state, const QString& path) {
    const AllThreadsCpu cpu(state);
    for (auto _ : state) {
        QImage image = PngFile::Read(path);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// Baseline: Qt's single-core decode of our file.
void BM_QtDecodeOurs(benchmark::State& state) { QtDecode(state, ours(state)); }

void BM_ParallelRead(benchmark::State& state) { Read(state, ours(state)); }

// Baseline: Qt's single-core decode of its own file, a PNG from elsewhere.
void BM_QtDecodeElsewhere(benchmark::State& state) { QtDecode(state, qts(state)); }

void BM_ReadElsewhere(benchmark::State& state) { Read(state, qts(state)); }

void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"kind", "scale"})->Args({Photo, 1})->Args({Flat, 1})->Args({Photo, 2})->Args({Flat, 2});
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

BENCHMARK(BM_QtEncode)->Apply(Sizes);
BENCHMARK(BM_ParallelEncode)->Apply(Sizes);
BENCHMARK(BM_QtDecodeOurs)->Apply(Sizes);
BENCHMARK(BM_ParallelRead)->Apply(Sizes);
BENCHMARK(BM_QtDecodeElsewhere)->Apply(Sizes);
BENCHMARK(BM_ReadElsewhere)->Apply(Sizes);
