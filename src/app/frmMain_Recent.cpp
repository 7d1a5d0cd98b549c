#include "app/frmMain.h"

#include "app/MRUManager.h"
#include "model/Globals.h"
#include "platform/CommandBar.h"
#include "platform/CommandBarControl.h"
#include "platform/MessageBox.h"
#include "platform/RibbonBar.h"
#include "services/CommandIds.h"
#include "services/FileShared.h"
#include "services/Hourglass.h"

namespace {

// A recent-file slot of the system menu; none when the menu is not there.
CommandBarControl* recentSlot(::RibbonBar* ribbon, int32_t id) {
    if (!ribbon || !ribbon->SystemButton() || !ribbon->SystemButton()->GetCommandBar())
        return nullptr;
    return ribbon->SystemButton()->GetCommandBar()->FindControl(id);
}

}  // namespace

void frmMain::CreateRecentList() {
    MRU = new MRUManager(this);
    connect(MRU, &MRUManager::Changed, this, &frmMain::MRU_Changed);
    MRU->Init(CommandIds::RecentFileSlotCount);
    MRU->Redraw();
}

void frmMain::MRU_Changed() {
    ::RibbonBar* ribbon = RibbonBar();
    for (int k = 0; k < CommandIds::RecentFileSlotCount; ++k) {
        if (CommandBarControl* slot = recentSlot(ribbon, CommandIds::FirstRecentFileSlot + k)) {
            slot->SetVisible(false);
            slot->SetCaption(QString());
            slot->SetParameter(QString());
        }
    }
    if (!MRU)
        return;
    int k = 0;
    for (const MRUManager::Slot& entry : MRU->Slots()) {
        if (k >= CommandIds::RecentFileSlotCount)
            break;
        if (CommandBarControl* slot = recentSlot(ribbon, CommandIds::FirstRecentFileSlot + k)) {
            slot->SetCaption(entry.caption);
            slot->SetParameter(entry.path);
            slot->SetVisible(true);
        }
        ++k;
    }
}

void frmMain::OpenRecentFile(CommandBarControl* control) {
    if (!control)
        return;
    const QString path = control->Parameter();
    if (!FileShared::FileExists(path)) {
        MessageBox::Show(QStringLiteral("File not found."), MessageBox::OKOnly | MessageBox::Information);
        if (MRU)
            MRU->RemoveByValue(path);
        return;
    }
    if (IsModified() && PromptSaveChanges() == MessageBox::Cancel)
        return;
    try {
        Hourglass hourglass;
        ReadDocument(path);
        ShowWorkspace(CommandIds::SelectionTab);
    } catch (...) {
        ReportReadError(std::current_exception());
        return;
    }
    Globals::CurrentFile = path;
    FileShared::SaveLastPath(Globals::CurrentFile);
    m_IsOpeningJustAfterStartup = false;
    UpdateAppCaption();
}
