#pragma once

#include "PieTestHelpers.h"

#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "platform/CommandBar.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBars.h"
#include "services/CommandIds.h"
#include "support/ModelGlobals.h"
#include "support/ScriptedPopup.h"
#include "views/ColorMatch.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A host window holding one colour pie of 300 x 200 pixels (centre (150, 100), radius 90).
class ColorMatchTest : public ::testing::Test {
protected:
    static constexpr int PieWidth = 300;
    static constexpr int PieHeight = 200;

    void SetUp() override {
        host = std::make_unique<QWidget>();
        host->resize(400, 300);
        pie = new ColorMatch(host.get());
        pie->setGeometry(20, 20, PieWidth, PieHeight);
        QObject::connect(pie, &ColorMatch::SetBackColorWhite, [this] { ++whiteSignals; });
        host->show();
    }

    void TearDown() override {
        CommandBars::SetPopupHook({});
        if (pie)
            pie->Dispose();
        host.reset();
    }

    static std::shared_ptr<Color> MakeColor(int32_t packed) {
        auto color = Factory::NewColor(Globals::TextureItem(1), CommandIds::RangeAllRGB, false);
        color->SetColor(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
        return color;
    }

    void AddColors(const std::vector<int32_t>& colors) {
        for (int32_t packed : colors) pie->AddColor(MakeColor(packed));
        pie->Refresh();
    }

    std::vector<int32_t> Slices() const {
        std::vector<int32_t> colors;
        for (const auto& color : *pie->Colors()) colors.push_back(color->RGBColor());
        return colors;
    }

    QPoint SlicePoint(int index, int n) const {
        return PieTest::SliceInterior(PieRenderer::Measure(pie->width(), pie->height()), index, n);
    }

    void Release(QPoint at, Qt::MouseButton button) {
        QMouseEvent event(QEvent::MouseButtonRelease, QPointF(at), pie->mapToGlobal(QPointF(at)), button, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(pie, &event);
    }

    // Right-clicks the point and picks the popup command (0 closes the popup); the command bars run the
    // pick once the menu has closed.
    void RightClickAndPick(QPoint at, int id) {
        ScriptedPopup popup({id});
        Release(at, Qt::RightButton);
        QApplication::processEvents();
    }

    // The pie as a person sees it.
    QImage Shown() const { return pie->grab().toImage(); }
    static int32_t Packed(const QImage& image, QPoint at) {
        const QColor c = image.pixelColor(at);
        return PieTest::Rgb(c.red(), c.green(), c.blue());
    }

    CommandBar* PopupBar() const {
        auto* bars = pie->findChild<CommandBars*>(QStringLiteral("CommandBars"));
        for (int i = 0; i < bars->Count(); ++i)
            if (bars->Item(i)->Name() == QStringLiteral("Popup"))
                return bars->Item(i);
        return nullptr;
    }

    ModelGlobals m_globals;
    std::unique_ptr<QWidget> host;
    ColorMatch* pie = nullptr;
    int whiteSignals = 0;
};
