// Opening, saving and the popup of the stage.
#include "StageFixture.h"

#include "platform/App.h"
#include "platform/CommandBar.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBars.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/ParallelPng.h"
#include "platform/PngFile.h"
#include "services/CommandIds.h"
#include "support/FaultInjection.h"
#include "support/PrivateMounts.h"
#include "support/ScriptedFileDialog.h"
#include "support/ScriptedPopup.h"

#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMenu>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <ostream>
#include <string>

using namespace StageTesting;

namespace {

const QString kNotSupported = QStringLiteral("This file type is not supported.");
const QString kCannotOpen = QStringLiteral("This image cannot be opened.");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

uint32_t Crc32(const QByteArray& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<uint8_t>(c);
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

QByteArray BigEndian(uint32_t v) { return QByteArray(1, char(v >> 24)) + char(v >> 16) + char(v >> 8) + char(v); }

// A PNG whose header declares a picture of the given size, with almost no data behind it.
QByteArray PngDeclaring(uint32_t width, uint32_t height) {
    const QByteArray ihdr =
        QByteArray("IHDR") + BigEndian(width) + BigEndian(height) + QByteArray("\x08\x02\x00\x00\x00", 5);
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += BigEndian(13) + ihdr + BigEndian(Crc32(ihdr));
    const QByteArray idat = QByteArray("IDAT") + QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8);
    png += BigEndian(8) + idat + BigEndian(Crc32(idat));
    const QByteArray iend("IEND");
    png += BigEndian(0) + iend + BigEndian(Crc32(iend));
    return png;
}

struct StageState {
    QImage picture;
    QString current;
    bool dirty;
    bool internal;
    QByteArray undo;
};

StageState StateOf(const Stage& stage) {
    return {stage.ImageControl()->Picture(), stage.CurrentPicture(), stage.PictureIsDirty(), stage.InternalPicture(),
            ReadAll(stage.UndoPath())};
}

void ExpectSameState(const StageState& a, const StageState& b) {
    EXPECT_EQ(a.picture, b.picture);
    EXPECT_EQ(a.current, b.current);
    EXPECT_EQ(a.dirty, b.dirty);
    EXPECT_EQ(a.internal, b.internal);
    EXPECT_EQ(a.undo, b.undo) << "the undo copy";
}

class StageFiles : public StageFixture {
protected:
    // Answers the save dialog with a name and a filter index; an empty name cancels.
    void AnswerSave(std::deque<std::pair<QString, int>> answers) {
        m_saveAnswers = std::move(answers);
        FileDialog::SetHandler([this](const FileDialog::Request& request) {
            requests.push_back(request);
            FileDialog::Result result;
            if (!m_saveAnswers.empty()) {
                result.fileName = m_saveAnswers.front().first;
                result.filterIndex = m_saveAnswers.front().second;
                result.accepted = !result.fileName.isEmpty();
                m_saveAnswers.pop_front();
            }
            return result;
        });
    }
    // A stage with something changed since the open: dirty, and the undo copy taken before the change.
    void MakeDirty() {
        stage->Invert();
        ASSERT_TRUE(stage->PictureIsDirty());
    }

    std::vector<FileDialog::Request> requests;

private:
    std::deque<std::pair<QString, int>> m_saveAnswers;
};

struct BadPicture {
    const char* name;
    std::function<QString(StageFiles&, const QString& path)> make;
    const char* message;
};
std::ostream& operator<<(std::ostream& os, const BadPicture& c) { return os << c.name; }

class StageBadPictures : public StageFiles, public ::testing::WithParamInterface<BadPicture> {
public:
    static QString WriteBytes(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
};

TEST_P(StageBadPictures, ShowOneMessageAndChangeNothing) {
    MakeDirty();
    stage->SetInternalPicture(true);
    const StageState before = StateOf(*stage);
    const QString path = GetParam().make(*this, Path(QStringLiteral("bad.png")));
    ScriptedMessageBox boxes;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(stage->OpenPicture(path));
    EXPECT_LT(timer.elapsed(), 2000) << "refused without decoding";
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].prompt, QString::fromLatin1(GetParam().message));
    EXPECT_EQ(boxes.Requests()[0].buttons, MessageBox::Information);
    EXPECT_EQ(boxes.Requests()[0].title, App::Title());
    ExpectSameState(StateOf(*stage), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, StageBadPictures,
    ::testing::Values(
        BadPicture{"NotAPicture",
                   [](StageFiles&, const QString& path) {
                       return StageBadPictures::WriteBytes(path, "just some text, no picture");
                   },
                   "This file type is not supported."},
        BadPicture{"Empty", [](StageFiles&, const QString& path) { return StageBadPictures::WriteBytes(path, {}); },
                   "This file type is not supported."},
        BadPicture{"Truncated",
                   [](StageFiles&, const QString& path) {
                       QImage noise(64, 64, QImage::Format_RGB32);
                       for (int i = 0; i < 64 * 64; ++i) {
                           reinterpret_cast<uint32_t*>(noise.bits())[i] = 0xFF000000u | (i * 2654435761u >> 8);
                       }
                       const QByteArray png = Encoded(noise, "png");
                       return StageBadPictures::WriteBytes(path, png.left(png.size() / 2));
                   },
                   "This image cannot be opened."},
        BadPicture{"Fifo",
                   [](StageFiles&, const QString& path) {
                       EXPECT_EQ(mkfifo(path.toLocal8Bit().constData(), 0600), 0);
                       return path;
                   },
                   "This file type is not supported."},
        BadPicture{"Device", [](StageFiles&, const QString&) { return QStringLiteral("/dev/zero"); },
                   "This file type is not supported."},
        BadPicture{"Directory",
                   [](StageFiles&, const QString& path) {
                       QDir().mkpath(path);
                       return path;
                   },
                   "This image cannot be opened."},
        BadPicture{"Missing", [](StageFiles&, const QString& path) { return path + QStringLiteral(".gone"); },
                   "This image cannot be opened."},
        BadPicture{"Declares60000x60000",
                   [](StageFiles&, const QString& path) {
                       return StageBadPictures::WriteBytes(path, PngDeclaring(60000, 60000));
                   },
                   "This image cannot be opened."}),
    [](const auto& info) { return std::string(info.param.name); });

struct GoodPicture {
    const char* name;
    QImage::Format format;
    QColor color;
    const char* fileFormat;
    QRgb expected;  // the colour shown
};
std::ostream& operator<<(std::ostream& os, const GoodPicture& c) { return os << c.name; }

class StageGoodPictures : public StageFiles, public ::testing::WithParamInterface<GoodPicture> {};

TEST_P(StageGoodPictures, OpenCleanWithAnUndoCopy) {
    const GoodPicture& c = GetParam();
    const int side = QByteArray(c.name) == "OnePixel" ? 1 : 7;
    const QString path = Write(QStringLiteral("good.") + QString::fromLatin1(c.fileFormat),
                               Filled(side, side + 2, c.color, c.format), c.fileFormat);
    MakeDirty();
    ScriptedMessageBox boxes;
    ASSERT_TRUE(stage->OpenPicture(path));
    EXPECT_TRUE(boxes.Requests().empty());
    EXPECT_EQ(Picture().size(), QSize(side, side + 2));
    EXPECT_EQ(Image().DisplayWidth(), side);
    EXPECT_EQ(At(0, 0), c.expected & 0xFFFFFF);
    EXPECT_EQ(stage->CurrentPicture(), path);
    EXPECT_FALSE(stage->PictureIsDirty());
    const QImage opened = Picture();
    stage->Invert();
    stage->Undo();
    EXPECT_EQ(Picture(), opened) << "undo after a change goes back to the picture as opened";
    ASSERT_TRUE(stage->OpenPicture(path));
    stage->Undo();
    EXPECT_EQ(Picture(), opened) << "the undo copy taken at the open";
}

INSTANTIATE_TEST_SUITE_P(
    Formats, StageGoodPictures,
    ::testing::Values(GoodPicture{"OnePixel", QImage::Format_RGB32, QColor(10, 20, 30), "png", qRgb(10, 20, 30)},
                      GoodPicture{"SixteenBit", QImage::Format_RGBA64, QColor(200, 100, 50), "png", qRgb(200, 100, 50)},
                      GoodPicture{"Grey", QImage::Format_Grayscale8, QColor(90, 90, 90), "png", qRgb(90, 90, 90)},
                      GoodPicture{"TransparentOnWhite", QImage::Format_ARGB32, QColor(0, 0, 0, 0), "png",
                                  qRgb(255, 255, 255)},
                      GoodPicture{"Bitmap", QImage::Format_RGB32, QColor(0, 0, 255), "bmp", qRgb(0, 0, 255)},
                      GoodPicture{"Tiff", QImage::Format_RGB32, QColor(0, 255, 0), "tif", qRgb(0, 255, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

// TGA has no signature: the type comes from the name alone, which the undo copy does not share.
TEST_F(StageFiles, UndoWorksForAPictureKnownOnlyByItsName) {
    QByteArray tga(18, '\0');
    tga[2] = 2;  // uncompressed true colour
    tga[12] = 4;
    tga[14] = 3;
    tga[16] = 24;
    tga[17] = 0x20;  // top-down
    for (int i = 0; i < 4 * 3; ++i) {
        tga += QByteArray("\x10\x80\xF0", 3);  // blue, green, red
    }
    tga += QByteArray(8, '\0') + QByteArray("TRUEVISION-XFILE.", 18);
    const QString path = StageBadPictures::WriteBytes(Path(QStringLiteral("plain.tga")), tga);
    ScriptedMessageBox boxes;
    ASSERT_TRUE(stage->OpenPicture(path));
    const QImage opened = Picture();
    EXPECT_EQ(At(1, 1), qRgb(0xF0, 0x80, 0x10) & 0xFFFFFF);
    stage->Invert();
    stage->Undo();
    EXPECT_EQ(Picture(), opened);
}

TEST_F(StageFiles, ACameraPictureOfFortyEightMegapixelsOpens) {
    const QString path = Write(QStringLiteral("camera.jpg"), Filled(8000, 6000, QColor(30, 60, 90)), "jpeg");
    ScriptedMessageBox boxes;
    ASSERT_TRUE(stage->OpenPicture(path));
    EXPECT_TRUE(boxes.Requests().empty());
    EXPECT_EQ(Picture().size(), QSize(8000, 6000));
}

TEST_F(StageFiles, TheOpenDialog) {
    MakeDirty();
    stage->SetInternalPicture(true);
    const StageState before = StateOf(*stage);
    {
        ScriptedFileDialog dialog;  // cancels
        EXPECT_FALSE(stage->OpenPicture());
        ASSERT_EQ(dialog.Requests().size(), 1u);
        const FileDialog::Request& request = dialog.Requests()[0];
        EXPECT_EQ(request.mode, FileDialog::Mode::Open);
        EXPECT_EQ(request.flags, 4100);
        EXPECT_EQ(request.title, QStringLiteral("Open image"));
        EXPECT_EQ(request.filter,
                  QStringLiteral("Pictures (*.bmp;*.png;*.jpg;*.gif;*.tif;*.tga)|*.bmp;*.png;*.jpg;*.gif;*.tif;*.tga"));
        ExpectSameState(StateOf(*stage), before);
    }
    {
        ScriptedFileDialog dialog({Path(QStringLiteral("nothing-here.png"))});
        ScriptedMessageBox boxes;
        EXPECT_FALSE(stage->OpenPicture());
        EXPECT_EQ(boxes.Requests().size(), 1u);
        ExpectSameState(StateOf(*stage), before);
    }
    const QString blue = Write(QStringLiteral("blue.png"), Filled(30, 20, Qt::blue));
    ScriptedFileDialog dialog({blue});
    EXPECT_TRUE(stage->OpenPicture());
    EXPECT_EQ(stage->CurrentPicture(), blue);
    EXPECT_FALSE(stage->InternalPicture());
    EXPECT_FALSE(stage->PictureIsDirty());

    // A picture opened by path keeps the document's flag.
    stage->SetInternalPicture(true);
    EXPECT_TRUE(stage->OpenPicture(white));
    EXPECT_TRUE(stage->InternalPicture());
}

TEST_F(StageFiles, SaveStageWritesPngWhateverTheNameAndReplacesTheFile) {
    MakeDirty();
    const QString path = Write(QStringLiteral("stage.bmp"), Filled(3, 3, Qt::red), "bmp");
    ScriptedMessageBox boxes;
    ASSERT_TRUE(stage->SaveStage(path));
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), QByteArray("png"));
    EXPECT_EQ(reader.read().convertToFormat(QImage::Format_RGB32), Picture());
    EXPECT_FALSE(stage->PictureIsDirty());

    stage->Invert();
    EXPECT_FALSE(stage->SaveStage(Path(QStringLiteral("no/such/folder/stage.png"))));
    EXPECT_TRUE(boxes.Requests().empty()) << "the document writer reports it";
    EXPECT_TRUE(stage->PictureIsDirty());
}

// "stage.png" carries its band table, and the stage's open takes it back through the parallel reader.
TEST_F(StageFiles, AChangedPictureIsSavedInBandsAndOpensAgainPixelForPixel) {
    QImage noise(301, 203, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, qRgb(x * 37 % 256, y * 11 % 256, (x ^ y) & 255));
    ASSERT_TRUE(stage->OpenPicture(Write(QStringLiteral("noise.bmp"), noise, "bmp")));
    MakeDirty();
    const QImage saved = Picture();
    const QString path = Path(QStringLiteral("stage.png"));
    ASSERT_TRUE(stage->SaveStage(path));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.mid(37, 4), QByteArray(ParallelPng::BandChunk));
    EXPECT_FALSE(
        PngFile::DecodeBanded(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()))
            .isNull());
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), saved);

    stage->Invert();
    ASSERT_TRUE(stage->OpenPicture(path));
    EXPECT_EQ(Picture(), saved);
}

struct SaveCase {
    const char* name;
    int filterIndex;
    const char* typed;
    const char* saved;
    const char* format;
};
std::ostream& operator<<(std::ostream& os, const SaveCase& c) { return os << c.name; }

class StageSaveAs : public StageFiles, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(StageSaveAs, TheFilterDecidesTheExtension) {
    const SaveCase& c = GetParam();
    const QString current = stage->CurrentPicture();
    AnswerSave({{Path(QString::fromLatin1(c.typed)), c.filterIndex}});
    ScriptedMessageBox boxes;
    EXPECT_TRUE(stage->SaveImageAs());
    EXPECT_TRUE(boxes.Requests().empty());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].mode, FileDialog::Mode::Save);
    EXPECT_EQ(requests[0].flags, 2);
    EXPECT_EQ(requests[0].title, QStringLiteral("Save image"));
    EXPECT_EQ(requests[0].filter,
              QStringLiteral("PNG (*.png)|*.png|JPEG (*.jpg)|*.jpg|TIFF (*.tif)|*.tif|24-bit Bitmap (*.bmp)|*.bmp"));
    const QString saved = Path(QString::fromLatin1(c.saved));
    ASSERT_TRUE(QFileInfo(saved).isFile()) << c.saved;
    QImageReader reader(saved);
    EXPECT_EQ(reader.format(), QByteArray(c.format));
    EXPECT_EQ(reader.size(), Picture().size());
    EXPECT_TRUE(stage->PictureIsDirty()) << "the document counts as modified";
    EXPECT_EQ(stage->CurrentPicture(), current);
}

INSTANTIATE_TEST_SUITE_P(Names, StageSaveAs,
                         ::testing::Values(SaveCase{"PngAppended", 1, "a", "a.png", "png"},
                                           SaveCase{"PngUpperCaseKept", 1, "b.PNG", "b.PNG", "png"},
                                           SaveCase{"JpgAppended", 2, "c", "c.jpg", "jpeg"},
                                           SaveCase{"JpgUpperCaseKept", 2, "d.JPG", "d.JPG", "jpeg"},
                                           SaveCase{"JpgKept", 2, "e.jpg", "e.jpg", "jpeg"},
                                           SaveCase{"JpegGetsJpgAfterIt", 2, "f.jpeg", "f.jpeg.jpg", "jpeg"},
                                           SaveCase{"TiffAppended", 3, "g", "g.tif", "tiff"},
                                           SaveCase{"BitmapKept", 4, "h.bmp", "h.bmp", "bmp"},
                                           SaveCase{"WrongExtensionGetsTheFilters", 4, "i.png", "i.png.bmp", "bmp"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StageFiles, CancellingSaveAsChangesNothing) {
    AnswerSave({});
    EXPECT_FALSE(stage->SaveImageAs());
    EXPECT_FALSE(stage->PictureIsDirty());
}

TEST_F(StageFiles, TheStandardPictureIsNeverOverwritten) {
    const QString standard = App::Path() + QStringLiteral("/stdimg.png");
    const QByteArray before = ReadAll(standard);
    ASSERT_FALSE(before.isEmpty());
    stage->Invert();
    AnswerSave({{standard, 1}, {QString(), 1}});
    EXPECT_FALSE(stage->SaveImageAs()) << "asked again, then cancelled";
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_EQ(ReadAll(standard), before);
}

TEST_F(StageFiles, AFailedSaveSaysSoAndLeavesWhatStoodThere) {
    // A folder in the way of the name cannot be replaced by a file.
    const QString blocked = Path(QStringLiteral("blocked.png"));
    QDir().mkpath(blocked + QStringLiteral("/inside"));
    AnswerSave({{blocked, 1}});
    {
        ScriptedMessageBox boxes;
        EXPECT_FALSE(stage->SaveImageAs());
        ASSERT_EQ(boxes.Requests().size(), 1u);
        EXPECT_EQ(boxes.Requests()[0].prompt, QStringLiteral("Error saving picture."));
        EXPECT_EQ(boxes.Requests()[0].buttons, MessageBox::Information);
        EXPECT_TRUE(QFileInfo(blocked + QStringLiteral("/inside")).isDir());
    }

    // A read-only folder keeps its file exactly as it was.
    const QString folder = Path(QStringLiteral("readonly"));
    QDir().mkpath(folder);
    const QString kept = folder + QStringLiteral("/kept.png");
    Write(QStringLiteral("readonly/kept.png"), Filled(5, 5, Qt::green));
    const QByteArray bytes = ReadAll(kept);
    chmod(folder.toLocal8Bit().constData(), 0500);
    const bool enforced = access(folder.toLocal8Bit().constData(), W_OK) != 0;
    AnswerSave({{kept, 1}});
    ScriptedMessageBox boxes;
    const bool saved = stage->SaveImageAs();
    chmod(folder.toLocal8Bit().constData(), 0700);
    if (!enforced) {
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    EXPECT_FALSE(saved);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(ReadAll(kept), bytes);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1) << "no leftovers";
}

// A full disk (a file-size limit) meets each format's writer: Qt's save file would commit what it could write.
TEST_F(StageFiles, SaveImageAsOnAFullDiskKeepsTheOldPictureInEveryFormat) {
    // Noise does not compress: every format's file is far larger than the limit.
    const QImage noise = FaultInjection::Noise(250, 250);
    for (const char* format : {"png", "jpg", "tif", "bmp"}) {
        ASSERT_GT(Encoded(noise, format).size(), 32 * 1024) << format;
    }
    ASSERT_TRUE(stage->OpenPicture(Write(QStringLiteral("noise.png"), noise)));
    const QString folder = Path(QStringLiteral("pictures"));
    QDir().mkpath(folder);
    for (const auto& [filterIndex, name] :
         {std::pair{1, "kept.png"}, std::pair{2, "kept.jpg"}, std::pair{3, "kept.tif"}, std::pair{4, "kept.bmp"}}) {
        SCOPED_TRACE(name);
        const QString kept = folder + QStringLiteral("/") + QString::fromLatin1(name);
        Write(QStringLiteral("pictures/") + QString::fromLatin1(name), Filled(5, 5, Qt::green));
        const QByteArray before = ReadAll(kept);
        const QStringList entries = FaultInjection::EntriesOf(folder);
        AnswerSave({{kept, filterIndex}});
        const auto child = FaultInjection::RunWithFileSizeLimit(16 * 1024, [&] {
            ScriptedMessageBox boxes;
            EXPECT_FALSE(stage->SaveImageAs());
            ASSERT_EQ(boxes.Requests().size(), 1u);
            EXPECT_EQ(boxes.Requests()[0].prompt, QStringLiteral("Error saving picture."));
            EXPECT_EQ(boxes.Requests()[0].buttons, MessageBox::Information);
        });
        EXPECT_TRUE(child);
        EXPECT_EQ(ReadAll(kept), before);
        EXPECT_EQ(FaultInjection::EntriesOf(folder), entries) << "no leftovers";
    }
}

// What a read-only folder does to other users, a read-only file system does to root as well.
TEST_F(StageFiles, SaveImageAsIntoAReadOnlyFileSystemKeepsTheOldPicture) {
    PrivateMounts mounts;
    if (!mounts.Available()) {
        GTEST_SKIP() << mounts.Reason().toStdString();
    }
    const QString folder = Path(QStringLiteral("mounted"));
    ASSERT_TRUE(mounts.MountTmpfs(folder, 1 << 20));
    const QString kept = Write(QStringLiteral("mounted/kept.png"), Filled(5, 5, Qt::green));
    const QByteArray before = ReadAll(kept);
    ASSERT_TRUE(mounts.MakeReadOnly(folder));
    MakeDirty();
    AnswerSave({{kept, 1}});
    ScriptedMessageBox boxes;
    EXPECT_FALSE(stage->SaveImageAs());
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].prompt, QStringLiteral("Error saving picture."));
    EXPECT_EQ(ReadAll(kept), before);
    EXPECT_EQ(FaultInjection::EntriesOf(folder), QStringList{QStringLiteral("kept.png")});
}

TEST_F(StageFiles, ThePopupListsItsCommandsInGroups) {
    ScriptedPopup popup({0});
    Mouse(Image(), QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, QPoint(10, 10));
    ASSERT_EQ(popup.Shown().size(), 1u);
    std::vector<std::pair<int, QString>> lines;
    for (const PopupLine& line : popup.Shown()[0]) {
        lines.emplace_back(line.id, line.separator ? QStringLiteral("-") : line.text);
    }
    using namespace CommandIds;
    const std::vector<std::pair<int, QString>> expected = {{StageUndo, "&Undo"},
                                                           {0, "-"},
                                                           {CopyImage, "&Copy Image"},
                                                           {Paste, "&Paste"},
                                                           {0, "-"},
                                                           {Rotate90, QString::fromUtf8("&Rotate 90\u00B0")},
                                                           {FlipHorizontal, "Flip &Horizontal"},
                                                           {FlipVertical, "Flip &Vertical"},
                                                           {0, "-"},
                                                           {InvertColors, "&Invert Colors"},
                                                           {0, "-"},
                                                           {StageRestorePicture, "Cl&ear"}};
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(stage->PictureIsDirty()) << "a right click draws nothing";
}

TEST_F(StageFiles, PopupCommands) {
    using namespace CommandIds;
    CommandBar* popup = stage->PopupBar();
    ASSERT_NE(popup, nullptr);
    const auto run = [&](int id) { popup->Owner()->ExecuteControl(popup->FindControl(id)); };

    QGuiApplication::clipboard()->clear();
    run(CopyImage);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), Picture().size());

    QGuiApplication::clipboard()->setImage(Filled(33, 22, Qt::red));
    ASSERT_EQ(QGuiApplication::clipboard()->image().size(), QSize(33, 22));
    run(Paste);
    EXPECT_EQ(Picture().size(), QSize(33, 22));
    EXPECT_EQ(At(5, 5), qRgb(255, 0, 0) & 0xFFFFFF);
    EXPECT_FALSE(stage->PictureIsDirty()) << "a pasted picture counts as freshly opened";

    run(Rotate90);
    EXPECT_EQ(Picture().size(), QSize(22, 33));
    EXPECT_TRUE(stage->PictureIsDirty());
    run(StageUndo);
    EXPECT_EQ(Picture().size(), QSize(33, 22));

    // The popup's clear leaves an undo copy (of the opened standard picture); the ribbon's clear does not.
    run(StageRestorePicture);
    EXPECT_EQ(stage->CurrentPicture(), App::Path() + QStringLiteral("/stdimg.png"));
    EXPECT_TRUE(QFileInfo(stage->UndoPath()).isFile());
    stage->Clear();
    EXPECT_FALSE(QFileInfo::exists(stage->UndoPath()));
    const QImage standard = Picture();
    stage->Undo();
    EXPECT_EQ(Picture(), standard) << "undo right after Clear does nothing";
}

TEST_F(StageFiles, DisposeDeletesTheUndoCopy) {
    const QString undo = stage->UndoPath();
    ASSERT_TRUE(QFileInfo(undo).isFile());
    stage->Dispose();
    EXPECT_FALSE(QFileInfo::exists(undo));
}

}  // namespace
