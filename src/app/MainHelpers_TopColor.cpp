#include "app/MainHelpers.h"

#include "app/TopColorHost.h"
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

void UpdateTopColorLabel(const TopColorHost& host) {
    const Color& top = *Globals::TopColor;
    const auto scratch = Factory::NewColor(Globals::TextureItem(1), CommandIds::RangeAllRGB, false);
    scratch->SetColor(top.Red(), top.Green(), top.Blue());

    bool slidersAtMaximum = true;
    for (const QSlider* slider : host.sldTopColor)
        slidersAtMaximum = slidersAtMaximum && slider->value() == slider->maximum();

    QString text;
    if (host.m_RangeType == CommandIds::RangeAllRGB && host.picColor.BackColor() == 0xFFFFFF)
        text = QStringLiteral("All Colors");
    else if (host.m_RangeType == CommandIds::RangeAllHSB && slidersAtMaximum)
        text = QStringLiteral("All Colors");
    else if (host.m_RangeType != CommandIds::RangeAllRGB)
        text = scratch->ToString(QStringLiteral("hsb"));
    else
        text = scratch->ToString(QString());
    host.lblAllColors.setText(text);

    const int bright = (top.Red() > 200 ? 1 : 0) + (top.Green() > 200 ? 1 : 0) + (top.Blue() > 200 ? 1 : 0);
    bool black = bright >= 2;
    if (host.m_RangeType == CommandIds::RangeReds || host.m_RangeType == CommandIds::RangeBlues)
        black = false;
    QPalette palette = host.lblAllColors.palette();
    palette.setColor(QPalette::WindowText, black ? Qt::black : Qt::white);
    host.lblAllColors.setPalette(palette);

    QFont font = host.lblAllColors.font();
    font.setPointSize(8);
    host.lblAllColors.setFont(font);
}

}  // namespace MainHelpers
