// The "Staging" tab as the running program shows it: built at load, its commands reaching the stage
// through the window's dispatcher, and the window's Update marking the tool, width, picture and font styles.
#include "app/frmMain.h"
#include "platform/CommandBar.h"
#include "platform/CommandBarComboBox.h"
#include "platform/CommandBarControl.h"
#include "platform/CommandBarControls.h"
#include "platform/CommandBarEdit.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBarGalleryItem.h"
#include "platform/CommandBarGalleryItems.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "platform/ImagingControl.h"
#include "platform/RibbonBar.h"
#include "platform/RibbonGroup.h"
#include "platform/RibbonTab.h"
#include "services/CommandIds.h"
#include "services/SpecialFolders.h"
#include "services/fDropShadow.h"
#include "stage/Stage.h"
#include "stage/StageHelper.h"
#include "support/MainWindowFixture.h"
#include "support/TestEnvironment.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <vector>

using namespace CommandIds;

namespace {

QImage Quadrants(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x < width / 2 ? 200 : 20, y < height / 2 ? 150 : 60, 90));
    return image;
}

// The program started and switched to the "Staging" tab as a person does: the tab, then its workspace.
class frmMainStaging : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        window->RibbonBar()->SetSelectedTab(window->RibbonBar()->Tab(1));
        Execute(TabSelected);
    }

    void Click(CommandBarControl* control) {
        ASSERT_NE(control, nullptr);
        ASSERT_TRUE(window->Bars().ExecuteControl(control)) << control->Id();
    }
    Stage& StageControl() const { return *window->ctlStage; }
    RibbonGroup* FontGroupOfTab() const { return window->RibbonBar()->Tab(1)->Group(3); }
    CommandBar* LinesPopup() const { return Find(ToolLines)->GetCommandBar(); }
    // The width buttons and the "Other: " box of the "Lines" drop-down, by caption.
    CommandBarControl* LinesItem(const char* caption) const {
        const CommandBarControls& controls = LinesPopup()->Controls();
        for (int i = 0; i < controls.Count(); ++i)
            if (controls.Item(i)->Caption() == QLatin1String(caption))
                return controls.Item(i);
        return nullptr;
    }
    std::vector<QString> CheckedWidths() const {
        window->Bars().UpdateBar(LinesPopup());
        std::vector<QString> checked;
        const CommandBarControls& controls = LinesPopup()->Controls();
        for (int i = 0; i < controls.Count(); ++i)
            if (controls.Item(i)->GetType() == CommandBarControl::Button && controls.Item(i)->Checked())
                checked.push_back(controls.Item(i)->Caption());
        return checked;
    }
};

TEST_F(frmMainStaging, TheTabStandsSecondWithItsGroupsAndTheFontGroupHiddenAtLoad) {
    ::RibbonBar* ribbon = window->RibbonBar();
    ASSERT_GE(ribbon->TabCount(), 2);
    EXPECT_EQ(ribbon->Tab(0)->Id(), SelectionTab);
    RibbonTab* tab = ribbon->Tab(1);
    EXPECT_EQ(tab->Id(), StagingTab);
    EXPECT_EQ(tab->Caption(), QStringLiteral("Staging"));
    std::vector<QString> groups;
    for (int i = 0; i < tab->GroupCount(); ++i) groups.push_back(tab->Group(i)->Caption());
    EXPECT_EQ(groups, (std::vector<QString>{QStringLiteral("&Images"), QStringLiteral("&Control Toolbox"),
                                            QStringLiteral("&Drawing Toolbox"), QStringLiteral("&Font")}));
    EXPECT_FALSE(FontGroupOfTab()->Visible()) << "the text tool shows it, nothing else at load";
    EXPECT_TRUE(Find(ToolLines)->Checked()) << "free-hand lines are the tool at load";
}

TEST_F(frmMainStaging, TheWorkspaceShowsTheStageWithItsShadowsAndHidesTheRest) {
    EXPECT_TRUE(StageControl().isVisible());
    ASSERT_NE(StageControl().ShadowRight(), nullptr);
    ASSERT_NE(StageControl().ShadowBottom(), nullptr);
    EXPECT_TRUE(StageControl().ShadowRight()->Visible());
    EXPECT_TRUE(StageControl().ShadowBottom()->Visible());
    EXPECT_FALSE(window->ctlMatch->isVisible());
    for (const auto& proofer : window->cpList) EXPECT_FALSE(proofer->isVisible());
    EXPECT_EQ(StageControl().ImageControl()->FileName().section(QLatin1Char('/'), -1), QStringLiteral("stdimg.png"));

    window->RibbonBar()->SetSelectedTab(window->RibbonBar()->Tab(0));
    Execute(TabSelected);
    EXPECT_FALSE(StageControl().isVisible());
    EXPECT_FALSE(StageControl().ShadowRight()->Visible());
    EXPECT_FALSE(StageControl().ShadowBottom()->Visible());
}

TEST_F(frmMainStaging, ToolButtonsSetTheToolAndUpdateMarksOnlyThatOne) {
    struct Step {
        int clicked;
        bool fill;         // the stage's fill flag afterwards
        bool fontVisible;  // the "&Font" group afterwards
    };
    // Filled shapes set the flag, outlined ones clear it, the other tools leave it as it was.
    const std::vector<Step> steps{
        {ToolFilledEllipses, true, false},
        {ToolRectangles, false, false},
        {ToolFilledRectangles, true, false},
        {ToolText, true, true},
        {ToolFlood, true, false},
        {ToolEllipses, false, false},
        {ToolLines, false, false},
    };
    const std::vector<int> tools{ToolLines,    ToolText,           ToolFlood,           ToolRectangles,
                                 ToolEllipses, ToolFilledEllipses, ToolFilledRectangles};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.clicked);
        Click(Find(step.clicked));
        EXPECT_EQ(StageControl().Fill(), step.fill);
        EXPECT_EQ(FontGroupOfTab()->Visible(), step.fontVisible);
        for (int tool : tools) EXPECT_EQ(Find(tool)->Checked(), tool == step.clicked) << "tool " << tool;
    }
}

TEST_F(frmMainStaging, LineWidthsFromTheButtonsAndTheOtherBox) {
    Click(LinesItem("15"));
    EXPECT_EQ(StageControl().LineThickness(), 15);
    EXPECT_EQ(CheckedWidths(), std::vector<QString>{QStringLiteral("15")});

    // The label carries no number: Update leaves its mark alone.
    CommandBarControl* label = LinesPopup()->Controls().Item(0);
    ASSERT_EQ(label->GetType(), CommandBarControl::Label);
    label->SetChecked(true);
    window->Bars().UpdateBar(LinesPopup());
    EXPECT_TRUE(label->Checked());

    struct Typed {
        const char* text;
        const char* shown;
        int width;
    };
    // Non-numbers empty the box and keep the width; 100 and more stop at 100; no lower bound; half to even.
    const std::vector<Typed> cases{{"", "", 5},         {"abc", "", 5},       {"1e9", "100", 100},
                                   {"-5", "-5", -5},    {"0", "0", 0},        {"150", "100", 100},
                                   {"300", "100", 100}, {"22.5", "22.5", 22}, {"7", "7", 7}};
    auto* other = static_cast<CommandBarEdit*>(LinesItem("Other: "));
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(other->GetType(), CommandBarControl::Edit);
    for (const Typed& typed : cases) {
        SCOPED_TRACE(typed.text);
        Click(LinesItem("5"));
        other->SetText(QString::fromLatin1(typed.text));
        Click(other);
        EXPECT_EQ(other->Text(), QString::fromLatin1(typed.shown));
        EXPECT_EQ(StageControl().LineThickness(), typed.width);
        const std::vector<QString> marked = CheckedWidths();
        if (typed.width == 5 || typed.width == 7)
            EXPECT_EQ(marked, std::vector<QString>{QString::number(typed.width)});
        else
            EXPECT_TRUE(marked.empty()) << "no button carries " << typed.width;
    }
}

TEST_F(frmMainStaging, TheFontGroupSetsTheStageFont) {
    Click(Find(ToolText));
    ASSERT_TRUE(FontGroupOfTab()->Visible());
    const std::shared_ptr<FontInfo> font = StageHelper::CurrentFont();
    EXPECT_EQ(font->name, QStringLiteral("Tahoma"));
    EXPECT_EQ(font->size, 22);

    auto* name = static_cast<CommandBarComboBox*>(Find(FontName));
    name->SetText(QStringLiteral("No Such Face"));
    Click(name);
    EXPECT_EQ(StageHelper::CurrentFont()->name, QStringLiteral("No Such Face")) << "taken as typed";

    struct Typed {
        const char* text;
        const char* shown;
        double size;
    };
    const std::vector<Typed> cases{{"", "22", 22}, {"abc", "22", 22},   {"1e9", "200", 200}, {"-5", "-5", -5},
                                   {"0", "0", 0},  {"150", "150", 150}, {"300", "200", 200}, {"22.5", "22.5", 22.5}};
    auto* size = static_cast<CommandBarComboBox*>(Find(FontSize));
    for (const Typed& typed : cases) {
        SCOPED_TRACE(typed.text);
        size->SetText(QString::fromLatin1(typed.text));
        Click(size);
        EXPECT_EQ(size->Text(), QString::fromLatin1(typed.shown));
        EXPECT_EQ(StageHelper::CurrentFont()->size, typed.size);
    }
    EXPECT_EQ(StageHelper::CurrentFont(), font) << "the stage reads the same font object";

    const std::vector<std::pair<int, std::function<bool()>>> styles{
        {FontBold, [&] { return font->bold; }},
        {FontItalic, [&] { return font->italic; }},
        {FontUnderline, [&] { return font->underline; }},
        {FontStrikethrough, [&] { return font->strikethrough; }},
    };
    for (const auto& [id, flag] : styles) {
        SCOPED_TRACE(id);
        Click(Find(id));
        EXPECT_TRUE(flag());
        EXPECT_TRUE(Find(id)->Checked());
        Click(Find(id));
        EXPECT_FALSE(flag());
        EXPECT_FALSE(Find(id)->Checked());
    }
}

TEST_F(frmMainStaging, ZoomTransformsAndClearReachTheStage) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("quadrants.png"));
    ASSERT_TRUE(Quadrants(40, 20).save(path));
    ASSERT_TRUE(StageControl().OpenPicture(path));
    ImagingControl& image = *StageControl().ImageControl();
    const int zoom = image.Zoom();

    Execute(ZoomIn);
    EXPECT_GT(image.Zoom(), zoom);
    Execute(OriginalSize);
    EXPECT_EQ(image.Zoom(), zoom);
    Execute(ZoomOut);
    EXPECT_LT(image.Zoom(), zoom);
    Execute(OriginalSize);

    // Left half red 200, top half green 150.
    Execute(FlipHorizontal);
    EXPECT_EQ(qRed(image.Picture().pixel(0, 0)), 20);
    Execute(FlipVertical);
    EXPECT_EQ(qGreen(image.Picture().pixel(0, 0)), 60);
    Execute(InvertColors);
    EXPECT_EQ(image.Picture().pixel(0, 0) & 0xFFFFFF, qRgb(255 - 20, 255 - 60, 255 - 90) & 0xFFFFFF);
    Execute(Rotate90);
    EXPECT_EQ(image.PictureWidth(), 20);
    EXPECT_EQ(image.PictureHeight(), 40);
    Execute(ToBlackAndWhite);
    const QRgb grey = image.Picture().pixel(3, 3);
    EXPECT_TRUE(qRed(grey) == qGreen(grey) && qGreen(grey) == qBlue(grey));
    EXPECT_TRUE(window->IsModified()) << "a changed picture is a changed document";

    Execute(ClearStage);
    const QImage cleared = image.Picture();
    EXPECT_EQ(cleared.pixel(0, 0), cleared.pixel(cleared.width() - 1, cleared.height() - 1));
}

// A pictures folder with pictures in it before the program starts.
class frmMainStagingPictures : public frmMainStaging {
protected:
    void SetUp() override {
        folder = SpecialFolders::MyPicturesFolder();
        ASSERT_FALSE(folder.isEmpty());
        QDir().mkpath(folder);
        ASSERT_TRUE(Quadrants(40, 30).save(folder + QStringLiteral("/small.png")));
        ASSERT_TRUE(Quadrants(100, 30).save(folder + QStringLiteral("/wide.png")));
        // A PNG cut short: its type shows, its picture does not.
        QFile whole(folder + QStringLiteral("/small.png"));
        ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
        QFile broken(folder + QStringLiteral("/broken.png"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write(whole.read(60));
        broken.close();
        first = StageHelper::GalleryCounter();
        frmMainStaging::SetUp();
    }
    void TearDown() override {
        frmMainStaging::TearDown();
        for (const char* name : {"small.png", "wide.png", "broken.png"})
            QFile::remove(folder + QLatin1Char('/') + QLatin1String(name));
    }
    CommandBarGallery& Gallery() const { return *static_cast<CommandBarGallery*>(Find(PicturesGallery)); }
    CommandBarGalleryItem* Item(const char* caption) const {
        const CommandBarGalleryItems& items = *Gallery().Items();
        for (int i = 0; i < items.Count(); ++i)
            if (!items.Item(i)->IsLabel() && items.Item(i)->Caption() == QLatin1String(caption))
                return items.Item(i);
        return nullptr;
    }

    QString folder;
    int32_t first = 0;
};

TEST_F(frmMainStagingPictures, TheGalleryListsThePicturesAndTheirThumbnailsFollow) {
    ASSERT_EQ(Gallery().GetType(), CommandBarControl::Gallery);
    const CommandBarGalleryItems& items = *Gallery().Items();
    ASSERT_EQ(items.Count(), 4) << "the label and three pictures";
    EXPECT_TRUE(items.Item(0)->IsLabel());
    EXPECT_EQ(items.Item(0)->Caption(), QStringLiteral("My Pictures"));
    for (int i = 1; i < items.Count(); ++i) EXPECT_EQ(items.Item(i)->Id(), first + i - 1) << "ids in listing order";

    QDeadlineTimer deadline(10000);
    while (items.Icons().Count() < 2 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(items.Icons().Icon(Item("small")->Id()).size(), QSize(40, 30));
    EXPECT_EQ(items.Icons().Icon(Item("wide")->Id()).size(), QSize(50, 30));
    EXPECT_FALSE(items.Icons().Exists(Item("broken")->Id())) << "listed, without a thumbnail";
}

TEST_F(frmMainStagingPictures, PickingAPictureOpensItAndUpdateMarksIt) {
    CommandBarGalleryItem* small = Item("small");
    ASSERT_NE(small, nullptr);
    Gallery().SetSelectedItem(small);
    Click(&Gallery());
    EXPECT_EQ(StageControl().CurrentPicture(), folder + QStringLiteral("/small.png"));
    EXPECT_EQ(StageControl().ImageControl()->PictureWidth(), 40);
    EXPECT_EQ(window->SelectedPictureIndex, small->Id());
    EXPECT_EQ(Gallery().CheckedItem(), small->Id());

    ScriptedMessageBox messages;
    Gallery().SetSelectedItem(Item("broken"));
    Click(&Gallery());
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(messages.Requests()[0].prompt, QStringLiteral("This image cannot be opened."));
    EXPECT_EQ(StageControl().CurrentPicture(), folder + QStringLiteral("/small.png")) << "nothing changed";
    EXPECT_EQ(window->SelectedPictureIndex, small->Id());
    EXPECT_EQ(Gallery().CheckedItem(), small->Id());
}

}  // namespace
