#include "stage/StageHelper.h"

#include "StageFixture.h"
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
#include "platform/RibbonBar.h"
#include "platform/RibbonGroup.h"
#include "platform/RibbonTab.h"
#include "services/CommandIds.h"
#include "services/SpecialFolders.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>

#include <sys/stat.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

using namespace StageTesting;
using namespace CommandIds;

namespace {

class StageHelperTest : public StageFixture {
protected:
    void SetUp() override {
        StageFixture::SetUp();
        bars = new CommandBars(host.get());
        ribbon = bars->AddRibbonBar(QStringLiteral("The Ribbon"));
        ribbon->InsertTab(0, QStringLiteral("Selection"))->SetId(SelectionTab);
        ribbon->InsertTab(1, QStringLiteral("Color Pie"))->SetId(ColorPieTab);
        stageHost = std::make_unique<StageHost>(StageHost{*ribbon, *stage, selected});
    }
    void Build() { StageHelper::BuildStagingTab(*stageHost); }
    RibbonTab& Tab() const { return *ribbon->Tab(1); }
    CommandBarControl* Find(int id) const { return ribbon->FindControl(id); }
    // Runs a command as the window's dispatcher hands it over.
    void Run(CommandBarControl* control) { StageHelper::ExecuteStageCommand(control, *stageHost); }
    CommandBarControl* Command(int id) {
        m_made.push_back(std::make_unique<CommandBarControl>(CommandBarControl::Button, id, QString(), nullptr, true));
        return m_made.back().get();
    }
    static void WaitFor(const std::function<bool()>& done) {
        QDeadlineTimer deadline(10000);
        while (!done() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
    }

    CommandBars* bars = nullptr;
    RibbonBar* ribbon = nullptr;
    int32_t selected = -1;
    std::unique_ptr<StageHost> stageHost;

private:
    std::vector<std::unique_ptr<CommandBarControl>> m_made;
};

TEST_F(StageHelperTest, TheTabItsGroupsAndControls) {
    Build();
    ASSERT_EQ(ribbon->TabCount(), 3);
    EXPECT_EQ(Tab().Caption(), QStringLiteral("Staging"));
    EXPECT_EQ(Tab().Id(), StagingTab);
    std::vector<std::pair<QString, int>> groups;
    for (int i = 0; i < Tab().GroupCount(); ++i) {
        groups.emplace_back(Tab().Group(i)->Caption(), Tab().Group(i)->Id());
    }
    EXPECT_EQ(groups,
              (std::vector<std::pair<QString, int>>{
                  {"&Images", 51000}, {"&Control Toolbox", 51100}, {"&Drawing Toolbox", 51100}, {"&Font", 5002}}));

    struct Line {
        int id;
        QString caption;
        int type;
        bool beginGroup;
        int width;
        int height;
        QString parameter;
        bool operator==(const Line&) const = default;
    };
    const auto linesOf = [](const CommandBarControls& controls) {
        std::vector<Line> lines;
        for (const auto& c : controls) {
            lines.push_back(
                {c->Id(), c->Caption(), c->GetType(), c->BeginGroup(), c->Width(), c->Height(), c->Parameter()});
        }
        return lines;
    };
    using T = CommandBarControl;
    EXPECT_EQ(linesOf(Tab().Group(1)->Controls()),
              (std::vector<Line>{{51101, "Zoom in", T::Button, false, 0, 0, ""},
                                 {51102, "Zoom out", T::Button, false, 0, 0, ""},
                                 {51103, "Original Size", T::Button, false, 0, 0, ""},
                                 {51108, "Clear", T::Button, false, 0, 0, ""}}));
    EXPECT_EQ(linesOf(Tab().Group(2)->Controls()),
              (std::vector<Line>{{51200, "Lines", T::SplitButtonPopup, false, 0, 0, ""},
                                 {51203, "Text", T::Button, false, 0, 0, ""},
                                 {51206, "Flood", T::Button, false, 0, 0, ""},
                                 {51201, "Rectangles", T::Button, true, 100, 32, ""},
                                 {51204, "Filled Rectangles", T::Button, false, 100, 32, ""},
                                 {51202, "Ellipses", T::Button, true, 100, 32, ""},
                                 {51205, "Filled Ellipses", T::Button, false, 100, 32, ""}}));
    EXPECT_EQ(Find(51201)->IconId(), 6012);
    std::vector<Line> widths = {{51300, "Line width", T::Label, false, 0, 0, ""}};
    for (const char* w : {"1", "3", "5", "7", "9", "15", "20", "25", "30", "35", "40"}) {
        widths.push_back({51300, w, T::Button, false, 0, 0, w});
    }
    widths.push_back({51300, "Other: ", T::Edit, false, 0, 0, ""});
    EXPECT_EQ(linesOf(Find(ToolLines)->GetCommandBar()->Controls()), widths);

    CommandBarControl* file = Find(ImageFilePopup);
    EXPECT_EQ(file->Caption(), QStringLiteral("   Image File   "));
    EXPECT_EQ(linesOf(file->GetCommandBar()->Controls()),
              (std::vector<Line>{{51003, "&Open...", T::Button, true, 0, 0, ""},
                                 {51005, "Save &As", T::Button, true, 0, 0, ""}}));
    EXPECT_EQ(Find(OpenPicture)->IconId(), 4009);
    EXPECT_EQ(Find(SavePictureAs)->IconId(), 4010);

    auto* gallery = static_cast<CommandBarGallery*>(Tab().Group(0)->Controls().Item(1));
    EXPECT_EQ(gallery->Id(), PicturesGallery);
    EXPECT_EQ(gallery->Caption(), QStringLiteral("My Pictures"));
    EXPECT_EQ(gallery->Width(), 235);
    ASSERT_NE(gallery->GetCommandBar(), nullptr);
    EXPECT_EQ(gallery->GetCommandBar()->Name(), QStringLiteral("MyPictures"));
    EXPECT_EQ(gallery->GetCommandBar()->GetPosition(), CommandBar::Popup);
    auto* pictures = static_cast<CommandBarGallery*>(gallery->GetCommandBar()->Controls().Item(0));
    EXPECT_EQ(pictures->Caption(), QStringLiteral("Pictures"));
    EXPECT_EQ(std::make_pair(pictures->Width(), pictures->Height()), std::make_pair(307, 190));
    EXPECT_EQ(pictures->Items(), gallery->Items());
    EXPECT_EQ(std::make_pair(gallery->Items()->ItemWidth(), gallery->Items()->ItemHeight()), std::make_pair(72, 56));
    ASSERT_GE(gallery->Items()->Count(), 1);
    EXPECT_TRUE(gallery->Items()->Item(0)->IsLabel());
    EXPECT_EQ(gallery->Items()->Item(0)->Caption(), QStringLiteral("My Pictures"));

    // The font group: two combos with galleries in their drop-downs and the four styles.
    const CommandBarControls& font = Tab().Group(3)->Controls();
    ASSERT_EQ(font.Count(), 6);
    struct Combo {
        int id, width;
        const char* text;
        int galleryWidth, galleryHeight, itemHeight;
    };
    for (const Combo& c : {Combo{7618, 130, "Tahoma", 290, 508, 20}, Combo{7619, 50, "22", 42, 272, 17}}) {
        auto* combo = static_cast<CommandBarComboBox*>(Find(c.id));
        ASSERT_EQ(combo->GetType(), CommandBarControl::ComboBox);
        EXPECT_EQ(combo->Width(), c.width);
        EXPECT_EQ(combo->Text(), QString::fromLatin1(c.text));
        ASSERT_NE(combo->GetCommandBar(), nullptr);
        EXPECT_EQ(combo->GetCommandBar()->Name(), QStringLiteral("Combo Popup"));
        EXPECT_EQ(combo->GetCommandBar()->GetPosition(), CommandBar::ComboPopup);
        auto* list = static_cast<CommandBarGallery*>(combo->GetCommandBar()->Controls().Item(0));
        EXPECT_EQ(list->Id(), c.id);
        EXPECT_EQ(std::make_pair(list->Width(), list->Height()), std::make_pair(c.galleryWidth, c.galleryHeight));
        EXPECT_EQ(list->Items()->ItemHeight(), c.itemHeight);
    }
    EXPECT_EQ(linesOf(font).back(), (Line{7620, "&Strikethrough", T::Button, false, 0, 0, ""}));
    EXPECT_TRUE(font.Item(2)->BeginGroup()) << "&Bold starts a group";
    EXPECT_EQ(font.Item(2)->Caption(), QStringLiteral("&Bold"));

    const CommandBarGalleryItems* sizes =
        static_cast<CommandBarGallery*>(Find(FontSize)->GetCommandBar()->Controls().Item(0))->Items();
    std::vector<int> sizeIds;
    for (int i = 0; i < sizes->Count(); ++i) {
        EXPECT_EQ(sizes->Item(i)->Caption(), QString::number(sizes->Item(i)->Id()));
        sizeIds.push_back(sizes->Item(i)->Id());
    }
    EXPECT_EQ(sizeIds, (std::vector<int>{8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72}));

    const CommandBarGalleryItems* fonts =
        static_cast<CommandBarGallery*>(Find(FontName)->GetCommandBar()->Controls().Item(0))->Items();
    const QStringList families = QFontDatabase::families();
    ASSERT_GT(fonts->Count(), 0);
    for (int i = 0; i < fonts->Count(); ++i) {
        const CommandBarGalleryItem* item = fonts->Item(i);
        EXPECT_EQ(families.value(item->Id()), item->Caption()) << "the key is the screen font's index";
        if (i > 0) {
            EXPECT_LE(fonts->Item(i - 1)->Caption().compare(item->Caption(), Qt::CaseSensitive), 0) << "binary order";
        }
    }

    const std::shared_ptr<FontInfo> stageFont = StageHelper::CurrentFont();
    EXPECT_EQ(stageFont, StageHelper::CurrentFont()) << "the same object";
    EXPECT_EQ(stageFont->name, QStringLiteral("Tahoma"));
    EXPECT_EQ(stageFont->size, 22.0);
    EXPECT_FALSE(stageFont->bold || stageFont->italic || stageFont->underline || stageFont->strikethrough);
}

TEST(StageHelperRules, PictureFilesAndThumbnailSizes) {
    for (const char* name : {"a.gif", "b.PNG", "c.bmp", "d.jpg", "e.tga", "f.pcx", "g.Tif", "h.dxf", "i.wmf", "j.img",
                             "k.wpg", "l.pcd", "png"}) {
        EXPECT_TRUE(StageHelper::IsPictureFile(QString::fromLatin1(name))) << name;
    }
    for (const char* name : {"a.jpeg", "b.tiff", "c.txt", "d", ""}) {
        EXPECT_FALSE(StageHelper::IsPictureFile(QString::fromLatin1(name))) << name;
    }
    const std::vector<std::pair<QSize, QSize>> sizes = {
        {{40, 30}, {40, 30}},   {{100, 30}, {50, 30}}, {{30, 100}, {30, 50}}, {{50, 50}, {50, 50}},
        {{800, 600}, {50, 50}}, {{50, 30}, {50, 50}},  {{1, 1}, {1, 1}},      {{49, 50}, {50, 50}}};
    for (const auto& [picture, thumb] : sizes) {
        EXPECT_EQ(StageHelper::ThumbnailSize(picture), thumb) << picture.width() << " x " << picture.height();
    }
}

TEST_F(StageHelperTest, TheGalleryListsPictureFilesAndMakesTheirThumbnailsLater) {
    const QString folder = Path(QStringLiteral("pictures"));
    QDir().mkpath(folder + QStringLiteral("/sub.png"));
    const auto put = [&](const char* name, const QImage& image, const char* format) {
        EXPECT_TRUE(image.save(folder + QLatin1Char('/') + QLatin1String(name), format));
    };
    put("small.png", Filled(40, 30, Qt::red), "png");
    put("wide.png", Filled(100, 30, Qt::red), "png");
    put("square.bmp", Filled(50, 50, Qt::red), "bmp");
    put("long.jpeg", Filled(10, 10, Qt::red), "jpeg");
    put("upper.PNG", Filled(60, 60, Qt::red), "png");
    QFile garbage(folder + QStringLiteral("/broken.gif"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a gif");
    garbage.close();
    ASSERT_EQ(mkfifo((folder + QStringLiteral("/pipe.png")).toLocal8Bit().constData(), 0600), 0);
    put("big.bmp", Filled(600, 600, Qt::red), "bmp");
    ASSERT_GE(QFileInfo(folder + QStringLiteral("/big.bmp")).size(), 1'000'000);

    CommandBarGalleryItems* items = bars->CreateGalleryItems(PicturesGallery);
    const int32_t first = StageHelper::GalleryCounter();
    StageHelper::FillPictureGallery(folder, *items, *bars);

    std::vector<QString> expected;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::System, QDir::Unsorted)) {
        if (StageHelper::IsPictureFile(name)) {
            expected.push_back(name);
        }
    }
    ASSERT_EQ(expected.size(), 7u) << "not the folder, not the four-letter extension";
    ASSERT_EQ(items->Count(), 7);
    std::map<QString, int> idOf;
    for (int i = 0; i < items->Count(); ++i) {
        const CommandBarGalleryItem* item = items->Item(i);
        EXPECT_EQ(item->Id(), first + i) << "directory order, ids from the counter";
        EXPECT_EQ(item->Caption(), expected[i].left(expected[i].size() - 4));
        EXPECT_EQ(item->Data(), folder + QLatin1Char('/') + expected[i]);
        idOf[expected[i]] = item->Id();
    }
    EXPECT_EQ(StageHelper::GalleryCounter(), first + 7);
    EXPECT_EQ(items->Icons().Count(), 0) << "thumbnails come from the event loop";

    WaitFor([&] { return items->Icons().Count() >= 4; });
    const auto iconSize = [&](const char* name) { return items->Icons().Icon(idOf.at(QLatin1String(name))).size(); };
    EXPECT_EQ(iconSize("small.png"), QSize(40, 30));
    EXPECT_EQ(iconSize("wide.png"), QSize(50, 30));
    EXPECT_EQ(iconSize("square.bmp"), QSize(50, 50));
    EXPECT_EQ(iconSize("upper.PNG"), QSize(50, 50));
    for (const char* none : {"broken.gif", "pipe.png", "big.bmp"}) {
        EXPECT_FALSE(items->Icons().Exists(idOf.at(QLatin1String(none)))) << none;
    }
}

TEST_F(StageHelperTest, TheBuiltGalleryShowsMyPictures) {
    const QString folder = SpecialFolders::MyPicturesFolder();
    ASSERT_FALSE(folder.isEmpty());
    QDir().mkpath(folder);
    ASSERT_TRUE(Filled(20, 20, Qt::blue).save(folder + QStringLiteral("/holiday.png")));
    Build();
    QFile::remove(folder + QStringLiteral("/holiday.png"));
    const CommandBarGalleryItems* items = static_cast<CommandBarGallery*>(Find(PicturesGallery))->Items();
    ASSERT_EQ(items->Count(), 2);
    EXPECT_EQ(items->Item(1)->Caption(), QStringLiteral("holiday"));
}

struct TextCase {
    const char* typed;
    const char* shown;  // the text afterwards
    double value;       // the width or size afterwards
};
std::ostream& operator<<(std::ostream& os, const TextCase& c) { return os << '"' << c.typed << '"'; }

class StageHelperOtherWidth : public StageHelperTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(StageHelperOtherWidth, FollowsTheWidthRules) {
    Build();
    stage->SetLineThickness(5);
    auto* other = static_cast<CommandBarEdit*>(Find(ToolLines)->GetCommandBar()->Controls().Item(12));
    ASSERT_EQ(other->GetType(), CommandBarControl::Edit);
    other->SetText(QString::fromLatin1(GetParam().typed));
    Run(other);
    EXPECT_EQ(other->Text(), QString::fromLatin1(GetParam().shown));
    EXPECT_EQ(stage->LineThickness(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, StageHelperOtherWidth,
                         ::testing::Values(TextCase{"", "", 5}, TextCase{"abc", "", 5}, TextCase{"1e9", "100", 100},
                                           TextCase{"-5", "-5", -5}, TextCase{"0", "0", 0}, TextCase{"150", "100", 100},
                                           TextCase{"300", "100", 100}, TextCase{"22.5", "22.5", 22},
                                           TextCase{"7.5", "7.5", 8}, TextCase{"99.9", "99.9", 100},
                                           TextCase{"-1e9", "-1e9", 5}));

class StageHelperFontSize : public StageHelperTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(StageHelperFontSize, FollowsTheSizeRules) {
    Build();
    auto* combo = static_cast<CommandBarComboBox*>(Find(FontSize));
    combo->SetText(QString::fromLatin1(GetParam().typed));
    Run(combo);
    EXPECT_EQ(combo->Text(), QString::fromLatin1(GetParam().shown));
    EXPECT_EQ(StageHelper::CurrentFont()->size, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, StageHelperFontSize,
                         ::testing::Values(TextCase{"", "22", 22}, TextCase{"x", "22", 22}, TextCase{"1e9", "200", 200},
                                           TextCase{"-5", "-5", -5}, TextCase{"0", "0", 0}, TextCase{"150", "150", 150},
                                           TextCase{"300", "200", 200}, TextCase{"22.5", "22.5", 22.5}));

TEST_F(StageHelperTest, WidthButtonsStopAtOneHundred) {
    Build();
    CommandBarControl* forty = Find(ToolLines)->GetCommandBar()->Controls().Item(11);
    Run(forty);
    EXPECT_EQ(stage->LineThickness(), 40);
    forty->SetParameter(QStringLiteral("150"));
    Run(forty);
    EXPECT_EQ(stage->LineThickness(), 100);
    EXPECT_EQ(forty->Parameter(), QStringLiteral("100"));
}

TEST_F(StageHelperTest, ToolsFillAndTheFontGroup) {
    Build();
    struct Step {
        int id;
        int32_t tool;
        bool fill;
        bool fontShown;
    };
    // Each step follows the one before: the text tool and the others without a fill keep the previous fill.
    for (const Step& s :
         {Step{ToolFilledEllipses, DrawingObject::Ellipse, true, false},
          Step{ToolRectangles, DrawingObject::Rectangle, false, false},
          Step{ToolFilledRectangles, DrawingObject::Rectangle, true, false},
          Step{ToolText, DrawingObject::Text, true, true}, Step{ToolLines, DrawingObject::Lines, true, false},
          Step{ToolEllipses, DrawingObject::Ellipse, false, false},
          Step{ToolFlood, DrawingObject::Flood, false, false}}) {
        Run(Find(s.id));
        EXPECT_EQ(stage->GetObj(), s.tool) << s.id;
        EXPECT_EQ(stage->Fill(), s.fill) << s.id;
        EXPECT_EQ(Tab().Group(3)->Visible(), s.fontShown) << s.id;
        for (int other :
             {ToolLines, ToolText, ToolFlood, ToolRectangles, ToolFilledRectangles, ToolEllipses, ToolFilledEllipses}) {
            StageHelper::UpdateStageControl(Find(other), *stage, selected);
            EXPECT_EQ(Find(other)->Checked(), other == s.id) << "after " << s.id << ", " << other;
        }
    }
}

TEST_F(StageHelperTest, StageCommandsAndUpdateStates) {
    Build();
    Run(Find(ZoomIn));
    EXPECT_EQ(Image().Zoom(), 125);
    Run(Find(ZoomOut));
    Run(Find(OriginalSize));
    EXPECT_EQ(Image().Zoom(), 100);
    Run(Command(ToBlackAndWhite));
    EXPECT_TRUE(stage->PictureIsDirty());
    Run(Find(ClearStage));
    EXPECT_FALSE(stage->PictureIsDirty());
    Run(Command(12345));
    Run(nullptr);

    CommandBarControl* fifteen = Find(ToolLines)->GetCommandBar()->Controls().Item(6);
    stage->SetLineThickness(15);
    StageHelper::UpdateStageControl(fifteen, *stage, selected);
    EXPECT_TRUE(fifteen->Checked());
    stage->SetLineThickness(16);
    StageHelper::UpdateStageControl(fifteen, *stage, selected);
    EXPECT_FALSE(fifteen->Checked());

    for (int id : {FontBold, FontItalic, FontUnderline, FontStrikethrough}) {
        Run(Find(id));
        StageHelper::UpdateStageControl(Find(id), *stage, selected);
        EXPECT_TRUE(Find(id)->Checked()) << id;
        Run(Find(id));
        StageHelper::UpdateStageControl(Find(id), *stage, selected);
        EXPECT_FALSE(Find(id)->Checked()) << id;
    }
    auto* name = static_cast<CommandBarComboBox*>(Find(FontName));
    name->SetText(QStringLiteral("No Such Font"));
    Run(name);
    EXPECT_EQ(StageHelper::CurrentFont()->name, QStringLiteral("No Such Font")) << "whatever it is";
}

TEST_F(StageHelperTest, ChoosingAPictureOpensItAndMarksIt) {
    const QString folder = Path(QStringLiteral("mine"));
    QDir().mkpath(folder);
    ASSERT_TRUE(Filled(30, 20, Qt::green).save(folder + QStringLiteral("/good.png")));
    QFile bad(folder + QStringLiteral("/bad.png"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(40, 'x'));
    bad.close();
    Build();
    auto* gallery = static_cast<CommandBarGallery*>(Find(PicturesGallery));
    CommandBarGalleryItems* items = gallery->Items();
    StageHelper::FillPictureGallery(folder, *items, *bars);
    const CommandBarGalleryItem* good = nullptr;
    const CommandBarGalleryItem* broken = nullptr;
    for (int i = 0; i < items->Count(); ++i) {
        (items->Item(i)->Caption() == QStringLiteral("good") ? good : broken) = items->Item(i);
    }
    ASSERT_TRUE(good && broken);

    gallery->SetSelectedItem(const_cast<CommandBarGalleryItem*>(good));
    Run(gallery);
    EXPECT_EQ(selected, good->Id());
    EXPECT_EQ(Picture().size(), QSize(30, 20));
    StageHelper::UpdateStageControl(gallery, *stage, selected);
    EXPECT_EQ(gallery->CheckedItem(), good->Id());

    ScriptedMessageBox boxes;
    gallery->SetSelectedItem(const_cast<CommandBarGalleryItem*>(broken));
    Run(gallery);
    EXPECT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(selected, good->Id()) << "a picture that does not open is not marked";
}

// Last in this file: it uses up the gallery's ids for the rest of the program.
TEST_F(StageHelperTest, AtMost501PicturesOverTheProgramsLife) {
    const QString folder = Path(QStringLiteral("many"));
    QDir().mkpath(folder);
    for (int i = 0; i < 600; ++i) {
        QFile(folder + QStringLiteral("/p%1.png").arg(i)).open(QIODevice::WriteOnly);
    }
    CommandBarGalleryItems* items = bars->CreateGalleryItems(PicturesGallery);
    const int32_t first = StageHelper::GalleryCounter();
    ASSERT_LE(first, 500);
    StageHelper::FillPictureGallery(folder, *items, *bars);
    EXPECT_EQ(items->Count(), 501 - first);
    EXPECT_EQ(items->Item(items->Count() - 1)->Id(), 500);
    StageHelper::FillPictureGallery(folder, *items, *bars);
    EXPECT_EQ(items->Count(), 501 - first) << "ids are never reused";
}

}  // namespace
