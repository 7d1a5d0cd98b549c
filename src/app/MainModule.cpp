#include "app/MainModule.h"

#include "app/frmMain.h"
#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/ColorConverter.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "services/CommandIds.h"
#include "services/FileShared.h"
#include "services/Hourglass.h"

#include <QDir>

namespace MainModule {

void Main([[maybe_unused]] const QString& commandLine) {
    try {
        App::SetTitle(QStringLiteral("Tindral"));
        Hourglass hourglass;
        Globals::Converter = std::make_shared<ColorConverter>();
        LoadTextureList();
        Globals::TopColor = std::make_shared<Color>();
        Globals::TopColor->Init(Globals::TextureItem(1), CommandIds::RangeAllRGB, false);
        Globals::GeneratedColors = std::make_shared<ColorCollection>();

        auto* window = new frmMain;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Form_Load();
        window->show();
        window->Init();

        // A document named on the command line is not opened yet: the main window cannot read documents.
        window->FocusStep();
    } catch (...) {
    }
}

void LoadTextureList() {
    // Directory order, not sorted; like the runtime's pattern search, ordinary visible files only.
    const QStringList matches =
        QDir(App::Path() + QStringLiteral("/textures"))
            .entryList({QStringLiteral("*.bmp")}, QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    Globals::Textures.clear();
    Globals::Textures.push_back(
        Factory::NewTexture(1, QStringLiteral("  No Texture"), QString(), TextureKind::None, true, false));
    int32_t id = 2;
    for (const QString& match : matches) {
        Globals::Textures.push_back(
            Factory::NewTexture(id, FileShared::StripExtension(match), match, TextureKind::Pattern, true, true));
        ++id;
    }
}

}  // namespace MainModule
