#pragma once

#include "platform/LogFont.h"
#include "platform/ScanlineFill.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <unordered_map>
#include <variant>

class QPainter;

// A raster device context over a 32-bit RGB picture, with the drawing calls of the classic raster
// graphics interface: pens, brushes and fonts made, selected and deleted by handle; a binary raster
// operation; current position; lines, rectangles, ellipses, arcs, word-wrapped text, pixel reads and a
// surface flood fill. Colours are packed RGB (red in the low byte). Shapes are drawn without
// anti-aliasing. The context reaches its picture through a pointer, so the owner may replace the
// picture (a new load, a rotation) and the context draws on the new one.
//
// Every context has a 32-bit handle (never 0, never reused); FromHandle finds a live one, so a handle of
// 0 or of a destroyed context draws nothing.
class RasterDC {
public:
    // Binary raster operations.
    static constexpr int R2_NOT = 6;
    static constexpr int R2_MASKPEN = 9;
    static constexpr int R2_COPYPEN = 13;
    // Pen styles.
    static constexpr int PS_SOLID = 0;
    static constexpr int PS_NULL = 5;
    // Background modes.
    static constexpr int TRANSPARENT = 1;
    static constexpr int OPAQUE = 2;
    // Text format flags.
    static constexpr uint32_t DT_WORDBREAK = 16;
    // Flood-fill kinds.
    static constexpr int FLOODFILLBORDER = 0;
    static constexpr int FLOODFILLSURFACE = 1;
    // GetPixel outside the picture.
    static constexpr uint32_t CLR_INVALID = 0xFFFFFFFFu;

    explicit RasterDC(QImage* target);
    ~RasterDC();
    RasterDC(const RasterDC&) = delete;
    RasterDC& operator=(const RasterDC&) = delete;

    uint32_t Handle() const { return m_handle; }
    static RasterDC* FromHandle(uint32_t handle);
    QImage* Target() const { return m_target; }

    // Objects. Creation returns 0 on failure; a pattern brush copies the bitmap of a RasterBitmap handle.
    uint32_t CreatePen(int style, int width, uint32_t color);
    uint32_t CreateSolidBrush(uint32_t color);
    uint32_t CreatePatternBrush(uint32_t bitmapHandle);
    uint32_t CreateFontIndirect(const LogFont& font);
    // Selects a pen, brush or font and returns the one of the same kind it replaces (0: unknown handle).
    uint32_t SelectObject(uint32_t object);
    // Fails for unknown and selected objects; stock objects stay.
    bool DeleteObject(uint32_t object);
    // Objects alive, the three stock ones included.
    int ObjectCount() const { return static_cast<int>(m_objects.size()); }
    uint32_t SelectedPen() const { return m_pen; }
    uint32_t SelectedBrush() const { return m_brush; }
    uint32_t SelectedFont() const { return m_font; }
    // The face a font handle draws with (for a font handle only).
    QFont FontOf(uint32_t object) const;

    // State. Each setter returns the previous value; SetROP2 returns 0 for an operation it lacks.
    int SetROP2(int mode);
    int GetROP2() const { return m_rop2; }
    uint32_t SetTextColor(uint32_t color);
    uint32_t SetBkColor(uint32_t color);
    int SetBkMode(int mode);
    int GetBkMode() const { return m_bkMode; }
    QPoint MoveTo(int x, int y);
    QPoint CurrentPosition() const { return m_position; }

    // Drawing. Lines cover both end points, the same pixels in either direction, and a line of length 0
    // draws nothing; LineTo moves the current position. Rectangle and Ellipse take the box excluding its
    // right and bottom edges, outline with the pen and fill with the brush; Arc draws counter-clockwise
    // from the ray through the start point to the ray through the end point (the whole ellipse when
    // they coincide).
    bool LineTo(int x, int y);
    bool Rectangle(int left, int top, int right, int bottom);
    bool Ellipse(int left, int top, int right, int bottom);
    bool Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    // Draws text in the selected font and text colour into the rectangle (right and bottom edges
    // excluded, corners in any order), clipped to it; DT_WORDBREAK breaks lines between words at its
    // right edge. An opaque background mode first fills the text's lines with the background colour.
    // Returns the height of the text.
    int DrawText(const QString& text, int left, int top, int right, int bottom, uint32_t format);
    uint32_t GetPixel(int x, int y) const;
    // FLOODFILLSURFACE: fills the 4-connected area of color around (x, y) with the selected brush; false
    // when (x, y) lies outside or is not of that colour.
    bool ExtFloodFill(int x, int y, uint32_t color, int fillType);

    // Packed RGB from components, and conversions to the picture's pixel values.
    static constexpr uint32_t Rgb(int r, int g, int b) {
        return static_cast<uint32_t>(r & 0xFF) | (static_cast<uint32_t>(g & 0xFF) << 8) |
               (static_cast<uint32_t>(b & 0xFF) << 16);
    }
    static uint32_t ToPixel(uint32_t color);
    static uint32_t FromPixel(uint32_t pixel);

private:
    struct Pen {
        int style;
        int width;
        uint32_t color;
    };
    struct Brush {
        bool null;
        uint32_t color;
        QImage pattern;  // null for a solid brush
    };
    struct Font {
        LogFont record;
        QFont font;
    };
    using Object = std::variant<Pen, Brush, Font>;

    uint32_t Add(Object object);
    bool Ready();
    void Prepare(QPainter& painter, bool withBrush) const;

    uint32_t m_handle;
    QImage* m_target;
    std::unordered_map<uint32_t, Object> m_objects;
    uint32_t m_nextObject = 0;
    uint32_t m_stockPen, m_stockBrush, m_stockFont;
    uint32_t m_pen, m_brush, m_font;
    int m_rop2 = R2_COPYPEN;
    uint32_t m_textColor = 0;
    uint32_t m_bkColor = 0xFFFFFF;
    int m_bkMode = OPAQUE;
    QPoint m_position;
    ScanlineFill::SegmentStack m_fillStack;
};
