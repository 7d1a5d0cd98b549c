#include "app/frmMain.h"

#include "app/MainHelpers.h"
#include "model/Color.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "platform/App.h"
#include "platform/AtomicFile.h"
#include "platform/CommandBars.h"
#include "platform/MessageBox.h"
#include "platform/PictureBox.h"
#include "platform/RibbonBar.h"
#include "platform/StatusBar.h"
#include "services/CommandIds.h"
#include "services/FileShared.h"
#include "services/Hourglass.h"
#include "services/xptHelper.h"
#include "stage/Stage.h"
#include "stage/StageHelper.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"
#include "views/MouseCodes.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSlider>
#include <QStyle>

namespace {
constexpr int TextPane = 0;

// 1024 x 700 where it fits; a desktop scale (QT_SCALE_FACTOR) can make that larger than the screen, so the first size
// never exceeds the screen's free area less the window frame, and the least size gives way as well.
void fitFirstSize(QWidget& window) {
    const QSize wanted(1024, 700);
    const QSize least(640, 480);
    QSize room = wanted;
    if (const QScreen* screen = window.screen()) {
        // The frame is the window manager's and unknown before the window shows; the style's title bar and
        // frame widths stand in for it.
        const QStyle* style = window.style();
        const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
        const int title = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
        const QRect available = screen->availableGeometry();
        room = QSize(available.width() - 2 * border, available.height() - title - 2 * border);
    }
    const QSize first = wanted.boundedTo(room).expandedTo(QSize(1, 1));
    window.setMinimumSize(least.boundedTo(first));
    window.resize(first);
}
}  // namespace

frmMain::frmMain() {
    setWindowTitle(App::Title());
    setFocusPolicy(Qt::StrongFocus);
    fitFirstSize(*this);

    m_commandBars = new CommandBars(this);
    connect(m_commandBars, &CommandBars::Execute, this, &frmMain::CommandBars_Execute);
    connect(m_commandBars, &CommandBars::Update, this, &frmMain::CommandBars_Update);
    connect(m_commandBars, &CommandBars::Resize, this, &frmMain::CommandBars_Resize);

    picClient = new QWidget(this);
    picClient->setObjectName(QStringLiteral("picClient"));
    picClient->installEventFilter(this);

    BuildTopColorBox();

    // Proofer 0 belongs to the window; the others are loaded at run time.
    cpList.push_back(std::make_unique<ColorPanel>(picClient));
    for (auto& strip : history) strip = std::make_unique<ColorHistory>(picClient);
    ctlStage = std::make_unique<Stage>(picClient);
    ctlMatch = std::make_unique<ColorMatch>(picClient);
    BuildBackColorBox();
    ConnectViews();
}

frmMain::~frmMain() {
    Form_Unload();
    // The command bars give back the widgets they host while this window still stands.
    delete m_commandBars;
    m_commandBars = nullptr;
}

void frmMain::BuildTopColorBox() {
    // The colour-range box that the ribbon hosts: the top-colour swatch with its label, and three sliders.
    picLimits = BuildSwatchBox(QStringLiteral("picLimits"), picColor, QStringLiteral("picColor"), sldTopColor,
                               QStringLiteral("sldTopColor"));

    lblAllColors = new QLabel(picColor);
    lblAllColors->setObjectName(QStringLiteral("lblAllColors"));
    lblAllColors->setGeometry(0, 0, picColor->width(), picColor->height());
    lblAllColors->setAlignment(Qt::AlignCenter);
    lblAllColors->setWordWrap(true);
    lblAllColors->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QWidget* frmMain::BuildSwatchBox(const QString& name, PictureBox*& swatch, const QString& swatchName,
                                 std::array<QSlider*, 3>& sliders, const QString& sliderName) {
    auto* box = new QWidget(this);
    box->setObjectName(name);
    box->setFixedSize(236, 66);
    box->hide();

    PictureBox* picture = new PictureBox(box);
    picture->setObjectName(swatchName);
    picture->setGeometry(2, 3, 72, 60);
    picture->SetBackColor(0xFFFFFF);
    picture->SetPaintHandler([picture](QPainter& painter) {
        painter.setPen(QColor(0x8A, 0x96, 0xA6));
        painter.drawRect(picture->rect().adjusted(0, 0, -1, -1));
    });
    swatch = picture;

    for (int i = 0; i < 3; ++i) {
        auto* slider = new QSlider(Qt::Horizontal, box);
        slider->setObjectName(sliderName + QString::number(i));
        slider->setGeometry(84, 4 + i * 20, 148, 18);
        slider->setRange(0, 255);
        slider->setSingleStep(1);
        slider->setPageStep(10);
        sliders[static_cast<size_t>(i)] = slider;
    }
    return box;
}

void frmMain::Form_Load() {
    MainHelpers::LoadCommandIcons(*m_commandBars);
    picBackColor->move(-10000, picBackColor->y());
    MainHelpers::ResetTopColor();
    MainHelpers::UpdateTopColorLabel(topColorHost());
    MainHelpers::BuildRibbon(mainHelpersHost());
    CreateRecentList();

    StatusBar& statusBar = m_commandBars->GetStatusBar();
    statusBar.SetVisible(true);
    statusBar.AddPane(TextPane);
    statusBar.AddPane(CommandIds::CapsLockPane);
    statusBar.AddPane(CommandIds::NumLockPane);

    m_commandBars->RecalcLayout();
    CommandBars_Resize();
    picClient->update();

    SelectedTexture = Globals::TextureItem(1);
    NumberOfHistoryGroups = 1;
    SelectedPictureIndex = -1;

    for (size_t i = 0; i < history.size(); ++i) {
        history[i]->Init(this);
        if (i > 0) {
            history[i]->setVisible(false);
            history[i]->HideShadows();
        }
    }
    ctlStage->Init(this);
    ctlMatch->Init(this);
    StageHost stage = stageHost();
    StageHelper::ShowFontGroup(false, stage);

    ShowWorkspace(CommandIds::SelectionTab);
    StartSubclassing();

    Globals::DrawColor = Factory::NewColor(SelectedTexture, CommandIds::RangeAllRGB, false);
    Globals::DrawColor->SetRed(0);
    Globals::DrawColor->SetGreen(0);
    Globals::DrawColor->SetBlue(0);
    Globals::DrawColor->SetTemporaryImagePath(App::Path() + QStringLiteral("/stdcolor.bmp"));
    ctlStage->SetDrawColor(Globals::DrawColor);
    ctlStage->OpenPicture(App::Path() + QStringLiteral("/stdimg.png"));

    m_IsOpeningJustAfterStartup = true;
    UpdateAppCaption();
    lblAllColors->setFont(font());
}

void frmMain::Init() {
    SetProoferCount(3, true);
    for (size_t i = 0; i < history.size(); ++i) history[i]->SetControlIndex(static_cast<int16_t>(i + 1));
    MarkDocumentUntouched();
}

void frmMain::SetUIStatus(bool pState) {
    ::RibbonBar* ribbon = RibbonBar();
    if (!ribbon)
        return;
    for (int id : {CommandIds::FileOpen, CommandIds::FileSave, CommandIds::FilePrint, CommandIds::AppExit})
        xptHelper::SetControlEnabled(ribbon, id, pState);
    for (int t = 0; t < ribbon->TabCount(); ++t) {
        RibbonTab* tab = ribbon->Tab(t);
        for (int g = 0; g < tab->GroupCount(); ++g) xptHelper::SetControlsEnabled(pState, tab->Group(g)->Controls());
    }
    for (const auto& strip : history) strip->SetEnabled(pState);
    for (const auto& proofer : cpList) proofer->SetEnabled(pState);
    ctlStage->SetEnabled(pState);
}

void frmMain::UpdateAppCaption() {
    StatusBar& statusBar = m_commandBars->GetStatusBar();
    if (statusBar.PaneCount() < 1)
        return;
    const QString text = Globals::CurrentFile.isEmpty()
                             ? QStringLiteral(" Ready")
                             : QStringLiteral(" ") + FileShared::GetFileName(Globals::CurrentFile);
    statusBar.SetPaneText(statusBar.PaneId(0), text);
}

bool frmMain::IsUntitled() const { return Globals::CurrentFile.isEmpty(); }

bool frmMain::IsModified() const {
    // The start-up flag hides nothing here: whenever it is set, the state it covers is marked clean, so the
    // objects' own flags tell every later edit, also one that does not clear the flag.
    for (const auto& proofer : cpList)
        if (const auto color = proofer->PanelColor(); color && color->IsDirty())
            return true;
    for (const auto& strip : history)
        if (strip->IsDirty())
            return true;
    return ctlStage->PictureIsDirty() || ctlMatch->IsDirty();
}

void frmMain::MarkDocumentUntouched() {
    m_IsOpeningJustAfterStartup = true;
    for (const auto& proofer : cpList)
        if (const auto color = proofer->PanelColor())
            color->SetIsDirty(false);
    for (const auto& strip : history) strip->MarkClean();
    // The stage is clean by its own rules at both moments: it has just opened the standard picture.
    ctlMatch->SetIsDirty(false);
}

int frmMain::PromptSaveChanges() {
    QString prompt;
    if (IsUntitled()) {
        prompt = QStringLiteral("Do you want to save this file?");
    } else {
        QString name = FileShared::GetFileName(Globals::CurrentFile);
        if (name.right(4).toLower() == QStringLiteral(".tnd"))
            name.chop(4);
        prompt = QStringLiteral("Do you want to save the changes to ") + name + QStringLiteral("?");
    }
    const int answer = MessageBox::Show(prompt, MessageBox::YesNoCancel | MessageBox::Question);
    int result = answer == MessageBox::No ? MessageBox::No : MessageBox::Cancel;
    if (answer == MessageBox::Yes) {
        try {
            Hourglass hourglass;
            SetUIStatus(false);
            const bool saved = IsUntitled() ? FileSaveAs() : FileSave();
            result = saved ? MessageBox::Yes : MessageBox::Cancel;
        } catch (...) {
            SetUIStatus(true);
            throw;
        }
    }
    SetUIStatus(true);
    return result;
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    Form_KeyDown(event->key(), MouseCodes::Shift(event->modifiers()));
    if (event->text().size() == 1 && event->text().at(0).unicode() < 128) {
        try {
            Form_KeyPress(event->text().at(0).unicode());
        } catch (...) {
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmMain::keyReleaseEvent(QKeyEvent* event) {
    Form_KeyUp(event->key(), MouseCodes::Shift(event->modifiers()));
    QWidget::keyReleaseEvent(event);
}

void frmMain::Form_KeyDown(int, int16_t shift) { CtrlHeld = shift == 2; }

void frmMain::Form_KeyUp(int, int16_t) { CtrlHeld = false; }

void frmMain::Form_KeyPress(int keyAscii) {
    if (keyAscii == 32)
        CreateNewColors();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

bool frmMain::Form_QueryUnload() {
    try {
        if (IsModified() && PromptSaveChanges() == MessageBox::Cancel)
            return false;
    } catch (...) {
        return false;
    }
    return true;
}

void frmMain::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    // Each step stands alone: one that fails does not keep the others from releasing what they hold.
    for (const auto& strip : history) {
        try {
            strip->Dispose();
        } catch (...) {
        }
    }
    for (const auto& proofer : cpList) {
        try {
            proofer->Dispose();
        } catch (...) {
        }
    }
    try {
        StopSubclassing();
    } catch (...) {
    }
    try {
        FileShared::DeleteFolder(DocumentFolder);
    } catch (...) {
    }
    // A save killed while it renamed its file over the document leaves the file's second name beside it.
    if (!IsUntitled())
        AtomicFile::RemoveLeftovers(QFileInfo(Globals::CurrentFile).absolutePath());
    try {
        if (!Globals::IconTempFolder.isEmpty()) {
            FileShared::DeleteFolder(Globals::IconTempFolder);
            Globals::IconTempFolder.clear();
        }
    } catch (...) {
    }
}

void frmMain::FocusStep() {
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}
