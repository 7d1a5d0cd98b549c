#include "stage/Draw.h"

#include "platform/Numeric.h"
#include "platform/RasterDC.h"
#include "platform/RuntimeError.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace {

int32_t R(float value) { return Numeric::Round(value); }

// Switches to the mask-pen operation while a transparent shape is drawn.
class TransparentFrame {
public:
    TransparentFrame(RasterDC& dc, bool transparent) : m_dc(dc), m_on(transparent) {
        if (m_on) {
            m_previous = m_dc.SetROP2(RasterDC::R2_MASKPEN);
        }
    }
    ~TransparentFrame() {
        if (m_on) {
            m_dc.SetROP2(m_previous);
        }
    }
    TransparentFrame(const TransparentFrame&) = delete;
    TransparentFrame& operator=(const TransparentFrame&) = delete;

private:
    RasterDC& m_dc;
    bool m_on;
    int m_previous = 0;
};

// Selects a created object for one drawing call; afterwards the previous one is selected again and
// the created one deleted.
class Selection {
public:
    Selection(RasterDC& dc, uint32_t object) : m_dc(dc), m_object(object), m_previous(dc.SelectObject(object)) {}
    ~Selection() {
        if (m_previous != 0) {
            m_dc.SelectObject(m_previous);
        }
        m_dc.DeleteObject(m_object);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    RasterDC& m_dc;
    uint32_t m_object;
    uint32_t m_previous;
};

}  // namespace

void Draw::DrawEllipse(float X1, float Y1, float X2, float Y2) {
    RasterDC* dc = RasterDC::FromHandle(m_hdc);
    if (dc == nullptr) {
        return;
    }
    TransparentFrame frame(*dc, m_transparent);
    if (m_fill) {
        Selection brush(*dc, dc->CreateSolidBrush(m_color));
        Selection pen(*dc, dc->CreatePen(RasterDC::PS_SOLID, m_lineThickness, m_color));
        dc->Ellipse(R(X1), R(Y1), R(X2), R(Y2));
    } else {
        // Start and end on the same ray: the whole outline, nothing filled.
        Selection pen(*dc, dc->CreatePen(RasterDC::PS_SOLID, m_lineThickness, m_color));
        const int32_t xStart = R(X2 / 2.0f);
        dc->Arc(R(X1), R(Y1), R(X2), R(Y2), xStart, R(Y1), xStart, R(Y1));
    }
}

void Draw::DrawEllipseTextured(float X1, float Y1, float X2, float Y2, uint32_t phdib) {
    RasterDC* dc = RasterDC::FromHandle(m_hdc);
    if (dc == nullptr) {
        return;
    }
    const uint32_t pattern = dc->CreatePatternBrush(phdib);
    if (pattern == 0) {
        return;  // no pattern: drawing with whatever brush is selected would paint the wrong thing
    }
    TransparentFrame frame(*dc, m_transparent);
    Selection brush(*dc, pattern);
    Selection pen(*dc, dc->CreatePen(RasterDC::PS_NULL, m_lineThickness, 0));
    dc->Ellipse(R(X1), R(Y1), R(X2), R(Y2));
}

void Draw::DrawRect(float X1, float Y1, float X2, float Y2) {
    RasterDC* dc = RasterDC::FromHandle(m_hdc);
    if (dc == nullptr) {
        return;
    }
    TransparentFrame frame(*dc, m_transparent);
    Selection pen(*dc, dc->CreatePen(RasterDC::PS_SOLID, m_lineThickness, m_color));
    const int32_t x1 = R(X1), y1 = R(Y1), x2 = R(X2), y2 = R(Y2);
    if (m_fill) {
        Selection brush(*dc, dc->CreateSolidBrush(m_color));
        dc->Rectangle(x1, y1, x2, y2);
    } else {
        dc->MoveTo(x1, y1);
        dc->LineTo(x2, y1);
        dc->LineTo(x2, y2);
        dc->LineTo(x1, y2);
        dc->LineTo(x1, y1);
    }
}

void Draw::DrawRectTextured(float X1, float Y1, float X2, float Y2, uint32_t phdib) {
    RasterDC* dc = RasterDC::FromHandle(m_hdc);
    if (dc == nullptr) {
        return;
    }
    const uint32_t pattern = dc->CreatePatternBrush(phdib);
    if (pattern == 0) {
        return;
    }
    TransparentFrame frame(*dc, m_transparent);
    Selection pen(*dc, dc->CreatePen(RasterDC::PS_NULL, 0, 0));
    Selection brush(*dc, pattern);
    dc->Rectangle(R(X1), R(Y1), R(X2), R(Y2));
}

void Draw::EndLinePen(bool restoreRop) {
    if (m_linePen == 0) {
        return;
    }
    if (RasterDC* dc = RasterDC::FromHandle(m_lineHdc)) {
        if (restoreRop) {
            dc->SetROP2(m_previousRop);
        }
        dc->SelectObject(m_previousPen);
        dc->DeleteObject(m_linePen);
    }
    m_linePen = 0;
    m_lineHdc = 0;
}

void Draw::DrawLineStart(float X, float Y) {
    EndLinePen(true);  // a line left unfinished gives its pen and mode back first
    RasterDC* dc = RasterDC::FromHandle(m_hdc);
    if (dc == nullptr) {
        return;
    }
    m_lineStartX = R(X);
    m_lineStartY = R(Y);
    dc->MoveTo(m_lineStartX, m_lineStartY);
    m_linePen = dc->CreatePen(RasterDC::PS_SOLID, m_lineThickness, m_color);
    m_previousPen = dc->SelectObject(m_linePen);
    m_lineHdc = m_hdc;
    m_previousRop = dc->SetROP2(RasterDC::R2_NOT);
}

void Draw::DrawLineMove(float X, float Y) {
    RasterDC* dc = m_linePen == 0 ? nullptr : RasterDC::FromHandle(m_lineHdc);
    if (dc == nullptr) {
        return;
    }
    dc->LineTo(m_lineStartX, m_lineStartY);  // erases the previous band
    dc->LineTo(R(X), R(Y));
}

void Draw::DrawLineEnd(float X, float Y, bool bDirect) {
    RasterDC* dc = m_linePen == 0 ? nullptr : RasterDC::FromHandle(m_lineHdc);
    if (dc == nullptr) {
        m_linePen = 0;
        return;
    }
    if (!bDirect) {
        dc->LineTo(m_lineStartX, m_lineStartY);
    }
    dc->SetROP2(m_previousRop);
    {
        TransparentFrame frame(*dc, m_transparent);
        dc->LineTo(R(X), R(Y));
    }
    EndLinePen(false);
}

void Draw::DrawTheText(float X1, float Y1, float X2, float Y2, const QString& text) {
    RasterDC* dc = RasterDC::FromHandle(m_hdc);
    if (dc == nullptr) {
        return;
    }
    dc->SetTextColor(m_color);
    dc->SetBkMode(RasterDC::TRANSPARENT);
    const uint32_t font = dc->CreateFontIndirect(m_logFont);
    if (font == 0) {
        return;
    }
    Selection selection(*dc, font);
    dc->DrawText(text, R(X1), R(Y1), R(X2), R(Y2), RasterDC::DT_WORDBREAK);
}

void Draw::DrawFloodFill(float X, float Y, bool bHatched, uint32_t phdib) {
    Q_UNUSED(bHatched);
    RasterDC* dc = RasterDC::FromHandle(m_hdc);
    if (dc == nullptr) {
        return;
    }
    const int32_t x = R(X), y = R(Y);
    const uint32_t color = dc->GetPixel(x, y);
    dc->SetBkMode(RasterDC::TRANSPARENT);
    const uint32_t brush = phdib != 0 ? dc->CreatePatternBrush(phdib) : dc->CreateSolidBrush(m_color);
    if (brush == 0) {
        return;
    }
    Selection selection(*dc, brush);
    dc->ExtFloodFill(x, y, color, RasterDC::FLOODFILLSURFACE);
}

void Draw::SetFont(std::shared_ptr<FontInfo> vData) {
    if (!vData) {
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    }
    LogFont record;
    record.height = Numeric::Round(vData->size * 1.6);
    record.weight = vData->bold ? 800 : 400;
    record.italic = vData->italic ? 1 : 0;
    record.underline = vData->underline ? 1 : 0;
    record.strikeOut = vData->strikethrough ? 1 : 0;
    record.charSet = LogFont::DefaultCharset;
    record.quality = LogFont::ProofQuality;
    const QByteArray face = vData->name.toLatin1();
    std::memcpy(record.faceName, face.constData(),
                std::min<size_t>(static_cast<size_t>(face.size()), LogFont::FaceNameSize - 1));
    m_font = std::move(vData);
    m_logFont = record;
}
