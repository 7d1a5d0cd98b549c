#include "app/MainHelpers.h"

#include "app/frmMain.h"
#include "model/Color.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "platform/PictureBox.h"
#include "services/CommandIds.h"

#include <QLabel>
#include <QSlider>

namespace MainHelpers {

void ResetTopColor() {
    Globals::TopColor->SetRed(255);
    Globals::TopColor->SetGreen(255);
    Globals::TopColor->SetBlue(255);
}

void UpdateTopColorLabel(frmMain& frm) {
    const Color& top = *Globals::TopColor;
    const auto scratch = Factory::NewColor(Globals::TextureItem(1), CommandIds::RangeAllRGB, false);
    scratch->SetColor(top.Red(), top.Green(), top.Blue());

    bool slidersAtMaximum = true;
    for (const QSlider* slider : frm.sldTopColor)
        slidersAtMaximum = slidersAtMaximum && slider->value() == slider->maximum();

    QString text;
    if (frm.m_RangeType == CommandIds::RangeAllRGB && frm.picColor->BackColor() == 0xFFFFFF)
        text = QStringLiteral("All Colors");
    else if (frm.m_RangeType == CommandIds::RangeAllHSB && slidersAtMaximum)
        text = QStringLiteral("All Colors");
    else if (frm.m_RangeType != CommandIds::RangeAllRGB)
        text = scratch->ToString(QStringLiteral("hsb"));
    else
        text = scratch->ToString(QString());
    frm.lblAllColors->setText(text);

    const int bright = (top.Red() > 200 ? 1 : 0) + (top.Green() > 200 ? 1 : 0) + (top.Blue() > 200 ? 1 : 0);
    bool black = bright >= 2;
    if (frm.m_RangeType == CommandIds::RangeReds || frm.m_RangeType == CommandIds::RangeBlues)
        black = false;
    QPalette palette = frm.lblAllColors->palette();
    palette.setColor(QPalette::WindowText, black ? Qt::black : Qt::white);
    frm.lblAllColors->setPalette(palette);

    QFont font = frm.lblAllColors->font();
    font.setPointSize(8);
    frm.lblAllColors->setFont(font);
}

}  // namespace MainHelpers
