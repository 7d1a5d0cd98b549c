#include "app/frmMain.h"

#include "app/ChooserHelper.h"
#include "app/MainHelpers.h"
#include "model/Color.h"
#include "model/Globals.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBars.h"
#include "platform/ControlDrag.h"
#include "platform/PictureBox.h"
#include "services/CommandIds.h"
#include "views/ColorPanel.h"

#include <QEvent>
#include <QLabel>
#include <QSlider>

// The top-colour swatch, its label and its three sliders.

namespace {

// Runs the handler on every press of any mouse button on the watched control.
class PressWatcher : public QObject {
public:
    PressWatcher(QObject* watched, std::function<void()> onPress) : QObject(watched), m_onPress(std::move(onPress)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress)
            m_onPress();
        return false;
    }

private:
    std::function<void()> m_onPress;
};

}  // namespace

void frmMain::ConnectTopColorBox() {
    for (size_t i = 0; i < sldTopColor.size(); ++i) {
        QSlider* slider = sldTopColor[i];
        const int index = static_cast<int>(i);
        // Only the user's moves count here: code that sets the sliders runs the handler itself once it is done,
        // and a range's own swatch colour must not be overwritten half-way through.
        connect(slider, &QSlider::actionTriggered, this, [this, slider, index] {
            slider->setValue(slider->sliderPosition());
            sldTopColor_Change(index);
        });
    }
    new PressWatcher(picColor, [this] { picColor_MouseDown(); });
    new PressWatcher(lblAllColors, [this] { lblAllColors_MouseDown(); });
    ControlDrag::AcceptDrops(picColor, [this](QWidget* source) { picColor_DragDrop(source); });
    ControlDrag::AcceptDrops(lblAllColors, [this](QWidget* source) { lblAllColors_DragDrop(source); });
}

void frmMain::sldTopColor_Change(int) {
    Color& top = *Globals::TopColor;
    const int first = sldTopColor[0]->value();
    const int second = sldTopColor[1]->value();
    const int third = sldTopColor[2]->value();
    if (m_RangeType == CommandIds::RangeAllRGB) {
        top.SetRed(first);
        top.SetGreen(second);
        top.SetBlue(third);
    } else {
        top.SetHue(first);
        top.SetSaturation(second);
        top.SetBrightness(third);
    }
    picColor->SetBackColor(top.RGBColor());
    MainHelpers::UpdateTopColorLabel(topColorHost());
}

void frmMain::picColor_DragDrop(QWidget* source) {
    if (!IsProofer(source) && StripIndex(source) < 0)
        return;
    ColorPanel* panel = SourcePanel(source);
    if (!panel)
        return;
    // Hold the colour: switching the range may touch the views.
    const std::shared_ptr<Color> color = panel->PanelColor();
    CommandBarControl* userDefined = m_commandBars->FindControl(CommandIds::UserDefinedColors);
    ChooserHelper::SetColorRange(CommandIds::UserDefinedColors, userDefined ? userDefined->Parent() : nullptr,
                                 chooserHost());
    if (m_RangeType == CommandIds::RangeAllRGB) {
        sldTopColor[0]->setValue(color->Red());
        sldTopColor[1]->setValue(color->Green());
        sldTopColor[2]->setValue(color->Blue());
    } else {
        sldTopColor[0]->setValue(color->Hue());
        sldTopColor[1]->setValue(color->Saturation());
        sldTopColor[2]->setValue(color->Brightness());
        m_RangeType = CommandIds::RangeAllHSB;
    }
    sldTopColor_Change(0);
    MainHelpers::UpdateTopColorLabel(topColorHost());
}

void frmMain::lblAllColors_DragDrop(QWidget* source) { picColor_DragDrop(source); }

void frmMain::picColor_MouseDown() { StartDrag(picColor, nullptr, picColor->BackColor()); }

void frmMain::lblAllColors_MouseDown() { picColor_MouseDown(); }
