#include "app/PrinterHelpers.h"
#include "app/frmPrinting.h"
#include "model/Color.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/MessageBox.h"
#include "platform/PictureBox.h"
#include "platform/Printer.h"
#include "support/ModelGlobals.h"
#include "views/ColorPanel.h"
#include "support/FaultInjection.h"
#include "support/PdfText.h"
#include "support/PrivateMounts.h"
#include "support/ScriptedPrintDialog.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The program-wide printer on the PDF target with an A4 page, a host window, and scripted boxes.
class PrinterHelpersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Printer& printer = Printer::Current();
        printer.SetDeviceName(Printer::PdfDeviceName);
        printer.SetOutputFileName(QString());
        printer.SetPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                                          QPageLayout::Point));
        printer.SetFontSize(10);
        printer.SetFontBold(false);
        host.owner = &owner;
    }
    void TearDown() override { Printer::Current().KillDoc(); }

    QString pdf() const { return dir.filePath(QStringLiteral("report.pdf")); }

    static std::shared_ptr<Color> color(int r, int g, int b) {
        auto c = Factory::NewColor(Globals::TextureItem(1), 15410, false);
        c->SetColor(r, g, b);
        return c;
    }
    static ReportColor swatch(int r, int g, int b) { return ReportColor{color(r, g, b), {}}; }

    QStringList printToPdf(int copies = 1) {
        dialog.Answer(ScriptedPrintDialog::ToPdf(pdf(), copies));
        PrinterHelpers::PrintColorReport(host);
        return PdfText::Pages(pdf());
    }

    ModelGlobals globals;
    QTemporaryDir dir;
    QWidget owner;
    ReportHost host;
    ScriptedPrintDialog dialog;
    ScriptedMessageBox messages;
};

bool noProgressWindowLeft() {
    for (QWidget* widget : QApplication::allWidgets())
        if (qobject_cast<frmPrinting*>(widget))
            return false;
    return true;
}

// The bounds of the pixels of a colour (within the PDF's compression steps).
QRect colouredArea(const QImage& page, QColor wanted) {
    QRect found;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) <= 3 && std::abs(c.green() - wanted.green()) <= 3 &&
                std::abs(c.blue() - wanted.blue()) <= 3)
                found |= QRect(x, y, 1, 1);
        }
    return found;
}

// The lines of a page from the first that contains `from` on.
QStringList linesFrom(const QString& page, const QString& from) {
    QStringList lines = PdfText::Lines(page);
    while (!lines.isEmpty() && !lines.front().contains(from)) lines.removeFirst();
    return lines;
}

class PrinterHelpersCopies : public PrinterHelpersTest, public ::testing::WithParamInterface<int> {};

TEST_P(PrinterHelpersCopies, TheReportHoldsTheProofersThenTheVisibleSchemesWithTheirNotes) {
    host.proofers = {swatch(10, 20, 30), swatch(255, 0, 0), swatch(0, 128, 255)};
    host.schemes = {
        ReportScheme{0,
                     QStringLiteral("Warm tones for the hall.\r\nKeep the floor dark."),
                     {swatch(200, 30, 90), swatch(1, 2, 3)}},
        ReportScheme{2, QString(), {swatch(40, 50, 60)}},
        ReportScheme{4, QStringLiteral("an empty strip prints nothing"), {}},
    };
    const QStringList pages = printToPdf(GetParam());

    ASSERT_EQ(dialog.Requests().size(), 1u);
    const PrintDialog::Request& request = dialog.Requests()[0];
    EXPECT_EQ(request.deviceName, Printer::PdfDeviceName);
    EXPECT_EQ(request.flags, 268);
    EXPECT_TRUE(request.cancelError);
    EXPECT_EQ(request.parent, &owner);
    EXPECT_TRUE(messages.Requests().empty());
    EXPECT_TRUE(noProgressWindowLeft());

    // Each copy is a document of its own, so a file ends up holding one whole report.
    ASSERT_EQ(pages.size(), 2);
    const auto& c = host.proofers[0].color;
    EXPECT_EQ(
        linesFrom(pages[0], QStringLiteral("Tindral")),
        (QStringList{QStringLiteral("Tindral - Color Report"), QStringLiteral("Current Proofers"),
                     QStringLiteral("Color Panel 1"), QStringLiteral("RGB: (10, 20, 30)"),
                     QStringLiteral("HSB: ") + c->ToString(QStringLiteral("hsb")), QStringLiteral("HTML: #0A141E")}
         << linesFrom(pages[0], QStringLiteral("Color Panel 2"))));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Color Panel 3")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("HTML: #0080FF")));
    EXPECT_EQ(PdfText::Lines(pages[0]).back(), QStringLiteral("Page 1"));

    const QStringList schemes = linesFrom(pages[1], QStringLiteral("Color Scheme"));
    ASSERT_GE(schemes.size(), 4);
    EXPECT_EQ(schemes.mid(0, 4),
              (QStringList{QStringLiteral("Color Scheme 1"), QStringLiteral("Warm tones for the hall."),
                           QStringLiteral("Keep the floor dark."), QStringLiteral("Color Panel 1")}));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("RGB: (200, 30, 90)")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Color Panel 2")));
    EXPECT_EQ(linesFrom(pages[1], QStringLiteral("Color Scheme 3")).mid(0, 3),
              (QStringList{QStringLiteral("Color Scheme 3"), QStringLiteral("Color Panel 1"),
                           QStringLiteral("RGB: (40, 50, 60)")}));
    EXPECT_FALSE(pages[1].contains(QStringLiteral("Color Scheme 5")));
    EXPECT_FALSE(pages[1].contains(QStringLiteral("an empty strip")));
    EXPECT_EQ(PdfText::Lines(pages[1]).back(), QStringLiteral("Page 2"));
}

INSTANTIATE_TEST_SUITE_P(Copies, PrinterHelpersCopies, ::testing::Values(1, 2));

TEST_F(PrinterHelpersTest, WithoutAStripHoldingColoursOnlyTheTitlePagePrints) {
    host.proofers = {swatch(10, 20, 30)};
    host.schemes = {ReportScheme{0, QStringLiteral("notes"), {}}};
    const QStringList pages = printToPdf();
    ASSERT_EQ(pages.size(), 1);
    EXPECT_FALSE(pages[0].contains(QStringLiteral("Color Scheme")));
}

TEST_F(PrinterHelpersTest, ACancelledBoxPrintsNothingAndSaysNothing) {
    host.proofers = {swatch(10, 20, 30)};
    PrinterHelpers::PrintColorReport(host);
    EXPECT_EQ(dialog.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests().empty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(noProgressWindowLeft());
}

struct FailureCase {
    const char* name;
    QString (*target)(const QString& dir);
};

class PrinterHelpersFailures : public PrinterHelpersTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PrinterHelpersFailures, ShowOneMessageDiscardTheJobAndCloseTheProgressWindow) {
    const QString target = GetParam().target(dir.path());
    if (target.isEmpty())
        GTEST_SKIP() << "the folder stays writable for this user";
    host.proofers = {swatch(10, 20, 30)};
    dialog.Answer(ScriptedPrintDialog::ToPdf(target));
    PrinterHelpers::PrintColorReport(host);
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(messages.Requests()[0].prompt, QStringLiteral("Error printing report."));
    EXPECT_EQ(messages.Requests()[0].buttons, MessageBox::Information);
    EXPECT_EQ(messages.Requests()[0].title, QStringLiteral("Tindral - 482"));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_TRUE(noProgressWindowLeft());
    // The next report goes through.
    EXPECT_EQ(printToPdf().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, PrinterHelpersFailures,
    ::testing::Values(FailureCase{"MissingFolder", [](const QString& d) { return d + QStringLiteral("/gone/r.pdf"); }},
                      FailureCase{"ReadOnlyFolder",
                                  [](const QString& d) {
                                      const QString folder = d + QStringLiteral("/locked");
                                      QDir().mkpath(folder);
                                      QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
                                      QFile probe(folder + QStringLiteral("/probe"));
                                      if (probe.open(QIODevice::WriteOnly)) {  // root writes anywhere
                                          probe.remove();
                                          return QString();
                                      }
                                      return folder + QStringLiteral("/r.pdf");
                                  }}),
    [](const auto& info) { return std::string(info.param.name); });

// Root writes into read-only folders; a read-only file system refuses it as a read-only folder refuses others.
TEST_F(PrinterHelpersTest, AReadOnlyFileSystemFailsWithOneMessageAndKeepsTheOldReport) {
    PrivateMounts mounts;
    if (!mounts.Available())
        GTEST_SKIP() << mounts.Reason().toStdString();
    const QString folder = dir.filePath(QStringLiteral("mounted"));
    ASSERT_TRUE(mounts.MountTmpfs(folder, 1 << 20));
    const QString target = folder + QStringLiteral("/r.pdf");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old report");
    }
    ASSERT_TRUE(mounts.MakeReadOnly(folder));
    host.proofers = {swatch(10, 20, 30)};
    dialog.Answer(ScriptedPrintDialog::ToPdf(target));
    PrinterHelpers::PrintColorReport(host);
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(messages.Requests()[0].prompt, QStringLiteral("Error printing report."));
    EXPECT_EQ(messages.Requests()[0].title, QStringLiteral("Tindral - 482"));
    EXPECT_TRUE(noProgressWindowLeft());
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old report"));
    EXPECT_EQ(FaultInjection::EntriesOf(folder), QStringList{QStringLiteral("r.pdf")});
}

// A disk that fills while the report's last bytes are written: the PDF writer does not notice, the file's
// check does.
TEST_F(PrinterHelpersTest, AFullDiskFailsWithOneMessageAndKeepsTheOldReport) {
    for (int i = 0; i < 8; ++i) host.proofers.push_back(swatch(i * 30, 100, 200));
    ASSERT_EQ(printToPdf().size(), 1);
    QFile report(pdf());
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QByteArray before = report.readAll();
    report.close();

    dialog.Answer(ScriptedPrintDialog::ToPdf(pdf()));
    const auto child = FaultInjection::RunWithFileSizeLimit(before.size() - 100, [&] {
        PrinterHelpers::PrintColorReport(host);
        ASSERT_EQ(messages.Requests().size(), 1u);
        EXPECT_EQ(messages.Requests()[0].prompt, QStringLiteral("Error printing report."));
        EXPECT_EQ(messages.Requests()[0].title, QStringLiteral("Tindral - 482"));
        EXPECT_TRUE(noProgressWindowLeft());
    });
    EXPECT_TRUE(child);
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    EXPECT_EQ(report.readAll(), before);
    EXPECT_EQ(FaultInjection::EntriesOf(dir.path()), QStringList{QStringLiteral("report.pdf")});
}

TEST_F(PrinterHelpersTest, PagesBreakBeforeAColourAndNeverInsideOne) {
    QString notes;
    for (int n = 0; n < 1200; ++n) notes += QStringLiteral("note%1 ").arg(n);
    notes += QStringLiteral("LASTNOTE");
    for (int i = 0; i < 8; ++i) host.proofers.push_back(swatch(i * 30, 100, 200));
    for (int s = 0; s < 2; ++s) {
        ReportScheme scheme{s, notes, {}};
        for (int j = 0; j < 10; ++j) scheme.colors.push_back(swatch(j * 20, 50, s * 100));
        host.schemes.push_back(scheme);
    }
    const QStringList pages = printToPdf();
    ASSERT_GT(pages.size(), 4);
    int headings = 0;
    for (int p = 0; p < pages.size(); ++p) {
        const QStringList lines = PdfText::Lines(pages[p]);
        EXPECT_EQ(lines.back(), QStringLiteral("Page %1").arg(p + 1));
        // A heading and its three value lines share the page.
        const auto count = [&](const QString& start) {
            return std::count_if(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(start); });
        };
        EXPECT_EQ(count(QStringLiteral("Color Panel")), count(QStringLiteral("RGB: "))) << p;
        EXPECT_EQ(count(QStringLiteral("Color Panel")), count(QStringLiteral("HTML: "))) << p;
        headings += count(QStringLiteral("Color Panel"));
    }
    EXPECT_EQ(headings, 8 + 2 * 10);
    EXPECT_TRUE(pages.join(QString()).contains(QStringLiteral("LASTNOTE")));

    // Each swatch prints whole, 2.6 x 0.52 inch, on the page of its values.
    std::vector<std::shared_ptr<Color>> colours;
    for (const ReportColor& proofer : host.proofers) colours.push_back(proofer.color);
    for (const ReportScheme& scheme : host.schemes)
        for (const ReportColor& colour : scheme.colors) colours.push_back(colour.color);
    int measured = 0;
    for (int p = 0; p < pages.size(); ++p) {
        const QImage page = PdfText::Render(pdf(), p + 1, 48);
        ASSERT_FALSE(page.isNull());
        for (const auto& colour : colours) {
            if (!pages[p].contains(QStringLiteral("RGB: ") + colour->ToString(QStringLiteral("rgb"))))
                continue;
            ++measured;
            const QRect found = colouredArea(page, QColor(colour->Red(), colour->Green(), colour->Blue()));
            EXPECT_NEAR(found.width(), 125, 2) << "page " << p + 1 << " " << colour->ToString(QString()).toStdString();
            EXPECT_NEAR(found.height(), 25, 2) << "page " << p + 1 << " " << colour->ToString(QString()).toStdString();
        }
    }
    EXPECT_EQ(measured, 8 + 2 * 10);
}

TEST_F(PrinterHelpersTest, TheProgressWindowNamesEachItemAsItPrints) {
    host.proofers = {swatch(1, 1, 1), swatch(2, 2, 2)};
    host.schemes = {ReportScheme{1, QStringLiteral("n"), {swatch(3, 3, 3)}}};
    QStringList seen;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::allWidgets())
            if (auto* progress = qobject_cast<frmPrinting*>(widget)) {
                EXPECT_EQ(progress->windowTitle(), QStringLiteral("Printing..."));
                if (seen.isEmpty() || seen.back() != progress->Caption())
                    seen << progress->Caption();
            }
    });
    sampler.start(0);
    printToPdf();
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Setting up printer..."), QStringLiteral("Printing proofer 1"),
                                 QStringLiteral("Printing proofer 2"), QStringLiteral("Selection 2"),
                                 QStringLiteral("Printing proofer 1")}));
}

TEST_F(PrinterHelpersTest, AReportAskedForWhileOnePrintsIsIgnored) {
    host.proofers = {swatch(1, 1, 1), swatch(2, 2, 2)};
    QTimer again;
    QObject::connect(&again, &QTimer::timeout, [&] { PrinterHelpers::PrintColorReport(host); });
    again.start(0);
    const QStringList pages = printToPdf();
    again.stop();
    EXPECT_EQ(dialog.Requests().size(), 1u);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Color Panel 2")));
}

TEST_F(PrinterHelpersTest, SwatchesPrintBesideTheValuesEvenWhenTheirPictureIsGone) {
    // The first colour's box shows it; the second's image texture points at a missing file and has no box.
    PictureBox box;
    box.resize(64, 32);
    auto boxed = color(200, 30, 90);
    box.SetBackColor(boxed->RGBColor());
    auto orphan = color(20, 180, 60);
    orphan->SetColorTexture(Factory::NewTexture(7, QStringLiteral("sea"), dir.filePath(QStringLiteral("gone.jpg")),
                                                TextureKind::Image, false, false));
    host.proofers = {ReportColor{boxed, &box}, ReportColor{orphan, {}}};
    const QStringList pages = printToPdf();
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("RGB: (20, 180, 60)")));
    EXPECT_EQ(box.size(), QSize(64, 32));

    // The box's picture is taken at 250 x 50 of its own pixels and drawn at its own size, 96 to the inch: 2.6 x 0.52
    // inch. The colour without a box prints the same size.
    const std::vector<PdfText::Image> images = PdfText::Images(pdf());
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].page, 1);
    EXPECT_EQ(images[0].width, 250);
    EXPECT_EQ(images[0].height, 50);
    EXPECT_NEAR(images[0].xPpi, 96, 1);
    EXPECT_NEAR(images[0].yPpi, 96, 1);

    // At 144 dpi that is 375 x 75 pixels, from the middle of the printable width, beside the "RGB: " line.
    const QImage page = PdfText::Render(pdf(), 1, 144);
    ASSERT_FALSE(page.isNull());
    std::vector<double> rgbTops;
    for (const PdfText::Word& word : PdfText::Words(pdf(), 1))
        if (word.text == QStringLiteral("RGB:"))
            rgbTops.push_back(word.box.top() * 2);
    ASSERT_EQ(rgbTops.size(), 2u);
    const double middle = (18 + (595.28 - 36) / 2) * 2;
    const QColor wanted[] = {QColor(200, 30, 90), QColor(20, 180, 60)};
    for (int k = 0; k < 2; ++k) {
        const QRect found = colouredArea(page, wanted[k]);
        EXPECT_NEAR(found.width(), 375, 2) << k;
        EXPECT_NEAR(found.height(), 75, 2) << k;
        EXPECT_NEAR(found.left(), middle, 2) << k;
        // The line's top lies a little above its letters.
        EXPECT_NEAR(found.top(), rgbTops[static_cast<size_t>(k)], 8) << k;
    }
}

TEST_F(PrinterHelpersTest, ASwatchWhosePictureFileIsMissingPrintsItsValuesAndItsPlainColour) {
    auto missing = color(20, 180, 60);
    missing->SetColorTexture(Factory::NewTexture(7, QStringLiteral("sea"), dir.filePath(QStringLiteral("gone.jpg")),
                                                 TextureKind::Image, false, false));
    owner.resize(300, 200);
    auto* panel = new ColorPanel(&owner);
    panel->setGeometry(10, 10, 60, 40);
    owner.show();
    panel->Init(&owner, missing, 0, false);
    const QSize boxSize = panel->PictureColor()->size();
    host.proofers = {ReportColor{panel->PanelColor(), panel->PictureColor()}};
    const QStringList pages = printToPdf();
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("RGB: (20, 180, 60)")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("HTML: #14B43C")));
    EXPECT_EQ(panel->PictureColor()->size(), boxSize);
    const QImage page = PdfText::Render(pdf(), 1, 144);
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(colouredArea(page, QColor(20, 180, 60)).width(), 375, 2);
    panel->Dispose();
}

TEST_F(PrinterHelpersTest, APageIsFullFromSevenEighthsDown) {
    Printer& printer = Printer::Current();
    const double h = printer.ScaleHeight();
    printer.SetCurrentY(h * 7 / 8 - 1);
    EXPECT_FALSE(PrinterHelpers::PageIsFull());
    printer.SetCurrentY(h * 7 / 8);
    EXPECT_TRUE(PrinterHelpers::PageIsFull());
}

TEST_F(PrinterHelpersTest, ThePageNumberKeepsThePositionAndTheBoldSetting) {
    Printer& printer = Printer::Current();
    printer.SetOutputFileName(pdf());
    printer.SetCurrentX(1234);
    printer.SetCurrentY(2345);
    printer.SetFontBold(true);
    PrinterHelpers::PrintPageNumber(1000);
    EXPECT_EQ(printer.CurrentX(), 1234);
    EXPECT_EQ(printer.CurrentY(), 2345);
    EXPECT_TRUE(printer.FontBold());
    printer.EndDoc();
    // Right-aligned at the margin's distance from the right edge: at 72 dpi the text ends 50 points
    // inside the printable width, which starts 18 points in.
    const QImage page = PdfText::Render(pdf(), 1, 72);
    ASSERT_FALSE(page.isNull());
    int right = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixelColor(x, y).lightness() < 128)
                right = std::max(right, x);
    const double expected = 18 + printer.ScaleWidth() / 20 - 50;
    EXPECT_NEAR(right, expected, 3);
}

}  // namespace
