#include "platform/ControlDrag.h"

#include "platform/WindowRegistry.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString ControlMime = QStringLiteral("application/x-tindral-control");

QByteArray Carried(int32_t handle, qint64 pid) { return QByteArray::number(handle) + ':' + QByteArray::number(pid); }

struct DropResult {
    bool enterAccepted = false;
    int drops = 0;
    QWidget* source = nullptr;
};

// Enters and drops the data on a target that takes controls, as the window system would deliver them.
DropResult DropOn(QMimeData& data) {
    QWidget target;
    DropResult result;
    ControlDrag::AcceptDrops(&target, [&](QWidget* source) {
        ++result.drops;
        result.source = source;
    });
    QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QApplication::sendEvent(&target, &enter);
    result.enterAccepted = enter.isAccepted();
    QDropEvent drop(QPointF(1, 1), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    return result;
}

}  // namespace

TEST(ControlDrag, ADropOfAControlOfThisProgramBringsTheControlItself) {
    QWidget source;
    QMimeData data;
    data.setData(ControlMime, Carried(WindowRegistry::Handle(&source), QCoreApplication::applicationPid()));
    const DropResult result = DropOn(data);
    EXPECT_TRUE(result.enterAccepted);
    EXPECT_EQ(result.drops, 1);
    EXPECT_EQ(result.source, &source);
}

TEST(ControlDrag, DropsThatCarryNoLiveControlOfThisProgramDoNothing) {
    const int32_t goneHandle = [] {
        QWidget gone;
        return WindowRegistry::Handle(&gone);
    }();
    QWidget live;
    const qint64 pid = QCoreApplication::applicationPid();
    struct Case {
        const char* name;
        QByteArray carried;
    };
    const Case cases[] = {
        {"the control is gone", Carried(goneHandle, pid)},
        {"another copy of the program", Carried(WindowRegistry::Handle(&live), pid + 1)},
        {"no handle", QByteArray("x:") + QByteArray::number(pid)},
        {"nothing", QByteArray()},
    };
    for (const Case& c : cases) {
        QMimeData data;
        data.setData(ControlMime, c.carried);
        const DropResult result = DropOn(data);
        EXPECT_EQ(result.drops, 0) << c.name;
    }
}

TEST(ControlDrag, OtherDataPassesOnToTheTargetsOwnHandling) {
    QMimeData data;
    data.setText(QStringLiteral("text from another program"));
    const DropResult result = DropOn(data);
    EXPECT_FALSE(result.enterAccepted);
    EXPECT_EQ(result.drops, 0);
}
