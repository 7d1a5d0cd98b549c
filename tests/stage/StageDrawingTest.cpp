// Drawing on the stage with the mouse and the text box, undo, zoom and scrolling, fills and transforms.
#include "StageFixture.h"

#include "stage/StageHelper.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPaintEvent>
#include <QScrollArea>
#include <QScrollBar>

#include <functional>
#include <ostream>
#include <string>

using namespace StageTesting;

namespace {

constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kGreen = 0x00FF00;

void Key(QWidget& widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &press);
}

class StageDrawing : public StageFixture {
protected:
    void SetUp() override {
        StageFixture::SetUp();
        stage->SetDrawColor(PlainColor(255, 0, 0));
        stage->SetLineThickness(3);
    }
    // A draw colour dressed with a pattern texture whose picture is a blue and green checker.
    std::shared_ptr<Color> PatternColor() {
        QImage checker(2, 2, QImage::Format_RGB32);
        checker.fill(Qt::blue);
        checker.setPixel(0, 0, qRgb(0, 255, 0));
        checker.setPixel(1, 1, qRgb(0, 255, 0));
        auto color = PlainColor(255, 0, 0);
        color->SetTemporaryImagePath(Write(QStringLiteral("pattern.bmp"), checker, "bmp"));
        auto texture = std::make_shared<Texture>();
        texture->Init(2, QStringLiteral("checker"), QString(), TextureKind::Pattern, false, true);
        color->SetColorTexture(texture);
        return color;
    }
    static bool IsPattern(QRgb rgb) { return rgb == 0x0000FF || rgb == kGreen; }
};

TEST_F(StageDrawing, AFreeHandStrokeDrawsEverySegmentInTheDrawingColour) {
    DragThrough(Image(), {{10, 10}, {60, 10}, {60, 50}});
    EXPECT_EQ(At(35, 10), kRed);
    EXPECT_EQ(At(60, 30), kRed);
    EXPECT_EQ(At(35, 30), kWhite) << "segments, not a filled shape";
    EXPECT_TRUE(stage->PictureIsDirty());
    // Strokes take no undo copy: undo returns to the picture as opened.
    stage->Undo();
    EXPECT_EQ(CountOf(Picture(), kRed), 0);
}

// Records the rectangles the imaging control repaints.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted = painted.united(static_cast<QPaintEvent*>(event)->rect());
        }
        return false;
    }
    QRect painted;
};

TEST_F(StageDrawing, AStrokeRepaintsOnlyItsSegment) {
    Mouse(Image(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {20, 20});
    QApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    PaintRecorder recorder(Image());
    Mouse(Image(), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {30, 24});
    QApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    ASSERT_FALSE(recorder.painted.isEmpty());
    EXPECT_TRUE(QRect(10, 10, 32, 26).contains(recorder.painted))
        << "painted " << recorder.painted.x() << "," << recorder.painted.y() << " " << recorder.painted.width() << "x"
        << recorder.painted.height();
    Mouse(Image(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {30, 24});
}

// A snapshot lets pending events run; input that arrives then must not start a second action inside the first.
TEST_F(StageDrawing, InputWaitingDuringAnUndoCopyDoesNotReenter) {
    stage->SetObject(DrawingObject::Flood);
    QImage halves = Filled(120, 90, Qt::white);
    for (int y = 0; y < 90; ++y) {
        halves.setPixel(60, y, qRgb(0, 0, 0));
    }
    ASSERT_TRUE(stage->OpenPicture(Write(QStringLiteral("halves.png"), halves)));
    const QPoint right(100, 40);
    QCoreApplication::postEvent(
        &Image(), new QMouseEvent(QEvent::MouseButtonPress, QPointF(right), QPointF(Image().mapToGlobal(right)),
                                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    Mouse(Image(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 40});
    EXPECT_EQ(At(10, 40), kRed);
    EXPECT_EQ(At(100, 40), kWhite) << "the waiting press ran inside the first fill";
}

TEST_F(StageDrawing, APenOfNoWidthDrawsNothing) {
    for (int16_t width : {0, -5}) {
        stage->SetLineThickness(width);
        DragThrough(Image(), {{10, 10}, {60, 10}, {60, 50}});
        EXPECT_EQ(CountOf(Picture(), kRed), 0) << width;
    }
}

struct ShapeCase {
    const char* name;
    int32_t tool;
    bool fill;
    bool pattern;
    QRgb centre;  // 1 for either colour of the pattern
    QRgb edge;    // the middle of the left side
};
std::ostream& operator<<(std::ostream& os, const ShapeCase& c) { return os << c.name; }

class StageShapes : public StageDrawing, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(StageShapes, ADragDrawsOnlyTheShape) {
    const ShapeCase& c = GetParam();
    if (c.pattern) {
        stage->SetDrawColor(PatternColor());
    }
    stage->SetObject(c.tool);
    stage->SetFillFlood(c.fill);
    // Dragged bottom right to top left, through a point outside the shape that a stroke would have passed.
    DragThrough(Image(), {{100, 80}, {5, 86}, {20, 20}});
    EXPECT_EQ(At(50, 83), kWhite) << "no free-hand stroke";
    if (c.centre == 1) {
        EXPECT_TRUE(IsPattern(At(60, 50)));
    } else {
        EXPECT_EQ(At(60, 50), c.centre);
    }
    EXPECT_EQ(At(20, 50) == kWhite, c.edge == kWhite);
    EXPECT_TRUE(stage->PictureIsDirty());
    stage->Undo();
    EXPECT_EQ(At(60, 50), kWhite) << "each shape takes an undo copy first";
}

INSTANTIATE_TEST_SUITE_P(Tools, StageShapes,
                         ::testing::Values(ShapeCase{"Rectangle", DrawingObject::Rectangle, false, false, kWhite, kRed},
                                           ShapeCase{"FilledRectangle", DrawingObject::Rectangle, true, false, kRed,
                                                     kRed},
                                           ShapeCase{"TexturedRectangle", DrawingObject::Rectangle, true, true, 1, 1},
                                           ShapeCase{"OutlinedRectangleOfPatternColour", DrawingObject::Rectangle,
                                                     false, true, kWhite, kRed},
                                           ShapeCase{"Ellipse", DrawingObject::Ellipse, false, false, kWhite, kRed},
                                           ShapeCase{"FilledEllipse", DrawingObject::Ellipse, true, false, kRed, kRed},
                                           ShapeCase{"TexturedEllipse", DrawingObject::Ellipse, true, true, 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StageDrawing, FloodFillsWithThePlainColourOrThePattern) {
    stage->SetObject(DrawingObject::Flood);
    stage->SetLineThickness(0);
    Mouse(Image(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
    Mouse(Image(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {5, 5});
    EXPECT_EQ(CountOf(Picture(), kRed), 120 * 90);
    stage->SetDrawColor(PatternColor());
    Mouse(Image(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
    EXPECT_EQ(CountOf(Picture(), kGreen), 120 * 90 / 2);
    stage->Undo();
    EXPECT_EQ(CountOf(Picture(), kRed), 120 * 90) << "undo goes back to before the last flood";
}

class StageText : public StageDrawing {
protected:
    void SetUp() override {
        StageDrawing::SetUp();
        stage->SetObject(DrawingObject::Text);
        StageHelper::CurrentFont()->size = 12;
    }
    QLineEdit& Box() const { return *stage->TextBox(); }
    void Type(const QString& text) { Box().setText(text); }
};

TEST_F(StageText, ANarrowRectangleDoesNothing) {
    ASSERT_FALSE(stage->PictureIsDirty());
    DragThrough(Image(), {{10, 10}, {29, 40}});
    EXPECT_FALSE(Box().isVisible());
    EXPECT_FALSE(stage->PictureIsDirty());
}

TEST_F(StageText, EnterDrawsTheTextInTheRectangle) {
    DragThrough(Image(), {{10, 10}, {110, 60}});
    ASSERT_TRUE(Box().isVisible());
    EXPECT_EQ(Box().geometry(), QRect(10, 10, 100, 50));
    EXPECT_TRUE(Box().text().isEmpty());
    EXPECT_TRUE(stage->PictureIsDirty()) << "placing the box counts";
    Type(QStringLiteral("Hello"));
    Key(Box(), Qt::Key_Return);
    EXPECT_FALSE(Box().isVisible());
    EXPECT_GT(CountOf(Picture().copy(10, 10, 100, 50), kRed), 10);
    EXPECT_EQ(CountOf(Picture(), kRed), CountOf(Picture().copy(10, 10, 100, 50), kRed)) << "inside the rectangle";
}

TEST_F(StageText, EscapeCancelsAndEmptiesTheBox) {
    DragThrough(Image(), {{10, 10}, {110, 60}});
    Type(QStringLiteral("Hello"));
    Key(Box(), Qt::Key_Escape);
    EXPECT_FALSE(Box().isVisible());
    EXPECT_TRUE(Box().text().isEmpty());
    EXPECT_EQ(CountOf(Picture(), kRed), 0);
}

TEST_F(StageText, LosingTheFocusActsAsEnter) {
    DragThrough(Image(), {{10, 10}, {110, 60}});
    Type(QStringLiteral("Hello"));
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(&Box(), &out);
    EXPECT_FALSE(Box().isVisible());
    EXPECT_GT(CountOf(Picture(), kRed), 10);
    // A second focus loss of the hidden box draws nothing more.
    const QImage drawn = Picture();
    QCoreApplication::sendEvent(&Box(), &out);
    EXPECT_EQ(Picture(), drawn);
}

TEST_F(StageText, ARightToLeftDragSizesTheBoxByItsText) {
    DragThrough(Image(), {{10, 10}, {110, 60}});
    Type(QStringLiteral("Hello"));
    Key(Box(), Qt::Key_Return);
    DragThrough(Image(), {{110, 60}, {10, 10}});
    ASSERT_TRUE(Box().isVisible());
    const QFontMetrics metrics(Box().font());
    EXPECT_EQ(Box().width(), metrics.horizontalAdvance(QStringLiteral("Hello")));
    EXPECT_EQ(Box().height(), metrics.height());
}

TEST_F(StageText, APressWhileTheBoxShowsOnlyHidesIt) {
    DragThrough(Image(), {{10, 10}, {110, 60}});
    Type(QStringLiteral("Hello"));
    DragThrough(Image(), {{20, 20}, {100, 80}});
    EXPECT_FALSE(Box().isVisible());
    EXPECT_EQ(CountOf(Picture(), kRed), 0);
}

TEST_F(StageDrawing, UndoKeepsItsCopyAndAnswersCtrlZ) {
    stage->Invert();
    const QImage inverted = Picture();
    stage->MirrorHorizontal();
    stage->Undo();
    EXPECT_EQ(Picture(), inverted);
    DragThrough(Image(), {{10, 10}, {60, 10}});
    QKeyEvent ctrlZ(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a"));
    QCoreApplication::sendEvent(&Image(), &ctrlZ);
    EXPECT_EQ(Picture(), inverted) << "a second undo restores the same copy";
    EXPECT_TRUE(stage->PictureIsDirty());
}

TEST_F(StageDrawing, TransformsTakeAnUndoCopyAndMarkDirty) {
    QImage marked = Filled(40, 20, Qt::white);
    marked.setPixel(0, 0, qRgb(255, 0, 0));
    ASSERT_TRUE(stage->OpenPicture(Write(QStringLiteral("marked.png"), marked)));
    const std::vector<std::pair<const char*, std::function<void()>>> transforms = {
        {"Rotate", [&] { stage->Rotate(); }},
        {"MirrorHorizontal", [&] { stage->MirrorHorizontal(); }},
        {"MirrorVertical", [&] { stage->MirrorVertical(); }},
        {"Invert", [&] { stage->Invert(); }},
        {"ToBW", [&] { stage->ToBW(); }}};
    for (const auto& [name, run] : transforms) {
        ASSERT_TRUE(stage->OpenPicture(Path(QStringLiteral("marked.png"))));
        run();
        EXPECT_TRUE(stage->PictureIsDirty()) << name;
        EXPECT_NE(Picture(), marked.convertToFormat(QImage::Format_RGB32)) << name;
        stage->Undo();
        EXPECT_EQ(Picture(), marked.convertToFormat(QImage::Format_RGB32)) << name;
    }
    stage->Rotate();
    EXPECT_EQ(Picture().size(), QSize(20, 40));
    EXPECT_EQ(At(19, 0), kRed) << "a quarter turn clockwise";
}

TEST_F(StageDrawing, ZoomSteps) {
    stage->ZoomIn();
    EXPECT_EQ(Image().Zoom(), 125);
    stage->Restore();
    stage->ZoomOut();
    EXPECT_EQ(Image().Zoom(), 75);
    for (int i = 0; i < 30; ++i) {
        stage->ZoomOut();
    }
    EXPECT_EQ(Image().Zoom(), 2) << "2 x 0.75 rounds half to even, back to 2";
    Image().SetZoom(1);
    stage->ZoomOut();
    EXPECT_EQ(Image().Zoom(), 1) << "never below 1";
    stage->Restore();
    EXPECT_EQ(Image().Zoom(), 100);
    EXPECT_FALSE(stage->PictureIsDirty());
}

TEST_F(StageDrawing, AZoomedPictureScrollsAndTheMouseFollows) {
    QScrollArea& view = *stage->View();
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0) << "120 x 90 fits";
    for (int i = 0; i < 16; ++i) {
        stage->ZoomIn();  // 500 %: 600 x 450 in a 400 x 300 stage
    }
    QApplication::sendPostedEvents();
    ASSERT_GT(view.horizontalScrollBar()->maximum(), 0);
    ASSERT_GT(view.verticalScrollBar()->maximum(), 0);
    view.horizontalScrollBar()->setValue(200);
    view.verticalScrollBar()->setValue(100);
    // A stroke at the viewport's (50, 50) and (100, 50) lies at picture x 50..60, y 30.
    const QPoint a = Image().mapFrom(view.viewport(), QPoint(50, 50));
    const QPoint b = Image().mapFrom(view.viewport(), QPoint(100, 50));
    DragThrough(Image(), {a, b});
    EXPECT_EQ(At(55, 30), kRed);
    EXPECT_EQ(CountOf(Picture().copy(0, 0, 49, 90), kRed), 0);
    stage->Restore();
    QApplication::sendPostedEvents();
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
}

struct FillCase {
    const char* name;
    int32_t kind;
    bool pattern;
    std::function<bool(const QImage&)> check;
};
std::ostream& operator<<(std::ostream& os, const FillCase& c) { return os << c.name; }

class StageFill : public StageDrawing, public ::testing::WithParamInterface<FillCase> {};

TEST_P(StageFill, FillImageByTextureKind) {
    const FillCase& c = GetParam();
    if (c.pattern) {
        stage->SetDrawColor(PatternColor());
    }
    auto texture = std::make_shared<Texture>();
    texture->Init(3, QStringLiteral("t"), Write(QStringLiteral("user.png"), Filled(17, 13, Qt::green)), c.kind, false,
                  false);
    const bool fillBefore = stage->DrawingTool().Fill();
    stage->FillImage(texture);
    EXPECT_TRUE(c.check(Picture())) << c.name;
    EXPECT_EQ(stage->DrawingTool().Fill(), fillBefore);
    EXPECT_TRUE(stage->PictureIsDirty());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, StageFill,
    ::testing::Values(FillCase{"Plain", TextureKind::None, false,
                               [](const QImage& p) { return CountOf(p, kRed) == p.width() * p.height(); }},
                      FillCase{"Pattern", TextureKind::Pattern, true,
                               [](const QImage& p) { return CountOf(p.copy(0, 0, 100, 80), kGreen) == 100 * 80 / 2; }},
                      FillCase{"UserImage", TextureKind::Image, false,
                               [](const QImage& p) { return p.size() == QSize(17, 13); }},
                      FillCase{"UnknownKind", 7, false,
                               [](const QImage& p) { return CountOf(p, kWhite) == p.width() * p.height(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StageDrawing, FillImageWithoutATextureDoesNothing) {
    const QImage before = Picture();
    stage->FillImage(nullptr);
    EXPECT_EQ(Picture(), before);
}

TEST_F(StageDrawing, AChangeOfToolMidStrokeEndsTheStroke) {
    Mouse(Image(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 10});
    Mouse(Image(), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {40, 10});
    stage->SetObject(DrawingObject::Rectangle);
    stage->SetObject(DrawingObject::Lines);
    const QImage after = Picture();
    DragThrough(Image(), {{10, 60}, {40, 60}});
    EXPECT_EQ(At(25, 60), kRed) << "a new stroke starts";
    EXPECT_EQ(At(25, 10), kRed);
}

}  // namespace
