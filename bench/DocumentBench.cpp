// Packing and unpacking document folders, beside baselines from the same run: a copy of the same files,
// a memcpy of the same bytes, Qt's PNG save of the stage picture at its default settings, and a plain
// decode of "stage.png". Pictures are stored in the archive as they are, so packing should cost about a
// file copy plus a CRC and the flush to disk, far below encoding the picture again.
// Also the start of the recent-files list from an empty setting and from one of 100,000 entries, and the
// main window saving and opening whole documents: the standard one, and one whose stage is a 4000 x 3000
// photo, changed or unchanged since it was read from a PNG, and opening one whose stage is Qt's PNG or
// the stage's own banded one.
#include "app/MRUManager.h"
#include "app/MainModule.h"
#include "app/frmMain.h"
#include "model/Color.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/ImagingControl.h"
#include "platform/PngFile.h"
#include "platform/Settings.h"
#include "services/CommandIds.h"
#include "services/DocumentArchive.h"
#include "stage/Stage.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

#include "support/BenchSupport.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

QByteArray defXml(qsizetype bytes) {
    QByteArray xml =
        "<Root Proofers='8' Holders='6' CurrentTexture='  No Texture'><Main rangetype='15410' "
        "isudc='0' topred='255' topgreen='255' topblue='255'/><Holders>";
    for (int i = 0; xml.size() < bytes; ++i)
        xml += "<Panel style='1' candel='0' fixed='0'><Color rt='15410' r='" + QByteArray::number(i % 256) + "' g='" +
               QByteArray::number(i * 7 % 256) + "' b='" + QByteArray::number(i * 13 % 256) + "'><Texture id='" +
               QByteArray::number(i % 40) + "' type='1' name='Brick' path='brick.bmp' internal='1'/></Color></Panel>";
    return xml + "</Holders><History/><Match/></Root>";
}

struct Folders {
    QTemporaryDir root;
    QString standard;  // def.xml of 100 KB, a 1-megapixel texture, an 800 x 600 stage
    QString large;     // the same with a 4000 x 3000 stage
    QImage largeStage;

    Folders() {
        standard = root.filePath("standard");
        large = root.filePath("large");
        QDir().mkpath(standard);
        QDir().mkpath(large);
        largeStage = BenchSupport::Photo(4000, 3000);
        for (const QString& folder : {standard, large}) {
            QFile xml(folder + "/def.xml");
            xml.open(QIODevice::WriteOnly);
            xml.write(defXml(100 * 1024));
            BenchSupport::Photo(1000, 1000).save(folder + "/DPicsTexture.png");
        }
        BenchSupport::Photo(800, 600).save(standard + "/stage.png");
        largeStage.save(large + "/stage.png");
    }
};

Folders& folders() {
    static Folders f;
    return f;
}

qint64 folderBytes(const QString& folder) {
    qint64 total = 0;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) total += info.size();
    return total;
}

void Pack(benchmark::State& state, const QString& folder) {
    const QString target = folders().root.filePath("packed.tnd");
    for (auto _ : state) DocumentArchive::Pack(folder, target);
    state.SetBytesProcessed(state.iterations() * folderBytes(folder));
    state.counters["archive_bytes"] = static_cast<double>(QFileInfo(target).size());
}

void Unpack(benchmark::State& state, const QString& folder) {
    const QString archive = folders().root.filePath("unpack-source.tnd");
    DocumentArchive::Pack(folder, archive);
    const QString out = folders().root.filePath("unpacked");
    for (auto _ : state) {
        state.PauseTiming();
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        state.ResumeTiming();
        DocumentArchive::Unpack(archive, out);
    }
    state.SetBytesProcessed(state.iterations() * folderBytes(folder));
}

void CopyFiles(benchmark::State& state, const QString& folder) {
    const QString out = folders().root.filePath("copied");
    for (auto _ : state) {
        state.PauseTiming();
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        state.ResumeTiming();
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            QFile::copy(folder + "/" + name, out + "/" + name);
    }
    state.SetBytesProcessed(state.iterations() * folderBytes(folder));
}

void BM_PackStandard(benchmark::State& state) { Pack(state, folders().standard); }
void BM_UnpackStandard(benchmark::State& state) { Unpack(state, folders().standard); }
void BM_CopyFilesStandard(benchmark::State& state) { CopyFiles(state, folders().standard); }
void BM_PackLargeStage(benchmark::State& state) { Pack(state, folders().large); }
void BM_UnpackLargeStage(benchmark::State& state) { Unpack(state, folders().large); }
void BM_CopyFilesLargeStage(benchmark::State& state) { CopyFiles(state, folders().large); }

void BM_MemcpyLargeStage(benchmark::State& state) {
    const qint64 bytes = folderBytes(folders().large);
    std::vector<char> from(static_cast<size_t>(bytes), 1), to(static_cast<size_t>(bytes));
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

// Baseline: Qt's own PNG save of the 4000 x 3000 stage picture at its default settings.
void BM_QtPngSaveLargeStage(benchmark::State& state) {
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        folders().largeStage.save(&buffer, "PNG");
        benchmark::DoNotOptimize(bytes.data());
    }
}

// Baseline: decoding the stage picture alone, as opening the document must at least do.
void BM_PngDecodeLargeStage(benchmark::State& state) {
    const QString path = folders().large + "/stage.png";
    for (auto _ : state) {
        QImage image(path);
        benchmark::DoNotOptimize(image.bits());
    }
}

void MRUInit(benchmark::State& state, int items) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());
    QString text = "<mru>";
    for (int i = 0; i < items; ++i)
        text +=
            QString("<item name=\"%1.tnd\" pos=\"%2\">/home/user/Documents/%1.tnd</item>").arg(i).arg(items - 1 - i);
    text += "</mru>";
    Settings::SaveSetting(App::Title(), "MRU", "mru", text);
    for (auto _ : state) {
        MRUManager mru;
        mru.Init(6);
        benchmark::DoNotOptimize(mru.Slots());
    }
}

void BM_MRUInitEmpty(benchmark::State& state) { MRUInit(state, 0); }
void BM_MRUInitHundredThousand(benchmark::State& state) { MRUInit(state, 100000); }

// The main window with the standard composition: eight proofers with a pattern texture, two of them with a
// 1-megapixel picture instead, six strips of ten colours, ten pie colours, the standard stage picture.
frmMain* standardWindow() {
    static frmMain* window = [] {
        QTemporaryDir* home = new QTemporaryDir;  // lives as long as the program
        qputenv("XDG_CONFIG_HOME", home->path().toUtf8());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home->path());
        MainModule::Main(QString());
        frmMain* found = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* w = qobject_cast<frmMain*>(widget))
                found = w;
        if (!found || Globals::Textures.size() < 2)
            return static_cast<frmMain*>(nullptr);
        found->SetProoferCount(8, false);
        found->SelectedTexture = Globals::TextureItem(2);
        found->CreateNewColors();
        const QString picture = folders().root.filePath("texture picture.png");
        BenchSupport::Photo(1000, 1000).save(picture);
        for (int i = 0; i < 2; ++i) {
            auto color = Factory::NewColor(
                Factory::NewTexture(90 + i, QStringLiteral("Photo"), picture, TextureKind::Image, false, false),
                CommandIds::RangeAllRGB, false);
            color->SetColor(40 * i, 100, 200);
            found->cpList[static_cast<size_t>(i)]->SetColor(color);
        }
        for (size_t s = 0; s < found->history.size(); ++s) {
            std::vector<std::shared_ptr<Color>> colors;
            for (int c = 0; c < 10; ++c) {
                auto color = Factory::NewColor(Globals::TextureItem(1)->Clone(), CommandIds::RangeAllRGB, false);
                color->SetColor(static_cast<int>(s) * 40, c * 25, 90);
                colors.push_back(color);
            }
            found->history[s]->AddColorPanels(colors);
        }
        for (int c = 0; c < 10; ++c) {
            auto color = Factory::NewColor(Globals::TextureItem(1)->Clone(), CommandIds::RangeAllRGB, false);
            color->SetColor(c * 25, 200, 30);
            found->ctlMatch->AddColor(color);
        }
        found->ctlStage->Clear();
        return found;
    }();
    return window;
}

const QString& largePhotoPng() {
    static const QString path = [] {
        const QString file = folders().root.filePath("large photo.png");
        folders().largeStage.save(file);
        return file;
    }();
    return path;
}

void BM_WindowSaveStandard(benchmark::State& state) {
    frmMain* window = standardWindow();
    if (!window)
        return state.SkipWithError("no main window, or no texture file in the program folder");
    window->ctlStage->Clear();
    const QString target = folders().root.filePath("standard.tnd");
    for (auto _ : state) window->WriteDocument(target);
    state.counters["archive_bytes"] = static_cast<double>(QFileInfo(target).size());
}

void BM_WindowOpenStandard(benchmark::State& state) {
    frmMain* window = standardWindow();
    if (!window)
        return state.SkipWithError("no main window, or no texture file in the program folder");
    window->ctlStage->Clear();
    const QString target = folders().root.filePath("standard-open.tnd");
    window->WriteDocument(target);
    for (auto _ : state) window->ReadDocument(target);
}

// A changed photo on the stage is encoded again; beside BM_QtPngSaveLargeStage.
void BM_WindowSaveChangedLargeStage(benchmark::State& state) {
    frmMain* window = standardWindow();
    if (!window)
        return state.SkipWithError("no main window, or no texture file in the program folder");
    window->ctlStage->OpenPicture(largePhotoPng());
    const QString target = folders().root.filePath("changed.tnd");
    for (auto _ : state) {
        state.PauseTiming();
        window->ctlStage->Invert();
        state.ResumeTiming();
        window->WriteDocument(target);
    }
    QByteArray qtBytes;
    QBuffer buffer(&qtBytes);
    buffer.open(QIODevice::WriteOnly);
    window->ctlStage->ImageControl()->Picture().save(&buffer, "PNG");
    state.counters["stage_png_bytes"] = static_cast<double>(QFileInfo(window->DocumentFolder + "stage.png").size());
    state.counters["qt_default_png_bytes"] = static_cast<double>(qtBytes.size());
}

// A photo unchanged since it was read from a PNG is copied; beside BM_QtPngSaveLargeStage.
void BM_WindowSaveUnchangedLargeStage(benchmark::State& state) {
    frmMain* window = standardWindow();
    if (!window)
        return state.SkipWithError("no main window, or no texture file in the program folder");
    window->ctlStage->OpenPicture(largePhotoPng());
    const QString target = folders().root.filePath("unchanged.tnd");
    for (auto _ : state) window->WriteDocument(target);
}

// The large stage picture as the stage now saves it: a PNG in bands.
const QString& bandedPhotoPng() {
    static const QString path = [] {
        const QString file = folders().root.filePath("banded photo.png");
        const ParallelPng::Bytes png = PngFile::Encode(folders().largeStage);
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(reinterpret_cast<const char*>(png.data()), static_cast<qint64>(png.size()));
        return file;
    }();
    return path;
}

// Baseline: Qt's single-core decode of the banded stage picture.
void BM_PngDecodeBandedLargeStage(benchmark::State& state) {
    const QString path = bandedPhotoPng();
    for (auto _ : state) {
        QImage image(path);
        benchmark::DoNotOptimize(image.bits());
    }
}

// Opens a document of three plain proofers on a 4000 x 3000 photo stage from the given PNG.
void OpenLargeStage(benchmark::State& state, const QString& stagePng, const QString& name) {
    frmMain* window = standardWindow();
    if (!window)
        return state.SkipWithError("no main window, or no texture file in the program folder");
    const QString folder = folders().root.filePath(name);
    QDir().mkpath(folder);
    QFile def(folder + "/def.xml");
    def.open(QIODevice::WriteOnly);
    def.write(
        "<Root Proofers='3' Holders='1' CurrentTexture='  No Texture'><Main rangetype='15410' isudc='0' "
        "topred='255' topgreen='255' topblue='255'/><Holders/><History/><Match><Colors "
        "backcolor='16777215'/></Match></Root>");
    def.close();
    QFile::remove(folder + "/stage.png");
    QFile::copy(stagePng, folder + "/stage.png");
    const QString target = folders().root.filePath(name + ".tnd");
    DocumentArchive::Pack(folder, target);
    for (auto _ : state) window->ReadDocument(target);
}

// A stage from elsewhere (Qt's PNG); beside BM_PngDecodeLargeStage, the decode of the same file.
void BM_WindowOpenLargeStage(benchmark::State& state) { OpenLargeStage(state, largePhotoPng(), "large-document"); }

// A stage saved by the stage (in bands); beside BM_PngDecodeBandedLargeStage, Qt's decode of the same file.
void BM_WindowOpenBandedLargeStage(benchmark::State& state) {
    OpenLargeStage(state, bandedPhotoPng(), "banded-document");
}

}  // namespace

BENCHMARK(BM_PackStandard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpackStandard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyFilesStandard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackLargeStage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpackLargeStage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyFilesLargeStage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyLargeStage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtPngSaveLargeStage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngDecodeLargeStage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngDecodeBandedLargeStage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MRUInitEmpty)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MRUInitHundredThousand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowSaveStandard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowOpenStandard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowSaveChangedLargeStage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowSaveUnchangedLargeStage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowOpenLargeStage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowOpenBandedLargeStage)->Unit(benchmark::kMillisecond);
