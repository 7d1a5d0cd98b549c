// Every change a person makes counts as a modification, whenever it comes: right after start, after New,
// after Save As and after Open. The program's own colours at start and after New never do.
#include "app/DocumentFixture.h"

#include "support/CommandBarItems.h"
#include "support/ControlDrop.h"
#include "support/ScriptedModalDialog.h"

#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace {

using namespace DocumentFixture;
using CommandBarItems::ExecutePopupCommand;

// The program as the tables below work it: what a person does, in reach of each row.
class EveryEdit : public DocumentTest {
public:
    using DocumentTest::open;
    using DocumentTest::path;
    using DocumentTest::saveAs;
    using MainWindowFixture::Execute;
    using MainWindowFixture::window;

    ColorHistory& firstStrip() const { return *window->history[0]; }
    ColorPanel& proofer(int index) const { return *window->cpList[static_cast<size_t>(index)]; }

    // Strip 0 holds white, then black.
    void addBlackAndWhite() {
        ASSERT_TRUE(ExecutePopupCommand(&firstStrip(), CommandIds::AddBlackAndWhite));
        ASSERT_EQ(firstStrip().PanelCount(), 2);
    }

    void newDocument() {
        ScriptedMessageBox boxes({MessageBox::No});
        Execute(CommandIds::FileNew);
    }

    void stroke() {
        window->ShowWorkspace(CommandIds::StagingTab);
        ImagingControl* image = window->ctlStage->ImageControl();
        const auto send = [image](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, image->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(image, &event);
        };
        send(QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
        send(QEvent::MouseMove, {40, 30}, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, {40, 30}, Qt::NoButton);
    }

    void writeNotes(const QString& text) {
        ScriptedModalDialog dialog({[&](QDialog& d) {
            d.findChild<QPlainTextEdit*>()->setPlainText(text);
            ScriptedModalDialog::Click(d, QStringLiteral("&OK"));
        }});
        ASSERT_TRUE(ExecutePopupCommand(&firstStrip(), CommandIds::Comments));
        ASSERT_EQ(dialog.Captions().size(), 1u);
    }

    // Closing asks whether to save; Cancel keeps the window open.
    void expectTheCloseAsks() const {
        ScriptedMessageBox boxes({MessageBox::Cancel});
        window->close();
        ASSERT_EQ(boxes.Requests().size(), 1u);
        EXPECT_TRUE(boxes.Requests()[0].prompt.startsWith("Do you want to save"))
            << boxes.Requests()[0].prompt.toStdString();
        EXPECT_TRUE(window->isVisible());
    }
};

// The moments after which the document counts as untouched, each reached as a person would.
struct Moment {
    const char* name;
    bool hasScheme;  // strip 0 holds white and black
    void (*reach)(EveryEdit&);
};

struct Edit {
    const char* name;
    bool needsScheme;
    void (*make)(EveryEdit&);
};

const Moment kMoments[] = {
    {"RightAfterStart", false, [](EveryEdit&) {}},
    {"AfterNew", false,
     [](EveryEdit& t) {
         // Everything New clears was changed first.
         t.Execute(CommandIds::CreateNewColors);
         t.addBlackAndWhite();
         t.writeNotes("gone with New");
         t.Execute(CommandIds::InvertColors);
         t.window->sldBackColor[0]->setValue(10);
         t.newDocument();
         ASSERT_EQ(t.firstStrip().PanelCount(), 0);
     }},
    {"AfterSaveAs", true,
     [](EveryEdit& t) {
         t.addBlackAndWhite();
         t.saveAs(t.path("saved.tnd"));
         ASSERT_EQ(Globals::CurrentFile, t.path("saved.tnd"));
         // A saved document is no longer the untouched one of start-up.
         ASSERT_FALSE(t.window->m_IsOpeningJustAfterStartup);
     }},
    {"AfterOpen", true,
     [](EveryEdit& t) {
         t.addBlackAndWhite();
         t.saveAs(t.path("doc.tnd"));
         t.newDocument();
         t.open(t.path("doc.tnd"));
         ASSERT_EQ(Globals::CurrentFile, t.path("doc.tnd"));
     }},
};

const Edit kEdits[] = {
    {"SpaceMakesNewColours", false,
     [](EveryEdit& t) {
         QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
         QApplication::sendEvent(t.window, &space);
     }},
    {"FixAProofer", false, [](EveryEdit& t) { ASSERT_TRUE(ExecutePopupCommand(&t.proofer(0), CommandIds::FixIt)); }},
    {"TopColourDroppedOnAProofer", false,
     [](EveryEdit& t) { ASSERT_TRUE(ControlDrop::Drop(t.window->picColor, &t.proofer(1))); }},
    {"KeepItFromAProofer", false,
     [](EveryEdit& t) { ASSERT_TRUE(ExecutePopupCommand(&t.proofer(0), CommandIds::KeepIt)); }},
    {"KeepAll", false, [](EveryEdit& t) { t.Execute(CommandIds::KeepAll); }},
    {"AddBlackAndWhite", false,
     [](EveryEdit& t) { ASSERT_TRUE(ExecutePopupCommand(&t.firstStrip(), CommandIds::AddBlackAndWhite)); }},
    {"ProoferDroppedOnAStrip", false,
     [](EveryEdit& t) {
         emit t.proofer(2).StartDragging();
         ASSERT_TRUE(ControlDrop::Drop(&t.proofer(2), &t.firstStrip()));
     }},
    {"Notes", true, [](EveryEdit& t) { t.writeNotes("written later"); }},
    {"DeleteAColour", true,
     [](EveryEdit& t) { ASSERT_TRUE(ExecutePopupCommand(t.firstStrip().Panel(1), CommandIds::DeleteColor)); }},
    {"SortTheScheme", true,
     [](EveryEdit& t) { ASSERT_TRUE(ExecutePopupCommand(&t.firstStrip(), CommandIds::SortColorsByRGBSum)); }},
    {"ClearTheScheme", true,
     [](EveryEdit& t) { ASSERT_TRUE(ExecutePopupCommand(&t.firstStrip(), CommandIds::DeleteAllColors)); }},
    {"StrokeOnTheStage", false, [](EveryEdit& t) { t.stroke(); }},
    {"InvertTheStage", false, [](EveryEdit& t) { t.Execute(CommandIds::InvertColors); }},
    {"PieBackgroundSlider", false, [](EveryEdit& t) { t.window->sldBackColor[1]->setValue(100); }},
    {"PieRemoveBackground", false,
     [](EveryEdit& t) { ASSERT_TRUE(ExecutePopupCommand(t.window->ctlMatch.get(), CommandIds::PieRemoveBackground)); }},
};

struct EditAtMoment {
    const Moment* moment;
    const Edit* edit;
};

std::vector<EditAtMoment> editsAtMoments() {
    std::vector<EditAtMoment> cases;
    for (const Moment& moment : kMoments)
        for (const Edit& edit : kEdits)
            if (moment.hasScheme || !edit.needsScheme)
                cases.push_back({&moment, &edit});
    return cases;
}

void PrintTo(const EditAtMoment& c, std::ostream* out) { *out << c.edit->name << " " << c.moment->name; }
void PrintTo(const Moment* moment, std::ostream* out) { *out << moment->name; }

class EditsAtMoments : public EveryEdit, public ::testing::WithParamInterface<EditAtMoment> {};

TEST_P(EditsAtMoments, CountAsModifiedAndTheCloseAsks) {
    const EditAtMoment c = GetParam();
    c.moment->reach(*this);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_FALSE(window->IsModified()) << "untouched " << c.moment->name;
    if (c.edit->needsScheme) {
        ASSERT_EQ(firstStrip().PanelCount(), 2);
    }

    c.edit->make(*this);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(window->IsModified());
    expectTheCloseAsks();
}

INSTANTIATE_TEST_SUITE_P(EveryEdit, EditsAtMoments, ::testing::ValuesIn(editsAtMoments()), [](const auto& info) {
    return std::string(info.param.moment->name) + "_" + info.param.edit->name;
});

// What is no edit leaves the document untouched: the close asks nothing and goes.
class UntouchedMoments : public EveryEdit, public ::testing::WithParamInterface<const Moment*> {};

TEST_P(UntouchedMoments, SwitchingWorkspacesAndZoomingAskNothingAtTheClose) {
    GetParam()->reach(*this);
    ASSERT_FALSE(HasFatalFailure());
    for (const int tab : {CommandIds::StagingTab, CommandIds::ColorPieTab, CommandIds::SelectionTab})
        window->ShowWorkspace(tab);
    Execute(CommandIds::ZoomIn);
    EXPECT_FALSE(window->IsModified());

    ScriptedMessageBox boxes;
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->close();
    EXPECT_TRUE(boxes.Requests().empty());
    EXPECT_FALSE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(EveryEdit, UntouchedMoments,
                         ::testing::Values(&kMoments[0], &kMoments[1], &kMoments[2], &kMoments[3]),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
