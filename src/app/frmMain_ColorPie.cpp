#include "app/frmMain.h"

#include "model/Color.h"
#include "model/ColorConverter.h"
#include "model/Globals.h"
#include "platform/ControlDrag.h"
#include "platform/PictureBox.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include <pugixml.hpp>

void frmMain::BuildBackColorBox() {
    // The background box that the "Color Pie" tab hosts, laid out like the colour-range box.
    picBackColor = BuildSwatchBox(QStringLiteral("picBackColor"), picBColor, QStringLiteral("picBColor"), sldBackColor,
                                  QStringLiteral("sldBackColor"));
    picBColor->SetBackColor(ColorMatch::White);

    // The label covers the swatch but for its one-pixel frame, and carries the same colour.
    lblMatchBackColor = new QLabel(picBColor);
    lblMatchBackColor->setObjectName(QStringLiteral("lblMatchBackColor"));
    lblMatchBackColor->setGeometry(1, 1, picBColor->width() - 2, picBColor->height() - 2);
    lblMatchBackColor->setAlignment(Qt::AlignCenter);
    lblMatchBackColor->setWordWrap(true);
    lblMatchBackColor->setAutoFillBackground(true);

    for (int i = 0; i < 3; ++i) {
        QSlider* slider = sldBackColor[static_cast<size_t>(i)];
        slider->setValue(255);
        connect(slider, &QSlider::valueChanged, this, [this, i] { sldBackColor_Change(i); });
    }

    ControlDrag::AcceptDrops(picBColor, [this](QWidget* source) { picBColor_DragDrop(source); });
    ControlDrag::AcceptDrops(lblMatchBackColor, [this](QWidget* source) { lblMatchBackColor_DragDrop(source); });
    connect(ctlMatch.get(), &ColorMatch::SetBackColorWhite, this, &frmMain::ctlMatch_SetBackColorWhite);

    UpdateMatchBackLabel();
}

MatchHelperHost frmMain::matchHelperHost() { return MatchHelperHost{picBackColor, *picBColor, sldBackColor}; }

void frmMain::sldBackColor_Change(int) {
    ctlMatch->SetBackColor(sldBackColor[0]->value() + 256 * sldBackColor[1]->value() +
                           65536 * sldBackColor[2]->value());
    picBColor->SetBackColor(ctlMatch->BackColor());
    ctlMatch->SetIsDirty(true);
    UpdateMatchBackLabel();
}

void frmMain::UpdateMatchBackLabel() {
    const int32_t back = ctlMatch->BackColor();
    const int red = sldBackColor[0]->value();
    const int green = sldBackColor[1]->value();
    const int blue = sldBackColor[2]->value();
    QPalette palette = lblMatchBackColor->palette();
    palette.setColor(QPalette::Window, QColor(back & 0xFF, (back >> 8) & 0xFF, (back >> 16) & 0xFF));
    palette.setColor(QPalette::WindowText, red + green + blue < 200 ? Qt::white : Qt::black);
    lblMatchBackColor->setPalette(palette);
    lblMatchBackColor->setText(QStringLiteral("(%1, %2, %3)").arg(red).arg(green).arg(blue));
}

void frmMain::SetBackColorSliders(int red, int green, int blue) {
    // Each value change would run the handler by itself; the values are set quietly and the handler runs once.
    const std::array<int, 3> values{red, green, blue};
    for (size_t i = 0; i < 3; ++i) {
        const QSignalBlocker quiet(sldBackColor[i]);
        sldBackColor[i]->setValue(values[i]);
    }
    sldBackColor_Change(0);
}

void frmMain::picBColor_DragDrop(QWidget* source) {
    auto* strip = qobject_cast<ColorHistory*>(source);
    if (!strip)
        return;
    const ColorPanel* panel = strip->SelectedPanel();
    if (!panel)
        return;
    const std::shared_ptr<Color> color = panel->PanelColor();
    if (!color)
        return;
    SetBackColorSliders(color->Red(), color->Green(), color->Blue());
}

void frmMain::lblMatchBackColor_DragDrop(QWidget* source) { picBColor_DragDrop(source); }

void frmMain::ctlMatch_SetBackColorWhite() { SetBackColorSliders(255, 255, 255); }

void frmMain::ReadMatch(const pugi::xml_document& document) {
    ctlMatch->DeSerialize(this, document.select_node("//Root/Match").node(), DocumentFolder);
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
    Globals::Converter->SplitRGB(ctlMatch->BackColor(), red, green, blue);
    SetBackColorSliders(red, green, blue);
    ctlMatch->SetIsDirty(false);
}
