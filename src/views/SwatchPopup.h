#pragma once

#include <QObject>
#include <QPoint>

#include <cstdint>
#include <memory>
#include <vector>

class Color;
class CommandBar;
class CommandBarControl;
class CommandBarImageManager;
class CommandBars;
class Texture;
class cDIBSection;
class PictureBox;
class QLabel;
class QSlider;
class QWidget;

// What the popup's commands work on: the swatch that shows it.
class SwatchPopupHost {
public:
    // The events the popup raises on the swatch's behalf.
    enum class Event { SendToHistory, DeleteAll, KeepAll, AddBlackAndWhite, ShowComments, Sort };

    virtual std::shared_ptr<Color> PopupColor() const = 0;
    virtual int32_t PopupTextureKind() const = 0;
    virtual bool PopupFixed() const = 0;
    virtual void SetPopupFixed(bool fixed) = 0;
    // The bitmap "Cop&y Image" puts on the clipboard; none when the picture failed to load.
    virtual const cDIBSection* PopupImage() const = 0;
    // Releases the colour, then raises DeleteMe.
    virtual void PopupDeleteColor() = 0;
    virtual void PopupLoadImage() = 0;
    virtual void PopupRemoveImage() = 0;
    virtual void PopupChangeTexture(std::shared_ptr<Texture> texture) = 0;
    virtual void PopupRaise(Event event, int32_t argument) = 0;

protected:
    ~SwatchPopupHost() = default;
};

// The right-click popup of one swatch: its command bars carry only the bar "Popup", filled for a proofer or a
// strip item, captioned as it opens, and its Execute table turns the chosen id into the host's commands.
class SwatchPopup : public QObject {
    Q_OBJECT
public:
    // owner is the swatch widget the command bars belong to.
    SwatchPopup(QWidget* owner, SwatchPopupHost& host);
    ~SwatchPopup() override;

    // The hidden box of the "Red:", "Green:" and "Blue:" sliders (0 to 255) that "Adj&ust Color" hosts.
    static PictureBox* MakeSliderBox(QWidget* parent, std::vector<QLabel*>& labels, std::vector<QSlider*>& sliders);

    CommandBars* Bars() const { return m_commandBars; }
    CommandBar* Bar() const { return m_bar; }
    void SetIcons(std::shared_ptr<CommandBarImageManager> icons);

    // Empties and fills the bar; sliderBox is hosted in "Adj&ust Color"; the texture that Equals own is checked.
    void Build(bool containerIsHistory, QWidget* sliderBox, const std::shared_ptr<Texture>& own);
    // Empties the bar and lets it go.
    void Release();
    void CheckTexture(int32_t id);
    // The three copy captions, as the popup shows them on opening, and a redraw of the bar.
    void RenewCaptions();
    void Show(const QPoint& globalPos);
    void Execute(CommandBarControl* control);

private:
    void SetCopyCaptions(CommandBar* bar);
    void Opening(CommandBar* bar);

    SwatchPopupHost& m_host;
    CommandBars* m_commandBars = nullptr;
    CommandBar* m_bar = nullptr;
};
