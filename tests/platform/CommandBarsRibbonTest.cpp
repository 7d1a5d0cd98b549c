#include "platform/CommandBarButtonWidget.h"
#include "platform/CommandBarComboBox.h"
#include "platform/CommandBarCustom.h"
#include "platform/CommandBarEdit.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBarGalleryItems.h"
#include "platform/CommandBarGalleryWidget.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"
#include "platform/KeyBindings.h"
#include "platform/RibbonBar.h"
#include "platform/RibbonGroupPopup.h"
#include "platform/RibbonGroupSizing.h"
#include "platform/StatusBar.h"
#include "support/CommandBarsSliderBox.h"
#include "support/RibbonUser.h"
#include "support/ScriptedPopup.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QTabBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>

namespace {

using Type = CommandBarControl::Type;

QPixmap TestIcon(int side, QColor color, const QString& letter) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(color);
    painter.setPen(color.darker(130));
    painter.drawRoundedRect(QRectF(1, 1, side - 2, side - 2), side / 6.0, side / 6.0);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(side * 2 / 3);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, letter);
    return pixmap;
}

// A main window with the shapes of the "Selection" and "Staging" tabs.
class RibbonWindow : public QWidget {
public:
    RibbonWindow() : bars(this) {
        resize(1000, 500);
        limits = new CommandBarsSliderBox(this);
        Icons();
        ribbon = bars.AddRibbonBar("The Ribbon");
        CommandBarControls& system = ribbon->AddSystemButton()->GetCommandBar()->Controls();
        ribbon->SystemButton()->SetIconId(1200);
        system.Add(Type::Button, 4008, "&New");
        system.Add(Type::Button, 4009, "&Open...");
        system.Add(Type::Button, 4010, "&Save");
        system.Add(Type::Button, 57604, "Save &As...");
        system.Add(Type::Button, 4011, "&Print")->SetBeginGroup(true);
        system.Add(Type::Button, 57665, "E&xit")->SetBeginGroup(true);
        BuildSelection();
        BuildStaging();
        CommandBarControls& quick = ribbon->QuickAccessControls();
        quick.Add(Type::Button, 4008, "&New");
        quick.Add(Type::Button, 4009, "&Open");
        quick.Add(Type::Button, 4010, "&Save");
        quick.Add(Type::Button, 4011, "&Print");
        quick.Add(Type::Button, 4000, "&Help");
        KeyBindings& keys = bars.GetKeyBindings();
        keys.Add(KeyBindings::Control, 'N', 4008);
        keys.Add(KeyBindings::Control, 'O', 4009);
        keys.Add(KeyBindings::Control, 'S', 4010);
        keys.Add(KeyBindings::Control, 'P', 4011);
        StatusBar& status = bars.GetStatusBar();
        status.SetVisible(true);
        status.AddPane(0);
        status.AddPane(59137);
        status.AddPane(59138);
        status.SetPaneText(0, " Ready");
        QObject::connect(&bars, &CommandBars::Execute, [this](CommandBarControl* c) {
            executed.push_back(c->Id());
            executedControls.push_back(c);
        });
        QObject::connect(&bars, &CommandBars::Update, [this](CommandBarControl* c) { updated.push_back(c->Id()); });
        bars.RecalcLayout();
    }

    void Icons() {
        CommandBarImageManager& icons = bars.Icons();
        const std::pair<int, QColor> large[] = {
            {15003, QColor(46, 125, 50)},  {15005, QColor(21, 101, 192)}, {15402, QColor(230, 81, 0)},
            {51002, QColor(106, 27, 154)}, {51101, QColor(0, 131, 143)},  {51102, QColor(0, 131, 143)},
            {51103, QColor(84, 110, 122)}, {51108, QColor(198, 40, 40)},  {51200, QColor(55, 71, 79)},
            {51203, QColor(55, 71, 79)},   {51206, QColor(2, 119, 189)}};
        for (const auto& [id, color] : large) icons.SetIcon(id, TestIcon(32, color, QString::number(id % 10)));
        icons.SetIcon(1200, TestIcon(20, QColor(255, 255, 255, 0), "T"));
        for (int id : {4008, 4009, 4010, 4011, 4000, 4003, 4001})
            icons.SetIcon(id, TestIcon(16, QColor(70, 90, 160), QString::number(id % 10)));
        icons.SetIcon(7608, TestIcon(16, QColor(60, 60, 60), "B"));
        icons.SetIcon(7610, TestIcon(16, QColor(60, 60, 60), "I"));
        icons.SetIcon(7611, TestIcon(16, QColor(60, 60, 60), "U"));
        icons.SetIcon(7620, TestIcon(16, QColor(60, 60, 60), "S"));
    }

    void BuildSelection() {
        RibbonTab* tab = ribbon->InsertTab(0, "Selection");
        tab->SetId(15000);
        RibbonGroup* create = tab->AddGroup("&Create Colors", 15001);
        create->Controls().Add(Type::Button, 15003, "Create  &New Colors");
        auto* count = static_cast<CommandBarComboBox*>(create->Controls().Add(Type::ComboBox, 15006, ""));
        count->SetWidth(80);
        count->SetBeginGroup(true);
        for (int n = 1; n <= 8; ++n) count->AddItem(QString("%1 Proofer%2").arg(n).arg(n == 1 ? "" : "s"));
        count->SetListIndex(3);
        CommandBarControl* keep = create->Controls().Add(Type::Button, 15005, " Keep &All");
        keep->SetHeight(41);
        keep->SetWidth(count->Width());

        RibbonGroup* textures = tab->AddGroup("&Textures", 15100);
        textureItems = bars.CreateGalleryItems(15101);
        textureItems->SetItemSize(72, 56);
        textureItems->AddLabel("Textures");
        const QColor swatches[] = {QColor(240, 240, 240), QColor(183, 28, 28),  QColor(27, 94, 32),
                                   QColor(13, 71, 161),   QColor(245, 127, 23), QColor(74, 20, 140)};
        for (int id = 1; id <= 6; ++id) {
            textureItems->AddItem(id, id == 1 ? "  No Texture" : QString("Texture %1").arg(id));
            if (id > 1)
                textureItems->Icons().SetIcon(id, TestIcon(32, swatches[id - 1], ""));
        }
        textureGallery = static_cast<CommandBarGallery*>(textures->Controls().Add(Type::Gallery, 15101, "Textures"));
        textureGallery->SetWidth(235);
        textureGallery->SetItems(textureItems);
        CommandBar* texturePopup = bars.Add("Textures", CommandBar::Popup);
        auto* popupGallery =
            static_cast<CommandBarGallery*>(texturePopup->Controls().Add(Type::Gallery, 15101, "Textures"));
        popupGallery->SetWidth(307);
        popupGallery->SetHeight(190);
        popupGallery->SetItems(textureItems);
        textureGallery->SetCommandBar(texturePopup);

        RibbonGroup* schemes = tab->AddGroup("&Color Schemes", 15300);
        CommandBarGalleryItems* schemeItems = bars.CreateGalleryItems(15302);
        schemeItems->SetItemSize(72, 56);
        schemeItems->AddLabel("Schemes");
        const char* names[] = {"One Scheme",   "Two Schemes",  "Three Schemes",
                               "Four Schemes", "Five Schemes", "Six Schemes"};
        for (int n = 1; n <= 6; ++n) schemeItems->AddItem(n, names[n - 1]);
        schemeGallery =
            static_cast<CommandBarGallery*>(schemes->Controls().Add(Type::Gallery, 15301, "History Groups"));
        schemeGallery->SetWidth(170);
        schemeGallery->SetItems(schemeItems);

        range = tab->AddGroup("Color &Range", 15400);
        CommandBarControl* type = range->Controls().Add(Type::ButtonPopup, 15402, "&Type");
        const char* ranges[] = {"All colors, RGB selection",
                                "All colors, HSB selection",
                                "Reds",
                                "Greens",
                                "Blues",
                                "Yellows",
                                "Magentas",
                                "Cyans",
                                "Grays",
                                "User Defined Colors"};
        for (int i = 0; i < 10; ++i) {
            CommandBarControl* item = type->GetCommandBar()->Controls().Add(Type::Button, 15410 + i, ranges[i]);
            item->SetBeginGroup(i == 2 || i == 8 || i == 9);
        }
        type->GetCommandBar()->FindControl(15419)->SetEnabled(false);
        type->GetCommandBar()->FindControl(15410)->SetChecked(true);
        auto* color = static_cast<CommandBarCustom*>(range->Controls().Add(Type::Custom, 15401, "Color"));
        color->SetHandle(limits);
    }

    void BuildStaging() {
        RibbonTab* tab = ribbon->InsertTab(1, "Staging");
        tab->SetId(50000);
        RibbonGroup* images = tab->AddGroup("&Images", 51000);
        CommandBarControl* file = images->Controls().Add(Type::ButtonPopup, 51002, "   Image File   ");
        file->GetCommandBar()->Controls().Add(Type::Button, 51003, "&Open...")->SetIconId(4009);
        file->GetCommandBar()->Controls().Add(Type::Button, 51005, "Save &As")->SetIconId(4010);
        CommandBarGalleryItems* pictures = bars.CreateGalleryItems(51001);
        pictures->SetItemSize(72, 56);
        pictures->AddLabel("My Pictures");
        auto* gallery = static_cast<CommandBarGallery*>(images->Controls().Add(Type::Gallery, 51001, "My Pictures"));
        gallery->SetWidth(235);
        gallery->SetItems(pictures);

        RibbonGroup* control = tab->AddGroup("&Control Toolbox", 51100);
        control->Controls().Add(Type::Button, 51101, "Zoom in");
        control->Controls().Add(Type::Button, 51102, "Zoom out");
        control->Controls().Add(Type::Button, 51103, "Original Size");
        control->Controls().Add(Type::Button, 51108, "Clear");

        RibbonGroup* drawing = tab->AddGroup("&Drawing Toolbox", 51100);
        CommandBarControl* lines = drawing->Controls().Add(Type::SplitButtonPopup, 51200, "Lines");
        CommandBarControls& widths = lines->GetCommandBar()->Controls();
        widths.Add(Type::Label, 51300, "Line width");
        for (const char* w : {"1", "3", "5", "7", "9", "15", "20", "25", "30", "35", "40"})
            widths.Add(Type::Button, 51300, w)->SetParameter(w);
        other = static_cast<CommandBarEdit*>(widths.Add(Type::Edit, 51300, "Other: "));
        drawing->Controls().Add(Type::Button, 51203, "Text");
        drawing->Controls().Add(Type::Button, 51206, "Flood");
        const std::pair<int, const char*> shapes[] = {
            {51201, "Rectangles"}, {51204, "Filled Rectangles"}, {51202, "Ellipses"}, {51205, "Filled Ellipses"}};
        for (const auto& [id, caption] : shapes) {
            CommandBarControl* shape = drawing->Controls().Add(Type::Button, id, caption);
            shape->SetWidth(100);
            shape->SetHeight(32);
            shape->SetBeginGroup(id == 51201 || id == 51202);
        }

        font = tab->AddGroup("&Font", 5002);
        CommandBarGalleryItems* fonts = bars.CreateGalleryItems(7618);
        fonts->SetItemSize(0, 20);
        int key = 0;
        for (const char* name : {"Arial", "Courier New", "DejaVu Sans", "Tahoma", "Times New Roman", "Verdana"})
            fonts->AddItem(key++, name);
        auto* fontName = static_cast<CommandBarComboBox*>(font->Controls().Add(Type::ComboBox, 7618, ""));
        fontName->SetWidth(130);
        fontName->SetText("Tahoma");
        CommandBar* fontPopup = bars.Add("Combo Popup", CommandBar::ComboPopup);
        auto* fontGallery = static_cast<CommandBarGallery*>(fontPopup->Controls().Add(Type::Gallery, 7618, ""));
        fontGallery->SetWidth(290);
        fontGallery->SetHeight(508);
        fontGallery->SetItems(fonts);
        fontName->SetCommandBar(fontPopup);
        auto* size = static_cast<CommandBarComboBox*>(font->Controls().Add(Type::ComboBox, 7619, ""));
        size->SetWidth(50);
        size->SetText("22");
        CommandBarGalleryItems* sizes = bars.CreateGalleryItems(7619);
        sizes->SetItemSize(0, 17);
        for (int s : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
            sizes->AddItem(s, QString::number(s));
        CommandBar* sizePopup = bars.Add("Combo Popup", CommandBar::ComboPopup);
        auto* sizeGallery = static_cast<CommandBarGallery*>(sizePopup->Controls().Add(Type::Gallery, 7619, ""));
        sizeGallery->SetWidth(42);
        sizeGallery->SetHeight(272);
        sizeGallery->SetItems(sizes);
        size->SetCommandBar(sizePopup);
        font->Controls().Add(Type::Button, 7608, "&Bold")->SetBeginGroup(true);
        font->Controls().Add(Type::Button, 7610, "&Italic");
        font->Controls().Add(Type::Button, 7611, "&Underline");
        font->Controls().Add(Type::Button, 7620, "&Strikethrough");
    }

    RibbonBarWidget* View() const { return bars.RibbonView(); }
    QWidget* Widget(int id) const { return View()->WidgetFor(id); }
    void Settle() {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
        bars.RecalcLayout();
    }

    CommandBars bars;
    RibbonBar* ribbon = nullptr;
    CommandBarsSliderBox* limits = nullptr;
    CommandBarGalleryItems* textureItems = nullptr;
    CommandBarGallery* textureGallery = nullptr;
    CommandBarGallery* schemeGallery = nullptr;
    RibbonGroup* range = nullptr;
    RibbonGroup* font = nullptr;
    CommandBarEdit* other = nullptr;
    std::vector<int> executed;
    std::vector<CommandBarControl*> executedControls;
    std::vector<int> updated;
};

TEST(RibbonDrawing, ShowsTheTabsGroupsAndControlsOfTheSelectedTab) {
    RibbonWindow w;
    w.show();
    w.Settle();
    RibbonUser::Snapshot(w.View(), "ribbon-selection");
    RibbonBarWidget* view = w.View();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->geometry(), QRect(0, 0, 1000, view->sizeHint().height()));
    ASSERT_EQ(view->TabBar()->count(), 2);
    EXPECT_EQ(view->TabBar()->tabText(1), "Staging");
    EXPECT_EQ(view->TabBar()->currentIndex(), 0);
    EXPECT_EQ(view->CaptionOf(w.range)->text(), "Color Range");

    auto* create = qobject_cast<QToolButton*>(w.Widget(15003));
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(create->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);  // a large icon makes a large button
    EXPECT_EQ(create->accessibleName(), "Create  New Colors");
    auto* keep = qobject_cast<QToolButton*>(w.Widget(15005));
    EXPECT_EQ(keep->height(), 41);
    EXPECT_EQ(keep->width(), 80);
    auto* count = qobject_cast<QComboBox*>(w.Widget(15006));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->count(), 8);
    EXPECT_EQ(count->currentText(), "3 Proofers");
    // The combo and " Keep All" share a column: one above the other.
    EXPECT_EQ(count->x(), keep->x());
    EXPECT_LT(count->y(), keep->y());
    // The hosted box sits in the ribbon while the ribbon shows its tab.
    EXPECT_TRUE(view->isAncestorOf(w.limits));
    EXPECT_TRUE(w.limits->isVisible());
    EXPECT_EQ(w.Widget(51101), nullptr);  // the "Staging" tab is not drawn

    auto* textures = qobject_cast<CommandBarGalleryWidget*>(w.Widget(15101));
    ASSERT_NE(textures, nullptr);
    EXPECT_EQ(textures->width(), 235);
    // The first row shows the first items (the label is left out inline); the picture of texture 2 is drawn.
    const QRect second = textures->ItemRect(2);
    ASSERT_FALSE(second.isEmpty());
    EXPECT_EQ(textures->grab().toImage().pixelColor(second.center()), QColor(183, 28, 28));
    EXPECT_TRUE(textures->ItemRect(6).isEmpty());  // scrolled away below

    auto* system = qobject_cast<QToolButton*>(view->SystemButtonWidget());
    ASSERT_NE(system, nullptr);
    EXPECT_LT(system->mapTo(view, QPoint(0, 0)).x(), w.Widget(4008)->mapTo(view, QPoint(0, 0)).x());
    EXPECT_LT(w.Widget(4000)->mapTo(view, QPoint(0, 0)).x(), view->TabBar()->mapTo(view, QPoint(0, 0)).x());
}

TEST(RibbonDrawing, FollowsCaptionsStatesAndVisibility) {
    RibbonWindow w;
    w.show();
    w.Settle();
    CommandBarControl* keep = w.ribbon->FindControl(15005);
    keep->SetEnabled(false);
    keep->SetChecked(true);
    w.ribbon->FindControl(15003)->SetCaption("Fresh && &New");
    w.range->SetCaption("Color Range - Reds");
    w.Settle();
    EXPECT_FALSE(w.Widget(15005)->isEnabled());
    EXPECT_TRUE(qobject_cast<QToolButton*>(w.Widget(15005))->isChecked());
    EXPECT_EQ(w.Widget(15003)->accessibleName(), "Fresh & New");
    EXPECT_EQ(w.View()->CaptionOf(w.range)->text(), "Color Range - Reds");
    // A disabled gallery greys its pictures as well as its captions.
    auto* textures = qobject_cast<CommandBarGalleryWidget*>(w.Widget(15101));
    ASSERT_NE(textures, nullptr);
    const QPoint red = textures->ItemRect(2).center();
    ASSERT_EQ(textures->grab().toImage().pixelColor(red), QColor(183, 28, 28));
    w.textureGallery->SetEnabled(false);
    w.Settle();
    const QColor greyed = textures->grab().toImage().pixelColor(red);
    EXPECT_LT(std::abs(greyed.red() - greyed.green()), 40) << greyed.name().toStdString();
    keep->SetVisible(false);
    w.font->SetVisible(false);
    w.Settle();
    EXPECT_EQ(w.Widget(15005), nullptr);
    w.ribbon->SetSelectedTab(w.ribbon->Tab(1));
    w.Settle();
    EXPECT_EQ(w.Widget(7618), nullptr);  // the hidden "&Font" group
    EXPECT_NE(w.Widget(51203), nullptr);
    // The tab's change moved the hosted box out of the ribbon, back to its owner, hidden.
    EXPECT_EQ(w.limits->parentWidget(), &w);
    EXPECT_FALSE(w.limits->isVisible());
    // A program's selection reports no tab command.
    EXPECT_TRUE(w.executed.empty());
}

TEST(RibbonDrawing, StagingTabShapes) {
    RibbonWindow w;
    w.ribbon->SetSelectedTab(w.ribbon->Tab(1));
    w.resize(1300, 500);
    w.show();
    w.Settle();
    RibbonUser::Snapshot(w.View(), "ribbon-staging");
    // Each group keeps the width its controls need.
    for (int id : {51201, 51202, 51101, 7608, 7620}) {
        QWidget* widget = w.Widget(id);
        ASSERT_NE(widget, nullptr) << id;
        EXPECT_GE(widget->width(), widget->minimumSizeHint().width()) << id;
    }
    EXPECT_LE(w.Widget(51201)->geometry().right(), w.Widget(51202)->geometry().left()) << "shapes overlap";
    auto* lines = qobject_cast<CommandBarButtonWidget*>(w.Widget(51200));
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->GetKind(), CommandBarButtonWidget::Kind::Split);
    EXPECT_EQ(qobject_cast<CommandBarButtonWidget*>(w.Widget(51002))->GetKind(), CommandBarButtonWidget::Kind::Popup);
    EXPECT_EQ(w.Widget(51201)->size(), QSize(100, 32));
    auto* fontName = qobject_cast<QComboBox*>(w.Widget(7618));
    ASSERT_NE(fontName, nullptr);
    EXPECT_TRUE(fontName->isEditable());
    EXPECT_EQ(fontName->currentText(), "Tahoma");
    EXPECT_EQ(fontName->count(), 6);  // the items of the gallery in its drop-down
    EXPECT_EQ(qobject_cast<QComboBox*>(w.Widget(7619))->count(), 16);
    // The popup's buttons show the icons of the ids they were given.
    ScriptedPopup popups({0});
    popups.SetInspector([](CommandBar&, QMenu& menu) {
        QAction* open = CommandBars::FindAction(menu, 51003);
        ASSERT_NE(open, nullptr);
        EXPECT_FALSE(open->icon().isNull());
        EXPECT_EQ(open->text(), "&Open...");
    });
    w.ribbon->FindControl(51002)->GetCommandBar()->ShowPopup(QPoint(0, 0));
    ASSERT_EQ(popups.Shown().size(), 1u);
}

TEST(RibbonExecute, RunsAControlAndThenAsksUpdateForEachVisibleControl) {
    RibbonWindow w;
    w.Settle();
    w.ribbon->FindControl(15005)->SetVisible(false);
    std::vector<int> order;
    QObject::connect(&w.bars, &CommandBars::Execute, [&](CommandBarControl* c) { order.push_back(-c->Id()); });
    QObject::connect(&w.bars, &CommandBars::Update, [&](CommandBarControl* c) {
        order.push_back(c->Id());
        if (c->Id() == 15003)
            c->SetChecked(true);  // what a handler does
    });
    EXPECT_TRUE(w.bars.ExecuteControl(w.ribbon->FindControl(15003)));
    const std::vector<int> expected = {-15003, 15003, 15006, 15101, 15302, 15402, 15401, 4008, 4009, 4010, 4011, 4000};
    EXPECT_EQ(order, expected);
    w.Settle();
    EXPECT_TRUE(qobject_cast<QToolButton*>(w.Widget(15003))->isChecked());

    // A disabled or hidden control does not run.
    order.clear();
    w.ribbon->FindControl(15003)->SetEnabled(false);
    EXPECT_FALSE(w.bars.ExecuteControl(w.ribbon->FindControl(15003)));
    EXPECT_FALSE(w.bars.ExecuteControl(w.ribbon->FindControl(15005)));
    EXPECT_FALSE(w.bars.ExecuteControl(nullptr));
    EXPECT_TRUE(order.empty());
}

TEST(RibbonUpdate, RunsOnceWhenTheRibbonFirstShowsAndWhenTheProgramChangesTheTab) {
    RibbonWindow w;
    const std::vector<int> selection = {15003, 15006, 15005, 15101, 15302, 15402, 15401, 4008, 4009, 4010, 4011, 4000};
    EXPECT_TRUE(w.updated.empty());  // from the event loop, once the ribbon is built
    w.Settle();
    EXPECT_EQ(w.updated, selection);
    w.updated.clear();
    w.Settle();
    EXPECT_TRUE(w.updated.empty());

    w.ribbon->SetSelectedTab(w.ribbon->Tab(1));
    w.ribbon->SetSelectedTab(w.ribbon->Tab(0));
    w.ribbon->SetSelectedTab(w.ribbon->Tab(1));
    w.Settle();
    ASSERT_FALSE(w.updated.empty());
    EXPECT_EQ(w.updated.front(), 51002);
    EXPECT_EQ(std::count(w.updated.begin(), w.updated.end(), 51002), 1);
    EXPECT_EQ(std::count(w.updated.begin(), w.updated.end(), 15003), 0);
    EXPECT_TRUE(w.executed.empty());

    // An Execute that changes the tab asks once, for the new tab.
    w.updated.clear();
    QObject::connect(&w.bars, &CommandBars::Execute, [&w](CommandBarControl* c) {
        if (c->Id() == 51101)
            w.ribbon->SetSelectedTab(w.ribbon->Tab(0));
    });
    w.bars.ExecuteControl(w.ribbon->FindControl(51101));
    w.Settle();
    EXPECT_EQ(w.updated, selection);
}

TEST(RibbonExecute, ClicksOnTheDrawnControlsReachExecute) {
    RibbonWindow w;
    w.show();
    w.Settle();
    qobject_cast<QAbstractButton*>(w.Widget(15003))->click();
    qobject_cast<QAbstractButton*>(w.Widget(4000))->click();  // quick-access bar
    EXPECT_TRUE(w.executed.empty());                          // run from the event loop, after the click
    w.Settle();
    EXPECT_EQ(w.executed, (std::vector<int>{15003, 4000}));

    w.executed.clear();
    auto* count = qobject_cast<QComboBox*>(w.Widget(15006));
    count->setCurrentIndex(4);
    emit count->activated(4);
    w.Settle();
    EXPECT_EQ(w.executed, (std::vector<int>{15006}));
    EXPECT_EQ(static_cast<CommandBarComboBox*>(w.ribbon->FindControl(15006))->ListIndex(), 5);

    // A scheme picked in the gallery runs the item set's command with that item selected.
    w.executed.clear();
    auto* schemes = qobject_cast<CommandBarGalleryWidget*>(w.Widget(15302));
    ASSERT_NE(schemes, nullptr);
    const QPoint at = schemes->ItemRect(2).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, schemes->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(schemes, &press);
    w.Settle();
    EXPECT_EQ(w.executed, (std::vector<int>{15302}));
    ASSERT_NE(w.schemeGallery->SelectedItem(), nullptr);
    EXPECT_EQ(w.schemeGallery->SelectedItem()->Id(), 2);

    // Choosing the other tab reports the tab command, then asks Update for the new tab's controls.
    w.executed.clear();
    w.updated.clear();
    w.View()->TabBar()->setCurrentIndex(1);
    w.Settle();
    EXPECT_EQ(w.executed, (std::vector<int>{CommandBars::TabSelectedCommand}));
    EXPECT_EQ(w.ribbon->SelectedTab()->Id(), 50000);
    ASSERT_FALSE(w.updated.empty());
    EXPECT_EQ(w.updated.front(), 51002);
    EXPECT_EQ(std::count(w.updated.begin(), w.updated.end(), 51002), 1) << "one round of Update for the new tab";
    EXPECT_NE(w.Widget(51101), nullptr);
}

TEST(RibbonExecute, EditedComboTextAndTheDropDownGalleryReachExecute) {
    RibbonWindow w;
    w.ribbon->SetSelectedTab(w.ribbon->Tab(1));
    w.show();
    w.Settle();
    auto* size = qobject_cast<QComboBox*>(w.Widget(7619));
    size->lineEdit()->setText("300");
    emit size->lineEdit()->returnPressed();
    w.Settle();
    EXPECT_EQ(w.executed, (std::vector<int>{7619}));
    EXPECT_EQ(static_cast<CommandBarComboBox*>(w.ribbon->FindControl(7619))->Text(), "300");
    // What the handler writes back shows in the box.
    static_cast<CommandBarComboBox*>(w.ribbon->FindControl(7619))->SetText("200");
    w.Settle();
    EXPECT_EQ(size->currentText(), "200");
    // Leaving the box (opening its list does) with the text the program gave it runs nothing, also when the text
    // is an entry of the list.
    static_cast<CommandBarComboBox*>(w.ribbon->FindControl(7619))->SetText("22");
    w.Settle();
    w.executed.clear();
    emit size->lineEdit()->editingFinished();
    w.Settle();
    EXPECT_TRUE(w.executed.empty());
    // Typed text that names an entry of the list runs the command once, as any typed text does.
    w.executed.clear();
    for (const char* typed : {"Verdana", "Tahoma Bold"}) {
        RibbonUser::TypeAndReturn(w.Widget(7618), typed);
        w.Settle();
        EXPECT_EQ(w.executed, (std::vector<int>{7618})) << typed;
        EXPECT_EQ(static_cast<CommandBarComboBox*>(w.ribbon->FindControl(7618))->Text(), typed);
        w.executed.clear();
    }
    // Choosing from the list still runs it.
    auto* names = qobject_cast<QComboBox*>(w.Widget(7618));
    emit names->activated(0);
    w.Settle();
    EXPECT_EQ(w.executed, (std::vector<int>{7618}));
    EXPECT_EQ(static_cast<CommandBarComboBox*>(w.ribbon->FindControl(7618))->Text(), "Arial");

    // The textures gallery's drop-down shows the whole set, labels included, and a pick there runs 15101.
    w.ribbon->SetSelectedTab(w.ribbon->Tab(0));
    w.Settle();
    w.executed.clear();
    ScriptedPopup popups;
    popups.SetInspector([](CommandBar& bar, QMenu& menu) {
        EXPECT_EQ(bar.Name(), "Textures");
        auto* gallery = menu.findChild<CommandBarGalleryWidget*>();
        ASSERT_NE(gallery, nullptr);
        EXPECT_EQ(gallery->size(), QSize(307, 190));
        const QPoint at = gallery->ItemRect(4).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, gallery->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(gallery, &press);
    });
    w.textureGallery->SetCheckedItem(3);
    auto* inline_ = qobject_cast<CommandBarGalleryWidget*>(w.Widget(15101));
    const QPoint more(inline_->width() - 8, inline_->height() - 8);
    QMouseEvent press(QEvent::MouseButtonPress, more, inline_->mapToGlobal(more), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(inline_, &press);
    w.Settle();
    ASSERT_EQ(popups.Bars().size(), 1u);
    ASSERT_EQ(w.executed, (std::vector<int>{15101}));
    auto* chosen = dynamic_cast<CommandBarGallery*>(w.executedControls.back());
    ASSERT_NE(chosen, nullptr);
    EXPECT_NE(chosen, w.textureGallery);  // the drop-down's own gallery
    ASSERT_NE(chosen->SelectedItem(), nullptr);
    EXPECT_EQ(chosen->SelectedItem()->Id(), 4);
}

using Size = RibbonGroupSizing::Size;

struct SizingCase {
    const char* name;
    std::vector<RibbonGroupSizing::Widths> groups;
    int available;
    std::vector<Size> expected;
};

void PrintTo(const SizingCase& c, std::ostream* out) { *out << c.name; }

class RibbonGroupSizes : public ::testing::TestWithParam<SizingCase> {};

// Widths at the sizes large, small, icons only and collapsed; 10 pixels more for each group. All large: 780.
constexpr RibbonGroupSizing::Widths A{300, 200, 150, 60};
constexpr RibbonGroupSizing::Widths B{200, 200, 120, 60};  // small is no narrower than large
constexpr RibbonGroupSizing::Widths C{250, 180, 100, 70};
constexpr RibbonGroupSizing::Widths D{100, 90, 50, 60};  // its button is wider than its icons

TEST_P(RibbonGroupSizes, StepDownFromTheRightAndCollapseLast) {
    const SizingCase& c = GetParam();
    EXPECT_EQ(RibbonGroupSizing::Choose(c.groups, 10, c.available), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, RibbonGroupSizes,
    ::testing::Values(
        SizingCase{"FitsAsItIs", {A, B, C}, 780, {Size::Large, Size::Large, Size::Large}},
        SizingCase{"TheRightmostGroupGivesWayFirst", {A, B, C}, 750, {Size::Large, Size::Large, Size::Small}},
        SizingCase{"AStepThatSavesNothingIsSkipped", {A, B, C}, 700, {Size::Small, Size::Large, Size::Small}},
        SizingCase{
            "CaptionsDropOnlyOnceEveryGroupIsSmall", {A, B, C}, 600, {Size::Small, Size::Large, Size::IconsOnly}},
        SizingCase{"EveryGroupDropsItsCaptionsBeforeOneCollapses",
                   {A, B, C},
                   400,
                   {Size::IconsOnly, Size::IconsOnly, Size::IconsOnly}},
        SizingCase{"GroupsCollapseFromTheRight", {A, B, C}, 350, {Size::IconsOnly, Size::Collapsed, Size::Collapsed}},
        SizingCase{"NothingFitsEveryGroupIsAtItsNarrowest",
                   {A, B, C},
                   100,
                   {Size::Collapsed, Size::Collapsed, Size::Collapsed}},
        SizingCase{"AButtonWiderThanItsGroupDoesNotReplaceIt", {A, D}, 100, {Size::Collapsed, Size::IconsOnly}},
        SizingCase{"NoGroups", {}, 0, {}}),
    [](const ::testing::TestParamInfo<SizingCase>& info) { return std::string(info.param.name); });

// Every control of each shown group of the selected tab is found whole, in the ribbon or in its group's drop-down.
void ExpectEveryControlWithinReach(RibbonWindow& w, int width) {
    RibbonTab* tab = w.ribbon->SelectedTab();
    for (int g = 0; g < tab->GroupCount(); ++g) {
        RibbonGroup* group = tab->Group(g);
        if (!group->Visible())
            continue;
        for (const auto& control : group->Controls()) {
            if (!control->Visible())
                continue;
            EXPECT_NE(RibbonUser::Reach(w.bars, control.get()), nullptr)
                << tab->Caption().toStdString() << " at " << width << ": " << control->Id();
        }
        w.View()->CloseGroupPopup();
    }
}

TEST(RibbonNarrowing, GroupsGiveWayAndEveryControlStaysWithinReachAtTheSameHeight) {
    RibbonWindow w;
    w.show();
    w.Settle();
    const int height = w.View()->height();
    for (int t = 0; t < 2; ++t) {
        w.ribbon->SetSelectedTab(w.ribbon->Tab(t));
        std::vector<Size> before(4, Size::Large);
        for (int width : {1800, 1000, 800, 640, 500}) {
            w.resize(width, 500);
            w.Settle();
            RibbonUser::Snapshot(w.View(), QString("ribbon-%1-%2").arg(t).arg(width));
            EXPECT_EQ(w.View()->height(), height) << width;
            EXPECT_EQ(w.View()->width(), width);
            ExpectEveryControlWithinReach(w, width);
            // A narrower ribbon never draws a group larger than a wider one did.
            RibbonTab* tab = w.ribbon->SelectedTab();
            for (int g = 0; g < tab->GroupCount(); ++g) {
                const Size size = w.View()->SizeOf(tab->Group(g));
                EXPECT_GE(static_cast<int>(size), static_cast<int>(before[static_cast<size_t>(g)])) << width;
                before[static_cast<size_t>(g)] = size;
                if (width == 1800) {
                    EXPECT_EQ(size, Size::Large) << g;
                }
            }
            EXPECT_TRUE(RibbonUser::ShowsWhole(w.View()->TabBar(), w.View())) << width;
            EXPECT_TRUE(RibbonUser::ShowsWhole(w.Widget(4000), w.View())) << width;
        }
        EXPECT_EQ(before.back(), Size::Collapsed) << "at 500 pixels the last group is collapsed";
    }
    // Widening brings the full layout back.
    w.resize(1800, 500);
    w.Settle();
    for (int g = 0; g < 4; ++g) EXPECT_EQ(w.View()->SizeOf(w.ribbon->Tab(1)->Group(g)), Size::Large) << g;
    auto* zoom = qobject_cast<QToolButton*>(w.Widget(51101));
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_EQ(w.View()->CollapsedButtonOf(w.font), nullptr);
    EXPECT_EQ(w.View()->height(), height);
}

TEST(RibbonNarrowing, SmallButtonsStackThreeToAColumnAndLoseTheirCaptionsLast) {
    RibbonWindow w;
    w.ribbon->SetSelectedTab(w.ribbon->Tab(1));
    w.resize(800, 500);
    w.show();
    w.Settle();
    RibbonGroup* control = w.ribbon->Tab(1)->Group(1);
    ASSERT_EQ(w.View()->SizeOf(control), Size::IconsOnly);
    auto* zoomIn = qobject_cast<QToolButton*>(w.Widget(51101));
    auto* original = qobject_cast<QToolButton*>(w.Widget(51103));
    ASSERT_NE(zoomIn, nullptr);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(zoomIn->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_EQ(zoomIn->toolTip(), "Zoom in");
    EXPECT_EQ(original->x(), zoomIn->x()) << "three small buttons share a column";
    EXPECT_GT(original->y(), w.Widget(51102)->y());
    // Buttons without an icon, or given their own width, keep their captions.
    EXPECT_EQ(qobject_cast<QToolButton*>(w.Widget(51201))->toolButtonStyle(), Qt::ToolButtonTextOnly);
    EXPECT_EQ(w.Widget(51201)->size(), QSize(100, 32));
}

TEST(RibbonNarrowing, ADroppedDownGroupShowsTheStatesOfItsControlsAndRunsThem) {
    RibbonWindow w;
    w.ribbon->SetSelectedTab(w.ribbon->Tab(1));
    w.resize(640, 500);
    w.show();
    w.Settle();
    ASSERT_EQ(w.View()->SizeOf(w.font), Size::Collapsed);
    EXPECT_EQ(w.Widget(7608), nullptr) << "the collapsed group's controls are not drawn in the ribbon";
    CommandBarButtonWidget* button = w.View()->CollapsedButtonOf(w.font);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->accessibleName(), "Font");
    EXPECT_FALSE(button->icon().isNull()) << "the icon of its first control that has one";
    w.ribbon->FindControl(7608)->SetChecked(true);
    w.ribbon->FindControl(7620)->SetEnabled(false);
    w.Settle();

    auto* bold = qobject_cast<QToolButton*>(RibbonUser::Reach(w.bars, w.ribbon->FindControl(7608)));
    ASSERT_NE(bold, nullptr);
    RibbonGroupPopup* popup = w.View()->OpenGroupPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_GE(popup->mapToGlobal(QPoint(0, 0)).y(), button->mapToGlobal(QPoint(0, button->height())).y())
        << "it drops down under the group's button";
    EXPECT_TRUE(bold->isChecked());
    EXPECT_FALSE(popup->WidgetFor(7620)->isEnabled());
    EXPECT_EQ(qobject_cast<QComboBox*>(popup->WidgetFor(7618))->currentText(), "Tahoma");
    // A state the program changes while the group is down shows at once.
    w.ribbon->FindControl(7610)->SetChecked(true);
    w.Settle();
    EXPECT_TRUE(qobject_cast<QToolButton*>(popup->WidgetFor(7610))->isChecked());

    // Typing a size runs the size command, as in the ribbon, and the drop-down closes.
    RibbonUser::TypeAndReturn(popup->WidgetFor(7619), "30");
    w.Settle();
    EXPECT_EQ(w.executed, (std::vector<int>{7619}));
    EXPECT_EQ(static_cast<CommandBarComboBox*>(w.ribbon->FindControl(7619))->Text(), "30");
    EXPECT_EQ(w.View()->OpenGroupPopup(), nullptr);
    QWidget* again = RibbonUser::Reach(w.bars, w.ribbon->FindControl(7608));
    ASSERT_NE(again, nullptr);
    RibbonUser::Click(again);
    w.Settle();
    EXPECT_EQ(w.executed, (std::vector<int>{7619, 7608}));

    // A popup button inside a dropped-down group opens its own menu, and the choice runs.
    w.executed.clear();
    w.resize(500, 500);
    w.Settle();
    RibbonGroup* drawing = w.ribbon->Tab(1)->Group(2);
    ASSERT_EQ(w.View()->SizeOf(drawing), Size::Collapsed);
    auto* lines = qobject_cast<CommandBarButtonWidget*>(RibbonUser::Reach(w.bars, w.ribbon->FindControl(51200)));
    ASSERT_NE(lines, nullptr);
    ScriptedPopup popups;
    popups.SetInspector([](CommandBar&, QMenu& menu) {
        for (QAction* action : menu.actions())
            if (action->text() == "5")
                action->trigger();
    });
    QPoint arrow(lines->width() / 2, lines->height() - 3);
    ASSERT_TRUE(lines->OnArrow(arrow));
    RibbonUser::Click(lines, arrow);
    w.Settle();
    ASSERT_EQ(popups.Bars().size(), 1u);
    ASSERT_EQ(w.executed, (std::vector<int>{51300}));
    EXPECT_EQ(w.executedControls.back()->Parameter(), "5");
    EXPECT_EQ(w.View()->OpenGroupPopup(), nullptr);
}

TEST(RibbonNarrowing, AHostedWidgetIsLentToTheDropDownAndGoesBackWhenItCloses) {
    RibbonWindow w;
    w.resize(500, 500);
    w.show();
    w.Settle();
    ASSERT_EQ(w.View()->SizeOf(w.range), Size::Collapsed);
    EXPECT_EQ(w.limits->parentWidget(), &w);
    EXPECT_FALSE(w.limits->isVisible());

    QWidget* hosted = RibbonUser::Reach(w.bars, w.ribbon->FindControl(15401));
    ASSERT_EQ(hosted, w.limits);
    RibbonGroupPopup* popup = w.View()->OpenGroupPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isAncestorOf(w.limits));
    EXPECT_NE(RibbonUser::Reach(w.bars, w.ribbon->FindControl(15402)), nullptr);
    RibbonUser::PressKey(w.limits->sliders[1], Qt::Key_Left);
    EXPECT_EQ(w.limits->sliders[1]->value(), 99);

    RibbonUser::PressKey(popup, Qt::Key_Escape);
    w.Settle();
    EXPECT_EQ(w.View()->OpenGroupPopup(), nullptr);
    EXPECT_EQ(w.limits->parentWidget(), &w);
    EXPECT_FALSE(w.limits->isVisible());
    EXPECT_EQ(w.limits->sliders[1]->value(), 99);

    w.resize(1000, 500);
    w.Settle();
    EXPECT_TRUE(w.View()->isAncestorOf(w.limits));
    EXPECT_TRUE(RibbonUser::ShowsWhole(w.limits, w.View()));
    EXPECT_TRUE(w.executed.empty());
}

TEST(RibbonNarrowing, NewSizesWaitForAMenuThatIsOpen) {
    RibbonWindow w;
    w.ribbon->SetSelectedTab(w.ribbon->Tab(1));
    w.resize(1800, 500);
    w.show();
    w.Settle();
    QWidget* file = w.Widget(51002);
    ASSERT_NE(file, nullptr);
    QPointer<QWidget> anchor(file);
    Size whileOpen = Size::Collapsed;
    ScriptedPopup popups;
    popups.SetInspector([&](CommandBar&, QMenu&) {
        w.resize(500, 500);
        QApplication::processEvents();
        whileOpen = w.View()->SizeOf(w.font);
        EXPECT_TRUE(anchor && anchor->isVisible()) << "the menu's button stays while the menu runs";
    });
    RibbonUser::Click(file);
    w.Settle();
    ASSERT_EQ(popups.Bars().size(), 1u);
    EXPECT_EQ(whileOpen, Size::Large);
    EXPECT_EQ(w.View()->SizeOf(w.font), Size::Collapsed) << "the sizes follow once the menu closed";
}

TEST(RibbonNarrowing, ALongerGroupCaptionMakesRoomForItself) {
    RibbonWindow w;
    w.show();
    // The narrowest width at which every group of the tab is drawn large.
    int width = 1800;
    const auto allLarge = [&w] {
        for (int g = 0; g < 4; ++g)
            if (w.View()->SizeOf(w.ribbon->Tab(0)->Group(g)) != Size::Large)
                return false;
        return true;
    };
    for (;; width -= 10) {
        w.resize(width - 10, 500);
        w.Settle();
        if (!allLarge())
            break;
    }
    w.resize(width, 500);
    w.Settle();
    ASSERT_TRUE(allLarge());
    w.range->SetCaption("Color Range - All Colors RGB, a caption far longer than the group");
    w.Settle();
    EXPECT_FALSE(allLarge());
    if (QLabel* caption = w.View()->CaptionOf(w.range)) {
        EXPECT_TRUE(RibbonUser::ShowsWhole(caption, w.View()));
    } else {
        EXPECT_TRUE(RibbonUser::ShowsWhole(w.View()->CollapsedButtonOf(w.range), w.View()));
    }
    ExpectEveryControlWithinReach(w, width);
}

}  // namespace
