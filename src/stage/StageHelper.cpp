#include "stage/StageHelper.h"

#include "model/KeyNamePair.h"
#include "model/SortedCollection.h"
#include "platform/CommandBar.h"
#include "platform/CommandBarComboBox.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBarControls.h"
#include "platform/CommandBarEdit.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBarGalleryItem.h"
#include "platform/CommandBarGalleryItems.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "platform/Numeric.h"
#include "platform/PictureReader.h"
#include "platform/RibbonBar.h"
#include "platform/RibbonGroup.h"
#include "platform/RibbonTab.h"
#include "platform/RuntimeError.h"
#include "services/CommandIds.h"
#include "services/SpecialFolders.h"
#include "stage/Stage.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <utility>

using namespace CommandIds;

namespace StageHelper {

namespace {

constexpr int kLastGalleryId = 500;
constexpr qint64 kThumbnailFileLimit = 1'000'000;

std::shared_ptr<FontInfo>& StageFont() {
    static std::shared_ptr<FontInfo> font;
    return font;
}

void ResetStageFont() { StageFont() = std::make_shared<FontInfo>(FontInfo{QStringLiteral("Tahoma"), 22.0}); }

int32_t& Counter() {
    static int32_t counter = 0;
    return counter;
}

bool IsNumeric(const QString& text, double& value) {
    try {
        value = Numeric::ToDouble(text);
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

RibbonTab& StagingTabOf(RibbonBar& ribbon) {
    RibbonTab* tab = ribbon.Tab(1);
    if (!tab) {
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    }
    return *tab;
}

CommandBars& BarsOf(RibbonBar& ribbon) {
    if (!ribbon.Owner()) {
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    }
    return *ribbon.Owner();
}

CommandBarControl* Add(CommandBarControls& controls, CommandBarControl::Type type, int id, const QString& caption,
                       bool beginGroup = false) {
    CommandBarControl* control = controls.Add(type, id, caption, -1, false);
    if (beginGroup) {
        control->SetBeginGroup(true);
    }
    return control;
}

// A gallery in a drop-down bar of its own that shows an item set.
CommandBarGallery* AddGallery(CommandBarControls& controls, int id, CommandBarGalleryItems* items, int width,
                              int height) {
    auto* gallery = static_cast<CommandBarGallery*>(Add(controls, CommandBarControl::Gallery, id, QString()));
    gallery->SetItems(items);
    gallery->SetWidth(width);
    gallery->SetHeight(height);
    return gallery;
}

// Makes the thumbnails of a filled gallery one per turn of the event loop, in order, so the window shows
// before they are all made. It lives as a child of the command bars and goes with them.
class ThumbnailLoader : public QObject {
public:
    ThumbnailLoader(CommandBars& bars, CommandBarGalleryItems& items)
        : QObject(&bars), m_bars(&bars), m_items(&items) {}

    void Add(int32_t id, const QString& path) { m_queue.emplace_back(id, path); }
    void Start() {
        QTimer::singleShot(0, this, [this] { Next(); });
    }

private:
    void Next() {
        if (m_queue.empty()) {
            deleteLater();
            return;
        }
        const auto [id, path] = m_queue.front();
        m_queue.pop_front();
        try {
            // Decoded straight at the thumbnail's size where the format can, else scaled once read.
            QSize target;
            const QImage read = PictureReader::Read(path, [&target](const QSize& declared) {
                target = ThumbnailSize(declared);
                return target;
            });
            if (!target.isValid()) {
                target = ThumbnailSize(read.size());
            }
            const QImage thumb =
                read.size() == target ? read : read.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            m_items->Icons().SetIcon(id, QPixmap::fromImage(thumb));
            m_bars->NotifyChanged(false);
        } catch (...) {
        }
        Start();
    }

    CommandBars* m_bars;
    CommandBarGalleryItems* m_items;
    std::deque<std::pair<int32_t, QString>> m_queue;
};

void SelectTool(StageHost& host, int32_t tool, int id) {
    host.stage.SetObject(tool);
    ShowFontGroup(id == ToolText, host);
    if (id == ToolRectangles || id == ToolEllipses) {
        host.stage.SetFillFlood(false);
    } else if (id == ToolFilledRectangles || id == ToolFilledEllipses) {
        host.stage.SetFillFlood(true);
    }
}

void LineWidthCommand(CommandBarControl* control, Stage& stage) {
    double value = 0;
    if (control->GetType() == CommandBarControl::Edit) {
        auto* edit = static_cast<CommandBarEdit*>(control);
        if (!IsNumeric(edit->Text(), value)) {
            edit->SetText(QString());
            return;
        }
        if (value >= 100) {
            edit->SetText(QStringLiteral("100"));
            stage.SetLineThickness(100);
            return;
        }
        stage.SetLineThickness(Numeric::RoundToInteger(value));
        return;
    }
    value = Numeric::ToDouble(control->Parameter());
    if (value >= 100) {
        control->SetParameter(QStringLiteral("100"));
        stage.SetLineThickness(100);
        return;
    }
    stage.SetLineThickness(Numeric::RoundToInteger(value));
}

void FontSizeCommand(CommandBarControl* control) {
    auto* combo = static_cast<CommandBarComboBox*>(control);
    double value = 0;
    if (!IsNumeric(combo->Text(), value)) {
        combo->SetText(QStringLiteral("22"));
        value = 22;
    }
    if (value >= 200) {
        combo->SetText(QStringLiteral("200"));
        value = 200;
    }
    CurrentFont()->size = value;
}

}  // namespace

void BuildStagingTab(StageHost& host) {
    RibbonTab* tab = host.ribbon.InsertTab(1, QStringLiteral("Staging"));
    tab->SetId(StagingTab);
    BuildImagesGroup(host);
    BuildToolboxGroups(host);
    BuildFontGroup(host);
}

void BuildImagesGroup(StageHost& host) {
    CommandBars& bars = BarsOf(host.ribbon);
    RibbonGroup* group = StagingTabOf(host.ribbon).AddGroup(QStringLiteral("&Images"), ImagesGroup);
    CommandBarControl* file =
        Add(group->Controls(), CommandBarControl::ButtonPopup, ImageFilePopup, QStringLiteral("   Image File   "));
    Add(file->GetCommandBar()->Controls(), CommandBarControl::Button, OpenPicture, QStringLiteral("&Open..."), true)
        ->SetIconId(4009);
    Add(file->GetCommandBar()->Controls(), CommandBarControl::Button, SavePictureAs, QStringLiteral("Save &As"), true)
        ->SetIconId(4010);

    CommandBarGalleryItems* items = bars.CreateGalleryItems(PicturesGallery);
    items->SetItemSize(72, 56);
    items->AddLabel(QStringLiteral("My Pictures"));
    FillPictureGallery(SpecialFolders::MyPicturesFolder(), *items, bars);

    auto* gallery = static_cast<CommandBarGallery*>(
        Add(group->Controls(), CommandBarControl::Gallery, PicturesGallery, QStringLiteral("My Pictures")));
    gallery->SetItems(items);
    gallery->SetWidth(235);
    CommandBar* popup = bars.Add(QStringLiteral("MyPictures"), CommandBar::Popup);
    auto* pictures = AddGallery(popup->Controls(), PicturesGallery, items, 307, 190);
    pictures->SetCaption(QStringLiteral("Pictures"));
    gallery->SetCommandBar(popup);
}

void BuildToolboxGroups(StageHost& host) {
    RibbonTab& tab = StagingTabOf(host.ribbon);
    RibbonGroup* control = tab.AddGroup(QStringLiteral("&Control Toolbox"), ToolboxGroup);
    Add(control->Controls(), CommandBarControl::Button, ZoomIn, QStringLiteral("Zoom in"));
    Add(control->Controls(), CommandBarControl::Button, ZoomOut, QStringLiteral("Zoom out"));
    Add(control->Controls(), CommandBarControl::Button, OriginalSize, QStringLiteral("Original Size"));
    Add(control->Controls(), CommandBarControl::Button, ClearStage, QStringLiteral("Clear"));

    RibbonGroup* drawing = tab.AddGroup(QStringLiteral("&Drawing Toolbox"), ToolboxGroup);
    CommandBarControl* lines =
        Add(drawing->Controls(), CommandBarControl::SplitButtonPopup, ToolLines, QStringLiteral("Lines"));
    CommandBarControls& widths = lines->GetCommandBar()->Controls();
    Add(widths, CommandBarControl::Label, LineWidth, QStringLiteral("Line width"));
    for (const char* width : {"1", "3", "5", "7", "9", "15", "20", "25", "30", "35", "40"}) {
        Add(widths, CommandBarControl::Button, LineWidth, QString::fromLatin1(width))
            ->SetParameter(QString::fromLatin1(width));
    }
    Add(widths, CommandBarControl::Edit, LineWidth, QStringLiteral("Other: "));
    Add(drawing->Controls(), CommandBarControl::Button, ToolText, QStringLiteral("Text"));
    Add(drawing->Controls(), CommandBarControl::Button, ToolFlood, QStringLiteral("Flood"));
    struct Shape {
        int id;
        const char* caption;
        bool beginGroup;
    };
    for (const Shape& shape :
         {Shape{ToolRectangles, "Rectangles", true}, Shape{ToolFilledRectangles, "Filled Rectangles", false},
          Shape{ToolEllipses, "Ellipses", true}, Shape{ToolFilledEllipses, "Filled Ellipses", false}}) {
        CommandBarControl* button = Add(drawing->Controls(), CommandBarControl::Button, shape.id,
                                        QString::fromLatin1(shape.caption), shape.beginGroup);
        button->SetWidth(100);
        button->SetHeight(32);
        if (shape.id == ToolRectangles) {
            button->SetIconId(6012);
        }
    }
}

void BuildFontGroup(StageHost& host) {
    CommandBars& bars = BarsOf(host.ribbon);
    RibbonGroup* group = StagingTabOf(host.ribbon).AddGroup(QStringLiteral("&Font"), FontGroup);

    CommandBarGalleryItems* fonts = bars.CreateGalleryItems(FontName);
    fonts->SetItemSize(0, 20);
    SortedCollection sorted;
    const QStringList families = QFontDatabase::families();
    for (int i = 0; i < families.size(); ++i) {
        if (!families.at(i).isEmpty()) {
            sorted.AddPair(std::make_shared<KeyNamePair>(KeyNamePair{i, families.at(i)}));
        }
    }
    for (const SortedCollection::Entry& entry : sorted) {
        const auto& pair = std::get<std::shared_ptr<KeyNamePair>>(entry);
        fonts->AddItem(pair->Key, pair->Name);
    }
    auto* nameCombo =
        static_cast<CommandBarComboBox*>(Add(group->Controls(), CommandBarControl::ComboBox, FontName, QString()));
    nameCombo->SetWidth(130);
    nameCombo->SetText(QStringLiteral("Tahoma"));
    CommandBar* namePopup = bars.Add(QStringLiteral("Combo Popup"), CommandBar::ComboPopup);
    AddGallery(namePopup->Controls(), FontName, fonts, 290, 508);
    nameCombo->SetCommandBar(namePopup);

    CommandBarGalleryItems* sizes = bars.CreateGalleryItems(FontSize);
    sizes->SetItemSize(0, 17);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72}) {
        sizes->AddItem(size, QString::number(size));
    }
    auto* sizeCombo =
        static_cast<CommandBarComboBox*>(Add(group->Controls(), CommandBarControl::ComboBox, FontSize, QString()));
    sizeCombo->SetWidth(50);
    sizeCombo->SetText(QStringLiteral("22"));
    CommandBar* sizePopup = bars.Add(QStringLiteral("Combo Popup"), CommandBar::ComboPopup);
    AddGallery(sizePopup->Controls(), FontSize, sizes, 42, 272);
    sizeCombo->SetCommandBar(sizePopup);

    Add(group->Controls(), CommandBarControl::Button, FontBold, QStringLiteral("&Bold"), true);
    Add(group->Controls(), CommandBarControl::Button, FontItalic, QStringLiteral("&Italic"));
    Add(group->Controls(), CommandBarControl::Button, FontUnderline, QStringLiteral("&Underline"));
    Add(group->Controls(), CommandBarControl::Button, FontStrikethrough, QStringLiteral("&Strikethrough"));

    ResetStageFont();
}

void FillPictureGallery(const QString& folder, CommandBarGalleryItems& items, CommandBars& bars) {
    if (folder.isEmpty() || Counter() > kLastGalleryId) {
        return;
    }
    const QString base = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    // Directory order; System lets FIFOs and the like in as items (they get no thumbnail). The folder is read
    // only as far as the last id, so a folder of thousands of files costs no more than one of 501 pictures.
    QDirIterator names(base, QDir::Files | QDir::System);
    ThumbnailLoader* loader = nullptr;
    while (names.hasNext()) {
        names.next();
        const QString name = names.fileName();
        if (!IsPictureFile(name)) {
            continue;
        }
        const int32_t id = Counter();
        const QString path = base + name;
        CommandBarGalleryItem* item = items.AddItem(id, name.left(name.size() - 4));
        item->SetData(path);
        const QFileInfo info(path);
        if (info.isFile() && info.size() < kThumbnailFileLimit) {
            if (!loader) {
                loader = new ThumbnailLoader(bars, items);
            }
            loader->Add(id, path);
        }
        ++Counter();
        if (Counter() > kLastGalleryId) {
            break;
        }
    }
    if (loader) {
        loader->Start();
    }
}

bool IsPictureFile(const QString& name) {
    static const QStringList extensions = {QStringLiteral("gif"), QStringLiteral("png"), QStringLiteral("bmp"),
                                           QStringLiteral("jpg"), QStringLiteral("tga"), QStringLiteral("pcx"),
                                           QStringLiteral("tif"), QStringLiteral("dxf"), QStringLiteral("wmf"),
                                           QStringLiteral("img"), QStringLiteral("wpg"), QStringLiteral("pcd")};
    return extensions.contains(name.right(3).toLower());
}

QSize ThumbnailSize(const QSize& picture) {
    const int w = picture.width();
    const int h = picture.height();
    if (h < 50 && w > 50) {
        return QSize(50, h);
    }
    if (h > 50 && w < 50) {
        return QSize(w, 50);
    }
    if (!(w < 50 && h < 50)) {
        return QSize(50, 50);
    }
    return picture;
}

int32_t GalleryCounter() { return Counter(); }

std::shared_ptr<FontInfo> CurrentFont() {
    if (!StageFont()) {
        ResetStageFont();
    }
    return StageFont();
}

void ShowFontGroup(bool visible, StageHost& host) {
    RibbonGroup* group = StagingTabOf(host.ribbon).Group(3);
    if (!group) {
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    }
    group->SetVisible(visible);
}

bool ExecuteTransformCommand(int32_t id, Stage& stage) {
    switch (id) {
        case Rotate90: stage.Rotate(); return true;
        case FlipHorizontal: stage.MirrorHorizontal(); return true;
        case FlipVertical: stage.MirrorVertical(); return true;
        case InvertColors: stage.Invert(); return true;
        case ToBlackAndWhite: stage.ToBW(); return true;
        default: return false;
    }
}

void ExecuteStageCommand(CommandBarControl* control, StageHost& host) {
    if (!control) {
        return;
    }
    try {
        Stage& stage = host.stage;
        const int id = control->Id();
        if (ExecuteTransformCommand(id, stage)) {
            return;
        }
        switch (id) {
            case OpenPicture: stage.OpenPicture(); break;
            case SavePictureAs: stage.SaveImageAs(); break;
            case ZoomIn: stage.ZoomIn(); break;
            case ZoomOut: stage.ZoomOut(); break;
            case OriginalSize: stage.Restore(); break;
            case ClearStage: stage.Clear(); break;
            case ToolLines: SelectTool(host, DrawingObject::Lines, id); break;
            case ToolText: SelectTool(host, DrawingObject::Text, id); break;
            case ToolFlood: SelectTool(host, DrawingObject::Flood, id); break;
            case ToolRectangles:
            case ToolFilledRectangles: SelectTool(host, DrawingObject::Rectangle, id); break;
            case ToolEllipses:
            case ToolFilledEllipses: SelectTool(host, DrawingObject::Ellipse, id); break;
            case LineWidth: LineWidthCommand(control, stage); break;
            case PicturesGallery: {
                if (control->GetType() != CommandBarControl::Gallery) {
                    break;
                }
                const CommandBarGalleryItem* item = static_cast<CommandBarGallery*>(control)->SelectedItem();
                if (item && stage.OpenPicture(item->Data())) {
                    host.selectedPictureIndex = item->Id();
                }
                break;
            }
            case FontBold: CurrentFont()->bold = !CurrentFont()->bold; break;
            case FontItalic: CurrentFont()->italic = !CurrentFont()->italic; break;
            case FontUnderline: CurrentFont()->underline = !CurrentFont()->underline; break;
            case FontStrikethrough: CurrentFont()->strikethrough = !CurrentFont()->strikethrough; break;
            case FontName:
                if (control->GetType() == CommandBarControl::ComboBox) {
                    CurrentFont()->name = static_cast<CommandBarComboBox*>(control)->Text();
                }
                break;
            case FontSize:
                if (control->GetType() == CommandBarControl::ComboBox) {
                    FontSizeCommand(control);
                }
                break;
            default: break;
        }
    } catch (...) {
    }
}

void UpdateStageControl(CommandBarControl* control, const Stage& stage, int32_t selectedPictureIndex) {
    if (!control) {
        return;
    }
    const int32_t tool = stage.GetObj();
    const bool fill = stage.Fill();
    switch (control->Id()) {
        case ToolLines: control->SetChecked(tool == DrawingObject::Lines); break;
        case ToolText: control->SetChecked(tool == DrawingObject::Text); break;
        case ToolRectangles: control->SetChecked(tool == DrawingObject::Rectangle && !fill); break;
        case ToolFilledRectangles: control->SetChecked(tool == DrawingObject::Rectangle && fill); break;
        case ToolEllipses: control->SetChecked(tool == DrawingObject::Ellipse && !fill); break;
        case ToolFilledEllipses: control->SetChecked(tool == DrawingObject::Ellipse && fill); break;
        case ToolFlood: control->SetChecked(tool == DrawingObject::Flood); break;
        case LineWidth: {
            double width = 0;
            if (IsNumeric(control->Parameter(), width)) {
                control->SetChecked(stage.LineThickness() == width);
            }
            break;
        }
        case PicturesGallery:
            if (control->GetType() == CommandBarControl::Gallery) {
                static_cast<CommandBarGallery*>(control)->SetCheckedItem(selectedPictureIndex);
            }
            break;
        case FontBold: control->SetChecked(CurrentFont()->bold); break;
        case FontItalic: control->SetChecked(CurrentFont()->italic); break;
        case FontUnderline: control->SetChecked(CurrentFont()->underline); break;
        case FontStrikethrough: control->SetChecked(CurrentFont()->strikethrough); break;
        default: break;
    }
}

}  // namespace StageHelper
