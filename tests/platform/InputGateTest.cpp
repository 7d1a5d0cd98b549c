#include "platform/App.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Notes every event of interest in the order it arrives.
class Recorder : public QWidget {
public:
    QStringList seen;

protected:
    bool event(QEvent* e) override {
        switch (e->type()) {
            case QEvent::KeyPress: seen << QStringLiteral("key %1").arg(static_cast<QKeyEvent*>(e)->key()); break;
            case QEvent::MouseButtonPress: seen << QStringLiteral("mouse"); break;
            case QEvent::Wheel: seen << QStringLiteral("wheel"); break;
            case QEvent::Drop:
                seen << QStringLiteral("drop ") + static_cast<QDropEvent*>(e)->mimeData()->text();
                e->accept();
                return true;
            case QEvent::DragEnter: static_cast<QDragEnterEvent*>(e)->acceptProposedAction(); return true;
            case QEvent::Close: seen << QStringLiteral("close"); break;
            case QEvent::Paint: seen << QStringLiteral("paint"); break;
            default: break;
        }
        return QWidget::event(e);
    }
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::white); }
};

void postKey(QWidget& w, int key) {
    QCoreApplication::postEvent(&w, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString()));
}

void postMouse(QWidget& w) {
    QCoreApplication::postEvent(&w, new QMouseEvent(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2),
                                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
}

class InputGateTest : public ::testing::Test {
protected:
    void SetUp() override {
        widget.resize(40, 30);
        widget.setAcceptDrops(true);
        widget.show();
        // Start from a quiet queue: the first show paints.
        QCoreApplication::processEvents();
        widget.seen.clear();
    }
    Recorder widget;
};

TEST_F(InputGateTest, InputPostedInsideAPassWaitsForItsEndAndKeepsItsOrder) {
    QTimer timer;
    timer.setSingleShot(true);
    bool fired = false;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        fired = true;
        postKey(widget, Qt::Key_Space);
        postMouse(widget);
        postKey(widget, Qt::Key_A);
    });
    timer.start(0);
    App::DoEvents();
    EXPECT_TRUE(fired) << "timers run during the pass";
    EXPECT_TRUE(widget.seen.isEmpty()) << widget.seen.join(", ").toStdString();

    QCoreApplication::processEvents();
    EXPECT_EQ(widget.seen, (QStringList{"key 32", "mouse", "key 65"}));
}

TEST_F(InputGateTest, InputQueuedBeforeAPassWaitsAndPaintingRuns) {
    postMouse(widget);
    QCoreApplication::postEvent(&widget, new QWheelEvent(QPointF(2, 2), QPointF(2, 2), QPoint(), QPoint(0, 120),
                                                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false));
    postKey(widget, Qt::Key_Space);
    widget.update();
    App::DoEvents();
    EXPECT_EQ(widget.seen, (QStringList{"paint"}));

    QCoreApplication::processEvents();
    EXPECT_EQ(widget.seen, (QStringList{"paint", "mouse", "wheel", "key 32"}));
}

TEST_F(InputGateTest, ADropWaitsWithItsOwnCopyOfTheData) {
    auto* data = new QMimeData;
    data->setText(QStringLiteral("sea.png"));
    // The drop goes to the widget that took the drag as it entered.
    QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &enter);
    QCoreApplication::postEvent(&widget,
                                new QDropEvent(QPointF(3, 3), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier));
    App::DoEvents();
    EXPECT_TRUE(widget.seen.isEmpty());
    // The drag ends with its drop, taking its data along.
    delete data;

    QCoreApplication::processEvents();
    EXPECT_EQ(widget.seen, (QStringList{"drop sea.png"}));
}

TEST_F(InputGateTest, PassesInsidePassesReleaseOnlyAtTheOutermostEnd) {
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        postKey(widget, Qt::Key_1);
        App::DoEvents();
        postKey(widget, Qt::Key_2);
        App::DoEvents();
    });
    timer.start(0);
    App::DoEvents();
    EXPECT_TRUE(widget.seen.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(widget.seen, (QStringList{"key 49", "key 50"}));
}

// A message box opened inside a pass runs its own loop: its input is the user answering it.
TEST_F(InputGateTest, ADialogOpenedInsideAPassGetsItsInput) {
    QTimer timer;
    timer.setSingleShot(true);
    QStringList seenInDialog;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QEventLoop dialog;
        postKey(widget, Qt::Key_Return);
        QTimer::singleShot(0, &dialog, [&] {
            seenInDialog = widget.seen;
            dialog.quit();
        });
        dialog.exec();
    });
    timer.start(0);
    App::DoEvents();
    EXPECT_EQ(seenInDialog, (QStringList{"key 16777220"}));
}

// A close goes through the window system as a request to the window, like the user's: it waits too.
TEST_F(InputGateTest, ACloseRequestDuringAPassClosesTheWindowAfterIt) {
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] { widget.close(); });
    timer.start(0);
    App::DoEvents();
    EXPECT_TRUE(widget.seen.isEmpty());
    EXPECT_TRUE(widget.isVisible());

    QCoreApplication::processEvents();
    EXPECT_EQ(widget.seen, (QStringList{"close"}));
    EXPECT_FALSE(widget.isVisible());
}

TEST_F(InputGateTest, InputToAWidgetGoneMeanwhileIsDropped) {
    auto* doomed = new Recorder;
    postKey(*doomed, Qt::Key_Space);
    postKey(widget, Qt::Key_A);
    App::DoEvents();
    delete doomed;
    QCoreApplication::processEvents();
    EXPECT_EQ(widget.seen, (QStringList{"key 65"}));
}

}  // namespace
