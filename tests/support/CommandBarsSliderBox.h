#pragma once

#include <QSlider>
#include <QWidget>

// A box of three hand-placed sliders, as a swatch's slider box or the top-colour group holds them: the kind of
// widget that custom controls lend to the ribbon and to menus. Made hidden, like its models.
class CommandBarsSliderBox : public QWidget {
public:
    explicit CommandBarsSliderBox(QWidget* parent) : QWidget(parent) {
        for (int i = 0; i < 3; ++i) {
            sliders[i] = new QSlider(Qt::Horizontal, this);
            sliders[i]->setRange(0, 255);
            sliders[i]->setValue(100);
            sliders[i]->setGeometry(4, 4 + i * 22, 180, 20);
        }
        resize(190, 70);
        hide();
    }
    QSlider* sliders[3];
};
