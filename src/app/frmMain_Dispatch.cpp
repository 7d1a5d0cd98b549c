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
#include "services/CommandIds.h"

#include <QUrl>

namespace {

static_assert(CommandIds::TabSelected == CommandBars::TabSelectedCommand);

// Where the window sends a command: the rows of its command table, first match wins.
enum class Route {
    TabSelected,
    FileNew,
    FileOpen,
    FileSave,
    FileSaveAs,
    FilePrint,
    AppExit,
    RecentFile,
    Selection,
    Staging,
    StageFont,
    SelectedTabQuery,
    Help,
    Nothing,
};

Route routeOf(int32_t id) {
    using namespace CommandIds;
    if (id == TabSelected)
        return Route::TabSelected;
    if (id == FileNew)
        return Route::FileNew;
    if (id == FileOpen)
        return Route::FileOpen;
    if (id == FileSave)
        return Route::FileSave;
    if (id == FileSaveAs)
        return Route::FileSaveAs;
    if (id == FilePrint)
        return Route::FilePrint;
    if (id == AppExit)
        return Route::AppExit;
    if (RecentFileCommands.Contains(id))
        return Route::RecentFile;
    if (SelectionCommands.Contains(id))
        return Route::Selection;
    if (StagingCommands.Contains(id))
        return Route::Staging;
    if (FontChoiceCommands.Contains(id) || FontStyleCommands.Contains(id))
        return Route::StageFont;
    if (id == SelectedTabQuery)
        return Route::SelectedTabQuery;
    if (id == Help)
        return Route::Help;
    return Route::Nothing;
}

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

::RibbonBar* frmMain::RibbonBar() const { return m_commandBars->Ribbon(); }

void frmMain::CommandBars_Execute(CommandBarControl* control) {
    // One command at a time: one that arrives while another waits in a dialog is dropped, not queued.
    if (ExecuteBusy || !control)
        return;
    BusyScope busy(ExecuteBusy);
    try {
        switch (routeOf(control->Id())) {
            case Route::TabSelected:
                if (::RibbonBar* ribbon = RibbonBar(); ribbon && ribbon->SelectedTab()) {
                    ShowWorkspace(ribbon->SelectedTab()->Id());
                    RefreshLayout();
                }
                break;
            case Route::FileNew: FileNew(); break;
            case Route::FileOpen: FileOpen(); break;
            case Route::FileSave:
                if (Globals::CurrentFile.isEmpty())
                    FileSaveAs();
                else
                    FileSave();
                break;
            case Route::FileSaveAs: FileSaveAs(); break;
            case Route::AppExit: close(); break;
            case Route::Selection:
                ChooserHelper::ExecuteChooserCommand(control, chooserHost());
                FocusStep();
                break;
            case Route::FilePrint: PrintReport(); break;
            case Route::RecentFile: OpenRecentFile(control); break;
            case Route::Staging:
                ExecuteStagingCommand(control);
                // The stage's commands give the window the keyboard back, its font commands do not.
                try {
                    FocusStep();
                } catch (...) {
                }
                break;
            case Route::StageFont: ExecuteStagingCommand(control); break;
            case Route::SelectedTabQuery:
                // Some command-bar controls ask for the selected tab this way; ours never sends it.
                break;
            case Route::Help: ShowHelp(); break;
            case Route::Nothing: break;
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
        const int32_t id = control->Id();
        if (id == CommandIds::TexturesGallery) {
            if (CommandBarGallery* gallery = Cast::ToGallery(control); gallery && SelectedTexture)
                gallery->SetCheckedItem(SelectedTexture->Id());
        } else if (id == CommandIds::SchemesItems) {
            if (CommandBarGallery* gallery = Cast::ToGallery(control); gallery && NumberOfHistoryGroups >= 1)
                gallery->SetCheckedItem(NumberOfHistoryGroups);
        } else if (id == CommandIds::PreviousColors) {
            control->SetEnabled(Globals::GeneratedColors->Position() > static_cast<int32_t>(cpList.size()));
        } else if (id == CommandIds::NextColors) {
            control->SetEnabled(Globals::GeneratedColors->Position() < Globals::GeneratedColors->count());
        } else if (CommandIds::StagingCommands.Contains(id) || CommandIds::FontStyleCommands.Contains(id) ||
                   CommandIds::FontChoiceCommands.Contains(id)) {
            UpdateStagingControl(control);
        }
        UpdateAppCaption();
    } catch (...) {
        // A state that cannot be shown now is shown at the next update.
    }
}
