#pragma once

#include <QImage>
#include <QWidget>

// The on-screen part of a drop shadow: an input-transparent child of the host window that draws its
// picture, black with per-pixel alpha and rows bottom-up, over the window's contents at a constant
// opacity of 96/255. Where the window is larger than the picture it shows nothing.
class DropShadowOverlay : public QWidget {
    Q_OBJECT

public:
    explicit DropShadowOverlay(QWidget* host);

    // The picture is not copied: its bytes must outlive it here or be replaced first.
    void SetPicture(const QImage& picture);

    static constexpr int ConstantAlpha = 96;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
