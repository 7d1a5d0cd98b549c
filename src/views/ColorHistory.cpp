#include "views/ColorHistory.h"

#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "model/TextureFiles.h"
#include "platform/CommandBar.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBars.h"
#include "platform/ModalDialog.h"
#include "platform/Numeric.h"
#include "platform/Twips.h"
#include "platform/WindowRegistry.h"
#include "services/CommandIds.h"
#include "services/Subclassing.h"
#include "services/XMLShared.h"
#include "services/fDropShadow.h"
#include "services/xptHelper.h"
#include "views/ColorPanel.h"
#include "views/frmNotes.h"
#include "views/PopupBars.h"

#include <QCursor>
#include <QHideEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The margin around and between panels, in twips.
constexpr double Margin = 120.0;
constexpr double ScrollBarHeight = 255.0;

// Counts the loading operations running, so that nested ones are seen too.
class Loading {
public:
    explicit Loading(int32_t& count) : m_count(count) { ++m_count; }
    ~Loading() { --m_count; }
    Loading(const Loading&) = delete;
    Loading& operator=(const Loading&) = delete;

private:
    int32_t& m_count;
};

// Keeps the colours the panels show counted as shown while the panels are rebuilt, so that the files of those
// shown again are written over in place rather than deleted and made anew; a colour that is not shown again
// loses its file as the hold ends.
class ShownDuringRebuild {
public:
    explicit ShownDuringRebuild(const std::vector<ColorPanel*>& panels) {
        for (const ColorPanel* panel : panels)
            if (std::shared_ptr<Color> color = panel->PanelColor()) {
                color->AddViewer();
                m_colors.push_back(std::move(color));
            }
    }
    ~ShownDuringRebuild() {
        for (const auto& color : m_colors) color->RemoveViewer();
    }
    ShownDuringRebuild(const ShownDuringRebuild&) = delete;
    ShownDuringRebuild& operator=(const ShownDuringRebuild&) = delete;

private:
    std::vector<std::shared_ptr<Color>> m_colors;
};

}  // namespace

ColorHistory::ColorHistory(QWidget* parent) : QWidget(parent), Colors(std::make_unique<ColorCollection>()) {
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(230, 230, 230));
    setPalette(background);

    auto* first = new ColorPanel(this);
    first->setObjectName(QStringLiteral("cpItem"));
    first->hide();
    cpItem.push_back(first);
    ConnectPanel(first);

    bottScroll = new QScrollBar(Qt::Horizontal, this);
    bottScroll->setObjectName(QStringLiteral("bottScroll"));
    bottScroll->setRange(0, 0);
    bottScroll->setFixedHeight(Numeric::Round(ScrollBarHeight / TwipsY()));
    bottScroll->hide();
    connect(bottScroll, &QScrollBar::valueChanged, this, [this] {
        if (!m_suspendLayout)
            LayoutPanels();
    });

    m_commandBars = PopupBars::Create(
        this, this, [this](CommandBarControl* control) { PopupExecute(control); },
        [this](CommandBar* bar) { PopupOpening(bar); });
}

ColorHistory::~ColorHistory() {
    Dispose();
    delete m_commandBars;
}

int32_t ColorHistory::hwnd() const { return WindowRegistry::Handle(const_cast<ColorHistory*>(this)); }

bool ColorHistory::IsDirty() const {
    // An emptied strip counts too: the colours it lost were part of the document.
    if (Dirty)
        return true;
    return std::any_of(cpItem.begin(), cpItem.end(),
                       [](const ColorPanel* panel) { return panel->HasColor() && panel->PanelColor()->IsDirty(); });
}

void ColorHistory::MarkClean() {
    Dirty = false;
    for (ColorPanel* panel : cpItem)
        if (panel->HasColor())
            panel->PanelColor()->SetIsDirty(false);
}

ColorPanel* ColorHistory::SelectedPanel() const {
    // An unloaded panel is no selection any more, though it lives on until the event loop deletes it.
    ColorPanel* panel = m_selectedPanel;
    return IndexOf(panel) >= 0 ? panel : nullptr;
}

void ColorHistory::SetShowSelectionMenu(bool bShowSelectionMenu) {
    xptHelper::SetControlEnabled(PopupBar, CommandIds::AddAll, bShowSelectionMenu);
}

ColorPanel* ColorHistory::Panel(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(cpItem.size()))
        return nullptr;
    return cpItem[static_cast<size_t>(index)];
}

int16_t ColorHistory::PanelCount() const { return static_cast<int16_t>(Colors->count()); }

void ColorHistory::SetSuspendLayout(bool bSuspendLayout) {
    m_suspendLayout = bSuspendLayout;
    if (!bSuspendLayout)
        UserControlResize();
}

void ColorHistory::HideShadows() {
    for (fDropShadow* shadow : {ShadowRight.get(), ShadowBottom.get()})
        if (shadow)
            shadow->Hide();
    for (ColorPanel* panel : cpItem)
        if (panel->isVisibleTo(this))
            panel->HideShadows();
}

void ColorHistory::UnselectAll() {
    for (ColorPanel* panel : cpItem) panel->SetSelected(false);
}

void ColorHistory::Clear() {
    bottScroll->hide();
    Colors = std::make_unique<ColorCollection>();
    ReloadPanels();
    m_notes.clear();
}

void ColorHistory::Init(QWidget* pfrm, int32_t pVisibleProofers) {
    HostForm = pfrm;
    // At least one panel must fit, or the panel width would divide by zero.
    VisibleCount = std::max(1, pVisibleProofers);
    ShadowRight = fDropShadow::ForView(this, ShadowEdge::Right);
    ShadowBottom = fDropShadow::ForView(this, ShadowEdge::Bottom);
    ShadowRight->Show(HostForm);
    ShadowBottom->Show(HostForm);
    m_commandBars->ActiveMenuBar()->SetVisible(false);
    BuildPopup();
    Colors = std::make_unique<ColorCollection>();
    Initialized = true;
    Dirty = false;
}

void ColorHistory::RefreshShadows(int32_t pMessage) {
    for (auto* shadow : {ShadowRight.get(), ShadowBottom.get()}) {
        if (!shadow)
            continue;
        Subclassing::ForwardMessage(hwnd(), pMessage, shadow);
        shadow->Show(HostForm);
    }
    for (ColorPanel* panel : cpItem)
        if (panel->isVisibleTo(this))
            panel->RefreshShadows(pMessage);
}

void ColorHistory::RefreshImages() {
    for (ColorPanel* panel : cpItem)
        if (panel->Ready())
            panel->RefreshImageFile();
}

void ColorHistory::AddColorPanels(const std::vector<std::shared_ptr<Color>>& pColors) {
    for (const auto& color : pColors)
        if (color && !Colors->Contains(color))
            Colors->Add(color->Clone());
    ReloadPanels();
    Dirty = true;
}

void ColorHistory::MoveColorPanel(ColorPanel* pColor) {
    const Loading loading(m_loading);
    const QPoint cursor = mapFromGlobal(QCursor::pos());
    const double tx = TwipsX();
    const double ty = TwipsY();
    const double x = Numeric::Round(cursor.x() * tx);
    const double y = Numeric::Round(cursor.y() * ty);
    const int32_t dragged = IndexOf(pColor);
    int32_t target = -1;
    // Panels scrolled out of view keep their old places, so only the shown ones can lie under the cursor.
    for (size_t i = 0; i < cpItem.size() && target < 0; ++i) {
        const ColorPanel* panel = cpItem[i];
        if (!panel->HasColor() || !panel->isVisibleTo(this))
            continue;
        const double left = panel->x() * tx;
        const double top = panel->y() * ty;
        if (left <= x && x <= left + panel->width() * tx && top < y && y < top + panel->height() * ty)
            target = static_cast<int32_t>(i);
    }
    if (target >= 0 && dragged >= 0) {
        std::vector<std::shared_ptr<Color>> items(Colors->begin(), Colors->end());
        std::swap(items[static_cast<size_t>(dragged)], items[static_cast<size_t>(target)]);
        Colors->Clear();
        for (const auto& item : items) Colors->Add(item);
        for (const int32_t index : {dragged, target}) {
            ColorPanel* panel = cpItem[static_cast<size_t>(index)];
            panel->Dispose();
            InitPanel(panel, Colors->Item(index + 1), static_cast<int32_t>(cpItem.size()));
        }
        cpItem[static_cast<size_t>(target)]->SetSelected(true);
    }
    Dirty = true;
}

void ColorHistory::AddColorPanel(const std::shared_ptr<Color>& pColor) {
    if (!pColor)
        return;
    const Loading loading(m_loading);
    if (Colors->HasColors())
        LoadPanel();
    const auto added = Colors->Add(pColor->Clone());
    ColorPanel* last = cpItem.back();
    last->SetSuspendLayout(m_suspendLayout);
    InitPanel(last, added, static_cast<int32_t>(cpItem.size()));
    SetScrollRange();
    UserControlResize();
    for (ColorPanel* panel : cpItem)
        if (panel != last)
            panel->SetSelected(false);
    last->SetSelected(true);
    last->SetSuspendLayout(false);
    Dirty = true;
}

void ColorHistory::RemoveColorPanel(const std::shared_ptr<Color>& pColor) {
    Colors->RemoveByColor(pColor);
    ReloadPanels();
    Dirty = true;
}

bool ColorHistory::Contains(const std::shared_ptr<Color>& pColor) const { return Colors->Contains(pColor); }

bool ColorHistory::PanelIsInContainer(const ColorPanel* pPanel) const {
    if (!Colors->HasColors())
        return false;
    return IndexOf(pPanel) >= 0;
}

void ColorHistory::Dispose() {
    for (auto* shadow : {&ShadowRight, &ShadowBottom}) {
        if (*shadow)
            (*shadow)->Unload();
        shadow->reset();
    }
    HostForm = nullptr;
    while (!cpItem.empty()) {
        ColorPanel* panel = cpItem.back();
        panel->Dispose();
        if (cpItem.size() == 1)
            break;
        UnloadPanel(panel);
    }
    Colors = std::make_unique<ColorCollection>();
    m_notes.clear();
}

bool ColorHistory::Serialize(pugi::xml_document& pDoc, pugi::xml_node appendTo, int32_t pIndex, const QString& pPath) {
    try {
        pugi::xml_node history = XMLShared::CreateNode(pDoc, QStringLiteral("History"), QString(), XMLShared::Element);
        XMLShared::AddAttribute(pDoc, history, QStringLiteral("id"), QString::number(pIndex));
        XMLShared::AddAttribute(pDoc, history, QStringLiteral("count"), QString::number(Colors->count()));
        history = XMLShared::AppendChild(appendTo, history);
        XMLShared::AppendChild(history,
                               XMLShared::CreateNode(pDoc, QStringLiteral("Notes"), m_notes, XMLShared::Element));
        for (ColorPanel* panel : cpItem) {
            if (!panel->Ready())
                continue;
            const std::shared_ptr<Texture> texture = panel->PanelColor()->ColorTexture();
            TextureFiles::StoreTextureFile(texture, pPath);
            if (!panel->Serialize(pDoc, history))
                return false;
            // The colour now refers to its copy in the document folder.
            if (texture->TextureType() == TextureKind::Image)
                texture->SetPath(pPath + texture->path());
        }
        Dirty = false;
        return true;
    } catch (...) {
        return false;
    }
}

bool ColorHistory::DeSerialize(pugi::xml_node pState, const QString& pRootFolder) {
    try {
        Clear();
        if (!pState)
            return false;
        std::vector<std::shared_ptr<Color>> kept;
        for (const pugi::xpath_node& node : pState.select_nodes("Panel/Color")) {
            auto color = std::make_shared<Color>();
            if (color->DeSerialize(node.node(), pRootFolder))
                kept.push_back(std::move(color));
        }
        if (!kept.empty())
            AddColorPanels(kept);
        MarkClean();
        const pugi::xml_node notes = pState.child("Notes");
        m_notes = notes ? XMLShared::Text(notes) : QString();
        m_notes.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        Dirty = false;
        return true;
    } catch (...) {
        return false;
    }
}

void ColorHistory::resizeEvent(QResizeEvent*) { UserControlResize(); }

void ColorHistory::hideEvent(QHideEvent*) { UnselectAll(); }

void ColorHistory::mousePressEvent(QMouseEvent*) {
    UnselectAll();
    m_selectedPanel = nullptr;
}

void ColorHistory::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && PopupBar)
        PopupBar->ShowPopup(event->globalPosition().toPoint());
}

void ColorHistory::ReloadPanels() {
    const Loading loading(m_loading);
    const ShownDuringRebuild shown(cpItem);
    m_suspendLayout = true;
    for (ColorPanel* panel : std::vector<ColorPanel*>(cpItem)) {
        panel->Dispose();
        panel->hide();
        if (panel != cpItem.front())
            UnloadPanel(panel);
    }
    // A panel still running a command of its own ("&Delete Color" on the first colour) puts off its new colour
    // until that command returns, after the layout has hidden it as empty: a fresh panel takes its place.
    if (cpItem.front()->Rendering()) {
        UnloadPanel(cpItem.front());
        LoadPanel();
    }
    for (int32_t k = 1; k <= Colors->count(); ++k) {
        if (k > 1)
            LoadPanel();
        InitPanel(cpItem.back(), Colors->Item(k), Colors->count());
    }
    // Set once the panels are loaded: a texture render lets painting run, which would draw the bar each time.
    SetScrollRange();
    for (ColorPanel* panel : cpItem)
        if (panel != cpItem.back())
            panel->SetSelected(false);
    SetSuspendLayout(false);
    if (Colors->HasColors())
        cpItem.back()->SetSelected(true);
    UserControlResize();
}

void ColorHistory::UserControlResize() {
    if (m_suspendLayout)
        return;
    bottScroll->setGeometry(0, height() - bottScroll->height(), width(), bottScroll->height());
    LayoutPanels();
}

void ColorHistory::LayoutPanels() {
    if (!Initialized)
        return;
    ++m_layoutPasses;
    for (ColorPanel* panel : cpItem) {
        panel->hide();
        panel->HideShadows();
    }
    bottScroll->setVisible(static_cast<int32_t>(cpItem.size()) > VisibleCount);
    const double tx = TwipsX();
    const double ty = TwipsY();
    const int width = std::max(0, Numeric::Round(PanelWidth() / tx));
    const int height = std::max(0, Numeric::Round(PanelHeight(static_cast<int32_t>(cpItem.size())) / ty));
    const int top = Numeric::Round(Margin / ty);
    const double scaleWidth = ScaleWidth();
    double x = Margin;
    for (size_t i = static_cast<size_t>(std::max(0, bottScroll->value())); i < cpItem.size(); ++i) {
        ColorPanel* panel = cpItem[i];
        // A panel not yet shown takes any new geometry as a resize for its first showing, which renders it:
        // one that has its size only moves.
        if (panel->size() == QSize(width, height))
            panel->move(Numeric::Round(x / tx), top);
        else
            panel->setGeometry(Numeric::Round(x / tx), top, width, height);
        x += PanelWidth() + Margin;
        const double left = panel->x() * tx;
        if (left > 0 && left < scaleWidth && panel->HasColor()) {
            panel->show();
            panel->RefreshShadows(5);
        }
    }
}

void ColorHistory::SortColors(int32_t sortBy) {
    const std::vector<std::shared_ptr<Color>> before(Colors->begin(), Colors->end());
    if (Colors->HasColors())
        Colors->Sort(sortBy);
    ReloadPanels();
    // The order is part of the scheme; a sort that moved nothing is no change.
    if (!std::equal(before.begin(), before.end(), Colors->begin(), Colors->end()))
        Dirty = true;
}

void ColorHistory::AddBlackAndWhite() {
    auto white = Factory::NewColor(Globals::TextureItem(1), CommandIds::RangeAllRGB, false);
    auto black = Factory::NewColor(Globals::TextureItem(1), CommandIds::RangeAllRGB, false);
    white->SetColor(255, 255, 255);
    black->SetColor(0, 0, 0);
    AddColorPanels({white, black});
}

void ColorHistory::ShowComments() {
    frmNotes notes;
    notes.setWindowTitle(notes.windowTitle() + QStringLiteral(" (#") + QString::number(m_controlIndex) +
                         QStringLiteral(")"));
    notes.SetComments(m_notes);
    ModalDialog::Show(notes, this);
    if (notes.OKPressed) {
        m_notes = notes.Comments();
        Dirty = true;
    }
}

void ColorHistory::SetScrollRange() {
    const auto panels = static_cast<int32_t>(cpItem.size());
    const int32_t maximum = panels > VisibleCount ? panels - VisibleCount : 0;
    bottScroll->setMaximum(maximum);
    bottScroll->setValue(maximum);
}

ColorPanel* ColorHistory::LoadPanel() {
    auto* panel = new ColorPanel(this);
    panel->setObjectName(QStringLiteral("cpItem"));
    panel->hide();
    cpItem.push_back(panel);
    ConnectPanel(panel);
    return panel;
}

void ColorHistory::UnloadPanel(ColorPanel* panel) {
    cpItem.erase(std::remove(cpItem.begin(), cpItem.end(), panel), cpItem.end());
    disconnect(panel, nullptr, this, nullptr);
    panel->hide();
    // The panel may be the one whose own command asked for the rebuild: it goes once that command returned.
    panel->deleteLater();
}

void ColorHistory::InitPanel(ColorPanel* panel, const std::shared_ptr<Color>& color, int32_t panels) {
    // Sized as the layout will place it before it renders, so that placing it renders nothing again.
    panel->resize(std::max(0, Numeric::Round(PanelWidth() / TwipsX())),
                  std::max(0, Numeric::Round(PanelHeight(panels) / TwipsY())));
    const QSize placed = panel->size();
    panel->Init(HostForm, color, PanelStyle::Plain, true);
    // Qt keeps a hidden widget's resize for its first showing; the panel has just rendered at that size, unless a
    // resize reached it during the render or the render waits for one in progress.
    if (panel->isHidden() && !panel->Rendering() && panel->size() == placed)
        panel->setAttribute(Qt::WA_PendingResizeEvent, false);
}

int32_t ColorHistory::IndexOf(const ColorPanel* panel) const {
    if (!panel)
        return -1;
    const auto found = std::find(cpItem.begin(), cpItem.end(), panel);
    return found == cpItem.end() ? -1 : static_cast<int32_t>(found - cpItem.begin());
}

double ColorHistory::PanelWidth() const {
    return (ScaleWidth() - 2 * Margin - (VisibleCount - 1) * Margin) / VisibleCount;
}

double ColorHistory::PanelHeight(int32_t panels) const {
    const bool scrolls = panels > VisibleCount;
    const double allowance = 2 * Margin + (scrolls ? bottScroll->height() * TwipsY() : 0.0);
    return ScaleHeight() - allowance;
}

double ColorHistory::TwipsX() const { return Twips::PerInch / logicalDpiX(); }

double ColorHistory::TwipsY() const { return Twips::PerInch / logicalDpiY(); }

double ColorHistory::ScaleWidth() const { return width() * TwipsX(); }

double ColorHistory::ScaleHeight() const { return height() * TwipsY(); }
