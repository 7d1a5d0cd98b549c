#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <pugixml.hpp>
#include <vector>

class Color;
class ColorCollection;
class ColorPanel;
class CommandBar;
class CommandBarControl;
class CommandBars;
class fDropShadow;
class QScrollBar;

// One colour scheme: its colours as plain swatches in one row (panel i holds item i + 1 of the colours, the
// object itself), a scroll bar when the row is longer than the strip, free-text notes, a right-click popup and
// two drop shadows. Lengths inside the strip are twips. Panel 0 always exists; with no colours it holds none
// and is hidden. Hosts hear of it only through its signals, all raised synchronously.
class ColorHistory : public QWidget {
    Q_OBJECT
public:
    explicit ColorHistory(QWidget* parent = nullptr);
    ~ColorHistory() override;

    int32_t hwnd() const;
    // The strip's own flag or any panel colour's. Every change of the colours, their order or the notes sets it.
    bool IsDirty() const;
    // The strip's own flag alone, without its colours'; a failed document write puts it back.
    bool OwnDirty() const { return Dirty; }
    void SetOwnDirty(bool value) { Dirty = value; }
    // Clears the strip's own flag and its colours' flags.
    void MarkClean();
    int16_t ControlIndex() const { return m_controlIndex; }
    void SetControlIndex(int16_t iControlIndex) { m_controlIndex = iControlIndex; }
    // Line breaks are CR LF.
    const QString& Notes() const { return m_notes; }
    // The panel last pressed; none after a release, a press on the strip itself, or once that panel is unloaded.
    ColorPanel* SelectedPanel() const;
    // Enables or disables "&Add All".
    void SetShowSelectionMenu(bool bShowSelectionMenu);
    // Panel index (0-based); none outside the panels.
    ColorPanel* Panel(int32_t index) const;
    // The number of colours.
    int16_t PanelCount() const;
    bool SuspendLayout() const { return m_suspendLayout; }
    // Setting it False runs the resize handler at once.
    void SetSuspendLayout(bool bSuspendLayout);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool Value) { setEnabled(Value); }

    void HideShadows();
    void UnselectAll();
    // Empties the strip and its notes; the modified flag stays.
    void Clear();
    // pfrm owns the shadows and the panels' dialogs; pVisibleProofers panels fit side by side.
    void Init(QWidget* pfrm, int32_t pVisibleProofers = 10);
    void RefreshShadows(int32_t pMessage);
    void RefreshImages();
    // Appends copies of the colours not yet in the strip, then rebuilds the panels.
    void AddColorPanels(const std::vector<std::shared_ptr<Color>>& pColors);
    // A panel of this strip was dropped on it: it changes places with the panel under the cursor.
    void MoveColorPanel(ColorPanel* pColor);
    // Appends a copy of the colour, also when an equal one is there already.
    void AddColorPanel(const std::shared_ptr<Color>& pColor);
    // Removes the first colour equal to pColor.
    void RemoveColorPanel(const std::shared_ptr<Color>& pColor);
    bool Contains(const std::shared_ptr<Color>& pColor) const;
    // Whether pPanel is one of this strip's panels (identity); False while the strip holds no colour.
    bool PanelIsInContainer(const ColorPanel* pPanel) const;
    void Dispose();
    // Appends "History" with "id" = pIndex, "count", "Notes" and one "Panel" per colour; pPath is the document
    // folder ending with "/", into which user pictures are copied.
    bool Serialize(pugi::xml_document& pDoc, pugi::xml_node appendTo, int32_t pIndex, const QString& pPath);
    // Reads a "History" element; colours that cannot be read are left out.
    bool DeSerialize(pugi::xml_node pState, const QString& pRootFolder);

    // How many times the panels were laid out since the strip was made.
    int32_t LayoutPasses() const { return m_layoutPasses; }

signals:
    void MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    // Left button only.
    void MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void StartDragging();
    void SelectedPanelChanged(ColorPanel* pNewSelection);
    void KeepAll();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ReloadPanels();
    void UserControlResize();
    void LayoutPanels();
    void SortColors(int32_t sortBy);
    void AddBlackAndWhite();
    void ShowComments();
    void SetScrollRange();

    // Loads a hidden panel at the next index.
    ColorPanel* LoadPanel();
    void UnloadPanel(ColorPanel* panel);
    // panels: how many the strip holds once loading ends, which decides whether the scroll bar takes room.
    void InitPanel(ColorPanel* panel, const std::shared_ptr<Color>& color, int32_t panels);
    int32_t IndexOf(const ColorPanel* panel) const;
    void ConnectPanel(ColorPanel* panel);
    // Panel width and height in twips for the current size.
    double PanelWidth() const;
    double PanelHeight(int32_t panels) const;
    double TwipsX() const;
    double TwipsY() const;
    double ScaleWidth() const;
    double ScaleHeight() const;

    void BuildPopup();
    void PopupOpening(CommandBar* bar);
    void PopupExecute(CommandBarControl* control);

    void PanelDeleteMe(ColorPanel* panel);
    void PanelMouseDown(ColorPanel* panel, int16_t button, int16_t shift, float x, float y);
    void PanelMouseUp(int16_t button, int16_t shift, float x, float y);
    void PanelRequestNewImage(ColorPanel* panel, const QString& message, bool& added);
    void PanelColorChanged(ColorPanel* panel);
    void ClearColors();

    std::unique_ptr<fDropShadow> ShadowRight;
    std::unique_ptr<fDropShadow> ShadowBottom;
    QPointer<QWidget> HostForm;
    int32_t VisibleCount = 10;
    bool Initialized = false;
    bool m_suspendLayout = false;
    bool Dirty = false;
    QString m_notes;
    QPointer<ColorPanel> m_selectedPanel;
    CommandBar* PopupBar = nullptr;
    std::unique_ptr<ColorCollection> Colors;
    int16_t m_controlIndex = 0;
    int32_t m_layoutPasses = 0;
    // Above 0 while panels are loaded or initialised: a render lets events run, and a user's command that
    // arrives meanwhile would rebuild the panels under the loop that loads them, so it is dropped.
    int32_t m_loading = 0;

    std::vector<ColorPanel*> cpItem;
    QScrollBar* bottScroll = nullptr;
    CommandBars* m_commandBars = nullptr;
};
