#include "app/frmMain.h"

#include "platform/CommandBars.h"
#include "platform/Numeric.h"
#include "stage/Stage.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

#include <QEvent>

#include <algorithm>
#include <QLinearGradient>
#include <QPainter>

namespace {
// Window-system lengths are whole pixels; a fraction goes to the nearest, halves to even.
int Pixels(double value) { return Numeric::Round(value); }

// The stage and the pie cover the proofer row whether shown or not; only a shown one casts its shadows.
template <typename View>
void PlaceShadows(View& view) {
    if (view.isVisible()) {
        view.RefreshShadows(frmMain::SizeMessage);
        view.ShowShadows();
    } else {
        view.HideShadows();
    }
}
}  // namespace

int frmMain::StripReserve(int stripCount) {
    if (stripCount <= 2)
        return 130;
    if (stripCount <= 4)
        return 240;
    return 350;
}

std::vector<QRect> frmMain::StripPlaces(int stripCount, double rowRight, int firstRowTop) {
    const int columnWidth = Pixels((rowRight + StripGap - 2 * LayoutMargin) / 2);
    const int fullWidth = Pixels(rowRight - LayoutMargin);
    std::vector<QRect> places;
    int top = firstRowTop;
    int placed = 0;
    // With an odd count the first strip fills the whole first row and the others pair up beneath it.
    if (stripCount % 2 == 1) {
        places.emplace_back(LayoutMargin, top, fullWidth, StripHeight);
        placed = 1;
        top += StripRowPitch;
    }
    while (placed + 1 < stripCount) {
        const QRect left(LayoutMargin, top, columnWidth, StripHeight);
        places.push_back(left);
        places.emplace_back(left.x() + left.width() + StripGap, top, columnWidth, StripHeight);
        placed += 2;
        top += StripRowPitch;
    }
    return places;
}

void frmMain::Form_Resize() {
    // Each step stands alone: a minimised or tiny window gives sizes the controls refuse, and the rest goes on.
    try {
        LayoutProofers();
    } catch (...) {
    }
    const ColorPanel& first = *cpList.front();
    const ColorPanel& last = *cpList.back();
    const int stripCount = std::clamp(NumberOfHistoryGroups, 1, static_cast<int>(history.size()));
    try {
        const auto places = StripPlaces(stripCount, last.x() + last.width(), last.y() + last.height() + StripGap);
        for (size_t i = 0; i < places.size(); ++i) {
            history[i]->setGeometry(places[i]);
            history[i]->RefreshShadows(SizeMessage);
        }
    } catch (...) {
    }
    try {
        const int rowRight = last.x() + last.width();
        ctlStage->setGeometry(first.x(), first.y(), std::max(0, rowRight - LayoutMargin),
                              std::max(0, history[0]->y() - first.y() - StripGap));
        PlaceShadows(*ctlStage);
    } catch (...) {
    }
    try {
        ctlMatch->setGeometry(ctlStage->geometry());
        PlaceShadows(*ctlMatch);
    } catch (...) {
    }
}

void frmMain::RefreshLayout() { Form_Resize(); }

void frmMain::LayoutProofers() {
    const int count = static_cast<int>(cpList.size());
    if (count == 0)
        return;
    const double width =
        (picClient->width() - 2.0 * LayoutMargin - static_cast<double>(LayoutGap) * (count - 1)) / count;
    const int height = picClient->height() - StripReserve(NumberOfHistoryGroups);
    // Lefts advance by the fractional width and are rounded only where they meet a control, so eight proofers
    // gather no drift from the rounding.
    double left = LayoutMargin;
    for (int i = 0; i < count; ++i) {
        ColorPanel& proofer = *cpList[static_cast<size_t>(i)];
        if (i > 0)
            left += width + LayoutGap;
        proofer.setGeometry(Pixels(left), ProoferTop, std::max(0, Pixels(width)), std::max(0, height));
        if (proofer.isVisible())
            proofer.RefreshShadows(SizeMessage);
    }
}

void frmMain::CommandBars_Resize() {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    m_commandBars->GetClientRect(left, top, right, bottom);
    picClient->setGeometry(left, top, std::max(0, right - left), std::max(0, bottom - top));
    Form_Resize();
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picClient && event->type() == QEvent::Paint) {
        picClient_Paint();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::picClient_Paint() {
    QPainter painter(picClient);
    const QRect area(0, 0, picClient->width(), picClient->height());
    // The workspace: a calm blue-grey that lets the proofers' colours stand out.
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0.0, QColor(0xDD, 0xE4, 0xEE));
    fill.setColorAt(1.0, QColor(0xC9, 0xD3, 0xE0));
    painter.fillRect(area, fill);
}
