#pragma once

#include "platform/FontInfo.h"
#include "platform/LogFont.h"

#include <QString>

#include <cstdint>
#include <memory>

// The stage's drawing tool: shapes, free-hand and rubber-band lines, word-wrapped text and flood fills
// on a raster device context reached by handle (RasterDC). Each operation makes the pens and brushes it
// needs, selects them, draws and puts the previous ones back; colour, width, fill flag and font are set
// beforehand. Coordinates are rounded half to even; with hdc 0 (or a context no longer alive) nothing
// is drawn.
class Draw {
public:
    Draw() = default;

    void DrawEllipse(float X1, float Y1, float X2, float Y2);
    // A pattern brush from the bitmap handle (RasterBitmap), no outline.
    void DrawEllipseTextured(float X1, float Y1, float X2, float Y2, uint32_t phdib);
    void DrawRect(float X1, float Y1, float X2, float Y2);
    void DrawRectTextured(float X1, float Y1, float X2, float Y2, uint32_t phdib);
    // A line: one DrawLineStart, any number of DrawLineMove (an inverting band that erases itself), one
    // DrawLineEnd. With bDirect the end draws straight from the start; otherwise it first erases the band.
    void DrawLineStart(float X, float Y);
    void DrawLineMove(float X, float Y);
    void DrawLineEnd(float X, float Y, bool bDirect);
    void DrawTheText(float X1, float Y1, float X2, float Y2, const QString& text);
    // Fills the area of the colour at (X, Y) with a pattern from phdib, or with Color when phdib is 0.
    void DrawFloodFill(float X, float Y, bool bHatched = false, uint32_t phdib = 0);

    const std::shared_ptr<FontInfo>& Font() const { return m_font; }
    // Keeps the font object and builds the logical font from it; none raises error 91.
    void SetFont(std::shared_ptr<FontInfo> vData);
    const LogFont& LogicalFont() const { return m_logFont; }

    uint32_t Color() const { return m_color; }
    void SetColor(uint32_t vData) { m_color = vData; }
    int16_t LineThickness() const { return m_lineThickness; }
    void SetLineThickness(int16_t vData) { m_lineThickness = vData; }
    bool Fill() const { return m_fill; }
    void SetFill(bool vData) { m_fill = vData; }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool vData) { m_transparent = vData; }
    uint32_t hdc() const { return m_hdc; }
    void SetHdc(uint32_t vData) { m_hdc = vData; }

private:
    void EndLinePen(bool restoreRop);

    bool m_transparent = false;
    bool m_fill = false;
    int16_t m_lineThickness = 1;
    uint32_t m_color = 0x00FFFF;  // yellow
    std::shared_ptr<FontInfo> m_font;
    uint32_t m_hdc = 0;
    LogFont m_logFont;
    int32_t m_lineStartX = 0;
    int32_t m_lineStartY = 0;
    // Between DrawLineStart and DrawLineEnd: the context, the line pen and what it replaced.
    uint32_t m_lineHdc = 0;
    uint32_t m_linePen = 0;
    uint32_t m_previousPen = 0;
    int m_previousRop = 0;
};
