#include "platform/ImagingControl.h"

#include "platform/RasterDC.h"
#include "platform/RuntimeError.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kRed = RasterDC::Rgb(255, 0, 0);
constexpr uint32_t kWhite = RasterDC::Rgb(255, 255, 255);

// A 3 x 2 picture whose six pixels all differ: the first row red, green, blue; the second row
// grey 10, grey 128, grey 250.
QImage ThreeByTwo() {
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(2, 0, qRgb(0, 0, 255));
    image.setPixel(0, 1, qRgb(10, 10, 10));
    image.setPixel(1, 1, qRgb(128, 128, 128));
    image.setPixel(2, 1, qRgb(250, 250, 250));
    return image;
}

// The mouse events of a control, as (button, shift, x, y).
struct MouseRecord {
    int16_t button, shift;
    float x, y;
};

struct Recorder {
    explicit Recorder(ImagingControl& control) {
        auto into = [](std::vector<MouseRecord>& list) {
            return [&list](int16_t b, int16_t s, float x, float y) { list.push_back({b, s, x, y}); };
        };
        QObject::connect(&control, &ImagingControl::MouseDown, into(down));
        QObject::connect(&control, &ImagingControl::MouseMove, into(move));
        QObject::connect(&control, &ImagingControl::MouseUp, into(up));
        QObject::connect(&control, &ImagingControl::RectangleDone, [this](float l, float t, float r, float b) {
            rectangles.push_back({l, t, r, b});
        });
        QObject::connect(&control, &ImagingControl::KeyPress, [this](int16_t k) { keys.push_back(k); });
    }
    std::vector<MouseRecord> down, move, up;
    std::vector<std::vector<float>> rectangles;
    std::vector<int16_t> keys;
};

void Mouse(QWidget& widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at,
           Qt::KeyboardModifiers modifiers = {}) {
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held, modifiers);
    QCoreApplication::sendEvent(&widget, &event);
}

void Press(QWidget& w, Qt::MouseButton b, QPoint at, Qt::KeyboardModifiers m = {}) {
    Mouse(w, QEvent::MouseButtonPress, b, b, at, m);
}
void Release(QWidget& w, Qt::MouseButton b, QPoint at, Qt::KeyboardModifiers m = {}) {
    Mouse(w, QEvent::MouseButtonRelease, b, Qt::NoButton, at, m);
}
void Drag(QWidget& w, Qt::MouseButtons held, QPoint at) { Mouse(w, QEvent::MouseMove, Qt::NoButton, held, at); }

class ImagingControlTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString Write(const QString& name, const QImage& image, const char* format = nullptr) const {
        const QString path = Path(name);
        EXPECT_TRUE(QImageWriter(path, format).write(image)) << name.toStdString();
        return path;
    }
    QString WriteBytes(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    void Load(const QImage& image) { control.SetFileName(Write(QStringLiteral("fixture.png"), image)); }

    QTemporaryDir m_dir;
    ImagingControl control;
};

struct FormatCase {
    const char* name;
    QString file;
};
std::ostream& operator<<(std::ostream& os, const FormatCase& c) { return os << c.name; }

// A 3 x 2 GIF: red, white, red over white, red, white (Qt reads GIF but cannot write it).
QByteArray GifBytes() {
    static const unsigned char bytes[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x03, 0x00, 0x02, 0x00, 0x80, 0x00, 0x00,
                                          0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00,
                                          0x02, 0x00, 0x00, 0x02, 0x04, 0x0C, 0x18, 0x30, 0x28, 0x00, 0x3B};
    return QByteArray(reinterpret_cast<const char*>(bytes), sizeof(bytes));
}

// The same picture as an uncompressed 24-bit TGA, top row first (Qt reads TGA but cannot write it;
// its reader wants the version 2 footer).
QByteArray TgaBytes() {
    QByteArray bytes(18, '\0');
    bytes[2] = 2;  // true colour
    bytes[12] = 3;
    bytes[14] = 2;
    bytes[16] = 24;
    bytes[17] = 0x20;  // top-left origin
    for (int i = 0; i < 6; ++i) {
        const bool red = (i % 3 + i / 3) % 2 == 0;
        bytes.append(red ? QByteArray("\x00\x00\xFF", 3) : QByteArray("\xFF\xFF\xFF", 3));
    }
    bytes.append(QByteArray(8, '\0'));
    bytes.append(QByteArray("TRUEVISION-XFILE.", 18));
    return bytes;
}

class ImagingControlLoad : public ImagingControlTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(ImagingControlLoad, ReadsThePictureWithItsSizeAndPixels) {
    QImage picture(3, 2, QImage::Format_RGB32);
    for (int i = 0; i < 6; ++i) {
        picture.setPixel(i % 3, i / 3, (i % 3 + i / 3) % 2 == 0 ? qRgb(255, 0, 0) : qRgb(255, 255, 255));
    }
    const QString file = GetParam().file;
    const QString path = file.endsWith(QLatin1String(".gif"))   ? WriteBytes(file, GifBytes())
                         : file.endsWith(QLatin1String(".tga")) ? WriteBytes(file, TgaBytes())
                                                                : Write(file, picture);
    control.SetFileName(path);
    EXPECT_EQ(control.FileName(), path);
    EXPECT_EQ(control.PictureWidth(), 3);
    EXPECT_EQ(control.PictureHeight(), 2);
    EXPECT_EQ(control.DisplayWidth(), 3);
    EXPECT_EQ(control.DisplayHeight(), 2);
    EXPECT_EQ(control.LoadState(), 0);
    EXPECT_EQ(control.Picture().format(), QImage::Format_RGB32);
    if (!file.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive)) {  // lossy
        EXPECT_EQ(control.Picture().pixel(0, 0), qRgb(255, 0, 0));
        EXPECT_EQ(control.Picture().pixel(1, 0), qRgb(255, 255, 255));
        EXPECT_EQ(control.Picture().pixel(1, 1), qRgb(255, 0, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ImagingControlLoad,
    ::testing::Values(FormatCase{"Png", QStringLiteral("p.png")}, FormatCase{"Jpeg", QStringLiteral("p.jpg")},
                      FormatCase{"Bmp", QStringLiteral("p.bmp")}, FormatCase{"Gif", QStringLiteral("p.gif")},
                      FormatCase{"Tiff", QStringLiteral("p.tif")}, FormatCase{"Tga", QStringLiteral("p.tga")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImagingControlTest, FailedLoadsRaiseTheirNumberAndKeepThePreviousPicture) {
    Load(ThreeByTwo());
    const QString loaded = control.FileName();
    const QString text = WriteBytes(QStringLiteral("notes.png"), QByteArray("just some words\n"));
    QByteArray truncated;
    {
        QFile png(loaded);
        png.open(QIODevice::ReadOnly);
        truncated = png.readAll().left(40);
    }
    const QString damaged = WriteBytes(QStringLiteral("damaged.png"), truncated);
    QDir().mkdir(Path(QStringLiteral("folder.png")));

    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { control.SetFileName(Path(QStringLiteral("missing.png"))); }), 32504);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { control.SetFileName(Path(QStringLiteral("folder.png"))); }), 32504);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { control.SetFileName(text); }), 32500);
    const int damagedError = TestEnvironment::ErrorNumberOf([&] { control.SetFileName(damaged); });
    EXPECT_NE(damagedError, 0);
    EXPECT_NE(damagedError, 32500) << "a damaged picture is not an unsupported type";

    EXPECT_EQ(control.FileName(), loaded);
    EXPECT_EQ(control.Picture(), ThreeByTwo());
}

TEST_F(ImagingControlTest, TheTypeComesFromTheContentNotTheName) {
    control.SetFileName(Write(QStringLiteral("really-a-png.bmp"), ThreeByTwo(), "png"));
    EXPECT_EQ(control.Picture(), ThreeByTwo());
}

TEST_F(ImagingControlTest, TheEmptyNameUnloads) {
    Load(ThreeByTwo());
    control.SetFileName(QString());
    EXPECT_EQ(control.PictureWidth(), 0);
    EXPECT_EQ(control.PictureHeight(), 0);
    EXPECT_EQ(control.LoadState(), 1);
    EXPECT_TRUE(control.FileName().isEmpty());
}

TEST_F(ImagingControlTest, TransparentPicturesAreLaidOnWhite) {
    QImage clear(2, 1, QImage::Format_ARGB32);
    clear.setPixel(0, 0, qRgba(0, 0, 0, 0));
    clear.setPixel(1, 0, qRgba(0, 0, 255, 255));
    Load(clear);
    EXPECT_EQ(control.Picture().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(control.Picture().pixel(1, 0), qRgb(0, 0, 255));

    // A picture decoded elsewhere and handed over is taken as a load of its file would take it.
    control.SetFileName(QString());
    control.TakePicture(Path(QStringLiteral("decoded.png")), clear);
    EXPECT_EQ(control.Picture().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(control.Picture().pixel(1, 0), qRgb(0, 0, 255));
    EXPECT_EQ(control.FileName(), Path(QStringLiteral("decoded.png")));
    EXPECT_EQ(control.LoadState(), 0);
}

struct SaveCase {
    const char* name;
    QString file;
    QByteArray magic;
};
std::ostream& operator<<(std::ostream& os, const SaveCase& c) { return os << c.name; }

class ImagingControlSave : public ImagingControlTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(ImagingControlSave, WritesByExtensionAFileThatLoadsAgain) {
    Load(ThreeByTwo());
    const QString path = Path(GetParam().file);
    control.SaveFile(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith(GetParam().magic));

    ImagingControl again;
    again.SetFileName(path);
    EXPECT_EQ(again.PictureWidth(), 3);
    EXPECT_EQ(again.PictureHeight(), 2);
    if (!GetParam().file.contains(QLatin1String(".jp"), Qt::CaseInsensitive)) {  // lossy
        EXPECT_EQ(again.Picture(), ThreeByTwo());
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ImagingControlSave,
                         ::testing::Values(SaveCase{"Png", QStringLiteral("s.png"), QByteArray("\x89PNG")},
                                           SaveCase{"Jpeg", QStringLiteral("s.JPG"), QByteArray("\xFF\xD8")},
                                           SaveCase{"JpegLong", QStringLiteral("s.jpeg"), QByteArray("\xFF\xD8")},
                                           SaveCase{"Tiff", QStringLiteral("s.tif"), QByteArray("II*")},
                                           SaveCase{"Bmp", QStringLiteral("s.bmp"), QByteArray("BM")}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImagingControlTest, BitmapsAre24Bit) {
    Load(ThreeByTwo());
    control.SaveFile(Path(QStringLiteral("s.bmp")));
    QFile file(Path(QStringLiteral("s.bmp")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(30);
    EXPECT_EQ(static_cast<unsigned char>(header[28]), 24u);
}

TEST_F(ImagingControlTest, OutputFormatPngHoldsForOneSaveOnly) {
    Load(ThreeByTwo());
    control.SetOutputFormat(ImagingControl::FormatPng);
    control.SaveFile(Path(QStringLiteral("stage.bmp")));
    EXPECT_EQ(control.OutputFormat(), ImagingControl::FormatByExtension);
    control.SaveFile(Path(QStringLiteral("next.bmp")));
    QFile first(Path(QStringLiteral("stage.bmp"))), second(Path(QStringLiteral("next.bmp")));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    EXPECT_TRUE(first.read(4).startsWith("\x89PNG"));
    EXPECT_TRUE(second.read(2).startsWith("BM"));
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { control.SetOutputFormat(3); }), 380);
}

TEST_F(ImagingControlTest, SaveErrors) {
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { control.SaveFile(Path(QStringLiteral("none.png"))); }), 32502)
        << "no picture";
    Load(ThreeByTwo());
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { control.SaveFile(Path(QStringLiteral("x.gif"))); }), 32500);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { control.SaveFile(Path(QStringLiteral("nofolder/x.png"))); }), 32502);
}

struct TransformCase {
    const char* name;
    std::function<void(ImagingControl&)> run;
    int width, height;
    // Where the pixels of the first row (red, green, blue) end up.
    QPoint red, green, blue;
};
std::ostream& operator<<(std::ostream& os, const TransformCase& c) { return os << c.name; }

class ImagingControlTransform : public ImagingControlTest, public ::testing::WithParamInterface<TransformCase> {};

TEST_P(ImagingControlTransform, MovesEveryPixel) {
    const TransformCase& c = GetParam();
    Load(ThreeByTwo());
    c.run(control);
    EXPECT_EQ(control.PictureWidth(), c.width);
    EXPECT_EQ(control.PictureHeight(), c.height);
    EXPECT_EQ(control.DisplayWidth(), c.width);
    const QImage p = control.Picture();
    EXPECT_EQ(p.pixel(c.red), qRgb(255, 0, 0));
    EXPECT_EQ(p.pixel(c.green), qRgb(0, 255, 0));
    EXPECT_EQ(p.pixel(c.blue), qRgb(0, 0, 255));
}

INSTANTIATE_TEST_SUITE_P(
    Transforms, ImagingControlTransform,
    ::testing::Values(
        TransformCase{"Rotate27000TurnsAQuarterClockwise",
                      [](ImagingControl& c) { c.Rotate(27000, 0); },
                      2,
                      3,
                      {1, 0},
                      {1, 1},
                      {1, 2}},
        TransformCase{"Rotate9000TurnsAQuarterAnticlockwise",
                      [](ImagingControl& c) { c.Rotate(9000, 0); },
                      2,
                      3,
                      {0, 2},
                      {0, 1},
                      {0, 0}},
        TransformCase{"Rotate18000", [](ImagingControl& c) { c.Rotate(18000, 0); }, 3, 2, {2, 1}, {1, 1}, {0, 1}},
        TransformCase{"RotateMinus9000", [](ImagingControl& c) { c.Rotate(-9000, 0); }, 2, 3, {1, 0}, {1, 1}, {1, 2}},
        TransformCase{"RotateFullTurn", [](ImagingControl& c) { c.Rotate(36000, 0); }, 3, 2, {0, 0}, {1, 0}, {2, 0}},
        TransformCase{"FlipVertical", [](ImagingControl& c) { c.FlipVertical(); }, 3, 2, {0, 1}, {1, 1}, {2, 1}},
        TransformCase{"FlipHorizontal", [](ImagingControl& c) { c.FlipHorizontal(); }, 3, 2, {2, 0}, {1, 0}, {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImagingControlTest, AQuarterTurnMovesTheSecondRowToo) {
    Load(ThreeByTwo());
    control.Rotate(27000, 0);
    const QImage p = control.Picture();
    ASSERT_EQ(p.size(), QSize(2, 3));
    EXPECT_EQ(p.pixel(0, 0), qRgb(10, 10, 10));
    EXPECT_EQ(p.pixel(0, 1), qRgb(128, 128, 128));
    EXPECT_EQ(p.pixel(0, 2), qRgb(250, 250, 250));
}

TEST_F(ImagingControlTest, AnOddAngleGrowsThePictureAndFillsTheCorners) {
    QImage square(20, 20, QImage::Format_RGB32);
    square.fill(qRgb(0, 0, 255));
    Load(square);
    control.Rotate(4500, kRed);
    EXPECT_GE(control.PictureWidth(), 28);
    EXPECT_LE(control.PictureWidth(), 30);
    EXPECT_EQ(control.Picture().pixel(0, 0), qRgb(255, 0, 0));
    const int mid = control.PictureWidth() / 2;
    EXPECT_EQ(control.Picture().pixel(mid, mid), qRgb(0, 0, 255));
}

TEST_F(ImagingControlTest, GreyAndInvert) {
    Load(ThreeByTwo());
    control.ReduceColors(256, true, true);
    const QImage grey = control.Picture();
    EXPECT_EQ(grey.pixel(0, 0), qRgb(76, 76, 76)) << "red: 0.299";
    EXPECT_EQ(grey.pixel(1, 0), qRgb(150, 150, 150)) << "green: 0.587";
    EXPECT_EQ(grey.pixel(2, 0), qRgb(29, 29, 29)) << "blue: 0.114";
    EXPECT_EQ(grey.pixel(1, 1), qRgb(128, 128, 128)) << "greys stay";

    control.ReduceColors(2, true, false);
    EXPECT_EQ(control.Picture().pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(control.Picture().pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { control.ReduceColors(256, false, true); }), 5);

    control.Invert();
    EXPECT_EQ(control.Picture().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(control.Picture().pixel(1, 0), qRgb(0, 0, 0));
}

TEST_F(ImagingControlTest, ResizeScalesThePictureAndItsDisplay) {
    Load(ThreeByTwo());
    control.ResizePicture(50, 30);
    EXPECT_EQ(control.PictureWidth(), 50);
    EXPECT_EQ(control.PictureHeight(), 30);
    EXPECT_EQ(control.DisplayWidth(), 50);
    EXPECT_EQ(control.DisplayHeight(), 30);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { control.ResizePicture(0, 30); }), 5);
}

TEST_F(ImagingControlTest, CopiesThePictureToTheClipboard) {
    Load(ThreeByTwo());
    control.CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), ThreeByTwo());
}

TEST_F(ImagingControlTest, TheDeviceContextDrawsOnTheCurrentPicture) {
    Load(ThreeByTwo());
    RasterDC* dc = RasterDC::FromHandle(control.hDC());
    ASSERT_NE(dc, nullptr);
    control.Rotate(27000, 0);
    dc->SelectObject(dc->CreateSolidBrush(kWhite));
    EXPECT_TRUE(dc->ExtFloodFill(1, 2, RasterDC::Rgb(0, 0, 255), RasterDC::FLOODFILLSURFACE))
        << "the blue pixel lies at (1, 2) after the turn";
    EXPECT_EQ(control.Picture().pixel(1, 2), qRgb(255, 255, 255));
    EXPECT_EQ(control.Picture().size(), QSize(2, 3));
}

struct ZoomCase {
    const char* name;
    int zoom;
    int displayWidth;  // 0: the picture's own
    QPoint at;
    float x, y;
};
std::ostream& operator<<(std::ostream& os, const ZoomCase& c) { return os << c.name; }

class ImagingControlMouse : public ImagingControlTest, public ::testing::WithParamInterface<ZoomCase> {};

TEST_P(ImagingControlMouse, PositionsArePicturePixelsAtTheZoom) {
    const ZoomCase& c = GetParam();
    QImage picture(100, 80, QImage::Format_RGB32);
    picture.fill(Qt::white);
    Load(picture);
    control.resize(400, 300);
    control.SetZoomMode(0);
    control.SetZoom(c.zoom);
    if (c.displayWidth != 0) {
        control.SetDisplayWidth(c.displayWidth);
    }
    Recorder events(control);
    Press(control, Qt::LeftButton, c.at, Qt::ShiftModifier);
    Drag(control, Qt::LeftButton | Qt::RightButton, c.at + QPoint(4, 0));
    Release(control, Qt::RightButton, c.at, Qt::ControlModifier);
    ASSERT_EQ(events.down.size(), 1u);
    EXPECT_EQ(events.down[0].button, 1);
    EXPECT_EQ(events.down[0].shift, 1) << "Shift";
    EXPECT_FLOAT_EQ(events.down[0].x, c.x);
    EXPECT_FLOAT_EQ(events.down[0].y, c.y);
    ASSERT_EQ(events.move.size(), 1u);
    EXPECT_EQ(events.move[0].button, 3) << "the buttons held";
    EXPECT_GT(events.move[0].x, c.x);
    ASSERT_EQ(events.up.size(), 1u);
    EXPECT_EQ(events.up[0].button, 2);
    EXPECT_EQ(events.up[0].shift, 2) << "Ctrl";
}

INSTANTIATE_TEST_SUITE_P(Zooms, ImagingControlMouse,
                         ::testing::Values(ZoomCase{"Actual", 100, 0, {40, 30}, 40, 30},
                                           ZoomCase{"Double", 200, 0, {40, 30}, 20, 15},
                                           ZoomCase{"Quarter", 25, 0, {10, 5}, 40, 20},
                                           ZoomCase{"StretchedDisplay", 100, 200, {40, 30}, 20, 30}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImagingControlTest, ScaleWidthIsTheControlsWidthInPicturePixels) {
    QImage picture(100, 80, QImage::Format_RGB32);
    Load(picture);
    control.resize(400, 300);
    control.SetZoom(200);
    EXPECT_DOUBLE_EQ(control.ScaleWidth(), 200.0);
    control.SetZoom(100 * 0.75 * 0.75 * 0.75 * 0.75 * 0.75 * 0.75 * 0.75 * 0.75 * 0.75 * 0.75 * 0.75);
    EXPECT_EQ(control.Zoom(), 4) << "4.22 rounds to 4";
    control.SetZoom(2.5);
    EXPECT_EQ(control.Zoom(), 2) << "half to even";
}

TEST_F(ImagingControlTest, WithTheRubberBandALeftDragIsOnlyARectangle) {
    QImage picture(100, 80, QImage::Format_RGB32);
    Load(picture);
    control.resize(400, 300);
    control.SetZoom(200);
    control.SetRubberBand(true);
    Recorder events(control);

    Press(control, Qt::LeftButton, QPoint(120, 100));
    Drag(control, Qt::LeftButton, QPoint(60, 80));
    Release(control, Qt::LeftButton, QPoint(40, 20));
    EXPECT_TRUE(events.down.empty());
    EXPECT_TRUE(events.move.empty());
    EXPECT_TRUE(events.up.empty());
    ASSERT_EQ(events.rectangles.size(), 1u);
    EXPECT_EQ(events.rectangles[0], (std::vector<float>{60, 50, 20, 10})) << "start corner first, as dragged";

    // Nothing but the right button's menu may start from a press while the band is on.
    Press(control, Qt::MiddleButton, QPoint(10, 10));
    Drag(control, Qt::MiddleButton, QPoint(30, 10));
    Release(control, Qt::MiddleButton, QPoint(30, 10));
    Drag(control, Qt::NoButton, QPoint(50, 10));
    EXPECT_TRUE(events.down.empty());
    EXPECT_TRUE(events.move.empty());
    EXPECT_TRUE(events.up.empty());
    Press(control, Qt::RightButton, QPoint(10, 10));
    Release(control, Qt::RightButton, QPoint(10, 10));
    ASSERT_EQ(events.down.size(), 1u);
    EXPECT_EQ(events.down[0].button, 2);
    EXPECT_EQ(events.up.size(), 1u);

    control.SetRubberBand(false);
    Press(control, Qt::LeftButton, QPoint(10, 10));
    Drag(control, Qt::LeftButton, QPoint(20, 10));
    Release(control, Qt::LeftButton, QPoint(30, 10));
    EXPECT_EQ(events.down.size(), 2u);
    EXPECT_EQ(events.move.size(), 1u);
    EXPECT_EQ(events.rectangles.size(), 1u);
}

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    int code;
};
std::ostream& operator<<(std::ostream& os, const KeyCase& c) { return os << c.name; }

class ImagingControlKeys : public ImagingControlTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ImagingControlKeys, ReportTheirCharacterCode) {
    const KeyCase& c = GetParam();
    Recorder events(control);
    QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.text);
    QCoreApplication::sendEvent(&control, &event);
    if (c.code < 0) {
        EXPECT_TRUE(events.keys.empty());
    } else {
        EXPECT_EQ(events.keys, std::vector<int16_t>{static_cast<int16_t>(c.code)});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ImagingControlKeys,
    ::testing::Values(KeyCase{"CtrlZIs26", Qt::Key_Z, Qt::ControlModifier, QString(), 26},
                      KeyCase{"LetterIsItsCharacter", Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), 97},
                      KeyCase{"ShiftedLetter", Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"), 65},
                      KeyCase{"Enter", Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), 13},
                      KeyCase{"Escape", Qt::Key_Escape, Qt::NoModifier, QString(), 27},
                      KeyCase{"ArrowHasNone", Qt::Key_Left, Qt::NoModifier, QString(), -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImagingControlTest, PaintsThePictureAtTheZoomOnTheBackColour) {
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    Load(picture);
    control.resize(50, 50);
    control.SetBackColor(RasterDC::Rgb(0, 0, 255));
    control.SetZoom(300);
    const QImage shown = control.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(29, 29), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(30, 30), qRgb(0, 0, 255));
    EXPECT_EQ(control.BackColor(), RasterDC::Rgb(0, 0, 255));
}

}  // namespace
