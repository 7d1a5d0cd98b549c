#include "app/MainModule.h"

#include "app/frmMain.h"
#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/ColorConverter.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/MessageBox.h"
#include "platform/RegularFile.h"
#include "platform/RuntimeError.h"
#include "services/CommandIds.h"
#include "services/FileShared.h"
#include "services/Hourglass.h"
#include "services/TemporaryLeftovers.h"

#include <QDir>

#include <cstdio>

namespace MainModule {

constexpr int32_t NoTemporaryFile = 2600;

namespace {

// Every colour keeps its picture in a temporary file: without a folder for them the program cannot work.
void ReportNoTemporaryFolder() {
    const QString message = QStringLiteral(
                                "Tindral cannot start: no temporary folder can be written (tried %1). Set TMPDIR to a "
                                "folder you can write to.")
                                .arg(FileShared::TemporaryFolderCandidates().join(QStringLiteral(", ")));
    std::fprintf(stderr, "%s\n", qPrintable(message));
    MessageBox::Show(message, MessageBox::Critical);
}

}  // namespace

bool Main(const QString& commandLine) {
    try {
        App::SetTitle(QStringLiteral("Tindral"));
        // What killed or crashed runs left behind goes before this run adds its own.
        TemporaryLeftovers::RemoveAll();
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

        // The whole command line names the document to open, if any.
        window->OpenDocumentFromCommandLine(commandLine);
        window->FocusStep();
    } catch (const RuntimeError& e) {
        if (e.Number() == NoTemporaryFile && FileShared::TemporaryFolder().isEmpty()) {
            ReportNoTemporaryFolder();
            return false;
        }
    } catch (...) {
    }
    return true;
}

void LoadTextureList() {
    // Directory order, not sorted; like the runtime's pattern search, ordinary visible files only.
    const QDir folder(App::Path() + QStringLiteral("/textures"));
    QStringList matches =
        folder.entryList({QStringLiteral("*.bmp")}, QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    // Qt lists a link whatever it points at; a texture must be a regular file, or reading it could block.
    matches.removeIf([&folder](const QString& match) { return !RegularFile::IsRegular(folder.filePath(match)); });
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
