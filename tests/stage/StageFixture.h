#pragma once

#include "model/Color.h"
#include "model/Texture.h"
#include "platform/ImagingControl.h"
#include "platform/RasterDC.h"
#include "stage/Stage.h"
#include "support/ModelGlobals.h"
#include "support/TestEnvironment.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace StageTesting {

inline void Mouse(QWidget& widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at) {
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

// A left-button drag through the points, in the imaging control's own pixels.
inline void DragThrough(QWidget& widget, std::initializer_list<QPoint> points) {
    const QPoint* p = points.begin();
    Mouse(widget, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, *p);
    for (++p; p != points.end(); ++p) {
        Mouse(widget, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, *p);
    }
    Mouse(widget, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, *(points.end() - 1));
}

inline QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

inline std::shared_ptr<Color> PlainColor(int r, int g, int b) {
    auto color = std::make_shared<Color>();
    color->SetColor(r, g, b);
    return color;
}

inline int CountOf(const QImage& image, QRgb rgb) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += (image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF);
        }
    }
    return n;
}

// A stage inside a host window, initialised, showing a white picture of its own.
class StageFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        host = std::make_unique<QWidget>();
        host->resize(500, 400);
        stage = new Stage(host.get());
        stage->setGeometry(0, 0, 400, 300);
        stage->Init(host.get());
        host->show();
        white = Write(QStringLiteral("white.png"), Filled(120, 90, Qt::white));
        ASSERT_TRUE(stage->OpenPicture(white));
    }
    void TearDown() override {
        host.reset();
        TestEnvironment::Reset();
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    static QImage Filled(int w, int h, QColor color, QImage::Format format = QImage::Format_RGB32) {
        QImage image(w, h, format);
        image.fill(color);
        return image;
    }
    QString Write(const QString& name, const QImage& image, const char* format = nullptr) const {
        const QString path = Path(name);
        EXPECT_TRUE(QImageWriter(path, format).write(image)) << name.toStdString();
        return path;
    }
    ImagingControl& Image() const { return *stage->ImageControl(); }
    QImage Picture() const { return stage->ImageControl()->Picture(); }
    QRgb At(int x, int y) const { return Picture().pixel(x, y) & 0xFFFFFF; }

    ModelGlobals globals;
    std::unique_ptr<QWidget> host;
    Stage* stage = nullptr;
    QString white;

private:
    QTemporaryDir m_dir{TestEnvironment::Home() + QStringLiteral("/stage-XXXXXX")};
};

}  // namespace StageTesting
