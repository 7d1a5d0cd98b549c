#include "StagePicture.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace StagePicture {

namespace {

constexpr int kLine = 3;

// Every shape is filled white before it is outlined, so it hides what lies behind it and each region
// stays closed by the outlines alone.
void Shape(QPainter& p, const QPainterPath& path) {
    p.setBrush(Qt::white);
    p.drawPath(path);
}

QPainterPath Blob(std::initializer_list<QRectF> ellipses) {
    QPainterPath out;
    for (const QRectF& r : ellipses) {
        QPainterPath e;
        e.addEllipse(r);
        out = out.united(e);
    }
    return out.simplified();
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& pt : points) {
        if (first)
            path.moveTo(pt);
        else
            path.lineTo(pt);
        first = false;
    }
    path.closeSubpath();
    return path;
}

void Sun(QPainter& p, QPointF c) {
    constexpr double kPi = std::numbers::pi;
    // Rays with blunt ends: sharp tips would leave specks of white too small to fill.
    for (int i = 0; i < 10; ++i) {
        const double a = i * 2 * kPi / 10;
        auto at = [&](double radius, double offset) {
            return QPointF(c.x() + radius * std::cos(a + offset), c.y() + radius * std::sin(a + offset));
        };
        Shape(p, Polygon({at(60, -0.2), at(90, -0.06), at(90, 0.06), at(60, 0.2)}));
    }
    QPainterPath disc;
    disc.addEllipse(c, 48, 48);
    Shape(p, disc);
}

void House(QPainter& p) {
    QPainterPath chimney;
    chimney.addRect(QRectF(505, 218, 28, 60));
    Shape(p, chimney);
    QPainterPath body;
    body.addRect(QRectF(400, 300, 190, 130));
    Shape(p, body);
    Shape(p, Polygon({{385, 302}, {495, 220}, {605, 302}}));
    QPainterPath door;
    door.moveTo(470, 430);
    door.lineTo(470, 365);
    door.arcTo(QRectF(470, 345, 44, 40), 180, -180);
    door.lineTo(514, 430);
    door.closeSubpath();
    Shape(p, door);
    QPainterPath knob;
    knob.addEllipse(QPointF(502, 400), 6, 6);
    Shape(p, knob);
    for (const double left : {418.0, 532.0}) {
        const QRectF window(left, 325, 42, 42);
        QPainterPath pane;
        pane.addRect(window);
        Shape(p, pane);
        p.drawLine(QPointF(window.center().x(), window.top()), QPointF(window.center().x(), window.bottom()));
        p.drawLine(QPointF(window.left(), window.center().y()), QPointF(window.right(), window.center().y()));
    }
    // The round attic window.
    QPainterPath attic;
    attic.addEllipse(QPointF(495, 268), 16, 16);
    Shape(p, attic);
}

void Tree(QPainter& p) {
    QPainterPath trunk;
    trunk.moveTo(178, 445);
    trunk.cubicTo(190, 400, 192, 330, 188, 300);
    trunk.lineTo(222, 300);
    trunk.cubicTo(218, 330, 220, 400, 236, 445);
    trunk.closeSubpath();
    Shape(p, trunk);
    Shape(p, Blob({QRectF(110, 170, 120, 110), QRectF(180, 150, 120, 110), QRectF(95, 230, 130, 95),
                   QRectF(185, 225, 125, 100), QRectF(150, 200, 120, 110)}));
    for (const QPointF c :
         {QPointF(150, 235), QPointF(225, 190), QPointF(265, 275), QPointF(185, 290), QPointF(135, 290)}) {
        QPainterPath apple;
        apple.addEllipse(c, 11, 11);
        Shape(p, apple);
    }
}

void Flower(QPainter& p, QPointF c, double petal) {
    QPainterPath stem;
    stem.moveTo(c.x() - 2, c.y() + petal);
    stem.cubicTo(c.x() - 4, c.y() + 40, c.x() + 4, c.y() + 60, c.x(), c.y() + 80);
    stem.lineTo(c.x() + 6, c.y() + 80);
    stem.cubicTo(c.x() + 10, c.y() + 60, c.x() + 2, c.y() + 40, c.x() + 4, c.y() + petal);
    stem.closeSubpath();
    Shape(p, stem);
    QPainterPath leaf;
    leaf.moveTo(c.x() + 5, c.y() + 55);
    leaf.cubicTo(c.x() + 20, c.y() + 35, c.x() + 40, c.y() + 40, c.x() + 44, c.y() + 44);
    leaf.cubicTo(c.x() + 35, c.y() + 58, c.x() + 18, c.y() + 62, c.x() + 5, c.y() + 55);
    Shape(p, leaf);
    constexpr double kPi = std::numbers::pi;
    // The petals are one outline: separate circles would pinch off specks of white where they meet.
    QPainterPath petals;
    for (int i = 0; i < 5; ++i) {
        const double a = -kPi / 2 + i * 2 * kPi / 5;
        QPainterPath one;
        one.addEllipse(QPointF(c.x() + petal * std::cos(a), c.y() + petal * std::sin(a)), petal * 0.75, petal * 0.75);
        petals = petals.united(one);
    }
    Shape(p, petals.simplified());
    QPainterPath centre;
    centre.addEllipse(c, petal * 0.55, petal * 0.55);
    Shape(p, centre);
}

void Fence(QPainter& p) {
    // Pickets first, then the rails across them, so each picket is cut into three closed parts.
    for (int i = 0; i < 5; ++i) {
        const double x = 640 + i * 32;
        Shape(p, Polygon({{x, 525}, {x, 430}, {x + 9, 413}, {x + 18, 430}, {x + 18, 525}}));
    }
    QPainterPath rails;
    rails.addRect(QRectF(616, 452, 190, 18));
    rails.addRect(QRectF(616, 492, 190, 18));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rails);
}

}  // namespace

QImage Make() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(Qt::black, kLine);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);

    Sun(p, QPointF(680, 110));
    Shape(p, Blob({QRectF(70, 60, 90, 60), QRectF(120, 40, 100, 75), QRectF(190, 62, 90, 58)}));
    Shape(p, Blob({QRectF(400, 110, 80, 50), QRectF(440, 90, 90, 65), QRectF(500, 112, 70, 48)}));

    // Mountains, each with a snow line zigzagging between its two sides.
    Shape(p, Polygon({{-10, 330}, {150, 150}, {300, 330}}));
    p.drawPolyline(QPolygonF({QPointF(105.5, 200), QPointF(125, 192), QPointF(140, 210), QPointF(158, 194),
                              QPointF(174, 206), QPointF(194.5, 200)}));
    Shape(p, Polygon({{220, 330}, {360, 175}, {520, 330}}));
    p.drawPolyline(QPolygonF({QPointF(319.4, 220), QPointF(338, 214), QPointF(352, 232), QPointF(370, 214),
                              QPointF(385, 228), QPointF(402.6, 220)}));

    // Rolling hills across the whole width.
    QPainterPath farHill;
    farHill.moveTo(-10, 330);
    farHill.cubicTo(200, 270, 450, 360, 810, 290);
    farHill.lineTo(810, 610);
    farHill.lineTo(-10, 610);
    farHill.closeSubpath();
    Shape(p, farHill);
    QPainterPath nearHill;
    nearHill.moveTo(-10, 440);
    nearHill.cubicTo(250, 400, 520, 470, 810, 420);
    nearHill.lineTo(810, 610);
    nearHill.lineTo(-10, 610);
    nearHill.closeSubpath();
    Shape(p, nearHill);

    House(p);
    Tree(p);

    // The path from the door widens towards the viewer.
    QPainterPath path;
    path.moveTo(472, 432);
    path.cubicTo(460, 480, 380, 520, 360, 610);
    path.lineTo(520, 610);
    path.cubicTo(520, 530, 500, 480, 512, 432);
    path.closeSubpath();
    Shape(p, path);

    Fence(p);
    Flower(p, QPointF(90, 480), 15);
    Flower(p, QPointF(250, 500), 13);
    Flower(p, QPointF(585, 500), 14);

    // Frame.
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, kWidth - 3, kHeight - 3));
    p.end();
    return image;
}

}  // namespace StagePicture
