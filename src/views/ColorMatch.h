#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <pugixml.hpp>

class Color;
class ColorCollection;
class CommandBar;
class CommandBarControl;
class CommandBars;
class fDropShadow;

// The colour pie: the collected colours as equal slices of one disc over the control's background colour,
// with a right-click popup (copy the picture, remove the colour under the mouse, remove all colours,
// reset the background) and two drop shadows. The pie is drawn into the control's own picture, again
// only when its colours, background or size changed; a paint shows what the picture holds.
class ColorMatch : public QWidget {
    Q_OBJECT
public:
    static constexpr int32_t White = 16777215;

    explicit ColorMatch(QWidget* parent = nullptr);
    ~ColorMatch() override;

    bool IsDirty() const { return m_isDirty; }
    void SetIsDirty(bool val) { m_isDirty = val; }
    int32_t hwnd() const;
    // Packed RGB.
    int32_t BackColor() const { return m_backColor; }
    // Repaints; error 380 for a value that is no packed RGB colour (below 0 or above white).
    void SetBackColor(int32_t Value);
    // pfrm owns the shadows.
    void Init(QWidget* pfrm);
    void RefreshShadows(int32_t pMessage);
    void HideShadows();
    void ShowShadows();
    // Unloads the shadows and forgets the host; the colours stay.
    void Dispose();
    // Draws the pie anew and repaints.
    void Refresh();
    // Appends the colour itself unless an equal one is held; marks the pie modified either way. No repaint.
    void AddColor(const std::shared_ptr<Color>& pColor);
    // A new empty list; marks the pie modified. No repaint.
    void DeleteColors();
    // No colours, white background (raising SetBackColorWhite), repainted, not modified.
    void Clear();
    // Appends the "Colors" element with one "Color" per slice.
    bool Serialize(pugi::xml_document& pDoc, pugi::xml_node appendTo);
    // Reads the "Colors" element below pState (the document's "Match").
    bool DeSerialize(QWidget* pParent, pugi::xml_node pState, const QString& pRootFolder);

    // The slices' colours in order; empty before Init.
    const std::shared_ptr<ColorCollection>& Colors() const { return m_colors; }
    // The colour under the mouse at the last button release; -1 when no pixel was there.
    int32_t PickedColor() const { return m_pickedColor; }
    fDropShadow* ShadowRight() const { return m_shadowRight.get(); }
    fDropShadow* ShadowBottom() const { return m_shadowBottom.get(); }

signals:
    void SetBackColorWhite();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Brings the bitmap up to date with the colours, background and size; false when there is nothing
    // to draw into.
    bool DrawPie();
    void Invalidate();
    void OnMenuCommand(CommandBarControl* control);
    void RemovePickedColor();
    void CopyImage();
    void UnloadShadows();

    QWidget* m_hostForm = nullptr;
    std::unique_ptr<fDropShadow> m_shadowRight;
    std::unique_ptr<fDropShadow> m_shadowBottom;
    CommandBar* m_popupBar = nullptr;
    int32_t m_pickedColor = -1;
    std::shared_ptr<ColorCollection> m_colors;
    bool m_isDirty = false;
    int32_t m_backColor = White;

    CommandBars* m_commandBars = nullptr;
    QImage m_surface;
    bool m_surfaceStale = true;
};
