#include "app/ChooserHelper.h"

#include "app/ChooserHost.h"
#include "app/MainHelpers.h"
#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/CommandBarComboBox.h"
#include "platform/CommandBarCustom.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBarGalleryItems.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "platform/PictureBox.h"
#include "platform/RibbonBar.h"
#include "services/Cast.h"
#include "services/CommandIds.h"
#include "services/xptHelper.h"
#include "views/ColorHistory.h"
#include "views/ColorPanel.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSlider>

#include <algorithm>
#include <array>
#include <vector>

namespace ChooserHelper {

namespace {

using namespace CommandIds;

constexpr int GalleryIconSize = 32;
// The window message that makes a raised control re-place its shadows at its size.
constexpr int32_t SizeMessage = 5;

CommandBarControl* add(CommandBarControls& controls, CommandBarControl::Type type, int id, const QString& caption) {
    return controls.Add(type, id, caption, -1, false);
}

struct GalleryLook {
    int id;
    QString caption;
    int width;
};
struct DropDownLook {
    QString caption;
    int width;
    int height;
};

// A gallery in the group and, behind it, a drop-down bar "Textures" holding a larger gallery of the same
// id; both show the one item set.
void addGallery(RibbonGroup& group, CommandBars& bars, CommandBarGalleryItems* items, const GalleryLook& look,
                const DropDownLook& dropDownLook) {
    auto* gallery =
        static_cast<CommandBarGallery*>(add(group.Controls(), CommandBarControl::Gallery, look.id, look.caption));
    gallery->SetWidth(look.width);
    gallery->SetItems(items);

    CommandBar* dropDown = bars.Add(QStringLiteral("Textures"), CommandBar::Popup);
    auto* popupGallery = static_cast<CommandBarGallery*>(
        add(dropDown->Controls(), CommandBarControl::Gallery, look.id, dropDownLook.caption));
    popupGallery->SetWidth(dropDownLook.width);
    popupGallery->SetHeight(dropDownLook.height);
    popupGallery->SetItems(items);
    gallery->SetCommandBar(dropDown);
}

// A gallery picture of a texture file: its pattern, stretched to a light range, over a soft blue, so the dark
// grey patterns read clearly at icon size.
QPixmap texturePicture(const QString& file) {
    QImage pattern(file);
    QImage picture(GalleryIconSize, GalleryIconSize, QImage::Format_RGB32);
    const QColor tint(0xC4, 0xD4, 0xE8);
    if (pattern.isNull()) {
        picture.fill(tint);
    } else {
        pattern = pattern
                      .copy(0, 0, std::min(pattern.width(), GalleryIconSize * 2),
                            std::min(pattern.height(), GalleryIconSize * 2))
                      .scaled(GalleryIconSize, GalleryIconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_Grayscale8);
        int low = 255;
        int high = 0;
        for (int y = 0; y < GalleryIconSize; ++y)
            for (int x = 0; x < GalleryIconSize; ++x) {
                const int v = pattern.constScanLine(y)[x];
                low = std::min(low, v);
                high = std::max(high, v);
            }
        const double span = std::max(1, high - low);
        for (int y = 0; y < GalleryIconSize; ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < GalleryIconSize; ++x) {
                const double light = 0.55 + 0.45 * (pattern.constScanLine(y)[x] - low) / span;
                row[x] = qRgb(static_cast<int>(tint.red() * light), static_cast<int>(tint.green() * light),
                              static_cast<int>(tint.blue() * light));
            }
        }
    }
    QPainter painter(&picture);
    painter.setPen(QColor(0x6E, 0x80, 0x96));
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    painter.end();
    return QPixmap::fromImage(picture);
}

void fillTexturePictures(const ChooserHost& host) {
    if (!host.ImageManagerGalleryTextures)
        host.ImageManagerGalleryTextures = std::make_shared<CommandBarImageManager>();
    // Texture 1, "  No Texture", has no picture.
    for (const auto& texture : Globals::Textures)
        if (texture->TextureType() == TextureKind::Pattern)
            host.ImageManagerGalleryTextures->SetIcon(
                texture->Id(), texturePicture(App::Path() + QStringLiteral("/textures/") + texture->path()));
}

void refillProofers(const ChooserHost& host) {
    const int32_t position = Globals::GeneratedColors->Position();
    int32_t k = 0;
    for (auto proofer = host.cpList.rbegin(); proofer != host.cpList.rend(); ++proofer, ++k) {
        if (position - k < 1)
            break;
        (*proofer)->SetColor(Globals::GeneratedColors->Item(position - k));
    }
}

void setSliders(const ChooserHost& host, const std::array<int, 3>& values) {
    for (size_t i = 0; i < 3; ++i) host.TopColor.sldTopColor[i]->setValue(values[i]);
}

void setSliderMaxima(const ChooserHost& host, const std::array<int, 3>& maxima) {
    for (size_t i = 0; i < 3; ++i) host.TopColor.sldTopColor[i]->setMaximum(maxima[i]);
}

void setRangeCaption(const ChooserHost& host, const QString& caption) {
    if (RibbonBar* ribbon = host.Bars.Ribbon())
        if (RibbonTab* tab = ribbon->FindTab(SelectionTab))
            if (RibbonGroup* group = tab->FindGroup(ColorRangeGroup))
                group->SetCaption(caption);
}

// The single-hue ranges: the sliders' start values (hue, saturation, brightness), the fixed swatch colour and
// the group caption.
struct HueRange {
    int32_t id;
    std::array<int, 3> values;
    int32_t swatch;
    const char* caption;
};
constexpr std::array<HueRange, 7> HueRanges{{
    {RangeReds, {0, 100, 100}, 0x0000FF, "Color Range - Reds"},
    {RangeGreens, {120, 100, 100}, 0x00FF00, "Color Range - Greens"},
    {RangeBlues, {240, 100, 100}, 0xFF0000, "Color Range - Blues"},
    {RangeYellows, {60, 100, 100}, 0x00FFFF, "Color Range - Yellows"},
    {RangeMagentas, {300, 100, 100}, 0xFF00FF, "Color Range - Magentas"},
    {RangeCyans, {180, 100, 100}, 0xFFFF00, "Color Range - Cyans"},
    {RangeGreys, {0, 0, 100}, 0xB4B4B4, "Color Range - Greys"},
}};

}  // namespace

void BuildSelectionTab(RibbonBar& ribbon, const ChooserHost& host) {
    RibbonTab* tab = ribbon.InsertTab(0, QStringLiteral("Selection"));
    tab->SetId(SelectionTab);

    RibbonGroup* group = tab->AddGroup(QStringLiteral("&Create Colors"), CreateColorsGroup);
    add(group->Controls(), CommandBarControl::Button, CreateNewColors, QStringLiteral("Create  &New Colors"));
    auto* combo =
        static_cast<CommandBarComboBox*>(add(group->Controls(), CommandBarControl::ComboBox, ProoferCount, {}));
    combo->SetWidth(80);
    combo->SetBeginGroup(true);
    combo->AddItem(QStringLiteral("1 Proofer"));
    for (int count = 2; count <= 8; ++count) combo->AddItem(QStringLiteral("%1 Proofers").arg(count));
    combo->SetListIndex(3);
    CommandBarControl* keepAll =
        add(group->Controls(), CommandBarControl::Button, KeepAll, QStringLiteral(" Keep &All"));
    keepAll->SetHeight(41);
    keepAll->SetWidth(combo->Width());

    BuildTexturesGroup(ribbon, host);
    BuildSchemesGroup(ribbon, host, SelectionTab);
    BuildColorRangeGroup(ribbon, host);
}

void BuildTexturesGroup(RibbonBar& ribbon, const ChooserHost& host) {
    RibbonGroup* group = ribbon.FindTab(SelectionTab)->AddGroup(QStringLiteral("&Textures"), TexturesGroup);
    CommandBars& bars = host.Bars;

    fillTexturePictures(host);
    CommandBarGalleryItems* items = bars.CreateGalleryItems(TexturesGallery);
    items->SetItemSize(72, 56);
    items->AddLabel(QStringLiteral("Textures"));
    for (const auto& texture : Globals::Textures) items->AddItem(texture->Id(), texture->Name());
    items->SetIcons(host.ImageManagerGalleryTextures);

    addGallery(*group, bars, items, {TexturesGallery, QStringLiteral("Textures"), 235},
               {QStringLiteral("Textures"), 307, 190});
}

void BuildSchemesGroup(RibbonBar& ribbon, const ChooserHost& host, int32_t tabId) {
    RibbonGroup* group = ribbon.FindTab(tabId)->AddGroup(QStringLiteral("&Color Schemes"), SchemesGroup);
    CommandBars& bars = host.Bars;

    CommandBarGalleryItems* items = bars.CreateGalleryItems(SchemesItems);
    items->SetItemSize(72, 56);
    items->AddLabel(QStringLiteral("Schemes"));
    const std::array<const char*, 6> names{"One Scheme",   "Two Schemes",  "Three Schemes",
                                           "Four Schemes", "Five Schemes", "Six Schemes"};
    for (int i = 0; i < 6; ++i) items->AddItem(i + 1, QString::fromLatin1(names[static_cast<size_t>(i)]));

    addGallery(*group, bars, items, {SchemesGallery, QStringLiteral("History Groups"), 170},
               {QStringLiteral("Schemes"), 170, 190});
}

void BuildColorRangeGroup(RibbonBar& ribbon, const ChooserHost& host) {
    RibbonGroup* group = ribbon.FindTab(SelectionTab)->AddGroup(QStringLiteral("Color &Range"), ColorRangeGroup);
    CommandBarControl* type =
        add(group->Controls(), CommandBarControl::ButtonPopup, RangeTypePopup, QStringLiteral("&Type"));
    CommandBar* typeBar = type->GetCommandBar();
    const std::array<const char*, 10> captions{"All colors, RGB selection",
                                               "All colors, HSB selection",
                                               "Reds",
                                               "Greens",
                                               "Blues",
                                               "Yellows",
                                               "Magentas",
                                               "Cyans",
                                               "Grays",
                                               "User Defined Colors"};
    for (int i = 0; i < 10; ++i) {
        const int id = RangeAllRGB + i;
        CommandBarControl* item = add(typeBar->Controls(), CommandBarControl::Button, id,
                                      QString::fromLatin1(captions[static_cast<size_t>(i)]));
        if (id == RangeReds || id == RangeGreys || id == UserDefinedColors)
            item->SetBeginGroup(true);
        if (id == UserDefinedColors)
            item->SetEnabled(false);
    }

    SetColorRange(RangeAllRGB, typeBar, host);

    auto* custom = static_cast<CommandBarCustom*>(
        add(group->Controls(), CommandBarControl::Custom, TopColorBox, QStringLiteral("Color")));
    custom->SetHandle(host.picLimits);

    const Color& top = *Globals::TopColor;
    setSliders(host, {top.Red(), top.Green(), top.Blue()});
    host.TopColor.picColor.SetBackColor(top.RGBColor());
}

void ExecuteChooserCommand(CommandBarControl* control, const ChooserHost& host) {
    const int id = control->Id();
    if (id == CreateNewColors) {
        host.CreateNewColors();
    } else if (id == KeepAll) {
        std::vector<std::shared_ptr<Color>> colors;
        colors.reserve(host.cpList.size());
        for (const auto& proofer : host.cpList) colors.push_back(proofer->PanelColor());
        host.history[0]->AddColorPanels(colors);
        host.m_IsOpeningJustAfterStartup = false;
    } else if (id == ProoferCount) {
        if (auto* combo = dynamic_cast<CommandBarComboBox*>(control))
            host.SetProoferCount(combo->ListIndex(), true);
    } else if (id == TexturesGallery) {
        CommandBarGallery* gallery = Cast::ToGallery(control);
        if (!gallery || !gallery->SelectedItem())
            return;
        host.SelectedTexture = Globals::TextureItem(gallery->SelectedItem()->Id());
        for (const auto& proofer : host.cpList) {
            const auto color = proofer->PanelColor();
            if (color && color->ColorTexture() && color->ColorTexture()->TextureType() == TextureKind::Image)
                continue;
            proofer->ChangeTexture(host.SelectedTexture->Clone());
        }
    } else if (id == SchemesItems) {
        if (CommandBarGallery* gallery = Cast::ToGallery(control); gallery && gallery->SelectedItem())
            host.NumberOfHistoryGroups = gallery->SelectedItem()->Id();
        ShowHistoryGroups(host.NumberOfHistoryGroups, host);
        host.RefreshLayout();
    } else if (id >= RangeAllRGB && id <= UserDefinedColors) {
        SetColorRange(id, control->Parent(), host);
    } else if (id == PreviousColors) {
        if (Globals::GeneratedColors->MovePrevious())
            refillProofers(host);
    } else if (id == NextColors) {
        if (Globals::GeneratedColors->MoveNext())
            refillProofers(host);
    }
}

void ShowHistoryGroups(int32_t n, const ChooserHost& host) {
    for (size_t i = 0; i < host.history.size(); ++i) {
        ColorHistory& strip = *host.history[i];
        if (static_cast<int32_t>(i) < n) {
            strip.setVisible(true);
            strip.RefreshShadows(SizeMessage);
        } else {
            strip.setVisible(false);
            strip.HideShadows();
        }
    }
    host.RefreshLayout();
    // The schemes galleries check the count through the Update round; a document read at start-up runs no command
    // that would ask for one.
    host.Bars.ScheduleRibbonUpdate();
}

void SelectTextureByName(const QString& name, const ChooserHost& host) {
    CommandBarGallery* gallery = Cast::ToGallery(host.Bars.FindControl(TexturesGallery));
    if (!gallery || !gallery->Items())
        return;
    const QString wanted = name.trimmed().toUpper();
    CommandBarGalleryItems& items = *gallery->Items();
    for (int i = 0; i < items.Count(); ++i) {
        CommandBarGalleryItem* item = items.Item(i);
        // A label heads the gallery and stands for no texture.
        if (item->IsLabel() || item->Caption().trimmed().toUpper() != wanted)
            continue;
        gallery->SetSelectedItem(item);
        host.SelectedTexture = Globals::TextureItem(item->Id());
        return;
    }
}

void SetColorRange(int32_t rangeId, CommandBar* typeBar, const ChooserHost& host) {
    for (int id = RangeAllRGB; id <= UserDefinedColors; ++id) xptHelper::SetControlChecked(typeBar, id, false);
    xptHelper::SetControlChecked(typeBar, rangeId, true);

    if (rangeId != UserDefinedColors) {
        host.TopColor.m_RangeType = rangeId;
        host.m_IsUDC = false;
    } else {
        host.m_IsUDC = true;
    }

    Color& top = *Globals::TopColor;
    if (rangeId == RangeAllRGB) {
        setSliderMaxima(host, {255, 255, 255});
        setSliders(host, {255, 255, 255});
        top.SetRed(255);
        top.SetGreen(255);
        top.SetBlue(255);
        host.TopColor.picColor.SetBackColor(top.RGBColor());
        setRangeCaption(host, QStringLiteral("Color Range - All Colors RGB"));
    } else if (rangeId == RangeAllHSB) {
        setSliderMaxima(host, {359, 100, 100});
        setSliders(host, {359, 100, 100});
        top.SetHue(359);
        top.SetSaturation(100);
        top.SetBrightness(100);
        host.TopColor.picColor.SetBackColor(top.RGBColor());
        setRangeCaption(host, QStringLiteral("Color Range - All Colors HSB"));
    } else if (rangeId == UserDefinedColors) {
        setRangeCaption(host, host.TopColor.m_RangeType == RangeAllRGB ? QStringLiteral("Color Range - My Colors RGB")
                                                                       : QStringLiteral("Color Range - My Colors HSB"));
        host.Bars.RecalcLayout();
    } else {
        for (const HueRange& range : HueRanges) {
            if (range.id != rangeId)
                continue;
            setSliderMaxima(host, {359, 100, 100});
            host.TopColor.picColor.SetBackColor(range.swatch);
            setSliders(host, range.values);
            setRangeCaption(host, QString::fromLatin1(range.caption));
            top.SetHue(host.TopColor.sldTopColor[0]->value());
            top.SetSaturation(host.TopColor.sldTopColor[1]->value());
            top.SetBrightness(host.TopColor.sldTopColor[2]->value());
        }
    }

    host.Bars.RecalcLayout();
    MainHelpers::UpdateTopColorLabel(host.TopColor);
}

}  // namespace ChooserHelper
