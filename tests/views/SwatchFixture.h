#pragma once

#include "model/Color.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/CommandBar.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBars.h"
#include "platform/PictureBox.h"
#include "support/ModelGlobals.h"
#include "views/ColorPanel.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

// A host window holding one swatch, a program folder of its own with two pattern textures, and the
// texture list "  No Texture" (1), "Stripes" (2), "Checks" (3).
class SwatchTest : public ::testing::Test {
protected:
    static constexpr int PanelWidth = 40;
    static constexpr int PanelHeight = 30;

    void SetUp() override {
        m_oldPath = App::Path();
        ASSERT_TRUE(m_program.isValid());
        QDir(m_program.path()).mkpath(QStringLiteral("textures"));
        WritePattern(m_program.path() + QStringLiteral("/textures/stripes.bmp"), 2);
        WritePattern(m_program.path() + QStringLiteral("/textures/checks.bmp"), 1);
        App::SetPath(m_program.path());
        Globals::Textures = {
            Factory::NewTexture(1, QStringLiteral("  No Texture"), QString(), TextureKind::None, true, true),
            Factory::NewTexture(2, QStringLiteral("Stripes"), QStringLiteral("stripes.bmp"), TextureKind::Pattern, true,
                                true),
            Factory::NewTexture(3, QStringLiteral("Checks"), QStringLiteral("checks.bmp"), TextureKind::Pattern, true,
                                true),
        };
        host = std::make_unique<QWidget>();
        host->resize(200, 120);
        panel = new ColorPanel(host.get());
        panel->setGeometry(10, 10, PanelWidth, PanelHeight);
        host->show();
    }

    void TearDown() override {
        CommandBars::SetPopupHook({});
        if (panel)
            panel->Dispose();
        host.reset();
        App::SetPath(m_oldPath);
    }

    // A grey pattern of vertical stripes of the given width, black and white.
    static void WritePattern(const QString& path, int stripe) {
        QImage image(8, 8, QImage::Format_RGB32);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) image.setPixelColor(x, y, ((x / stripe) % 2) ? Qt::white : Qt::black);
        ASSERT_TRUE(image.save(path, "BMP"));
    }

    // A grey picture file of the given size and grey level.
    QString WritePicture(const QString& name, int width, int height, int grey = 128) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(grey, grey, grey));
        const QString path = m_program.path() + QLatin1Char('/') + name;
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    static std::shared_ptr<Color> MakeColor(int r, int g, int b, int textureIndex = 1) {
        auto color = Factory::NewColor(Globals::TextureItem(textureIndex), 15410, false);
        color->SetColor(r, g, b);
        return color;
    }

    PictureBox* Surface() const { return panel->findChild<PictureBox*>(QStringLiteral("pic")); }
    CommandBars* Bars() const { return panel->findChild<CommandBars*>(QStringLiteral("CommandBars")); }
    CommandBar* PopupBar() const {
        CommandBars* bars = Bars();
        for (int i = 0; i < bars->Count(); ++i)
            if (bars->Item(i)->Name() == QStringLiteral("Popup"))
                return bars->Item(i);
        return nullptr;
    }
    CommandBarControl* PopupItem(int id) const { return PopupBar() ? PopupBar()->FindControl(id) : nullptr; }
    bool Execute(int id) const {
        CommandBarControl* control = PopupItem(id);
        return control && Bars()->ExecuteControl(control);
    }

    void Mouse(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, Surface()->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(Surface(), &event);
    }

    // Drops files on the surface as a file manager would.
    void DropFiles(const QStringList& files) {
        QList<QUrl> urls;
        for (const QString& file : files) urls << QUrl::fromLocalFile(file);
        DropUrls(urls);
    }
    void DropUrls(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        // The drop goes to the widget that took the drag as it entered.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Surface(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Surface(), &drop);
    }

    ModelGlobals m_globals;
    QTemporaryDir m_program;
    QString m_oldPath;
    std::unique_ptr<QWidget> host;
    ColorPanel* panel = nullptr;
};
