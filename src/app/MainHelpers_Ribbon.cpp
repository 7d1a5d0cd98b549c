#include "app/MainHelpers.h"

#include "app/ChooserHelper.h"
#include "app/MainHelpersHost.h"
#include "app/MatchHelperTab.h"
#include "model/Globals.h"
#include "platform/App.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "platform/KeyBindings.h"
#include "platform/RegularFile.h"
#include "platform/RibbonBar.h"
#include "services/CommandIds.h"
#include "services/FileShared.h"
#include "stage/StageHelper.h"

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
// (a strip serves its ids left to right). The bare numbers are icons that no control carries.
const std::vector<IconFile>& iconFiles() {
    static const std::vector<IconFile> files{
        {1, ".bmp", {5001, CommandIds::FontGroup, 5000, 5003}},
        {2,
         ".bmp",
         {2792, 2793, 2794, CommandIds::FontBold, CommandIds::FontItalic, CommandIds::FontUnderline,
          CommandIds::FontStrikethrough, 7621, 7622, 2795, 7623, 2806}},
        {3,
         ".bmp",
         {CommandIds::FileNew, CommandIds::FileOpen, CommandIds::FileSave, CommandIds::DeleteColor,
          CommandIds::CopyImage, CommandIds::Paste, CommandIds::FilePrint, CommandIds::Help}},
        {4, ".png", {CommandIds::CreateNewColors}},
        {5, ".png", {CommandIds::KeepAll}},
        {6, ".png", {CommandIds::RangeTypePopup}},
        {7, ".png", {CommandIds::ImageFilePopup}},
        {8, ".png", {CommandIds::ZoomIn}},
        {9, ".png", {CommandIds::ZoomOut}},
        {10, ".png", {CommandIds::OriginalSize}},
        {11, ".png", {CommandIds::ClearStage}},
        {12, ".png", {CommandIds::ToolLines}},
        {13, ".png", {CommandIds::ToolText}},
        {14, ".png", {CommandIds::ToolFlood}},
        {15, ".png", {CommandIds::SystemButtonIcon}},
    };
    return files;
}

}  // namespace

void BuildRibbon(const MainHelpersHost& host) {
    RibbonBar* ribbon = host.Bars.AddRibbonBar(QStringLiteral("The Ribbon"));
    BuildSystemMenu(*ribbon, host);
    ChooserHelper::BuildSelectionTab(*ribbon, host.Chooser);
    if (host.Staging) {
        StageHost stage = host.Staging();
        StageHelper::BuildStagingTab(stage);
    }
    MatchHelper::BuildColorPieTab(*ribbon, host.Match, host.Chooser);

    CommandBarControls& quickAccess = ribbon->QuickAccessControls();
    add(quickAccess, CommandIds::FileNew, QStringLiteral("&New"));
    add(quickAccess, CommandIds::FileOpen, QStringLiteral("&Open"));
    add(quickAccess, CommandIds::FileSave, QStringLiteral("&Save"));
    add(quickAccess, CommandIds::FilePrint, QStringLiteral("&Print"));
    add(quickAccess, CommandIds::Help, QStringLiteral("&Help"));

    KeyBindings& keys = host.Bars.GetKeyBindings();
    keys.Add(KeyBindings::Control, 'N', CommandIds::FileNew);
    keys.Add(KeyBindings::Control, 'O', CommandIds::FileOpen);
    keys.Add(KeyBindings::Control, 'S', CommandIds::FileSave);
    keys.Add(KeyBindings::Control, 'P', CommandIds::FilePrint);
}

void BuildSystemMenu(RibbonBar& ribbon, [[maybe_unused]] const MainHelpersHost& host) {
    CommandBarControl* systemButton = ribbon.AddSystemButton();
    systemButton->SetIconId(CommandIds::SystemButtonIcon);
    CommandBarControls& menu = systemButton->GetCommandBar()->Controls();
    add(menu, CommandIds::FileNew, QStringLiteral("&New"));
    add(menu, CommandIds::FileOpen, QStringLiteral("&Open..."));
    add(menu, CommandIds::FileSave, QStringLiteral("&Save"));
    add(menu, CommandIds::FileSaveAs, QStringLiteral("Save &As..."));
    add(menu, CommandIds::FilePrint, QStringLiteral("&Print"))->SetBeginGroup(true);
    // Hidden slots that the recent-files list fills and shows.
    for (int i = 1; i <= CommandIds::RecentFileSlotCount; ++i) {
        CommandBarControl* slot = add(menu, CommandIds::FirstRecentFileSlot + i - 1, QStringLiteral("Recent"));
        slot->SetBeginGroup(i == 1);
        slot->SetVisible(false);
    }
    add(menu, CommandIds::AppExit, QStringLiteral("E&xit"))->SetBeginGroup(true);
}

void LoadCommandIcons(CommandBars& bars) {
    Globals::IconTempFolder = FileShared::GetTempFilePath();
    QDir().mkpath(Globals::IconTempFolder);
    Globals::IconTempFolder = FileShared::AddBackslash(Globals::IconTempFolder);

    CommandBarImageManager& icons = bars.Icons();
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
