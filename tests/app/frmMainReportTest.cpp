#include "support/MainWindowFixture.h"
#include "support/PdfText.h"
#include "support/ScriptedPrintDialog.h"
#include "support/TestEnvironment.h"

#include "app/frmMain.h"
#include "model/Color.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "platform/CommandBars.h"
#include "platform/Printer.h"
#include "services/CommandIds.h"
#include "views/ColorHistory.h"
#include "views/ColorPanel.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTemporaryDir>

#include <pugixml.hpp>

#include <gtest/gtest.h>

namespace {

std::shared_ptr<Color> color(int r, int g, int b) {
    auto c = Factory::NewColor(Globals::TextureItem(1), CommandIds::RangeAllRGB, false);
    c->SetColor(r, g, b);
    return c;
}

// Three proofers of known colours; schemes 1 and 3 of three shown hold colours (1 with notes), scheme 2 is
// empty and hidden scheme 5 holds a colour that must not print.
class frmMainReport : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        Printer& printer = Printer::Current();
        printer.SetPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                                          QPageLayout::Point));
        const int proofers[3][3] = {{12, 34, 56}, {200, 100, 50}, {7, 250, 128}};
        for (size_t i = 0; i < 3; ++i)
            window->cpList[i]->SetColor(color(proofers[i][0], proofers[i][1], proofers[i][2]));

        window->NumberOfHistoryGroups = 3;
        for (size_t i = 0; i < window->history.size(); ++i) window->history[i]->setVisible(i < 3);

        setNotes(*window->history[0], "Warm evening tones for the hall");
        window->history[0]->AddColorPanels({color(255, 0, 0), color(0, 0, 255)});
        window->history[2]->AddColorPanels({color(1, 2, 3)});
        window->history[4]->AddColorPanels({color(9, 9, 9)});
    }
    void TearDown() override {
        Printer::Current().KillDoc();
        MainWindowFixture::TearDown();
    }

    static void setNotes(ColorHistory& strip, const char* notes) {
        pugi::xml_document doc;
        doc.append_child("History").append_child("Notes").text().set(notes);
        ASSERT_TRUE(strip.DeSerialize(doc.child("History"), QString()));
    }

    QString pdf() const { return dir.filePath(QStringLiteral("report.pdf")); }

    QTemporaryDir dir;
    ScriptedMessageBox messages;
};

TEST_F(frmMainReport, PrintCommandReportsTheProofersAndTheShownSchemesHoldingColours) {
    ScriptedPrintDialog dialog({ScriptedPrintDialog::ToPdf(pdf())});
    Execute(CommandIds::FilePrint);
    ASSERT_EQ(dialog.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests().empty());

    const QStringList pages = PdfText::Pages(pdf());
    ASSERT_EQ(pages.size(), 2);
    const QString& first = pages[0];
    EXPECT_TRUE(first.contains(QStringLiteral("Tindral - Color Report")));
    EXPECT_TRUE(first.contains(QStringLiteral("Current Proofers")));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(first.contains(QStringLiteral("Color Panel %1").arg(i + 1))) << i;
        const auto proofer = window->cpList[static_cast<size_t>(i)]->PanelColor();
        EXPECT_TRUE(first.contains(QStringLiteral("RGB: ") + proofer->ToString(QStringLiteral("rgb")))) << i;
        EXPECT_TRUE(first.contains(QStringLiteral("HTML: ") + proofer->ToString(QStringLiteral("html")))) << i;
    }
    EXPECT_TRUE(first.contains(QStringLiteral("Page 1")));
    EXPECT_FALSE(first.contains(QStringLiteral("Color Scheme")));

    const QString& second = pages[1];
    EXPECT_TRUE(second.contains(QStringLiteral("Color Scheme 1")));
    EXPECT_TRUE(second.contains(QStringLiteral("Warm evening tones for the hall")));
    EXPECT_TRUE(second.contains(QStringLiteral("RGB: (255, 0, 0)")));
    EXPECT_TRUE(second.contains(QStringLiteral("RGB: (0, 0, 255)")));
    EXPECT_FALSE(second.contains(QStringLiteral("Color Scheme 2"))) << "an empty scheme prints nothing";
    EXPECT_TRUE(second.contains(QStringLiteral("Color Scheme 3")));
    EXPECT_TRUE(second.contains(QStringLiteral("RGB: (1, 2, 3)")));
    EXPECT_FALSE(second.contains(QStringLiteral("Color Scheme 5"))) << "a hidden scheme prints nothing";
    EXPECT_FALSE(second.contains(QStringLiteral("(9, 9, 9)")));
    EXPECT_TRUE(second.contains(QStringLiteral("Page 2")));
}

TEST_F(frmMainReport, CtrlPPrintsAndACancelledBoxPrintsNothing) {
    QShortcut* ctrlP = nullptr;
    for (QShortcut* shortcut : window->findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(Qt::CTRL | Qt::Key_P))
            ctrlP = shortcut;
    ASSERT_NE(ctrlP, nullptr);

    {
        ScriptedPrintDialog cancelled;
        emit ctrlP->activated();
        EXPECT_EQ(cancelled.Requests().size(), 1u);
        EXPECT_FALSE(QFile::exists(pdf()));
        EXPECT_TRUE(messages.Requests().empty());
    }
    ScriptedPrintDialog dialog({ScriptedPrintDialog::ToPdf(pdf())});
    emit ctrlP->activated();
    ASSERT_EQ(dialog.Requests().size(), 1u);
    const QStringList pages = PdfText::Pages(pdf());
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Current Proofers")));
    // The window is free for the next command after printing.
    ScriptedPrintDialog again({ScriptedPrintDialog::ToPdf(pdf())});
    Execute(CommandIds::FilePrint);
    EXPECT_EQ(again.Requests().size(), 1u);
}

TEST_F(frmMainReport, HostTakesTheProofersPictureBoxesAndOnlyTheShownStripsInOrder) {
    const ReportHost host = window->reportHost();
    EXPECT_EQ(host.owner, window);
    ASSERT_EQ(host.proofers.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(host.proofers[i].color, window->cpList[i]->PanelColor());
        EXPECT_EQ(host.proofers[i].picture.data(), window->cpList[i]->PictureColor());
    }
    ASSERT_EQ(host.schemes.size(), 3u);
    EXPECT_EQ(host.schemes[0].index, 0);
    EXPECT_EQ(host.schemes[0].notes, QStringLiteral("Warm evening tones for the hall"));
    ASSERT_EQ(host.schemes[0].colors.size(), 2u);
    EXPECT_EQ(host.schemes[0].colors[1].color->RGBColor(), 0xFF0000);
    EXPECT_EQ(host.schemes[0].colors[1].picture.data(), window->history[0]->Panel(1)->PictureColor());
    EXPECT_TRUE(host.schemes[1].colors.empty());
    EXPECT_EQ(host.schemes[2].index, 2);
}

}  // namespace
