#pragma once

#include "app/MainHelpersHost.h"
#include "app/ReportHost.h"
#include "services/CommandIds.h"
#include "services/ISubclass.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

class Color;
class ColorHistory;
class ColorMatch;
class ColorPanel;
class CommandBarControl;
class CommandBarImageManager;
class CommandBars;
class MRUManager;
class PictureBox;
class QLabel;
class QSlider;
class RibbonBar;
class Stage;
class Texture;
namespace pugi {
class xml_document;
}

// The main window: the ribbon with its system menu and status bar above and below, and the client area
// picClient with the row of proofers, the strips, the pie and the stage. Its code is split by topic:
// frmMain_Lifecycle.cpp (load, Init, status text, keys, close), frmMain_Proofers.cpp (workspaces and the
// proofer row), frmMain_Layout.cpp (placing the proofers and strips, resizing, painting picClient),
// frmMain_Dispatch.cpp (Execute and Update of the command bars), frmMain_Hosts.cpp (what the helper modules
// see of the window), frmMain_TopColor.cpp (the "Color Range" box), frmMain_Strips.cpp (the views' events
// and the strips), frmMain_DragDrop.cpp (dragging colours between views), frmMain_ColorPie.cpp (the pie and
// its background box), frmMain_Stage.cpp (the "Staging" commands), frmMain_Documents.cpp (New, Open, Save,
// Save As and the command line), frmMain_Recent.cpp (the recent-files list), frmMain_Hooks.cpp (the window's
// message hooks) and frmMain_Report.cpp (the printed report).
class frmMain : public QWidget, public ISubclass {
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    // The layout rule's lengths, in picClient pixels.
    static constexpr int LayoutMargin = 20;
    static constexpr int LayoutGap = 20;
    static constexpr int ProoferTop = 10;
    static constexpr int StripGap = 10;
    static constexpr int StripHeight = 100;
    static constexpr int StripRowPitch = 110;
    // The window message that makes a raised control re-place its shadows at its size.
    static constexpr int32_t SizeMessage = 5;
    // The height kept free below the proofers for strip counts 1 to 6.
    static int StripReserve(int stripCount);
    // Where strips 0..stripCount-1 go, given the right end of the proofer row and the top of the first strip row.
    static std::vector<QRect> StripPlaces(int stripCount, double rowRight, int firstRowTop);

    // Public state, in declaration order.
    int32_t m_RangeType = 0;
    bool m_IsUDC = false;
    std::shared_ptr<Texture> SelectedTexture;
    int32_t SelectedPictureIndex = 0;
    int32_t NumberOfHistoryGroups = 0;
    bool m_IsOpeningJustAfterStartup = false;

    // Controls.
    // The window's command bars: ribbon, system menu, quick-access bar, key bindings and status bar.
    CommandBars& Bars() const { return *m_commandBars; }
    QWidget* picClient = nullptr;
    std::vector<std::unique_ptr<ColorPanel>> cpList;
    // The six colour-scheme strips, numbered 1 to 6 by Init; the first NumberOfHistoryGroups show.
    std::array<std::unique_ptr<ColorHistory>, 6> history;
    std::unique_ptr<Stage> ctlStage;
    std::unique_ptr<ColorMatch> ctlMatch;
    QWidget* picLimits = nullptr;
    PictureBox* picColor = nullptr;
    QLabel* lblAllColors = nullptr;
    std::array<QSlider*, 3> sldTopColor{};
    // The pictures of the textures gallery, by texture id.
    std::shared_ptr<CommandBarImageManager> ImageManagerGalleryTextures;

    // Lifecycle.
    void Form_Load();
    void Init();
    void SetUIStatus(bool pState);
    void UpdateAppCaption();
    // Any proofer colour, strip, the stage or the pie modified since the document was last untouched,
    // written or read.
    bool IsModified() const;
    // The document is untouched: the start-up flag is set and the window's own state (the program's colours,
    // the standard picture) is marked clean, so that only what a user changes after it counts. The end of
    // start-up and New call it.
    void MarkDocumentUntouched();
    int PromptSaveChanges();
    bool IsUntitled() const;

    // The document commands.
    void FileNew();
    bool FileOpen();
    bool FileSave();
    bool FileSaveAs();

    // Workspaces and proofers.
    void ShowWorkspace(int32_t tabId);
    void SetProoferCount(int count, bool keepFixed);
    void CreateNewColors();

    // Layout.
    void Form_Resize();
    void RefreshLayout();
    void LayoutProofers();
    void CommandBars_Resize();

    // Command dispatch.
    void CommandBars_Execute(CommandBarControl* control);
    void CommandBars_Update(CommandBarControl* control);
    ::RibbonBar* RibbonBar() const;

    // What each helper module works on, filled with this window's members.
    ChooserHost chooserHost();
    MainHelpersHost mainHelpersHost();
    TopColorHost topColorHost();
    // Gives the window the keyboard, so Space reaches its key handler.
    void FocusStep();

    // Strips, drag and drop between the views, the top-colour swatch (frmMain_Strips.cpp, frmMain_DragDrop.cpp,
    // frmMain_TopColor.cpp). Drop handlers take the dragged control; a source they do not know carries no colour.
    void history_SelectedPanelChanged(int index, ColorPanel* pNewSelection);
    void history_KeepAll(int index);
    void cpList_SendToHistory(int index, int32_t pHistoryIndex);
    void cpList_RequestNewImage(int index, const QString& pMessage, bool& pAdded);
    void cpList_StartDragging(int index);
    void history_StartDragging(int index);
    void cpList_DragDrop(int index, QWidget* source);
    void history_DragDrop(int index, QWidget* source);
    void ctlMatch_DragDrop(QWidget* source);
    void ctlStage_DragDrop(QWidget* source);
    void Form_KeyDown(int keyCode, int16_t shift);
    void Form_KeyUp(int keyCode, int16_t shift);
    // Reads the top-colour sliders into the top colour, its swatch and its label.
    void sldTopColor_Change(int index);
    void picColor_DragDrop(QWidget* source);
    void lblAllColors_DragDrop(QWidget* source);
    void picColor_MouseDown();
    void lblAllColors_MouseDown();

private:
    // What a drag carried when it started, so that a drop of a source changed since carries nothing.
    struct DragTicket {
        QPointer<QWidget> source;
        QPointer<ColorPanel> panel;
        std::weak_ptr<Color> color;
        int32_t rgb = 0xFFFFFF;
    };
    void ConnectViews();
    void ConnectProofer(ColorPanel& proofer);
    void ConnectTopColorBox();
    int ProoferIndex(const ColorPanel* proofer) const;
    int StripIndex(const QWidget* strip) const;
    // The panel whose colour a drop source carries: a proofer itself, a strip's selected panel; none otherwise
    // or when the source changed since its drag started.
    ColorPanel* SourcePanel(QWidget* source) const;
    bool IsProofer(const QWidget* source) const;
    void StartDrag(QWidget* source, ColorPanel* panel, int32_t rgb);
    void TakeDropModifiers(Qt::KeyboardModifiers modifiers);
    bool CtrlHeld = false;
    DragTicket m_dragTicket;
    bool m_dragPending = false;

public:
    // The colour pie and its background box (frmMain_ColorPie.cpp).
    // The box the "Color Pie" tab hosts: the background swatch with its label, and red, green and blue sliders.
    QWidget* picBackColor = nullptr;
    PictureBox* picBColor = nullptr;
    QLabel* lblMatchBackColor = nullptr;
    std::array<QSlider*, 3> sldBackColor{};
    MatchHelperHost matchHelperHost();
    // Restores the pie and its background sliders from a document.
    void ReadMatch(const pugi::xml_document& document);
    // Sets the background sliders and runs their change handler once, for slider 0.
    void SetBackColorSliders(int red, int green, int blue);
    // The pie's background, the swatch and the label follow the sliders; the pie counts as modified.
    void sldBackColor_Change(int index);
    // The label shows the sliders as "(r, g, b)" over the background, in white on dark backgrounds.
    void UpdateMatchBackLabel();
    // A strip's selected colour becomes the background; other sources do nothing.
    void picBColor_DragDrop(QWidget* source);
    void lblMatchBackColor_DragDrop(QWidget* source);
    void ctlMatch_SetBackColorWhite();
    void BuildBackColorBox();

    // The stage and the "Staging" tab (frmMain_Stage.cpp).
    void ExecuteStagingCommand(CommandBarControl* control);
    void UpdateStagingControl(CommandBarControl* control);
    // What the "Staging" tab works on; raises when the ribbon or the stage is not there yet.
    StageHost stageHost();

    // Documents and the recent-files list (frmMain_Documents.cpp, frmMain_Recent.cpp).
    // The folder the open document was last packed or unpacked in, ending with "/"; empty before the first.
    QString DocumentFolder;
    // The recent-files list, made with the system menu.
    MRUManager* MRU = nullptr;
    // Writes the whole document to path; any failure is raised, and the file at path, the document folder, the
    // recent list and every object's modified flag stay as they were.
    void WriteDocument(const QString& path);
    // Writes the document's files into folder, a fresh document folder, and packs them into path.
    void WriteDocumentFiles(const QString& path, const QString& folder);
    // Reads the document at path into the window. A file that fails the checks is raised before anything in
    // the window, the document folder or the recent list changes.
    void ReadDocument(const QString& path);
    // Opens the document named on the command line; false when there is no such file or it cannot be read.
    bool OpenDocumentFromCommandLine(const QString& path);
    void CreateRecentList();
    void MRU_Changed();
    void OpenRecentFile(CommandBarControl* control);
    // "Error loading the file from disk." with the error's number as the title.
    static void ReportReadError(const std::exception_ptr& error);

    // The window's own message hooks, shutdown and the colour report (frmMain_Hooks.cpp, frmMain_Report.cpp).
    // Hooks being moved, move or size ended and destroyed on the window's own handle, for the drop shadows.
    void StartSubclassing();
    void StopSubclassing();
    // The handle whose messages are hooked; 0 before the first StartSubclassing, kept after unhooking.
    int32_t SubclassedHwnd() const { return m_subclassedHwnd; }
    // The window consumes its hooked messages: the previous procedure never sees them.
    MsgResponseKind MsgResponse() const override;
    void SetMsgResponse(MsgResponseKind response) override;
    int32_t WindowProc(int32_t hwnd, int32_t iMsg, int32_t wParam, int32_t lParam) override;
    void PrintReport();
    // The proofers and the visible strips, as the colour report reads them.
    ReportHost reportHost() const;

private:
    int32_t m_subclassedHwnd = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTopColorBox();
    // A hidden 236 × 66 box for the ribbon: a framed white swatch at the left and three 0..255 sliders beside it.
    QWidget* BuildSwatchBox(const QString& name, PictureBox*& swatch, const QString& swatchName,
                            std::array<QSlider*, 3>& sliders, const QString& sliderName);
    void Form_KeyPress(int keyAscii);
    bool Form_QueryUnload();
    void Form_Unload();
    void picClient_Paint();
    void ShowHelp();

    // A rebuild or recolouring of the proofer row asked for while one runs, or while a proofer renders, is
    // queued and runs once after it.
    bool ProoferRowBusy() const;
    void QueueProoferWork(std::function<void()> work);
    void RunQueuedProoferWork();

    CommandBars* m_commandBars = nullptr;
    bool ExecuteBusy = false;
    bool m_unloaded = false;
    int m_prooferPass = 0;
    bool m_newColorsQueued = false;
    bool m_prooferWorkPosted = false;
    std::deque<std::function<void()>> m_queuedProoferWork;
};
