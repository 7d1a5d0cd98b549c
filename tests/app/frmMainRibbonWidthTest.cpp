// Every command of every ribbon tab, as the program builds them, is within a person's reach at the window's first
// width and narrower: drawn whole in the ribbon or in its group's drop-down, enabled as at full width, and run
// from where it shows by the window's own handler.
#include "app/frmMain.h"
#include "model/Color.h"
#include "model/Globals.h"
#include "platform/CommandBarButtonWidget.h"
#include "platform/CommandBarComboBox.h"
#include "platform/CommandBarGalleryWidget.h"
#include "platform/CommandBars.h"
#include "platform/RibbonBar.h"
#include "platform/RibbonBarWidget.h"
#include "platform/RibbonGroupPopup.h"
#include "services/CommandIds.h"
#include "services/SpecialFolders.h"
#include "stage/Stage.h"
#include "stage/StageHelper.h"
#include "support/MainWindowFixture.h"
#include "support/RibbonUser.h"
#include "support/ScriptedFileDialog.h"
#include "support/ScriptedPopup.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QSlider>

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

using namespace CommandIds;

namespace {

struct RibbonCase {
    int width;
    int tabId;
    const char* name;
};

void PrintTo(const RibbonCase& c, std::ostream* out) { *out << c.name; }

// The program with one picture in My Pictures, so the "Staging" gallery has an item to pick.
class frmMainRibbonWidths : public MainWindowFixture, public ::testing::WithParamInterface<RibbonCase> {
protected:
    void SetUp() override {
        picture = SpecialFolders::MyPicturesFolder() + QStringLiteral("/ribbon.png");
        QImage image(24, 16, QImage::Format_RGB32);
        image.fill(QColor(40, 120, 200));
        ASSERT_TRUE(image.save(picture));
        MainWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        QObject::connect(&window->Bars(), &CommandBars::Execute,
                         [this](CommandBarControl* control) { executed.push_back(control->Id()); });
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        QFile::remove(picture);
    }

    RibbonBarWidget& View() const { return *window->Bars().RibbonView(); }
    void ResizeTo(int width) {
        window->resize(width, 700);
        RibbonUser::Settle();
    }
    // The visible controls of the selected tab's shown groups, in order.
    std::vector<CommandBarControl*> Controls() const {
        std::vector<CommandBarControl*> controls;
        RibbonTab* tab = window->RibbonBar()->SelectedTab();
        for (int g = 0; g < tab->GroupCount(); ++g)
            if (tab->Group(g)->Visible())
                for (const auto& control : tab->Group(g)->Controls())
                    if (control->Visible())
                        controls.push_back(control.get());
        return controls;
    }

    // Works the control where it was found, as a person does, and checks that the window's handler did its part.
    // Returns the command that is to reach Execute, 0 for a control that runs no command.
    int Run(CommandBarControl* control, QWidget* widget);
    int RunButton(CommandBarControl* control, CommandBarButtonWidget* button);

    QString picture;
    std::vector<int> executed;
};

int frmMainRibbonWidths::RunButton(CommandBarControl* control, CommandBarButtonWidget* button) {
    using Kind = CommandBarButtonWidget::Kind;
    if (button->GetKind() == Kind::Plain) {
        RibbonUser::Click(button);
        return control->Id();
    }
    if (button->GetKind() == Kind::Split) {
        // The body sets the tool; the arrow drops the widths down, and one of them runs.
        const QPoint body(4, 4);
        EXPECT_FALSE(button->OnArrow(body));
        RibbonUser::Click(button, body);
        RibbonUser::Settle();
        EXPECT_EQ(executed, (std::vector<int>{control->Id()}));
        executed.clear();
        // The tool's command may have drawn the ribbon anew; the button is looked for again.
        auto* split = qobject_cast<CommandBarButtonWidget*>(RibbonUser::Reach(window->Bars(), control));
        EXPECT_NE(split, nullptr);
        if (!split)
            return 0;
        const QPoint arrow = split->toolButtonStyle() == Qt::ToolButtonTextUnderIcon
                                 ? QPoint(split->width() / 2, split->height() - 3)
                                 : QPoint(split->width() - 3, split->height() / 2);
        EXPECT_TRUE(split->OnArrow(arrow));
        ScriptedPopup popups;
        popups.SetInspector([](CommandBar&, QMenu& menu) {
            for (QAction* action : menu.actions())
                if (action->text() == QStringLiteral("7"))
                    action->trigger();
        });
        RibbonUser::Click(split, arrow);
        RibbonUser::Settle();
        EXPECT_EQ(window->ctlStage->LineThickness(), 7);
        return LineWidth;
    }
    // A popup button: its menu opens and a choice runs.
    const int pick = control->Id() == RangeTypePopup ? RangeAllHSB : OpenPicture;
    ScriptedPopup popups({pick});
    ScriptedFileDialog dialogs;
    RibbonUser::Click(button);
    RibbonUser::Settle();
    EXPECT_EQ(popups.Bars().size(), 1u) << control->Id();
    if (pick == RangeAllHSB) {
        EXPECT_EQ(window->m_RangeType, RangeAllHSB);
    } else {
        EXPECT_EQ(dialogs.Requests().size(), 1u) << "the open dialog was asked for";
    }
    return pick;
}

int frmMainRibbonWidths::Run(CommandBarControl* control, QWidget* widget) {
    if (auto* button = qobject_cast<CommandBarButtonWidget*>(widget))
        return RunButton(control, button);
    if (auto* gallery = qobject_cast<CommandBarGalleryWidget*>(widget)) {
        const int item = RibbonUser::ClickFirstShownItem(gallery);
        EXPECT_GE(item, 0) << control->Id() << " shows an item";
        RibbonUser::Settle();
        if (control->Id() == SchemesItems) {
            EXPECT_EQ(window->NumberOfHistoryGroups, item);
        }
        if (control->Id() == PicturesGallery) {
            EXPECT_EQ(window->SelectedPictureIndex, item);
        }
        return control->Id();
    }
    if (auto* box = qobject_cast<QComboBox*>(widget)) {
        if (!box->isEditable()) {
            RibbonUser::PressKey(box, Qt::Key_Down);
            RibbonUser::Settle();
            EXPECT_EQ(window->cpList.size(), 4u) << "one more proofer";
            return control->Id();
        }
        const QString text = control->Id() == FontName ? QStringLiteral("DejaVu Serif") : QStringLiteral("30");
        RibbonUser::TypeAndReturn(box, text);
        RibbonUser::Settle();
        if (control->Id() == FontName) {
            EXPECT_EQ(StageHelper::CurrentFont()->name, text);
        } else {
            EXPECT_EQ(StageHelper::CurrentFont()->size, 30.0);
        }
        return control->Id();
    }
    if (control->GetType() == CommandBarControl::Custom) {
        // The top-colour and background boxes: a slider moved with the keyboard reaches the window.
        auto* slider = widget->findChild<QSlider*>();
        EXPECT_NE(slider, nullptr);
        if (!slider)
            return 0;
        const int value = slider->value();
        const int32_t top = Globals::TopColor->RGBColor();
        const int32_t back = window->ctlMatch->BackColor();
        RibbonUser::PressKey(slider, Qt::Key_Left);
        RibbonUser::Settle();
        EXPECT_EQ(slider->value(), value - 1);
        if (control->Id() == TopColorBox) {
            EXPECT_NE(Globals::TopColor->RGBColor(), top);
        } else {
            EXPECT_NE(window->ctlMatch->BackColor(), back);
        }
        return 0;
    }
    ADD_FAILURE() << "no way to run control " << control->Id();
    return 0;
}

TEST_P(frmMainRibbonWidths, EveryCommandIsFoundEnabledAsBeforeAndRunsFromWhereItShows) {
    const RibbonCase& c = GetParam();
    RibbonTab* tab = window->RibbonBar()->FindTab(c.tabId);
    ASSERT_NE(tab, nullptr);
    View().TabBar()->setCurrentIndex(tab->Index());
    RibbonUser::Settle();
    ASSERT_TRUE(tab->Selected());
    if (c.tabId == StagingTab) {
        Execute(ToolText);  // the font group shows with the text tool
        RibbonUser::Settle();
        ASSERT_TRUE(tab->FindGroup(FontGroup)->Visible());
    }

    // At a width with room for everything, every group is drawn whole; what is enabled there is the reference.
    ResizeTo(1700);
    const int height = View().height();
    std::map<CommandBarControl*, bool> enabled;
    for (CommandBarControl* control : Controls()) {
        QWidget* widget = View().WidgetFor(control);
        ASSERT_TRUE(RibbonUser::ShowsWhole(widget, &View())) << control->Id();
        enabled[control] = widget->isEnabled();
    }

    ResizeTo(c.width);
    RibbonUser::Snapshot(window, c.name);
    EXPECT_EQ(View().height(), height) << "the ribbon keeps its height";
    EXPECT_EQ(window->picClient->y(), height) << "the client area starts under it";
    EXPECT_TRUE(RibbonUser::ShowsWhole(View().TabBar(), &View()));
    EXPECT_TRUE(RibbonUser::ShowsWhole(View().WidgetFor(Help), &View()));
    for (CommandBarControl* control : Controls()) {
        QWidget* widget = RibbonUser::Reach(window->Bars(), control);
        ASSERT_NE(widget, nullptr) << control->Id() << " is out of reach";
        EXPECT_EQ(widget->isEnabled(), enabled[control]) << control->Id();
        if (auto* button = qobject_cast<QAbstractButton*>(widget); button && button->isCheckable()) {
            EXPECT_EQ(button->isChecked(), control->Checked()) << control->Id();
        }
    }
    View().CloseGroupPopup();

    // The tools run last: each but the text tool hides the font group.
    std::vector<CommandBarControl*> controls = Controls();
    std::stable_partition(controls.begin(), controls.end(), [](CommandBarControl* control) {
        return control->Id() < ToolLines || control->Id() > ToolFlood;
    });
    for (CommandBarControl* control : controls) {
        if (!control->Visible() || !RibbonUser::GroupOf(window->Bars(), control))
            continue;  // a group the tools hid
        executed.clear();
        QWidget* widget = RibbonUser::Reach(window->Bars(), control);
        ASSERT_NE(widget, nullptr) << control->Id();
        const int command = Run(control, widget);
        RibbonUser::Settle();
        if (command != 0) {
            EXPECT_EQ(executed, (std::vector<int>{command})) << control->Id();
            EXPECT_EQ(View().OpenGroupPopup(), nullptr) << "a command run from a drop-down closes it";
        } else {
            EXPECT_TRUE(executed.empty()) << control->Id();
        }
        View().CloseGroupPopup();
    }
}

INSTANTIATE_TEST_SUITE_P(
    TabsAndWidths, frmMainRibbonWidths,
    ::testing::Values(RibbonCase{1024, SelectionTab, "Selection1024"}, RibbonCase{800, SelectionTab, "Selection800"},
                      RibbonCase{640, SelectionTab, "Selection640"}, RibbonCase{1024, StagingTab, "Staging1024"},
                      RibbonCase{800, StagingTab, "Staging800"}, RibbonCase{640, StagingTab, "Staging640"},
                      RibbonCase{1024, ColorPieTab, "ColorPie1024"}, RibbonCase{800, ColorPieTab, "ColorPie800"},
                      RibbonCase{640, ColorPieTab, "ColorPie640"}),
    [](const ::testing::TestParamInfo<RibbonCase>& info) { return std::string(info.param.name); });

}  // namespace
