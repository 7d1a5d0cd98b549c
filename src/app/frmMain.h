#pragma once

#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class ColorPanel;
class CommandBarControl;
class CommandBarImageManager;
class CommandBars;
class PictureBox;
class QLabel;
class QSlider;
class RibbonBar;
class Texture;

// The main window: the ribbon with its system menu and status bar above and below, and the client area
// picClient with the row of proofers. Its code is split by topic: frmMain_Lifecycle.cpp (load, Init, status
// text, keys, close), frmMain_Proofers.cpp (workspaces and the proofer row), frmMain_Layout.cpp and
// frmMain_Dispatch.cpp (Execute and Update of the command bars).
class frmMain : public QWidget {
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    // Ids of the ribbon tabs, which are also the ids of the workspaces they show.
    static constexpr int32_t SelectionWorkspace = 15000;
    static constexpr int32_t ColorPieWorkspace = 15007;
    static constexpr int32_t StagingWorkspace = 50000;

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
    ::CommandBars* CommandBars = nullptr;
    QWidget* picClient = nullptr;
    std::vector<std::unique_ptr<ColorPanel>> cpList;
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
    bool IsModified() const;
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
    // Gives the window the keyboard, so Space reaches its key handler.
    void FocusStep();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTopColorBox();
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

    bool ExecuteBusy = false;
    bool m_unloaded = false;
    int m_prooferPass = 0;
    bool m_newColorsQueued = false;
    bool m_prooferWorkPosted = false;
    std::deque<std::function<void()>> m_queuedProoferWork;
};
