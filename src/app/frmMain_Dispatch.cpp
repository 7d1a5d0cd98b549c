#include "app/frmMain.h"

#include "app/ChooserHelper.h"
#include "model/ColorCollection.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBars.h"
#include "platform/RibbonBar.h"
#include "platform/UrlOpener.h"
#include "services/Cast.h"

#include <QUrl>

namespace {
bool inRange(int id, int low, int high) { return id >= low && id <= high; }

// Clears the busy flag on every way out of a command.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_flag;
};
}  // namespace

::RibbonBar* frmMain::RibbonBar() const { return CommandBars->Ribbon(); }

void frmMain::CommandBars_Execute(CommandBarControl* control) {
    // One command at a time: one that arrives while another waits in a dialog is dropped, not queued.
    if (ExecuteBusy || !control)
        return;
    BusyScope busy(ExecuteBusy);
    try {
        const int id = control->Id();
        if (id == ::CommandBars::TabSelectedCommand) {
            if (::RibbonBar* ribbon = RibbonBar(); ribbon && ribbon->SelectedTab()) {
                ShowWorkspace(ribbon->SelectedTab()->Id());
                RefreshLayout();
            }
        } else if (id == 4008) {
            FileNew();
        } else if (id == 4009) {
            FileOpen();
        } else if (id == 4010) {
            if (Globals::CurrentFile.isEmpty())
                FileSaveAs();
            else
                FileSave();
        } else if (id == 57604) {
            FileSaveAs();
        } else if (id == 4011) {
            // The colour report prints here.
        } else if (id == 57665) {
            close();
        } else if (inRange(id, 57616, 57622)) {
            // The recent-file slots open their documents here.
        } else if (inRange(id, 15000, 15999)) {
            ChooserHelper::ExecuteChooserCommand(control, *this);
            FocusStep();
        } else if (inRange(id, 50000, 59999)) {
            // The "Staging" tab's handler runs here, then the focus step.
            FocusStep();
        } else if (inRange(id, 7617, 7620) || inRange(id, 7608, 7611)) {
            // The stage's font commands run here, without the focus step.
        } else if (id == 4000) {
            ShowHelp();
        }
    } catch (...) {
        // An error ends the command silently; what it did before stays done.
    }
}

void frmMain::ShowHelp() {
    try {
        UrlOpener::Open(QUrl::fromLocalFile(App::Path() + QStringLiteral("/help/index.htm")));
    } catch (...) {
    }
}

void frmMain::CommandBars_Update(CommandBarControl* control) {
    if (!control)
        return;
    try {
        const int id = control->Id();
        if (id == 15101) {
            if (CommandBarGallery* gallery = Cast::ToGallery(control); gallery && SelectedTexture)
                gallery->SetCheckedItem(SelectedTexture->Id());
        } else if (id == 15302) {
            if (CommandBarGallery* gallery = Cast::ToGallery(control); gallery && NumberOfHistoryGroups >= 1)
                gallery->SetCheckedItem(NumberOfHistoryGroups);
        } else if (id == 15002) {
            control->SetEnabled(Globals::GeneratedColors->Position() > static_cast<int32_t>(cpList.size()));
        } else if (id == 15004) {
            control->SetEnabled(Globals::GeneratedColors->Position() < Globals::GeneratedColors->count());
        }
        // The stage's tools, line widths, picture gallery and font styles get their states here.
        UpdateAppCaption();
    } catch (...) {
        // A state that cannot be shown now is shown at the next update.
    }
}
