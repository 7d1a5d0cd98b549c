#include "views/SwatchPopup.h"

#include "imaging/cDIBSection.h"
#include "model/Color.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/CommandBar.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBarCustom.h"
#include "platform/CommandBars.h"
#include "platform/Numeric.h"
#include "platform/PictureBox.h"
#include "platform/Twips.h"
#include "services/CommandIds.h"
#include "services/xptHelper.h"
#include "views/PopupBars.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QSlider>
#include <QWidget>

namespace {

void setClipboardText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

CommandBarControl* add(CommandBarControls& to, CommandBarControl::Type type, int id, const QString& caption,
                       bool beginGroup = false) {
    CommandBarControl* control = to.Add(type, id, caption, -1, false);
    if (beginGroup)
        control->SetBeginGroup(true);
    return control;
}

}  // namespace

// The slider box lives hidden until the popup lends it to its "Adj&ust Color" submenu.
PictureBox* SwatchPopup::MakeSliderBox(QWidget* parent, std::vector<QLabel*>& labels, std::vector<QSlider*>& sliders) {
    const double pixelsPerTwip = parent->logicalDpiX() / Twips::PerInch;
    const auto px = [pixelsPerTwip](int twips) { return Numeric::Round(twips * pixelsPerTwip); };
    auto* picColor = new PictureBox(parent);
    picColor->setObjectName(QStringLiteral("picColor"));
    const QColor face = parent->palette().color(QPalette::Window);
    picColor->SetBackColor(face.red() + 256 * face.green() + 65536 * face.blue());
    picColor->resize(px(2235), px(975));
    picColor->hide();
    const QString captions[3] = {QStringLiteral("Red:"), QStringLiteral("Green:"), QStringLiteral("Blue:")};
    const int tops[3] = {60, 360, 660};
    // Where Tahoma is missing a wider face stands in; it shrinks until "Green:" ends before its slider. The
    // fitting is measured once per label width: a strip makes a box for every one of its swatches.
    static int fittedWidth = -1;
    static QFont font;
    if (fittedWidth != px(540 - 60)) {
        fittedWidth = px(540 - 60);
        font = QFont(QStringLiteral("Tahoma"));
        font.setPointSizeF(8.25);
        while (font.pointSizeF() > 5.0 && QFontMetrics(font).horizontalAdvance(captions[1]) > fittedWidth)
            font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(captions[i], picColor);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setFont(font);
        label->move(px(60), px(tops[i]));
        label->resize(px(540 - 60), px(255));
        labels.push_back(label);

        auto* slider = new QSlider(Qt::Horizontal, picColor);
        slider->setObjectName(QStringLiteral("sldColor%1").arg(i));
        slider->setRange(0, 255);
        slider->setSingleStep(1);
        slider->setPageStep(10);
        // A change is reported once the thumb is let go, not on every step of a drag.
        slider->setTracking(false);
        slider->setGeometry(px(540), px(tops[i]), px(1695), px(255));
        sliders.push_back(slider);
    }
    return picColor;
}

SwatchPopup::SwatchPopup(QWidget* owner, SwatchPopupHost& host) : QObject(owner), m_host(host) {
    m_commandBars = PopupBars::Create(
        owner, this, [this](CommandBarControl* control) { Execute(control); },
        [this](CommandBar* bar) { Opening(bar); });
}

// The command bars go while the swatch they watch is still whole.
SwatchPopup::~SwatchPopup() { delete m_commandBars; }

void SwatchPopup::SetIcons(std::shared_ptr<CommandBarImageManager> icons) {
    if (icons)
        m_commandBars->SetIcons(std::move(icons));
}

void SwatchPopup::Build(bool containerIsHistory, QWidget* sliderBox, const std::shared_ptr<Texture>& own) {
    using namespace CommandIds;
    m_commandBars->ActiveMenuBar()->SetVisible(false);
    // A swatch that is disposed and initialised again fills its one popup bar anew.
    for (int i = 0; i < m_commandBars->Count() && !m_bar; ++i)
        if (m_commandBars->Item(i)->Name() == QStringLiteral("Popup"))
            m_bar = m_commandBars->Item(i);
    if (!m_bar)
        m_bar = m_commandBars->Add(QStringLiteral("Popup"), CommandBar::Popup);
    CommandBarControls& controls = m_bar->Controls();
    controls.DeleteAll();
    if (!containerIsHistory) {
        add(controls, CommandBarControl::Button, KeepIt, QStringLiteral("&Keep it!"));
        add(controls, CommandBarControl::Button, FixIt, QStringLiteral("&Fix it!"));
    }
    add(controls, CommandBarControl::Button, CopyRGB, QString(), true);
    add(controls, CommandBarControl::Button, CopyHSB, QString());
    add(controls, CommandBarControl::Button, CopyHTML, QString());
    add(controls, CommandBarControl::Button, CopyImage, QStringLiteral("Cop&y Image"), true);
    CommandBarControl* adjust = add(controls, CommandBarControl::Popup, AdjustColor, QStringLiteral("Adj&ust Color"));
    auto* sliders = static_cast<CommandBarCustom*>(
        add(adjust->GetCommandBar()->Controls(), CommandBarControl::Custom, Adjust, QStringLiteral("&Adjust")));
    sliders->SetHandle(sliderBox);
    add(controls, CommandBarControl::Button, LoadImage, QStringLiteral("&Load Image..."), true);
    add(controls, CommandBarControl::Button, RemoveImage, QStringLiteral("&Remove Image"));
    CommandBarControl* textures =
        add(controls, CommandBarControl::Popup, TexturesMenu, QStringLiteral("&Textures"), true);
    for (size_t i = 0; i < Globals::Textures.size(); ++i) {
        const auto& texture = Globals::Textures[i];
        CommandBarControl* item = add(textures->GetCommandBar()->Controls(), CommandBarControl::Button, texture->Id(),
                                      texture->Name(), i == 1);
        item->SetChecked(own && texture->Equals(own));
    }
    if (containerIsHistory) {
        add(controls, CommandBarControl::Button, DeleteColor, QStringLiteral("&Delete Color"), true);
        add(controls, CommandBarControl::Button, DeleteAllColors, QStringLiteral("D&elete All"));
        add(controls, CommandBarControl::Button, AddAll, QStringLiteral("&Add All"), true);
        add(controls, CommandBarControl::Button, AddBlackAndWhite, QStringLiteral("Add &Black && White"));
        add(controls, CommandBarControl::Button, Comments, QStringLiteral("C&omments..."), true);
        xptHelper::AddSortMenu(m_bar, false);
    }
}

void SwatchPopup::Release() {
    if (!m_bar)
        return;
    m_bar->Controls().DeleteAll();
    m_bar = nullptr;
}

void SwatchPopup::CheckTexture(int32_t id) {
    if (!m_bar)
        return;
    CommandBarControl* textures = m_bar->FindControl(CommandIds::TexturesMenu);
    if (!textures || !textures->GetCommandBar())
        return;
    for (const auto& item : textures->GetCommandBar()->Controls()) item->SetChecked(item->Id() == id);
}

void SwatchPopup::RenewCaptions() {
    if (!m_bar)
        return;
    SetCopyCaptions(m_bar);
    m_bar->RedrawBar();
}

void SwatchPopup::Show(const QPoint& globalPos) {
    if (m_bar)
        m_bar->ShowPopup(globalPos);
}

void SwatchPopup::SetCopyCaptions(CommandBar* bar) {
    const std::shared_ptr<Color> color = m_host.PopupColor();
    if (!color)
        return;
    xptHelper::SetControlCaption(bar, CommandIds::CopyRGB, QStringLiteral("Copy RGB: ") + color->ToString(QString()));
    xptHelper::SetControlCaption(bar, CommandIds::CopyHSB,
                                 QStringLiteral("Copy HSB: ") + color->ToString(QStringLiteral("hsb")));
    xptHelper::SetControlCaption(bar, CommandIds::CopyHTML,
                                 QStringLiteral("Copy HTML: ") + color->ToString(QStringLiteral("html")));
}

void SwatchPopup::Opening(CommandBar* bar) {
    try {
        SetCopyCaptions(bar);
        xptHelper::SetControlChecked(bar, CommandIds::FixIt, m_host.PopupFixed());
        const bool picture = m_host.PopupTextureKind() == TextureKind::Image;
        // Only a picture closes the textures: they would replace it.
        xptHelper::SetControlEnabled(bar, CommandIds::TexturesMenu, !picture);
        xptHelper::SetControlEnabled(bar, CommandIds::RemoveImage, picture);
    } catch (...) {
    }
}

void SwatchPopup::Execute(CommandBarControl* control) {
    using namespace CommandIds;
    using Event = SwatchPopupHost::Event;
    if (!control)
        return;
    const int id = control->Id();
    const auto copyText = [this](const QString& format) {
        if (const std::shared_ptr<Color> color = m_host.PopupColor())
            setClipboardText(color->ToString(format));
    };
    switch (id) {
        case CopyImage: {
            QGuiApplication::clipboard()->clear();
            const cDIBSection* bitmap = m_host.PopupImage();
            if (bitmap && bitmap->Width() > 0)
                const_cast<cDIBSection*>(bitmap)->CopyToClipboard(false);
            return;
        }
        case CopyRGB: copyText(QString()); return;
        case CopyHSB: copyText(QStringLiteral("hsb")); return;
        case CopyHTML: copyText(QStringLiteral("html")); return;
        case DeleteColor: m_host.PopupDeleteColor(); return;
        case KeepIt: m_host.PopupRaise(Event::SendToHistory, 0); return;
        case FixIt:
            control->SetChecked(!control->Checked());
            m_host.SetPopupFixed(control->Checked());
            return;
        case LoadImage: m_host.PopupLoadImage(); return;
        case RemoveImage: m_host.PopupRemoveImage(); return;
        case DeleteAllColors: m_host.PopupRaise(Event::DeleteAll, 0); return;
        case AddAll: m_host.PopupRaise(Event::KeepAll, 0); return;
        case AddBlackAndWhite: m_host.PopupRaise(Event::AddBlackAndWhite, 0); return;
        case Comments: m_host.PopupRaise(Event::ShowComments, 0); return;
        default: break;
    }
    if (SortCommands.Contains(id)) {
        m_host.PopupRaise(Event::Sort, id - SortColorsByRGBSum);
        return;
    }
    if (Globals::Textures.empty())
        return;
    // Texture ids are their positions in the list.
    if (id >= Globals::Textures.front()->Id() && id <= Globals::Textures.back()->Id()) {
        if (CommandBar* bar = control->Parent())
            for (const auto& item : bar->Controls()) item->SetChecked(false);
        control->SetChecked(true);
        m_host.PopupChangeTexture(Globals::TextureItem(id));
    }
}
