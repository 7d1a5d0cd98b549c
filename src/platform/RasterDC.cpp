#include "platform/RasterDC.h"

#include "platform/RasterBitmap.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

std::unordered_map<uint32_t, RasterDC*>& Registry() {
    static std::unordered_map<uint32_t, RasterDC*> registry;
    return registry;
}

uint32_t NextHandle() {
    static uint32_t next = 0;
    return ++next;
}

QColor ToQColor(uint32_t color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

// Above this a font would cost more to draw than any picture could show.
constexpr int32_t kMaxFontHeight = 16384;

// The pixel size whose cell (ascent + descent) comes closest to the cell height without exceeding it.
int PixelSizeForCell(QFont font, int cell) {
    auto cellAt = [&font](int pixelSize) {
        font.setPixelSize(pixelSize);
        return QFontMetrics(font).height();
    };
    const int reference = 1000;
    const int referenceCell = std::max(1, cellAt(reference));
    int size = std::max(1, static_cast<int>(std::lround(double(cell) * reference / referenceCell)));
    while (size > 1 && cellAt(size) > cell) {
        --size;
    }
    while (cellAt(size + 1) <= cell) {
        ++size;
    }
    return size;
}

QFont MakeFont(const LogFont& record) {
    QFont font;
    const size_t length = strnlen(record.faceName, LogFont::FaceNameSize);
    if (length > 0) {
        font.setFamily(QString::fromLatin1(record.faceName, static_cast<qsizetype>(length)));
    }
    font.setWeight(static_cast<QFont::Weight>(record.weight == 0 ? 400 : std::clamp(record.weight, 1, 1000)));
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    if (record.height > 0) {
        font.setPixelSize(PixelSizeForCell(font, record.height));
    } else if (record.height < 0) {
        font.setPixelSize(-record.height);
    }
    return font;
}

// Normalised box of a rectangle or ellipse, excluding its right and bottom edges, as Qt's aliased
// rectangle (whose outline covers left..left + width).
QRect ShapeBox(int left, int top, int right, int bottom) {
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
    return QRect(left, top, right - left - 1, bottom - top - 1);
}

}  // namespace

RasterDC::RasterDC(QImage* target) : m_handle(NextHandle()), m_target(target) {
    m_stockPen = Add(Pen{PS_SOLID, 1, 0});
    m_stockBrush = Add(Brush{false, 0xFFFFFF, QImage()});
    m_stockFont = Add(Font{LogFont{}, QFont()});
    m_pen = m_stockPen;
    m_brush = m_stockBrush;
    m_font = m_stockFont;
    Registry().emplace(m_handle, this);
}

RasterDC::~RasterDC() { Registry().erase(m_handle); }

RasterDC* RasterDC::FromHandle(uint32_t handle) {
    const auto it = Registry().find(handle);
    return it == Registry().end() ? nullptr : it->second;
}

uint32_t RasterDC::ToPixel(uint32_t color) {
    return 0xFF000000u | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

uint32_t RasterDC::FromPixel(uint32_t pixel) {
    return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
}

uint32_t RasterDC::Add(Object object) {
    const uint32_t handle = ++m_nextObject;
    m_objects.emplace(handle, std::move(object));
    return handle;
}

uint32_t RasterDC::CreatePen(int style, int width, uint32_t color) {
    if (style != PS_SOLID && style != PS_NULL) {
        return 0;
    }
    return Add(Pen{style, width, color & 0xFFFFFF});
}

uint32_t RasterDC::CreateSolidBrush(uint32_t color) { return Add(Brush{false, color & 0xFFFFFF, QImage()}); }

uint32_t RasterDC::CreatePatternBrush(uint32_t bitmapHandle) {
    const QImage* bitmap = RasterBitmap::FromHandle(bitmapHandle);
    if (bitmap == nullptr || bitmap->isNull()) {
        return 0;
    }
    return Add(Brush{false, 0, bitmap->convertToFormat(QImage::Format_RGB32)});
}

uint32_t RasterDC::CreateFontIndirect(const LogFont& font) {
    if (std::abs(font.height) > kMaxFontHeight) {
        return 0;
    }
    return Add(Font{font, MakeFont(font)});
}

uint32_t RasterDC::SelectObject(uint32_t object) {
    const auto it = m_objects.find(object);
    if (it == m_objects.end()) {
        return 0;
    }
    uint32_t* slot = std::holds_alternative<Pen>(it->second)     ? &m_pen
                     : std::holds_alternative<Brush>(it->second) ? &m_brush
                                                                 : &m_font;
    return std::exchange(*slot, object);
}

bool RasterDC::DeleteObject(uint32_t object) {
    if (object == m_stockPen || object == m_stockBrush || object == m_stockFont) {
        return true;
    }
    if (object == m_pen || object == m_brush || object == m_font) {
        return false;
    }
    return m_objects.erase(object) == 1;
}

QFont RasterDC::FontOf(uint32_t object) const {
    const auto it = m_objects.find(object);
    if (it == m_objects.end() || !std::holds_alternative<Font>(it->second)) {
        return QFont();
    }
    return std::get<Font>(it->second).font;
}

int RasterDC::SetROP2(int mode) {
    if (mode != R2_COPYPEN && mode != R2_NOT && mode != R2_MASKPEN) {
        return 0;
    }
    return std::exchange(m_rop2, mode);
}

uint32_t RasterDC::SetTextColor(uint32_t color) { return std::exchange(m_textColor, color & 0xFFFFFF); }

uint32_t RasterDC::SetBkColor(uint32_t color) { return std::exchange(m_bkColor, color & 0xFFFFFF); }

int RasterDC::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        return 0;
    }
    return std::exchange(m_bkMode, mode);
}

QPoint RasterDC::MoveTo(int x, int y) { return std::exchange(m_position, QPoint(x, y)); }

bool RasterDC::Ready() {
    if (m_target == nullptr || m_target->isNull()) {
        return false;
    }
    if (m_target->format() != QImage::Format_RGB32) {
        *m_target = m_target->convertToFormat(QImage::Format_RGB32);
    }
    return true;
}

void RasterDC::Prepare(QPainter& painter, bool withBrush) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    switch (m_rop2) {
        case R2_NOT: painter.setCompositionMode(QPainter::RasterOp_NotDestination); break;
        case R2_MASKPEN: painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
        default: painter.setCompositionMode(QPainter::CompositionMode_Source); break;
    }
    const Pen& pen = std::get<Pen>(m_objects.at(m_pen));
    if (pen.style == PS_NULL) {
        painter.setPen(Qt::NoPen);
    } else if (pen.width <= 1) {
        painter.setPen(QPen(ToQColor(pen.color), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    } else {
        painter.setPen(QPen(ToQColor(pen.color), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    if (!withBrush) {
        painter.setBrush(Qt::NoBrush);
        return;
    }
    const Brush& brush = std::get<Brush>(m_objects.at(m_brush));
    if (brush.null) {
        painter.setBrush(Qt::NoBrush);
    } else if (!brush.pattern.isNull()) {
        painter.setBrush(QBrush(brush.pattern));  // tiled from the picture's origin
    } else {
        painter.setBrush(ToQColor(brush.color));
    }
}

bool RasterDC::LineTo(int x, int y) {
    QPoint from = std::exchange(m_position, QPoint(x, y));
    QPoint to(x, y);
    if (from == to || !Ready()) {
        return from == to;
    }
    // One direction for both orders, so a line drawn back over itself covers the same pixels.
    if (std::make_pair(to.y(), to.x()) < std::make_pair(from.y(), from.x())) {
        std::swap(from, to);
    }
    QPainter painter(m_target);
    Prepare(painter, false);
    painter.drawLine(from, to);
    return true;
}

bool RasterDC::Rectangle(int left, int top, int right, int bottom) {
    if (!Ready()) {
        return false;
    }
    QPainter painter(m_target);
    Prepare(painter, true);
    painter.drawRect(ShapeBox(left, top, right, bottom));
    return true;
}

bool RasterDC::Ellipse(int left, int top, int right, int bottom) {
    if (!Ready()) {
        return false;
    }
    QPainter painter(m_target);
    Prepare(painter, true);
    painter.drawEllipse(ShapeBox(left, top, right, bottom));
    return true;
}

bool RasterDC::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    if (!Ready()) {
        return false;
    }
    const QRect box = ShapeBox(left, top, right, bottom);
    const QPointF centre = QRectF(box).center();
    // Angles on screen, counter-clockwise from three o'clock, of the rays through the two points.
    auto angleOf = [&](int x, int y) {
        return std::atan2(-(y - centre.y()) * box.width(), (x - centre.x()) * box.height()) * 180.0 / M_PI;
    };
    const double start = angleOf(xStart, yStart);
    double sweep = angleOf(xEnd, yEnd) - start;
    while (sweep <= 0.0) {
        sweep += 360.0;
    }
    QPainter painter(m_target);
    Prepare(painter, false);
    if (sweep >= 360.0) {
        painter.drawEllipse(box);  // the same outline as Ellipse
    } else {
        // Aliased arcs sit half a pixel off the aliased ellipse outline.
        painter.drawArc(QRectF(box).translated(0.5, 0.5), static_cast<int>(std::lround(start * 16)),
                        static_cast<int>(std::lround(sweep * 16)));
    }
    return true;
}

int RasterDC::DrawText(const QString& text, int left, int top, int right, int bottom, uint32_t format) {
    if (!Ready()) {
        return 0;
    }
    const QRect box(std::min(left, right), std::min(top, bottom), std::abs(right - left), std::abs(bottom - top));
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const int flags = Qt::AlignLeft | Qt::AlignTop | ((format & DT_WORDBREAK) != 0 ? Qt::TextWordWrap : 0);
    QPainter painter(m_target);
    painter.setFont(std::get<Font>(m_objects.at(m_font)).font);
    painter.setClipRect(box);
    const QRect used = painter.boundingRect(box, flags, lines);
    if (m_bkMode == OPAQUE) {
        painter.fillRect(used, ToQColor(m_bkColor));
    }
    painter.setPen(ToQColor(m_textColor));
    painter.drawText(box, flags, lines);
    return used.height();
}

uint32_t RasterDC::GetPixel(int x, int y) const {
    if (m_target == nullptr || !m_target->valid(x, y)) {
        return CLR_INVALID;
    }
    return FromPixel(m_target->pixel(x, y));
}

bool RasterDC::ExtFloodFill(int x, int y, uint32_t color, int fillType) {
    if (fillType != FLOODFILLSURFACE || !Ready() || !m_target->valid(x, y) || GetPixel(x, y) != (color & 0xFFFFFF)) {
        return false;
    }
    const Brush& brush = std::get<Brush>(m_objects.at(m_brush));
    if (brush.null) {
        return false;
    }
    ScanlineFill::Surface surface{reinterpret_cast<uint32_t*>(m_target->bits()), m_target->width(), m_target->height(),
                                  m_target->bytesPerLine() / 4};
    if (brush.pattern.isNull()) {
        return ScanlineFill::FillSolid(surface, x, y, ToPixel(brush.color), m_fillStack);
    }
    const ScanlineFill::Pattern pattern{reinterpret_cast<const uint32_t*>(brush.pattern.constBits()),
                                        brush.pattern.width(), brush.pattern.height(),
                                        brush.pattern.bytesPerLine() / 4};
    return ScanlineFill::FillPattern(surface, x, y, pattern, m_fillStack);
}
