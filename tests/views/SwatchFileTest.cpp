#include "SwatchFixture.h"

#include "support/TestEnvironment.h"

#include <QFile>

#include <sys/stat.h>

namespace {

bool allPixels(const QImage& image, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != colour)
                return false;
    return !image.isNull();
}

using SwatchFiles = SwatchTest;

TEST_F(SwatchFiles, ADamagedTextureIsReportedOnceAcrossSwatchesAndRendersAndShowsThePlainColour) {
    {
        QFile damaged(QDir(App::Path()).filePath(QStringLiteral("textures/denim.bmp")));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("BM this is text, not a bitmap");
    }
    Globals::Textures.push_back(
        Factory::NewTexture(4, QStringLiteral("denim"), QStringLiteral("denim.bmp"), TextureKind::Pattern, true, true));
    ScriptedMessageBox boxes;
    std::vector<ColorPanel*> swatches{panel, new ColorPanel(host.get()), new ColorPanel(host.get())};
    for (ColorPanel* swatch : swatches) {
        swatch->resize(PanelWidth, PanelHeight);
        swatch->Init(host.get(), MakeColor(10, 20, 30, 4), PanelStyle::Plain, false);
    }
    // Space: every swatch takes a new colour with the same texture.
    for (ColorPanel* swatch : swatches) swatch->SetColor(MakeColor(200, 40, 40, 4));

    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_TRUE(boxes.Requests()[0].prompt.startsWith(QStringLiteral("Failed to load texture '")));
    for (ColorPanel* swatch : swatches)
        EXPECT_TRUE(allPixels(QImage(swatch->PanelColor()->TemporaryImagePath()), QColor(200, 40, 40)));
    for (size_t i = 1; i < swatches.size(); ++i) swatches[i]->Dispose();
}

// A temporary folder removed while the program runs: the first failed write is told once, and the
// swatches still render and report their changes.
TEST_F(SwatchFiles, ATemporaryFolderThatVanishedIsReportedOnceAndSwatchesKeepWorking) {
    ScriptedMessageBox boxes;
    std::vector<ColorPanel*> swatches{panel, new ColorPanel(host.get()), new ColorPanel(host.get())};
    int changed = 0;
    for (ColorPanel* swatch : swatches) {
        swatch->resize(PanelWidth, PanelHeight);
        auto color = MakeColor(10, 20, 30, 2);
        color->SetTemporaryImagePath(TestEnvironment::Home() + "/vanished/TIN" +
                                     QString::number(reinterpret_cast<quintptr>(swatch), 16) + ".tmp");
        swatch->Init(host.get(), color, PanelStyle::Plain, false);
        QObject::connect(swatch, &ColorPanel::Changed, [&] { ++changed; });
    }
    for (ColorPanel* swatch : swatches) {
        auto color = MakeColor(0, 0, 255);
        color->SetTemporaryImagePath(swatch->PanelColor()->TemporaryImagePath());
        swatch->SetColor(color);
    }
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_TRUE(boxes.Requests()[0].prompt.contains(TestEnvironment::Home() + "/vanished/"));
    EXPECT_GE(changed, 3);
    EXPECT_TRUE(allPixels(Surface()->Image(), QColor(0, 0, 255)));
    for (size_t i = 1; i < swatches.size(); ++i) swatches[i]->Dispose();
}

// Neither a FIFO nor a folder is opened: the drop is refused as a file that is no picture.
TEST_F(SwatchFiles, ADroppedFifoOrFolderIsNoPictureAndNeverBlocks) {
    const QString fifo = QDir(App::Path()).filePath(QStringLiteral("pipe.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = QDir(App::Path()).filePath(QStringLiteral("folder.png"));
    ASSERT_TRUE(QDir().mkpath(folder));
    auto color = MakeColor(0, 0, 200, 2);
    panel->Init(host.get(), color, PanelStyle::Plain, false);
    const QImage before = Surface()->Image();
    for (const QString& file : {fifo, folder}) {
        DropFiles({file});
        EXPECT_EQ(color->ColorTexture()->TextureType(), TextureKind::Pattern) << file.toStdString();
        EXPECT_EQ(Surface()->Image(), before) << file.toStdString();
    }
}

}  // namespace
