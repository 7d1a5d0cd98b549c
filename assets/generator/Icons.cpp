#include "Icons.h"

#include "BmpFile.h"

#include <QConicalGradient>
#include <QDir>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace Icons {

namespace {

// One palette for every icon, so the set reads as a family.
const QColor kInk(0x2B, 0x3A, 0x4A);
const QColor kPaperTop(0xFF, 0xFF, 0xFF);
const QColor kPaperBottom(0xDD, 0xE6, 0xF0);
const QColor kBlue(0x2F, 0x6F, 0xC4);
const QColor kBlueLight(0x8C, 0xBD, 0xF0);
const QColor kBlueDark(0x1D, 0x4C, 0x8C);
const QColor kYellow(0xF6, 0xCB, 0x5A);
const QColor kYellowDark(0xB0, 0x7E, 0x1E);
const QColor kRed(0xD9, 0x3B, 0x36);
const QColor kRedDark(0x8E, 0x1E, 0x1A);
const QColor kGreen(0x3F, 0xA3, 0x44);
const QColor kGreenDark(0x1F, 0x66, 0x25);
const QColor kGrey(0xB8, 0xC0, 0xC8);
const QColor kGreyDark(0x5E, 0x68, 0x72);

using Draw = void (*)(QPainter&);

QImage Render(int size, Draw draw) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    draw(p);
    p.end();
    return image;
}

QPen Pen(const QColor& c, qreal width = 1.0) {
    QPen pen(c, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QBrush Vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// A glyph as a filled outline, centred on (cx, cy) by its ink box.
void Glyph(QPainter& p, const QString& text, const QFont& font, qreal cx, qreal cy, const QColor& color) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    p.save();
    p.translate(cx - box.center().x(), cy - box.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(path);
    p.restore();
}

QFont Font(const char* family, int pixels, bool bold = false, bool italic = false) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

// ---- small icons, drawn on a 16 px grid (lines on half pixels stay crisp) ----

void Page(QPainter& p, qreal left, qreal top, qreal right, qreal bottom, qreal fold) {
    QPainterPath page;
    page.moveTo(left, top);
    page.lineTo(right - fold, top);
    page.lineTo(right, top + fold);
    page.lineTo(right, bottom);
    page.lineTo(left, bottom);
    page.closeSubpath();
    p.setPen(Pen(kInk));
    p.setBrush(Vertical(QRectF(left, top, right - left, bottom - top), kPaperTop, kPaperBottom));
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(right - fold, top);
    corner.lineTo(right - fold, top + fold);
    corner.lineTo(right, top + fold);
    p.setBrush(kGrey);
    p.drawPath(corner);
}

void TextLines(QPainter& p, int left, int top, int right, int count) {
    for (int i = 0; i < count; ++i)
        p.fillRect(QRect(left, top + 2 * i, right - left - (i == count - 1 ? 2 : 0), 1), kGreyDark);
}

void New16(QPainter& p) { Page(p, 3.5, 1.5, 12.5, 14.5, 3.0); }

void Open16(QPainter& p) {
    p.setPen(Pen(kYellowDark));
    QPainterPath back;
    back.moveTo(1.5, 13.5);
    back.lineTo(1.5, 2.5);
    back.lineTo(5.5, 2.5);
    back.lineTo(6.5, 4.5);
    back.lineTo(12.5, 4.5);
    back.lineTo(12.5, 7.0);
    p.setBrush(kYellow.darker(115));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(1.5, 13.5);
    front.lineTo(4.0, 7.5);
    front.lineTo(14.5, 7.5);
    front.lineTo(12.0, 13.5);
    front.closeSubpath();
    p.setBrush(Vertical(QRectF(0, 7.5, 16, 6), kYellow.lighter(115), kYellow));
    p.drawPath(front);
}

void Save16(QPainter& p) {
    const QRectF body(1.5, 1.5, 13, 13);
    p.setPen(Pen(kBlueDark));
    p.setBrush(Vertical(body, kBlue.lighter(120), kBlue));
    p.drawRoundedRect(body, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaperTop);
    p.drawRect(QRectF(4, 2, 8, 5));
    p.fillRect(QRectF(5, 3, 6, 1), kGrey);
    p.fillRect(QRectF(5, 5, 6, 1), kGrey);
    p.setBrush(kGrey);
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
    p.fillRect(QRectF(9, 10.5, 1.5, 3), kGreyDark);
}

void Delete16(QPainter& p) {
    p.setPen(Pen(kRedDark, 4.0));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
    p.setPen(Pen(kRed, 2.2));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
}

void Copy16(QPainter& p) {
    Page(p, 1.5, 1.5, 9.5, 11.5, 2.5);
    Page(p, 6.5, 4.5, 14.5, 14.5, 2.5);
    TextLines(p, 8, 8, 13, 3);
}

void Paste16(QPainter& p) {
    const QRectF board(1.5, 2.5, 10, 12);
    p.setPen(Pen(kYellowDark));
    p.setBrush(Vertical(board, QColor(0xD9, 0xA4, 0x5E), QColor(0xB8, 0x80, 0x3C)));
    p.drawRoundedRect(board, 1.5, 1.5);
    p.setPen(Pen(kGreyDark));
    p.setBrush(Vertical(QRectF(4, 1, 5, 3), kGrey.lighter(120), kGrey));
    p.drawRoundedRect(QRectF(4.5, 1.5, 4, 2.5), 1, 1);
    Page(p, 6.5, 6.5, 14.5, 14.5, 2.0);
    TextLines(p, 8, 9, 13, 3);
}

void Print16(QPainter& p) {
    p.setPen(Pen(kInk));
    p.setBrush(kPaperTop);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    const QRectF body(1.5, 5.5, 13, 6);
    p.setBrush(Vertical(body, kGrey.lighter(125), kGrey));
    p.drawRoundedRect(body, 1.5, 1.5);
    p.setBrush(kPaperTop);
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
    p.fillRect(QRectF(6, 11, 4, 1), kGreyDark);
    p.fillRect(QRectF(6, 13, 3, 1), kGreyDark);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(12.5, 7.5), 0.9, 0.9);
}

void Help16(QPainter& p) {
    const QRectF disc(1.5, 1.5, 13, 13);
    QRadialGradient g(QPointF(6, 5), 10);
    g.setColorAt(0, kBlueLight);
    g.setColorAt(1, kBlue);
    p.setPen(Pen(kBlueDark));
    p.setBrush(g);
    p.drawEllipse(disc);
    Glyph(p, QStringLiteral("?"), Font("DejaVu Sans", 12, true), 8.0, 8.0, Qt::white);
}

void AlignLines(QPainter& p, int mode) {
    const int lengths[] = {12, 8, 12, 6, 10};
    for (int i = 0; i < 5; ++i) {
        const int len = mode == 3 ? (i == 4 ? 7 : 12) : lengths[i];
        const int left = mode == 0 || mode == 3 ? 2 : (mode == 1 ? 2 + (12 - len) / 2 : 14 - len);
        p.fillRect(QRect(left, 2 + 3 * i, len, 2), kInk);
    }
}
void AlignLeft16(QPainter& p) { AlignLines(p, 0); }
void AlignCentre16(QPainter& p) { AlignLines(p, 1); }
void AlignRight16(QPainter& p) { AlignLines(p, 2); }
void Justify16(QPainter& p) { AlignLines(p, 3); }

void Bold16(QPainter& p) { Glyph(p, QStringLiteral("B"), Font("DejaVu Sans", 14, true), 8, 8, kInk); }
void Italic16(QPainter& p) { Glyph(p, QStringLiteral("I"), Font("DejaVu Serif", 14, true, true), 8, 8, kInk); }
void Underline16(QPainter& p) {
    Glyph(p, QStringLiteral("U"), Font("DejaVu Sans", 12, true), 8, 6.5, kInk);
    p.fillRect(QRect(3, 13, 10, 2), kInk);
}
void Strike16(QPainter& p) {
    Glyph(p, QStringLiteral("abc"), Font("DejaVu Sans", 9, true), 8, 8.5, kInk);
    p.fillRect(QRect(1, 8, 14, 1), kRed);
}
void Subscript16(QPainter& p) {
    Glyph(p, QStringLiteral("x"), Font("DejaVu Sans", 12, true), 6, 7, kInk);
    Glyph(p, QStringLiteral("2"), Font("DejaVu Sans", 8, true), 12.5, 12.5, kBlue);
}
void Superscript16(QPainter& p) {
    Glyph(p, QStringLiteral("x"), Font("DejaVu Sans", 12, true), 6, 10, kInk);
    Glyph(p, QStringLiteral("2"), Font("DejaVu Sans", 8, true), 12.5, 3.5, kBlue);
}
void Highlight16(QPainter& p) {
    p.fillRect(QRect(1, 11, 14, 4), QColor(0xFF, 0xE8, 0x3A));
    p.save();
    p.translate(9, 6);
    p.rotate(45);
    p.setPen(Pen(kInk));
    p.setBrush(Vertical(QRectF(-2.5, -6, 5, 9), kGrey.lighter(120), kGrey));
    p.drawRect(QRectF(-2.5, -6.5, 5, 8));
    QPainterPath tip;
    tip.moveTo(-2.5, 1.5);
    tip.lineTo(2.5, 1.5);
    tip.lineTo(1.0, 5.0);
    tip.lineTo(-1.0, 5.0);
    tip.closeSubpath();
    p.setBrush(QColor(0xFF, 0xD8, 0x1A));
    p.drawPath(tip);
    p.restore();
}
void FontColour16(QPainter& p) {
    Glyph(p, QStringLiteral("A"), Font("DejaVu Sans", 12, true), 8, 6.5, kInk);
    p.fillRect(QRect(2, 12, 12, 3), kRed);
}

void Triangle(QPainter& p, qreal cx, qreal cy, qreal half, bool up, const QColor& c) {
    QPainterPath t;
    t.moveTo(cx - half, up ? cy + half / 2 : cy - half / 2);
    t.lineTo(cx + half, up ? cy + half / 2 : cy - half / 2);
    t.lineTo(cx, up ? cy - half / 2 - 0.5 : cy + half / 2 + 0.5);
    t.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(t);
}
void GrowFont16(QPainter& p) {
    Glyph(p, QStringLiteral("A"), Font("DejaVu Sans", 13, true), 6.5, 9, kInk);
    Triangle(p, 13, 4, 2.5, true, kBlue);
}
void ShrinkFont16(QPainter& p) {
    Glyph(p, QStringLiteral("A"), Font("DejaVu Sans", 10, true), 6, 10, kInk);
    Triangle(p, 13, 4, 2.5, false, kBlue);
}
void Font16(QPainter& p) {
    Glyph(p, QStringLiteral("A"), Font("DejaVu Serif", 13, true), 5.5, 8, kInk);
    Glyph(p, QStringLiteral("a"), Font("DejaVu Sans", 9, true), 12, 10, kBlue);
}
void ClearFormat16(QPainter& p) {
    Glyph(p, QStringLiteral("A"), Font("DejaVu Sans", 12, true), 6, 7, kInk);
    p.save();
    p.translate(11, 11.5);
    p.rotate(-40);
    p.setPen(Pen(kRedDark));
    p.setBrush(QColor(0xF2, 0x9C, 0xB8));
    p.drawRoundedRect(QRectF(-4, -2, 5, 4), 0.8, 0.8);
    p.setBrush(kPaperTop);
    p.drawRoundedRect(QRectF(1, -2, 3, 4), 0.8, 0.8);
    p.restore();
}

// ---- large icons, 32 px ----

void Swatch(QPainter& p, const QRectF& r, const QColor& c, qreal angle) {
    p.save();
    p.translate(r.center());
    p.rotate(angle);
    const QRectF local(-r.width() / 2, -r.height() / 2, r.width(), r.height());
    p.setPen(Pen(kInk));
    p.setBrush(kPaperTop);
    p.drawRoundedRect(local, 2, 2);
    const QRectF chip = local.adjusted(2, 2, -2, -r.height() * 0.3);
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(chip, c.lighter(115), c));
    p.drawRoundedRect(chip, 1, 1);
    p.restore();
}

void Sparkle(QPainter& p, QPointF c, qreal r) {
    QPainterPath star;
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * M_PI / 4 - M_PI / 2;
        const qreal rr = (i % 2 == 0) ? r : r * 0.32;
        const QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(Pen(kYellowDark, 1.0));
    p.setBrush(QColor(0xFF, 0xE0, 0x5A));
    p.drawPath(star);
}

void NewColours32(QPainter& p) {
    Swatch(p, QRectF(3, 9, 12, 20), QColor(0xE0, 0x44, 0x3C), -18);
    Swatch(p, QRectF(10, 6, 12, 20), QColor(0x3E, 0xB0, 0x5A), 0);
    Swatch(p, QRectF(17, 9, 12, 20), QColor(0x2F, 0x78, 0xD0), 18);
    Sparkle(p, QPointF(25.5, 6.5), 6.0);
}

void KeepAll32(QPainter& p) {
    const QColor cells[] = {QColor(0xE0, 0x44, 0x3C), QColor(0xF2, 0xB3, 0x3D), QColor(0x3E, 0xB0, 0x5A),
                            QColor(0x2F, 0x78, 0xD0)};
    const QRectF strip(2.5, 19.5, 27, 10);
    p.setPen(Pen(kInk));
    p.setBrush(kPaperTop);
    p.drawRoundedRect(strip, 2, 2);
    for (int i = 0; i < 4; ++i) {
        const QRectF cell(4.5 + i * 6.25, 21.5, 5.25, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(Vertical(cell, cells[i].lighter(115), cells[i]));
        p.drawRoundedRect(cell, 1, 1);
    }
    QPainterPath arrow;
    arrow.moveTo(12.5, 2.5);
    arrow.lineTo(19.5, 2.5);
    arrow.lineTo(19.5, 9.5);
    arrow.lineTo(24.5, 9.5);
    arrow.lineTo(16, 17.5);
    arrow.lineTo(7.5, 9.5);
    arrow.lineTo(12.5, 9.5);
    arrow.closeSubpath();
    p.setPen(Pen(kGreenDark));
    p.setBrush(Vertical(QRectF(0, 2, 32, 16), kGreen.lighter(130), kGreen));
    p.drawPath(arrow);
}

void RangeType32(QPainter& p) {
    const QRectF bars[] = {QRectF(2.5, 3.5, 27, 7), QRectF(2.5, 12.5, 27, 7), QRectF(2.5, 21.5, 27, 7)};
    QLinearGradient hue(bars[0].topLeft(), bars[0].topRight());
    for (int i = 0; i <= 6; ++i) hue.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 230, 235));
    QLinearGradient reds(bars[1].topLeft(), bars[1].topRight());
    reds.setColorAt(0, QColor(0x5A, 0x0E, 0x0E));
    reds.setColorAt(0.55, QColor(0xE0, 0x30, 0x30));
    reds.setColorAt(1, QColor(0xFF, 0xC8, 0xC0));
    QLinearGradient greys(bars[2].topLeft(), bars[2].topRight());
    greys.setColorAt(0, QColor(0x20, 0x20, 0x20));
    greys.setColorAt(1, QColor(0xF4, 0xF4, 0xF4));
    const QBrush fills[] = {hue, reds, greys};
    for (int i = 0; i < 3; ++i) {
        p.setPen(Pen(kInk));
        p.setBrush(fills[i]);
        p.drawRoundedRect(bars[i], 1.5, 1.5);
    }
}

void ImageFile32(QPainter& p) {
    const QRectF frame(2.5, 4.5, 27, 23);
    p.setPen(Pen(kInk));
    p.setBrush(kPaperTop);
    p.drawRoundedRect(frame, 2, 2);
    const QRectF view = frame.adjusted(2.5, 2.5, -2.5, -2.5);
    p.save();
    p.setClipRect(view);
    p.fillRect(view, Vertical(view, QColor(0x6F, 0xB4, 0xF0), QColor(0xCF, 0xE8, 0xFF)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xCC, 0x33));
    p.drawEllipse(QPointF(21, 11), 3, 3);
    QPainterPath far;
    far.moveTo(view.left(), view.bottom());
    far.lineTo(11, 12);
    far.lineTo(19, 20);
    far.lineTo(view.right(), 16);
    far.lineTo(view.right(), view.bottom());
    far.closeSubpath();
    p.setBrush(QColor(0x5A, 0x9A, 0x4E));
    p.drawPath(far);
    QPainterPath near;
    near.moveTo(view.left(), view.bottom());
    near.cubicTo(10, 18, 18, 19, view.right(), 21);
    near.lineTo(view.right(), view.bottom());
    near.closeSubpath();
    p.setBrush(QColor(0x3F, 0x80, 0x36));
    p.drawPath(near);
    p.restore();
    p.setPen(Pen(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawRect(view);
}

void Magnifier(QPainter& p) {
    p.setPen(Pen(QColor(0x4A, 0x34, 0x22), 5.0));
    p.drawLine(QPointF(20, 20), QPointF(28, 28));
    p.setPen(Pen(QColor(0x8A, 0x62, 0x3E), 3.0));
    p.drawLine(QPointF(20.5, 20.5), QPointF(27.5, 27.5));
    QRadialGradient glass(QPointF(10, 9), 12);
    glass.setColorAt(0, QColor(0xF4, 0xFA, 0xFF));
    glass.setColorAt(1, QColor(0xB8, 0xD8, 0xF4));
    p.setPen(Pen(kInk, 2.5));
    p.setBrush(glass);
    p.drawEllipse(QPointF(13, 13), 10, 10);
}

void ZoomIn32(QPainter& p) {
    Magnifier(p);
    p.fillRect(QRectF(8, 12, 10, 2.5), kBlueDark);
    p.fillRect(QRectF(11.75, 8, 2.5, 10), kBlueDark);
}

void ZoomOut32(QPainter& p) {
    Magnifier(p);
    p.fillRect(QRectF(8, 12, 10, 2.5), kBlueDark);
}

void OriginalSize32(QPainter& p) {
    Magnifier(p);
    p.fillRect(QRectF(7.5, 8.5, 2.5, 9), kBlueDark);
    p.fillRect(QRectF(12, 10, 2, 2), kBlueDark);
    p.fillRect(QRectF(12, 15, 2, 2), kBlueDark);
    p.fillRect(QRectF(16, 8.5, 2.5, 9), kBlueDark);
}

void Clear32(QPainter& p) {
    p.setPen(Pen(kGreyDark, 1.5));
    p.drawLine(QPointF(3, 28.5), QPointF(29, 28.5));
    p.save();
    p.translate(16, 16);
    p.rotate(-38);
    const QRectF pink(-11, -6, 13, 12);
    const QRectF sleeve(2, -6, 9, 12);
    p.setPen(Pen(kInk));
    p.setBrush(Vertical(pink, QColor(0xF7, 0xB5, 0xC8), QColor(0xE0, 0x7A, 0x98)));
    p.drawRoundedRect(pink, 2, 2);
    p.setBrush(Vertical(sleeve, kBlueLight, kBlue));
    p.drawRoundedRect(sleeve, 2, 2);
    p.restore();
}

void Lines32(QPainter& p) {
    QPainterPath squiggle;
    squiggle.moveTo(2.5, 25);
    squiggle.cubicTo(5.5, 18, 9, 30, 12, 23);
    p.setPen(Pen(kBlue, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(squiggle);
    p.save();
    p.translate(12, 23);
    p.rotate(-45);
    // The pencil lies along +x from its tip at the origin.
    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(6, -3.5);
    wood.lineTo(6, 3.5);
    wood.closeSubpath();
    p.setPen(Pen(kInk));
    p.setBrush(QColor(0xF0, 0xD2, 0xA0));
    p.drawPath(wood);
    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(2.2, -1.3);
    lead.lineTo(2.2, 1.3);
    lead.closeSubpath();
    p.setBrush(kInk);
    p.drawPath(lead);
    const QRectF body(6, -3.5, 10, 7);
    p.setBrush(Vertical(body, QColor(0xFF, 0xD8, 0x4A), QColor(0xE8, 0xA8, 0x18)));
    p.drawRect(body);
    p.setBrush(kGrey);
    p.drawRect(QRectF(16, -3.5, 2.5, 7));
    p.setBrush(QColor(0xF2, 0x9C, 0xB8));
    p.drawRoundedRect(QRectF(18.5, -3.5, 3.5, 7), 1.2, 1.2);
    p.restore();
}

void Text32(QPainter& p) {
    Glyph(p, QStringLiteral("A"), Font("DejaVu Serif", 27, true), 13, 16, kInk);
    p.setPen(Pen(kBlue, 1.5));
    p.drawLine(QPointF(27, 5), QPointF(27, 27));
    p.drawLine(QPointF(24.5, 4.5), QPointF(29.5, 4.5));
    p.drawLine(QPointF(24.5, 27.5), QPointF(29.5, 27.5));
}

void Flood32(QPainter& p) {
    // The bucket tips to the right and paint runs from its lip into a puddle.
    QPainterPath pour;
    pour.moveTo(22.5, 15);
    pour.cubicTo(25.5, 16.5, 26.5, 20, 26.5, 25);
    p.setPen(Pen(kRedDark, 3.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(pour);
    p.setPen(Pen(kRedDark));
    p.setBrush(kRed);
    p.drawEllipse(QRectF(20.5, 24.5, 10, 5));
    p.setPen(Pen(kRed, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(pour);
    p.save();
    p.translate(12.5, 15.5);
    p.rotate(35);
    QPainterPath body;
    body.moveTo(-8, -6);
    body.lineTo(8, -6);
    body.lineTo(6.5, 9);
    body.lineTo(-6.5, 9);
    body.closeSubpath();
    p.setPen(Pen(kInk));
    p.setBrush(Vertical(QRectF(-8, -6, 16, 15), kGrey.lighter(125), kGreyDark.lighter(150)));
    p.drawPath(body);
    p.setBrush(kRed);
    p.drawEllipse(QRectF(-8, -8.5, 16, 5));
    p.setBrush(Qt::NoBrush);
    p.setPen(Pen(kInk, 1.5));
    p.drawArc(QRectF(-7, -13, 14, 14), 0, 180 * 16);
    p.restore();
}

void SystemButton32(QPainter& p) {
    // The program's mark: a colour pie.
    const QRectF disc(2.5, 2.5, 27, 27);
    const QColor slices[] = {QColor(0xE0, 0x44, 0x3C), QColor(0xF2, 0x8C, 0x28), QColor(0xF6, 0xCB, 0x3A),
                             QColor(0x3E, 0xB0, 0x5A), QColor(0x2F, 0x78, 0xD0), QColor(0x8A, 0x4C, 0xC4)};
    p.setPen(Pen(Qt::white, 1.25));
    for (int i = 0; i < 6; ++i) {
        QRadialGradient g(QPointF(12, 10), 18);
        g.setColorAt(0, slices[i].lighter(125));
        g.setColorAt(1, slices[i]);
        p.setBrush(g);
        p.drawPie(disc, (90 - i * 60) * 16, -60 * 16);
    }
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(disc);
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 4.5, 4.5);
}

QImage Strip(std::initializer_list<Draw> icons) {
    QImage strip(kSmall * static_cast<int>(icons.size()), kSmall, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    int x = 0;
    for (Draw draw : icons) {
        p.drawImage(x, 0, Render(kSmall, draw));
        x += kSmall;
    }
    return strip;
}

}  // namespace

std::vector<IconFile> Make() {
    std::vector<IconFile> files;
    // Strips in the order of the ids they are loaded under.
    files.push_back({QStringLiteral("bin001"), true,
                     Strip({GrowFont16,         // 5001
                            Font16,             // 5002 "&Font"
                            ShrinkFont16,       // 5000
                            ClearFormat16})});  // 5003
    files.push_back({QStringLiteral("bin002"), true,
                     Strip({AlignLeft16,       // 2792
                            AlignCentre16,     // 2793
                            AlignRight16,      // 2794
                            Bold16,            // 7608 "&Bold"
                            Italic16,          // 7610 "&Italic"
                            Underline16,       // 7611 "&Underline"
                            Strike16,          // 7620 "&Strikethrough"
                            Subscript16,       // 7621
                            Superscript16,     // 7622
                            Justify16,         // 2795
                            Highlight16,       // 7623
                            FontColour16})});  // 2806
    files.push_back({QStringLiteral("bin003"), true,
                     Strip({New16,       // 4008 "&New"
                            Open16,      // 4009 "&Open"
                            Save16,      // 4010 "&Save"
                            Delete16,    // 4004 "&Delete Color"
                            Copy16,      // 4003 "Cop&y Image"
                            Paste16,     // 4001 "&Paste"
                            Print16,     // 4011 "&Print"
                            Help16})});  // 4000 "&Help"
    const Draw singles[] = {
        NewColours32,    // bin004: 15003 "Create  &New Colors"
        KeepAll32,       // bin005: 15005 " Keep &All"
        RangeType32,     // bin006: 15402 "&Type"
        ImageFile32,     // bin007: 51002 "   Image File   "
        ZoomIn32,        // bin008: 51101 "Zoom in"
        ZoomOut32,       // bin009: 51102 "Zoom out"
        OriginalSize32,  // bin010: 51103 "Original Size"
        Clear32,         // bin011: 51108 "Clear"
        Lines32,         // bin012: 51200 "Lines"
        Text32,          // bin013: 51203 "Text"
        Flood32,         // bin014: 51206 "Flood"
        SystemButton32,  // bin015: 1200, the system button
    };
    int n = 4;
    for (Draw draw : singles)
        files.push_back({QStringLiteral("bin%1").arg(n++, 3, 10, QLatin1Char('0')), false, Render(kLarge, draw)});
    return files;
}

bool Write(const QString& folder) {
    if (!QDir().mkpath(folder))
        return false;
    bool ok = true;
    for (const IconFile& file : Make()) {
        const QString path = folder + QLatin1Char('/') + file.name;
        ok = (file.strip ? BmpFile::Save32(file.image, path) : file.image.save(path, "PNG")) && ok;
    }
    return ok;
}

}  // namespace Icons
