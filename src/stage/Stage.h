#pragma once

#include "platform/RasterBitmap.h"
#include "stage/Draw.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>

class Color;
class Texture;
class CommandBar;
class CommandBarControl;
class CommandBars;
class ImagingControl;
class QImage;
class PictureBox;
class QLineEdit;
class QScrollArea;
class fDropShadow;

// The stage's drawing tools.
namespace DrawingObject {
enum : int32_t { Lines = 0, Text = 1, Rectangle = 2, Ellipse = 3, RubberBandLine = 4, Flood = 5 };
}

// The picture on which colours are tried: one raster picture shown in an imaging control inside a
// scrolling view, drawn on with the drawing colour (free-hand lines, text, outlined, filled or textured
// rectangles and ellipses, flood fills), with a one-level undo copy in a temporary file, zoom, transforms,
// the clipboard, and opening and saving picture files. It raises no events: the host reads
// PictureIsDirty. Messages and dialogs go through the MessageBox and FileDialog seams.
class Stage : public QWidget {
    Q_OBJECT
public:
    explicit Stage(QWidget* parent = nullptr);
    ~Stage() override;

    int32_t hwnd() const;
    const QString& CurrentPicture() const { return m_currentPicture; }
    bool PictureIsDirty() const { return m_pictureIsDirty; }
    bool InternalPicture() const { return m_internalPicture; }
    void SetInternalPicture(bool val) { m_internalPicture = val; }
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool Value) { setEnabled(Value); }
    int32_t GetObj() const { return m_object; }
    bool Fill() const { return m_fill; }
    int16_t LineThickness() const { return m_draw.LineThickness(); }
    // Opens the program folder's standard picture, clean, with no undo copy left.
    void Clear();
    // pfrm owns the shadows and the dialogs.
    void Init(QWidget* pfrm);
    void RefreshShadows(int32_t pMessage);
    void HideShadows();
    void ShowShadows();
    // Unloads the shadows and deletes the undo copy.
    void Dispose();
    // Fills the whole picture by the texture's kind: plain colour, the drawing colour's pattern, or the
    // texture's own picture file in place of the picture.
    void FillImage(const std::shared_ptr<Texture>& pTexture);
    // The save dialog; false when cancelled or when the save failed.
    bool SaveImageAs();
    // Writes PNG to pPath, a file of a document folder that is packed next; false without a message on any
    // error (the document writer's call).
    bool SaveStage(const QString& pPath);
    // What SaveStage changes, so that a document write failing after it can put it back.
    struct SaveMark {
        bool pictureIsDirty = false;
        QString pictureFile;
    };
    SaveMark SaveState() const { return {m_pictureIsDirty, m_pictureFile}; }
    void RestoreSaveState(const SaveMark& mark) {
        m_pictureIsDirty = mark.pictureIsDirty;
        m_pictureFile = mark.pictureFile;
    }
    // Loads pPath, or the file chosen in the open dialog when it is empty; a failed load shows a message
    // and changes nothing.
    bool OpenPicture(const QString& pPath = QString());
    // Takes a picture already decoded from the file pPath as OpenPicture would have loaded it, so the file is
    // not decoded a second time.
    void OpenDecodedPicture(const QString& pPath, const QImage& pPicture);
    bool HasColor() const { return m_drawColor != nullptr; }
    // Keeps the colour by reference: the pen takes its RGB, textured fills its picture.
    void SetDrawColor(const std::shared_ptr<Color>& pColor);
    void SetLineThickness(int16_t pWidth);
    void SetFillFlood(bool pFill) { m_fill = pFill; }
    // Chooses the tool; every tool but free-hand lines and flood fills drags a rectangle. Takes an undo copy.
    void SetObject(int32_t pObj);
    // Does nothing: text is drawn through the text tool.
    void AddText(const std::shared_ptr<Color>& pColor, const std::shared_ptr<FontInfo>& pFont, const QString& pText);
    void Restore();
    void ZoomIn();
    void ZoomOut();
    // Hundredths of a degree anticlockwise; 27000 is a quarter turn clockwise.
    void Rotate(int pAngle = 27000);
    void MirrorHorizontal();
    void MirrorVertical();
    void Invert();
    void ToBW();
    // Back to the last undo copy, which stays for a second undo; nothing when there is none.
    void Undo();
    void SaveUndo();

    // What tests and the host need to reach.
    ImagingControl* ImageControl() const { return imImg; }
    QLineEdit* TextBox() const { return Tx; }
    QScrollArea* View() const { return m_view; }
    CommandBar* PopupBar() const { return m_popup; }
    fDropShadow* ShadowRight() const { return m_rightShadow.get(); }
    fDropShadow* ShadowBottom() const { return m_bottomShadow.get(); }
    const QString& UndoPath() const { return m_undoPath; }
    Draw& DrawingTool() { return m_draw; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ImageMouseDown(int16_t button, int16_t shift, float x, float y);
    void ImageMouseMove(int16_t button, int16_t shift, float x, float y);
    void ImageMouseUp(int16_t button, int16_t shift, float x, float y);
    void ImageRectangleDone(float left, float top, float right, float bottom);
    void ImageKeyPress(int16_t keyAscii);
    void PopupExecute(CommandBarControl* control);
    void BuildPopup();
    void CreateShadows();
    void UnloadShadows();
    // Runs an input handler unless another is still running (an undo copy lets events through), and
    // keeps its errors inside.
    template <typename F>
    void Guarded(F&& handler);

    void HideTextBox();
    void CommitText();
    void CancelText();
    // The drawing colour is plain when it has no texture or a texture of kind 0.
    bool ColorIsPlain() const;
    uint32_t PatternHandle() const { return m_colorPattern.Handle(); }
    // After a load or undo: the display size follows the picture and the tool draws on it.
    void TakeLoadedPicture();
    // What every successful open does once the picture from path is in the imaging control.
    void PictureOpened(const QString& path);
    // The undo copy, taken from the file just loaded when there is one.
    void SaveUndo(const QString& loadedFile);
    // Sizes the imaging control to the zoomed picture, at least the view, so the view scrolls.
    void UpdateExtent();
    void Paste();
    void MarkDirty() { m_pictureIsDirty = true; }
    QString StandardPicture() const;
    bool SaveToFile(const QString& path);
    // The PNG file the picture was last read from or written to, while nothing has changed it since.
    bool PictureFileIsCurrent() const;
    void RememberPictureFile(const QString& path);
    // Raises when the file cannot be written whole.
    void WriteStagePng(const QString& path) const;

    // Child controls.
    QScrollArea* m_view = nullptr;
    ImagingControl* imImg = nullptr;
    QLineEdit* Tx = nullptr;
    PictureBox* picColor = nullptr;
    PictureBox* picPaste = nullptr;
    CommandBars* m_commandBars = nullptr;

    std::unique_ptr<fDropShadow> m_rightShadow;
    std::unique_ptr<fDropShadow> m_bottomShadow;
    CommandBar* m_popup = nullptr;
    QWidget* m_owner = nullptr;
    std::shared_ptr<Color> m_drawColor;
    bool m_pictureIsDirty = false;
    QString m_currentPicture;
    bool m_internalPicture = false;
    QString m_undoPath;
    QString m_pictureFile;
    Draw m_draw;
    bool m_drawing = false;
    int32_t m_object = DrawingObject::Lines;
    bool m_fill = false;
    float m_textLeft = 0;
    float m_textTop = 0;
    float m_textRight = 0;
    float m_textBottom = 0;

    // The pattern of textured fills: picColor's picture under a bitmap handle.
    RasterBitmap m_colorPattern;
    bool m_textActive = false;
    bool m_busy = false;
    float m_lastX = 0;
    float m_lastY = 0;
};
