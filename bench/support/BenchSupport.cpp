#include "support/BenchSupport.h"

#include "app/frmMain.h"
#include "model/Color.h"
#include "model/ColorConverter.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "platform/App.h"
#include "platform/MessageBox.h"

#include <QColor>
#include <QDir>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>

namespace BenchSupport {

int RunBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

void CloseWithoutSaving(frmMain* window) {
    MessageBox::SetHandler([](const MessageBox::Request&) { return static_cast<int>(MessageBox::No); });
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->close();
    delete window;
    MessageBox::SetHandler({});
}

QImage Photo(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 engine(7);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = static_cast<int>(engine() % 9) - 4;
            line[x] = qRgb(std::clamp(x * 255 / width + noise, 0, 255), std::clamp(y * 255 / height + noise, 0, 255),
                           std::clamp(128 + noise * 3, 0, 255));
        }
    }
    return image;
}

}  // namespace BenchSupport

PatternProgramFolder::PatternProgramFolder() {
    QDir(m_dir.path()).mkpath(QStringLiteral("textures"));
    QImage pattern(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) pattern.setPixelColor(x, y, QColor::fromHsv(0, 0, (x * 7 + y * 13) % 256));
    pattern.save(m_dir.path() + QStringLiteral("/textures/noise.bmp"), "BMP");
    App::SetPath(m_dir.path());
    Globals::Converter = std::make_shared<ColorConverter>();
    Globals::Textures = {
        Factory::NewTexture(1, QStringLiteral("  No Texture"), QString(), 0, true, true),
        Factory::NewTexture(2, QStringLiteral("Noise"), QStringLiteral("noise.bmp"), 1, true, true),
    };
    Globals::TopColor = std::make_shared<Color>();
    Globals::TopColor->SetColorTexture(Globals::Textures[0]);
}

PatternProgramFolder::~PatternProgramFolder() {
    Globals::TopColor.reset();
    Globals::Textures.clear();
}
