#include "platform/Screen.h"
#include "services/Hourglass.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

Qt::CursorShape overrideShape() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

TEST(Hourglass, ShowsTheWaitCursorWhileItLives) {
    ASSERT_EQ(Screen::MousePointer(), Screen::Default);
    {
        Hourglass hourglass;
        EXPECT_EQ(Screen::MousePointer(), Screen::Hourglass);
        EXPECT_EQ(overrideShape(), Qt::WaitCursor);
        hourglass.WaitStoppable();
        EXPECT_EQ(Screen::MousePointer(), Screen::ArrowHourglass);
        EXPECT_EQ(overrideShape(), Qt::BusyCursor);
        hourglass.Default();
        EXPECT_EQ(Screen::MousePointer(), Screen::Default);
        EXPECT_FALSE(QGuiApplication::overrideCursor());
        hourglass.Wait();
        EXPECT_EQ(overrideShape(), Qt::WaitCursor);
    }
    EXPECT_EQ(Screen::MousePointer(), Screen::Default);
    EXPECT_FALSE(QGuiApplication::overrideCursor());
}

// The pointer is one program-wide value: an inner hourglass that ends takes the wait cursor away for all.
TEST(Hourglass, AnInnerOneEndingRestoresTheDefault) {
    Hourglass outer;
    { Hourglass inner; }
    EXPECT_EQ(Screen::MousePointer(), Screen::Default);
    EXPECT_FALSE(QGuiApplication::overrideCursor());
}

// The wait cursor shows at once, but a key already queued is not handled inside the operation.
TEST(Hourglass, ShowingTheCursorRunsNoQueuedInput) {
    struct KeyCounter : QWidget {
        int keys = 0;
        void keyPressEvent(QKeyEvent*) override { ++keys; }
    } widget;
    QCoreApplication::postEvent(&widget, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier));
    {
        Hourglass hourglass;
        hourglass.WaitStoppable();
        EXPECT_EQ(widget.keys, 0);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(widget.keys, 1);
}

}  // namespace
