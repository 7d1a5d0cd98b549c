#pragma once

#include "support/MainWindowFixture.h"
#include "support/ScriptedFileDialog.h"
#include "support/TestEnvironment.h"
#include "support/ZipCrafter.h"

#include "app/ChooserHelper.h"
#include "app/MRUManager.h"
#include "app/MainModule.h"
#include "app/frmMain.h"
#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/CommandBarComboBox.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBars.h"
#include "platform/ImagingControl.h"
#include "platform/MessageBox.h"
#include "platform/Settings.h"
#include "platform/StatusBar.h"
#include "services/CommandIds.h"
#include "services/DocumentArchive.h"
#include "services/FileShared.h"
#include "stage/Stage.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <unistd.h>

#include <map>
#include <string>

// The main window with a folder of its own for documents, and what the document tests share.
namespace DocumentFixture {

inline QString statusText(frmMain& window) {
    StatusBar& bar = window.Bars().GetStatusBar();
    return bar.PaneText(bar.PaneId(0));
}

inline QString lastPath() { return Settings::GetSetting(App::Title(), "Folders", "LASTPATH", QString()); }

inline void clearStoredSettings() {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, App::Title(), App::Title());
    settings.remove("MRU");
    settings.remove("Folders");
    settings.sync();
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A picture with a different colour in each quarter, so a wrong or re-encoded-with-loss picture shows.
inline QImage quarters(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           x < width / 2 ? (y < height / 2 ? 0xFF102030 : 0xFFA0B0C0)
                                         : (y < height / 2 ? 0xFF40FF10 : 0xFF0000F0));
    return image;
}

inline std::shared_ptr<Color> plainColor(int r, int g, int b) {
    auto color = Factory::NewColor(Globals::TextureItem(1)->Clone(), CommandIds::RangeAllRGB, false);
    color->SetColor(r, g, b);
    return color;
}

struct ColorValue {
    int32_t rgb;
    int32_t textureKind;
    QString textureName;
    bool operator==(const ColorValue&) const = default;
};

inline std::vector<ColorValue> valuesOf(const std::vector<std::shared_ptr<Color>>& colors) {
    std::vector<ColorValue> values;
    for (const auto& color : colors) {
        const auto texture = color ? color->ColorTexture() : nullptr;
        values.push_back({color ? color->RGBColor() : -1, texture ? texture->TextureType() : -1,
                          texture ? texture->Name() : QString()});
    }
    return values;
}

inline std::vector<std::shared_ptr<Color>> stripColors(const ColorHistory& strip) {
    std::vector<std::shared_ptr<Color>> colors;
    for (int i = 0; i < strip.PanelCount(); ++i) colors.push_back(strip.Panel(i)->PanelColor());
    return colors;
}

inline std::vector<std::shared_ptr<Color>> pieColors(const ColorMatch& pie) {
    std::vector<std::shared_ptr<Color>> colors;
    if (pie.Colors())
        for (const auto& color : *pie.Colors()) colors.push_back(color);
    return colors;
}

class DocumentTest : public MainWindowFixture {
protected:
    void SetUp() override {
        clearStoredSettings();
        MainWindowFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    // The recent list and the remembered path are the user's settings: later tests start without ours.
    void TearDown() override {
        MainWindowFixture::TearDown();
        clearStoredSettings();
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // Save As through the command, answering the dialog with target.
    void saveAs(const QString& target) {
        ScriptedFileDialog dialogs({target});
        Execute(CommandIds::FileSaveAs);
    }

    // Open through the command, answering the dialog with source.
    void open(const QString& source) {
        ScriptedFileDialog dialogs({source});
        Execute(CommandIds::FileOpen);
    }

    // A document packed from the given files, as another zip tool would pack them.
    QString pack(const QString& name, const std::map<QString, QByteArray>& files) {
        const QString folder = path(name + ".d");
        QDir().mkpath(folder);
        for (const auto& [file, bytes] : files) {
            QFile out(folder + "/" + file);
            EXPECT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        }
        DocumentArchive::Pack(folder, path(name));
        return path(name);
    }

    std::vector<QString> slotCaptions() const {
        std::vector<QString> captions;
        for (int k = 0; k < CommandIds::RecentFileSlotCount; ++k)
            if (CommandBarControl* slot = Find(CommandIds::FirstRecentFileSlot + k); slot && slot->Visible())
                captions.push_back(slot->Caption());
        return captions;
    }

    QTemporaryDir dir;
};

inline const QByteArray kDef =
    "<Root Proofers='2' Holders='1' CurrentTexture='  No Texture'><Main rangetype='15410' isudc='0' topred='255' "
    "topgreen='255' topblue='255'/><Holders>"
    "<Panel style='1' candel='0' fixed='0'><Color rt='15410' r='10' g='20' b='30'><Texture id='1' type='0' "
    "name='  No Texture' path='' internal='1'/></Color></Panel>"
    "<Panel style='1' candel='0' fixed='1'><Color rt='15410' r='40' g='50' b='60'><Texture id='1' type='0' "
    "name='  No Texture' path='' internal='1'/></Color></Panel>"
    "</Holders><History/><Match><Colors backcolor='16777215'/></Match></Root>";

inline QByteArray defWith(const QByteArray& from, const QByteArray& to) {
    QByteArray def = kDef;
    return def.replace(from, to);
}

}  // namespace DocumentFixture
