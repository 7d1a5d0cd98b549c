#include "app/MainHelpers.h"

#include "app/ChooserHelper.h"
#include "app/frmMain.h"
#include "model/Globals.h"
#include "platform/App.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "platform/KeyBindings.h"
#include "platform/RegularFile.h"
#include "platform/RibbonBar.h"
#include "services/FileShared.h"

#include <QDir>
#include <QFile>

#include <vector>

namespace MainHelpers {

namespace {

CommandBarControl* add(CommandBarControls& controls, int id, const QString& caption) {
    return controls.Add(CommandBarControl::Button, id, caption, -1, false);
}

struct IconFile {
    int number;
    const char* extension;
    std::vector<int> ids;
};

// The program folder's "bin/binNNN" files, the names their copies take, and the command ids each serves
// (a strip serves its ids left to right).
const std::vector<IconFile>& iconFiles() {
    static const std::vector<IconFile> files{
        {1, ".bmp", {5001, 5002, 5000, 5003}},
        {2, ".bmp", {2792, 2793, 2794, 7608, 7610, 7611, 7620, 7621, 7622, 2795, 7623, 2806}},
        {3, ".bmp", {4008, 4009, 4010, 4004, 4003, 4001, 4011, 4000}},
        {4, ".png", {15003}},
        {5, ".png", {15005}},
        {6, ".png", {15402}},
        {7, ".png", {51002}},
        {8, ".png", {51101}},
        {9, ".png", {51102}},
        {10, ".png", {51103}},
        {11, ".png", {51108}},
        {12, ".png", {51200}},
        {13, ".png", {51203}},
        {14, ".png", {51206}},
        {15, ".png", {1200}},
    };
    return files;
}

}  // namespace

void BuildRibbon(frmMain& frm) {
    RibbonBar* ribbon = frm.CommandBars->AddRibbonBar(QStringLiteral("The Ribbon"));
    BuildSystemMenu(*ribbon, frm);
    ChooserHelper::BuildSelectionTab(*ribbon, frm);
    // The "Staging" and "Color Pie" tabs are built here, in that order.

    CommandBarControls& quickAccess = ribbon->QuickAccessControls();
    add(quickAccess, 4008, QStringLiteral("&New"));
    add(quickAccess, 4009, QStringLiteral("&Open"));
    add(quickAccess, 4010, QStringLiteral("&Save"));
    add(quickAccess, 4011, QStringLiteral("&Print"));
    add(quickAccess, 4000, QStringLiteral("&Help"));

    KeyBindings& keys = frm.CommandBars->GetKeyBindings();
    keys.Add(KeyBindings::Control, 'N', 4008);
    keys.Add(KeyBindings::Control, 'O', 4009);
    keys.Add(KeyBindings::Control, 'S', 4010);
    keys.Add(KeyBindings::Control, 'P', 4011);
}

void BuildSystemMenu(RibbonBar& ribbon, [[maybe_unused]] frmMain& frm) {
    CommandBarControl* systemButton = ribbon.AddSystemButton();
    systemButton->SetIconId(1200);
    CommandBarControls& menu = systemButton->GetCommandBar()->Controls();
    add(menu, 4008, QStringLiteral("&New"));
    add(menu, 4009, QStringLiteral("&Open..."));
    add(menu, 4010, QStringLiteral("&Save"));
    add(menu, 57604, QStringLiteral("Save &As..."));
    add(menu, 4011, QStringLiteral("&Print"))->SetBeginGroup(true);
    // The recent-files list fills and shows these slots once it exists.
    for (int i = 1; i <= 6; ++i) {
        CommandBarControl* slot = add(menu, 57616 + i, QStringLiteral("Recent"));
        slot->SetBeginGroup(i == 1);
        slot->SetVisible(false);
    }
    add(menu, 57665, QStringLiteral("E&xit"))->SetBeginGroup(true);
}

void LoadCommandIcons(frmMain& frm) {
    Globals::IconTempFolder = FileShared::GetTempFilePath();
    QDir().mkpath(Globals::IconTempFolder);
    Globals::IconTempFolder = FileShared::AddBackslash(Globals::IconTempFolder);

    CommandBarImageManager& icons = frm.CommandBars->Icons();
    for (const IconFile& file : iconFiles()) {
        const QString number = QStringLiteral("%1").arg(file.number, 3, 10, QLatin1Char('0'));
        const QString source = App::Path() + QStringLiteral("/bin/bin") + number;
        const QString copy = Globals::IconTempFolder + QStringLiteral("bin") + number + QLatin1String(file.extension);
        // A missing or unreadable icon leaves its commands without a picture; the window still comes up whole.
        if (!RegularFile::IsRegular(source))
            continue;
        // A full or vanished temporary folder costs only the copy: the icon is read where it lies.
        const bool copied = FileShared::WriteTemporaryFile(copy, [&] {
            QFile::remove(copy);
            return QFile::copy(source, copy);
        });
        try {
            icons.LoadBitmap(copied ? copy : source, file.ids);
        } catch (...) {
        }
    }
}

}  // namespace MainHelpers
