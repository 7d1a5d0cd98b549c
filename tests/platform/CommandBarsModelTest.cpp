#include "platform/CommandBarComboBox.h"
#include "platform/CommandBarCustom.h"
#include "platform/CommandBarEdit.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBarGalleryItems.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "platform/RibbonBar.h"
#include "platform/RuntimeError.h"
#include "platform/StatusBar.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using Type = CommandBarControl::Type;

std::vector<int> Ids(const CommandBarControls& controls) {
    std::vector<int> ids;
    for (const auto& c : controls) ids.push_back(c->Id());
    return ids;
}

TEST(CommandBarControls, AddPlacesByOneBasedPositionAndAppendsOtherwise) {
    CommandBars bars(nullptr);
    CommandBar* bar = bars.Add("Popup", CommandBar::Popup);
    auto& controls = bar->Controls();
    controls.Add(Type::Button, 1, "a");
    controls.Add(Type::Button, 2, "b");
    controls.Add(Type::Button, 3, "c", 1);   // before the first
    controls.Add(Type::Button, 4, "d", 3);   // before the third
    controls.Add(Type::Button, 5, "e", 99);  // past the end
    controls.Add(Type::Button, 6, "f", 0);
    EXPECT_EQ(Ids(controls), (std::vector<int>{3, 1, 4, 2, 5, 6}));
    EXPECT_EQ(controls.Item(0)->Parent(), bar);
    EXPECT_EQ(controls.Item(6), nullptr);
    EXPECT_FALSE(controls.Item(0)->Temporary());
    EXPECT_TRUE(controls.Add(Type::Button, 7, "g", -1, true)->Temporary());
}

struct KindCase {
    const char* name;
    Type type;
    bool (*isKind)(CommandBarControl*);
    bool popup;
};
std::ostream& operator<<(std::ostream& os, const KindCase& c) { return os << c.name; }

class ControlKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(ControlKinds, AddMakesTheKindOfTheType) {
    CommandBars bars(nullptr);
    CommandBarControl* control = bars.Add("Popup", CommandBar::Popup)->Controls().Add(GetParam().type, 10, "x");
    EXPECT_EQ(control->GetType(), GetParam().type);
    EXPECT_TRUE(GetParam().isKind(control));
    EXPECT_EQ(control->IsPopup(), GetParam().popup);
    // Only the popup kinds come with a bar of their own.
    EXPECT_EQ(control->GetCommandBar() != nullptr, GetParam().popup);
    EXPECT_EQ(control->IconId(), 10);
}

INSTANTIATE_TEST_SUITE_P(
    Types, ControlKinds,
    ::testing::Values(
        KindCase{"Button", Type::Button, [](CommandBarControl*) { return true; }, false},
        KindCase{"Popup", Type::Popup, [](CommandBarControl*) { return true; }, true},
        KindCase{"ButtonPopup", Type::ButtonPopup, [](CommandBarControl*) { return true; }, true},
        KindCase{"SplitButtonPopup", Type::SplitButtonPopup, [](CommandBarControl*) { return true; }, true},
        KindCase{"Label", Type::Label, [](CommandBarControl*) { return true; }, false},
        KindCase{"ComboBox", Type::ComboBox,
                 [](CommandBarControl* c) { return dynamic_cast<CommandBarComboBox*>(c) != nullptr; }, false},
        KindCase{"Edit", Type::Edit, [](CommandBarControl* c) { return dynamic_cast<CommandBarEdit*>(c) != nullptr; },
                 false},
        KindCase{"Gallery", Type::Gallery,
                 [](CommandBarControl* c) { return dynamic_cast<CommandBarGallery*>(c) != nullptr; }, false},
        KindCase{"Custom", Type::Custom,
                 [](CommandBarControl* c) { return dynamic_cast<CommandBarCustom*>(c) != nullptr; }, false}),
    [](const auto& info) { return std::string(info.param.name); });

// A ribbon where 4008 stands in the system menu, in a group's popup and on the quick-access bar, and 7 in a
// popup bar of its own.
struct SearchFixture {
    CommandBars bars{nullptr};
    RibbonBar* ribbon = bars.AddRibbonBar("The Ribbon");
    CommandBarControl* inSystemMenu;
    CommandBarControl* inGroupPopup;
    CommandBarControl* inQuickAccess;
    CommandBarControl* inPopupBar;
    CommandBarControl* deep;

    SearchFixture() {
        ribbon->AddSystemButton()->GetCommandBar()->Controls().Add(Type::Button, 4009, "&Open...");
        RibbonGroup* group = ribbon->InsertTab(0, "Selection")->AddGroup("&Create Colors", 15001);
        CommandBarControl* popup = group->Controls().Add(Type::ButtonPopup, 15402, "&Type");
        inGroupPopup = popup->GetCommandBar()->Controls().Add(Type::Button, 4008, "in popup");
        CommandBarControl* nested = popup->GetCommandBar()->Controls().Add(Type::Popup, 40000, "nested");
        deep = nested->GetCommandBar()->Controls().Add(Type::Button, 40001, "deep");
        group->Controls().Add(Type::Button, 15003, "after popup");
        inSystemMenu = ribbon->SystemButton()->GetCommandBar()->Controls().Add(Type::Button, 4008, "&New");
        inQuickAccess = ribbon->QuickAccessControls().Add(Type::Button, 4008, "&New");
        inPopupBar = bars.Add("Popup", CommandBar::Popup)->Controls().Add(Type::Button, 7, "popup");
    }
};

TEST(FindControl, SearchesDepthFirstAndReturnsTheFirstFound) {
    SearchFixture f;
    EXPECT_EQ(f.ribbon->FindControl(4008), f.inSystemMenu);
    EXPECT_EQ(f.ribbon->FindControl(40001), f.deep);
    EXPECT_EQ(f.bars.FindControl(4008), f.inSystemMenu);
    // The added bars are searched after the ribbon.
    EXPECT_EQ(f.bars.FindControl(7), f.inPopupBar);
    EXPECT_EQ(f.ribbon->FindControl(7), nullptr);
    EXPECT_EQ(f.bars.FindControl(12345), nullptr);
    // Without the system menu's copy the group's popup comes next, before the quick-access bar.
    f.ribbon->SystemButton()->GetCommandBar()->Controls().Remove(f.inSystemMenu);
    EXPECT_EQ(f.ribbon->FindControl(4008), f.inGroupPopup);
    f.inGroupPopup->Parent()->Controls().Remove(f.inGroupPopup);
    EXPECT_EQ(f.ribbon->FindControl(4008), f.inQuickAccess);
}

TEST(RibbonTabs, InsertAtIndexKeepsTheFirstTabSelected) {
    CommandBars bars(nullptr);
    RibbonBar* ribbon = bars.AddRibbonBar("The Ribbon");
    EXPECT_EQ(bars.ActiveMenuBar(), ribbon);
    EXPECT_EQ(ribbon->SelectedTab(), nullptr);
    RibbonTab* selection = ribbon->InsertTab(0, "Selection");
    RibbonTab* pie = ribbon->InsertTab(2, "Color Pie");  // past the end: appended
    RibbonTab* staging = ribbon->InsertTab(1, "Staging");
    selection->SetId(15000);
    staging->SetId(50000);
    pie->SetId(15007);
    EXPECT_EQ(ribbon->TabCount(), 3);
    EXPECT_EQ(ribbon->Tab(1), staging);
    EXPECT_EQ(pie->Index(), 2);
    EXPECT_EQ(ribbon->FindTab(50000), staging);
    EXPECT_TRUE(selection->Selected());
    staging->Select();
    EXPECT_EQ(ribbon->SelectedTab(), staging);
    EXPECT_EQ(ribbon->Tab(3), nullptr);
}

TEST(ComboBox, ListPositionsCountFromOneAndTextFollowsTheChoice) {
    CommandBars bars(nullptr);
    auto* combo = static_cast<CommandBarComboBox*>(
        bars.Add("Popup", CommandBar::Popup)->Controls().Add(Type::ComboBox, 15006, ""));
    for (int n = 1; n <= 8; ++n) combo->AddItem(QString("%1 Proofer%2").arg(n).arg(n == 1 ? "" : "s"));
    EXPECT_EQ(combo->ListIndex(), 0);
    combo->SetListIndex(3);
    EXPECT_EQ(combo->Text(), "3 Proofers");
    EXPECT_EQ(combo->List(1), "1 Proofer");
    EXPECT_EQ(combo->List(9), "");
    combo->SetListIndex(9);  // outside: no entry chosen, the text stays
    EXPECT_EQ(combo->ListIndex(), 0);
    EXPECT_EQ(combo->Text(), "3 Proofers");
    combo->SetText("5 Proofers");
    EXPECT_EQ(combo->ListIndex(), 5);
    combo->SetText("typed");
    EXPECT_EQ(combo->ListIndex(), 0);
}

TEST(Gallery, ExecutesUnderTheIdOfItsItemSetAndSharesIt) {
    CommandBars bars(nullptr);
    RibbonBar* ribbon = bars.AddRibbonBar("The Ribbon");
    RibbonGroup* group = ribbon->InsertTab(0, "Selection")->AddGroup("&Color Schemes", 15300);
    CommandBarGalleryItems* items = bars.CreateGalleryItems(15302);
    items->SetItemSize(72, 56);
    items->AddLabel("Schemes");
    for (int n = 1; n <= 3; ++n) items->AddItem(n, QString::number(n));
    auto* inRibbon = static_cast<CommandBarGallery*>(group->Controls().Add(Type::Gallery, 15301, "History Groups"));
    CommandBar* dropDown = bars.Add("Textures", CommandBar::Popup);
    auto* inPopup = static_cast<CommandBarGallery*>(dropDown->Controls().Add(Type::Gallery, 15301, "Schemes"));
    inRibbon->SetItems(items);
    inPopup->SetItems(items);
    inRibbon->SetCommandBar(dropDown);
    EXPECT_EQ(inRibbon->Id(), 15302);
    EXPECT_EQ(bars.FindControl(15302), inRibbon);
    EXPECT_EQ(inPopup->Items(), inRibbon->Items());
    EXPECT_EQ(items->Count(), 4);
    EXPECT_TRUE(items->Item(0)->IsLabel());
    EXPECT_EQ(items->FindItem(2), items->Item(2));
    EXPECT_EQ(items->FindItem(0), nullptr);  // the label carries no id
    EXPECT_EQ(inRibbon->SelectedItem(), nullptr);
    EXPECT_EQ(inRibbon->CheckedItem(), -1);
    EXPECT_EQ(items->Item(1)->IconId(), 1);
}

TEST(StatusBarPanes, KeepTheirTextByIdAndIgnoreMissingPanes) {
    CommandBars bars(nullptr);
    StatusBar& status = bars.GetStatusBar();
    status.AddPane(0);
    status.AddPane(59137);
    status.AddPane(59138);
    status.SetPaneText(0, " Ready");
    status.SetPaneText(4711, "lost");
    EXPECT_EQ(status.PaneCount(), 3);
    EXPECT_EQ(status.PaneId(1), 59137);
    EXPECT_EQ(status.PaneText(0), " Ready");
    EXPECT_EQ(status.PaneText(4711), "");
    EXPECT_FALSE(status.HasPane(4711));
}

// Icons ------------------------------------------------------------------------------------------------------

class IconList : public ::testing::Test {
protected:
    QString Write(const QString& name, const QImage& image) {
        const QString path = TestEnvironment::Home() + "/" + name;
        EXPECT_TRUE(image.save(path));
        return path;
    }
    // A strip of square cells, each filled with its own colour.
    static QImage Strip(int side, const std::vector<QColor>& colors, QImage::Format format) {
        QImage image(side * static_cast<int>(colors.size()), side, format);
        for (size_t i = 0; i < colors.size(); ++i)
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x) image.setPixelColor(static_cast<int>(i) * side + x, y, colors[i]);
        return image;
    }
    CommandBarImageManager icons;
};

TEST_F(IconList, AStripIsCutIntoSquaresLeftToRight) {
    const QString path = Write("bin001.bmp", Strip(16, {Qt::red, Qt::green, Qt::blue}, QImage::Format_RGB888));
    icons.LoadBitmap(path, {5001, 5002, 5000, 5003});
    ASSERT_EQ(icons.Count(), 3);  // the fourth id lies past the strip's end
    EXPECT_EQ(icons.Icon(5001).size(), QSize(16, 16));
    EXPECT_EQ(icons.Icon(5001).toImage().pixelColor(8, 8), QColor(Qt::red));
    EXPECT_EQ(icons.Icon(5002).toImage().pixelColor(0, 15), QColor(Qt::green));
    EXPECT_EQ(icons.Icon(5000).toImage().pixelColor(15, 0), QColor(Qt::blue));
    EXPECT_FALSE(icons.Exists(5003));
    EXPECT_TRUE(icons.Icon(5003).isNull());
}

TEST_F(IconList, OneIdTakesTheWholePictureAndMagentaIsTransparentWithoutAlpha) {
    QImage picture = Strip(32, {Qt::yellow, Qt::magenta}, QImage::Format_RGB888);
    icons.LoadBitmap(Write("bin015.png", picture), {1200});
    const QImage icon = icons.Icon(1200).toImage();
    EXPECT_EQ(icon.size(), QSize(64, 32));
    EXPECT_EQ(icon.pixelColor(5, 5), QColor(Qt::yellow));
    EXPECT_EQ(icon.pixelColor(40, 5).alpha(), 0);
    // A picture with its own alpha keeps its magenta.
    icons.LoadBitmap(Write("alpha.png", Strip(8, {Qt::magenta}, QImage::Format_ARGB32)), {7});
    EXPECT_EQ(icons.Icon(7).toImage().pixelColor(2, 2), QColor(Qt::magenta));
}

TEST_F(IconList, MissingAndUnreadableFilesRaise) {
    try {
        icons.LoadBitmap(TestEnvironment::Home() + "/none.png", {1});
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), RuntimeError::FileNotFound);
    }
    QFile text(TestEnvironment::Home() + "/text.png");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    try {
        icons.LoadBitmap(text.fileName(), {1});
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), CommandBarImageManager::InvalidPicture);
    }
    EXPECT_EQ(icons.Count(), 0);
}

}  // namespace
