#pragma once

#include "views/SwatchPopup.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <pugixml.hpp>
#include <vector>

class Color;
class Texture;
class cDIBSection;
class CommandBarImageManager;
class fDropShadow;
class SwatchRenderer;
class ImagingControl;
class PictureBox;
class QLabel;
class QPainter;
class QSlider;

// The look of a swatch.
namespace PanelStyle {
enum : int32_t { Plain = 0, Raised = 1 };
}

// A swatch showing one Color: plain, with a grey pattern texture, or as a user picture recoloured in
// the colour's hue. It carries a right-click popup with three colour sliders, two drop shadows while
// raised, accepts picture files dropped on it, starts colour drags, and writes its colour's picture
// to the colour's temporary image file after every render. Hosts hear of it only through its signals,
// all raised synchronously; by-reference answers need direct connections.
// One pass at a time: a request that reaches the swatch while it renders (a second colour, a resize, a drop,
// a slider, a popup command, from an event run under the wait cursor or from a handler of its own events)
// is carried out after the pass, a new colour only once and with the latest one.
class ColorPanel : public QWidget, private SwatchPopupHost {
    Q_OBJECT
public:
    explicit ColorPanel(QWidget* parent = nullptr);
    ~ColorPanel() override;

    int32_t hwnd() const;
    // True when a colour is held.
    bool Ready() const;
    bool Enabled() const;
    void SetEnabled(bool enabled);
    // The hidden box holding a flat picture of the colour.
    PictureBox* PictureColor() const;
    void SetFixed(bool fixed);
    bool Fixed() const;
    int32_t Style() const;
    // 0 plain, 1 raised with two drop shadows.
    void SetStyle(int32_t eStyle);
    bool Selected() const;
    // Selecting raises the swatch (style 1), unselecting flattens it.
    void SetSelected(bool bSelected);
    // True when a colour is held and its texture kind is not 0.
    bool Textured() const;
    // The colour object itself, not a copy.
    std::shared_ptr<Color> PanelColor() const;
    bool HasColor() const;
    bool SuspendLayout() const;
    // While set no shadow window is shown.
    void SetSuspendLayout(bool bSuspendLayout);
    // The icons the popup's commands show, the host's own; set before Init.
    void SetPopupIcons(std::shared_ptr<CommandBarImageManager> icons);
    // True while the swatch renders or runs a command.
    bool Rendering() const { return m_passDepth > 0; }

    // pfrm owns the shadows and dialogs; pContainerIsHistory chooses the strip-item popup over the proofer's.
    void Init(QWidget* pfrm, std::shared_ptr<Color> pColor, int32_t pStyle, bool pContainerIsHistory,
              bool pFixed = false);
    // Shows another colour (kept by reference); a fixed swatch ignores it.
    void SetColor(std::shared_ptr<Color> pColor);
    // White, no texture, not fixed.
    void Clear();
    void ChangeTexture(std::shared_ptr<Texture> pTexture);
    void RefreshImageFile();
    // Lets the user pick a picture for an image texture; True when one was taken.
    bool LoadColorizer();
    void RemoveColorizer();
    void RefreshShadows(int32_t pMessage);
    void HideShadows();
    void Dispose();
    // Appends a "Panel" element with the colour's "Color" inside.
    bool Serialize(pugi::xml_document& pDoc, pugi::xml_node appendTo);
    // Reads the fixed flag of a "Panel" element; the colour is the caller's to read.
    bool DeSerialize(QWidget* pParent, pugi::xml_node pState);

signals:
    void DeleteMe();
    void DblClick(ColorPanel* pPanel);
    void MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void StartDragging();
    void SendToHistory(int32_t pHistoryIndex);
    void Changed();
    void SelectedStatusChanged(bool pNewStatus);
    // The host sets pAdded to True when it gave the swatch another picture.
    void RequestNewImage(const QString& pMessage, bool& pAdded);
    void ColorChanged(const std::shared_ptr<Color>& pNewColor);
    void DeleteAll();
    void KeepAll();
    void AddBlackAndWhite();
    void ShowComments();
    void Sort(int32_t pSortBy);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Pass;
    // Runs the request now, or queues it to run once the pass in progress ends.
    void Exclusive(std::function<void()> request);
    void RunDeferred();

    void DoInit(QWidget* pfrm, std::shared_ptr<Color> pColor, int32_t pStyle, bool pContainerIsHistory, bool pFixed);
    void DoSetColor(std::shared_ptr<Color> pColor);
    static void TakeOverFile(const Color& leaving, const Color& coming);
    void DoClear();
    void DoChangeTexture(std::shared_ptr<Texture> pTexture);
    bool DoLoadColorizer();
    void DoRemoveColorizer();
    void DoDispose();
    void PrepareTexture();
    void RenderPanel();
    // Returns the number of the error that ended the step, 0 when none did.
    int32_t ShowImage(bool reload, bool askForMissing = true);
    // Holds the colour as the one shown, counted among its viewers; the previous one is let go.
    void ShowColor(std::shared_ptr<Color> pColor);
    void SaveTemporaryImage();
    void SavePictureColourFile();
    void RefreshReference();
    // The part of the surface the swatch shows: a large picture is cut to the swatch.
    QSize VisibleSurface() const;
    void PaintSurface(QPainter& painter);
    void UserControlResize();
    void CreateShadows();
    void UnloadShadows();
    void SetSliders();
    void SliderChange();
    void ApplySliders();
    bool TakeImageFile(const QString& file);
    int32_t TextureKindOfColor() const;

    std::shared_ptr<Color> PopupColor() const override { return m_color; }
    int32_t PopupTextureKind() const override { return TextureKindOfColor(); }
    bool PopupFixed() const override { return m_fixed; }
    void SetPopupFixed(bool fixed) override;
    const cDIBSection* PopupImage() const override;
    void PopupDeleteColor() override;
    void PopupLoadImage() override;
    void PopupRemoveImage() override;
    void PopupChangeTexture(std::shared_ptr<Texture> texture) override;
    void PopupRaise(Event event, int32_t argument) override;

    // Reports a press, move or release on the surface or the swatch; False for any other event.
    bool SurfaceMouse(QEvent* event);
    void SurfaceMouseDown(int16_t button, int16_t shift, float x, float y);
    void SurfaceMouseMove(int16_t button, int16_t shift, float x, float y);
    void SurfaceMouseUp(int16_t button, int16_t shift, float x, float y, const QPoint& globalPos);

    QWidget* m_owner = nullptr;
    std::shared_ptr<Color> m_color;
    int32_t m_style = PanelStyle::Plain;
    bool m_canDelete = false;
    bool m_sliderGuard = false;
    bool m_fixed = false;
    std::unique_ptr<fDropShadow> m_rightShadow;
    std::unique_ptr<fDropShadow> m_bottomShadow;
    std::unique_ptr<SwatchRenderer> m_renderer;
    float m_downX = 0;
    float m_downY = 0;
    bool m_selected = false;
    bool m_suspendLayout = false;
    int32_t m_backColor = -1;  // the control's own background once a colour was painted

    int m_passDepth = 0;
    // While the host answers RequestNewImage it may give this swatch a picture inside the pass.
    bool m_answeringRequest = false;
    std::deque<std::function<void()>> m_deferred;
    std::shared_ptr<Color> m_pendingColor;
    bool m_colorQueued = false;
    bool m_resizeQueued = false;
    bool m_sliderQueued = false;

    PictureBox* pic = nullptr;
    PictureBox* picReference = nullptr;
    ImagingControl* im = nullptr;
    PictureBox* picColor = nullptr;
    std::vector<QLabel*> Label1;
    std::vector<QSlider*> sldColor;
    SwatchPopup* m_popup = nullptr;
};
