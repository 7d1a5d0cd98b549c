// The stage on a 4000 x 3000 picture: opening, the undo copy, the transforms and one free-hand mouse
// move, each beside a baseline measured in the same run.
#include "platform/ImagingControl.h"
#include "stage/Stage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A photo-like picture: smooth gradients with some detail, so PNG has real work to do.
QImage Photo() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t r = (x * 255 / kWidth) ^ ((x * y) & 7);
            const uint32_t g = (y * 255 / kHeight);
            const uint32_t b = ((x + y) / 16) & 0xFF;
            row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    return image;
}

struct Files {
    Files() {
        png = dir.filePath(QStringLiteral("photo.png"));
        Photo().save(png, "png");
    }
    QTemporaryDir dir;
    QString png;
};

Files& Shared() {
    static Files files;
    return files;
}

// A stage in a window of its own, showing the photo.
struct ShownStage {
    ShownStage() {
        window.resize(1000, 800);
        stage = new Stage(&window);
        stage->setGeometry(0, 0, 1000, 800);
        stage->Init(&window);
        window.show();
        stage->OpenPicture(Shared().png);
        QCoreApplication::sendPostedEvents();
    }
    QWidget window;
    Stage* stage = nullptr;
};

void BM_DecodePngWithQImageReader(benchmark::State& state) {
    const QString path = Shared().png;
    for (auto _ : state) {
        QImageReader reader(path);
        reader.setAllocationLimit(1024);
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DecodePngWithQImageReader)->Unit(benchmark::kMillisecond);

void BM_StageOpenPicture(benchmark::State& state) {
    ShownStage shown;
    for (auto _ : state) {
        benchmark::DoNotOptimize(shown.stage->OpenPicture(Shared().png));
    }
}
BENCHMARK(BM_StageOpenPicture)->Unit(benchmark::kMillisecond);

void BM_WriteSnapshotBytesInOneCall(benchmark::State& state) {
    const std::vector<char> bytes(54 + static_cast<size_t>(kWidth) * kHeight * 4, 'x');
    const QString path = Shared().dir.filePath(QStringLiteral("plain.bin"));
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
        benchmark::DoNotOptimize(file.write(bytes.data(), static_cast<qint64>(bytes.size())));
    }
}
BENCHMARK(BM_WriteSnapshotBytesInOneCall)->Unit(benchmark::kMillisecond);

void BM_StageUndoSnapshot(benchmark::State& state) {
    ShownStage shown;
    for (auto _ : state) {
        shown.stage->SaveUndo();
    }
}
BENCHMARK(BM_StageUndoSnapshot)->Unit(benchmark::kMillisecond);

void BM_MemcpyPicture(benchmark::State& state) {
    const QImage source = Photo();
    QImage target(source.size(), source.format());
    for (auto _ : state) {
        std::memcpy(target.bits(), source.constBits(), static_cast<size_t>(source.sizeInBytes()));
        benchmark::DoNotOptimize(target.bits());
    }
}
BENCHMARK(BM_MemcpyPicture)->Unit(benchmark::kMillisecond);

template <typename Transform>
void RunTransform(benchmark::State& state, Transform transform) {
    ImagingControl control;
    QImage photo = Photo();
    QDir().mkpath(Shared().dir.path());
    const QString path = Shared().dir.filePath(QStringLiteral("transform.bmp"));
    photo.save(path, "bmp");
    control.SetFileName(path);
    for (auto _ : state) {
        transform(control);
    }
}

void BM_Rotate90(benchmark::State& state) {
    RunTransform(state, [](ImagingControl& c) { c.Rotate(27000, 0); });
}
BENCHMARK(BM_Rotate90)->Unit(benchmark::kMillisecond);

void BM_FlipHorizontal(benchmark::State& state) {
    RunTransform(state, [](ImagingControl& c) { c.FlipHorizontal(); });
}
BENCHMARK(BM_FlipHorizontal)->Unit(benchmark::kMillisecond);

void BM_FlipVertical(benchmark::State& state) {
    RunTransform(state, [](ImagingControl& c) { c.FlipVertical(); });
}
BENCHMARK(BM_FlipVertical)->Unit(benchmark::kMillisecond);

void BM_Invert(benchmark::State& state) {
    RunTransform(state, [](ImagingControl& c) { c.Invert(); });
}
BENCHMARK(BM_Invert)->Unit(benchmark::kMillisecond);

void BM_Grey(benchmark::State& state) {
    RunTransform(state, [](ImagingControl& c) { c.ReduceColors(256, true, true); });
}
BENCHMARK(BM_Grey)->Unit(benchmark::kMillisecond);

void SendMove(QWidget& widget, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(widget.mapToGlobal(at)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
}

// One segment of a stroke and the repaint it asks for.
void BM_FreeHandMoveWithRepaint(benchmark::State& state) {
    ShownStage shown;
    ImagingControl& image = *shown.stage->ImageControl();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(100, 100), QPointF(image.mapToGlobal(QPoint(100, 100))),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&image, &press);
    int x = 100;
    for (auto _ : state) {
        x = x >= 900 ? 100 : x + 7;
        SendMove(image, QPoint(x, 100 + (x % 50)));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    }
}
BENCHMARK(BM_FreeHandMoveWithRepaint)->Unit(benchmark::kMicrosecond);

// The baseline of the move: the whole visible picture repainted.
void BM_WholeStageRepaint(benchmark::State& state) {
    ShownStage shown;
    ImagingControl& image = *shown.stage->ImageControl();
    for (auto _ : state) {
        image.update();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    }
}
BENCHMARK(BM_WholeStageRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
