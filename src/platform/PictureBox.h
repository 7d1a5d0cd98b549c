#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>

class QPainter;

// The form runtime's picture box: a background colour and a persistent picture drawn over it at
// (0, 0), plus whatever its owner paints on top in the paint handler. Lengths are pixels.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    using PaintHandler = std::function<void(QPainter&)>;

    explicit PictureBox(QWidget* parent = nullptr);

    // Packed RGB value (red + 256 green + 65536 blue).
    int32_t BackColor() const { return m_backColor; }
    void SetBackColor(int32_t rgb);

    // The persistent picture; a null image shows the background alone.
    const QImage& Picture() const { return m_picture; }
    void SetPicture(const QImage& picture);
    // What the box shows now (background, picture and owner painting) at its own size.
    QImage Image();

    // Runs after the background and the picture are drawn, on every paint.
    void SetPaintHandler(PaintHandler handler);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t m_backColor = 0xFFFFFF;
    QImage m_picture;
    PaintHandler m_paint;
};
