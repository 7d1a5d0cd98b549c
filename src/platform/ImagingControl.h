#pragma once

#include "platform/PictureReader.h"
#include "platform/RasterDC.h"

#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <cstdint>

// The imaging control: a widget that loads, shows, zooms, transforms and saves one 32-bit RGB picture,
// offers a raster device context on it in picture coordinates, and reports the mouse and keyboard in
// picture coordinates. Colours are packed RGB (red in the low byte).
//
// Display: the picture is shown at the top left, stretched to its display size and then scaled by the
// zoom percentage; the rest of the control shows the back colour. Mouse positions are mapped back
// through the same scale, so they are picture pixels at any zoom.
class ImagingControl : public QWidget {
    Q_OBJECT

public:
    // Errors of loading and saving (source "tindral.ImagingControl").
    static constexpr int32_t ErrorUnsupportedType = PictureReader::ErrorUnsupportedType;  // no readable/writable type
    static constexpr int32_t ErrorUnreadable = PictureReader::ErrorUnreadable;            // damaged data, or too large
    static constexpr int32_t ErrorWriteFailed = 32502;                              // the file could not be written
    static constexpr int32_t ErrorFileNotFound = PictureReader::ErrorFileNotFound;  // missing or not a regular file
    static constexpr int32_t ErrorInvalidValue = 380;  // the runtime's "Invalid property value"

    // Output formats for the next save.
    static constexpr int FormatByExtension = 0;
    static constexpr int FormatPng = 5;

    explicit ImagingControl(QWidget* parent = nullptr);
    ~ImagingControl() override;

    // Assigning a file name loads it; the empty name unloads the picture. A failed load raises
    // (32504 missing or not a regular file, 32500 unreadable type, 32501 damaged data or a picture over
    // 100 megapixels) and keeps the previous picture.
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& path);
    // Takes a picture already read from path, as if assigning the name had loaded it: nothing is read.
    void TakePicture(const QString& path, const QImage& picture);
    // 0 after a picture was loaded, 1 while none is held.
    int LoadState() const { return m_picture.isNull() ? 1 : 0; }

    int PictureWidth() const { return m_picture.width(); }
    int PictureHeight() const { return m_picture.height(); }
    // Scales the picture (smoothly, aspect not kept); the display size follows.
    void ResizePicture(int width, int height);
    // The size the picture is shown at before the zoom; set to the picture's size by every load.
    int DisplayWidth() const { return m_displayWidth; }
    int DisplayHeight() const { return m_displayHeight; }
    void SetDisplayWidth(int width);
    void SetDisplayHeight(int height);
    // 0, the only mode: the display size is shown as set. Setting it (also to its value) re-applies
    // the display after the display size changed.
    int DisplayMode() const { return m_displayMode; }
    void SetDisplayMode(int mode);
    // The control's width in picture pixels (its width in twips divided by this gives twips per pixel).
    double ScaleWidth() const;

    // Zoom percentage (rounded half to even to an integer) in zoom mode 0, the percentage mode.
    int Zoom() const { return m_zoom; }
    void SetZoom(double percent);
    int ZoomMode() const { return m_zoomMode; }
    void SetZoomMode(int mode);

    uint32_t BackColor() const { return m_backColor; }
    void SetBackColor(uint32_t color);
    // Schedules a repaint.
    void Refresh();
    // Schedules a repaint of the part showing a rectangle of the picture (picture pixels).
    void RefreshPictureRect(const QRectF& pictureRect);
    // The size the picture takes on screen at the display size and zoom (0 while none is held).
    int ZoomedWidth() const;
    int ZoomedHeight() const;

    // While on, a left-button drag draws a band and is reported only as RectangleDone, and of the other
    // mouse events only the right button's press and release are reported.
    bool RubberBand() const { return m_rubberBand; }
    void SetRubberBand(bool on);

    // The device context on the picture (0 never; drawing does nothing while no picture is held).
    uint32_t hDC() const { return m_dc.Handle(); }
    // The picture as a picture object.
    QImage Picture() const { return m_picture; }

    // Transforms of the picture.
    // Reduces to colors levels (2 to 256) of grey; grey False (colour reduction) is not available and
    // raises error 5. Dithering is not needed at 256 levels and is not done below.
    void ReduceColors(int colors, bool grey, bool dither);
    void Invert();
    void FlipVertical();    // upside down
    void FlipHorizontal();  // left to right
    // Rotates anticlockwise by angle hundredths of a degree (27000 is a quarter turn clockwise); a turn
    // that is not a multiple of 9000 grows the picture to hold the turned one and fills the corners
    // with fillColor.
    void Rotate(int angle, uint32_t fillColor);
    void CopyToClipboard() const;

    // Saves in the output format, or by the path's extension (png; jpg, jpeg; tif, tiff; bmp as 24-bit)
    // when it is FormatByExtension; the format applies to this save only and then returns to
    // FormatByExtension. Raises 32500 for an extension without a format, 32502 when writing fails. An
    // existing file is replaced only by a complete new one that reached the disk; after a failure it is as it was.
    void SaveFile(const QString& path);
    // Writes the picture fast as an uncompressed 32-bit bitmap that loads again (undo copies); raises 32502,
    // and a copy that failed leaves no file.
    void SaveSnapshot(const QString& path);
    int OutputFormat() const { return m_outputFormat; }
    void SetOutputFormat(int format);

signals:
    // Button: 1 left, 2 right, 4 middle (the buttons held, for moves); Shift: 1 Shift, 2 Ctrl, 4 Alt.
    void MouseDown(int16_t button, int16_t shift, float x, float y);
    void MouseMove(int16_t button, int16_t shift, float x, float y);
    void MouseUp(int16_t button, int16_t shift, float x, float y);
    // The band's start and end corners as dragged (not normalised).
    void RectangleDone(float left, float top, float right, float bottom);
    // The character code of a key: printable characters, 8, 9, 13, 27, and Ctrl+A..Ctrl+Z as 1..26.
    void KeyPress(int16_t keyAscii);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    double ScaleX() const;
    double ScaleY() const;
    QPointF ToPicture(const QPointF& position) const;
    bool ReportsButton(Qt::MouseButton button) const;
    void SetPicture(const QImage& picture);

    QImage m_picture;  // before m_dc, which draws on it
    RasterDC m_dc;
    QString m_fileName;
    int m_displayWidth = 0;
    int m_displayHeight = 0;
    int m_displayMode = 0;
    int m_zoom = 100;
    int m_zoomMode = 0;
    uint32_t m_backColor = 0x808080;
    bool m_rubberBand = false;
    bool m_banding = false;
    QPointF m_bandStart;
    QPointF m_bandEnd;
    int m_outputFormat = FormatByExtension;
};
