#include "platform/PrintDialog.h"
#include "platform/Printer.h"
#include "support/PdfText.h"
#include "support/ScriptedPrintDialog.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class PrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        printer.SetDeviceName(Printer::PdfDeviceName);
        printer.SetOutputFileName(pdf());
    }
    QString pdf() const { return dir.filePath(QStringLiteral("out.pdf")); }

    QTemporaryDir dir;
    Printer printer;
};

TEST(PrinterDevices, ThePdfTargetIsOfferedWithOrWithoutInstalledPrinters) {
    const QStringList names = Printer::DeviceNames();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names.back(), Printer::PdfDeviceName);
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        Printer printer;
        EXPECT_EQ(printer.DeviceName(), Printer::PdfDeviceName);
    }
}

TEST_F(PrinterTest, AnUnknownDeviceFallsBackToThePdfTarget) {
    printer.SetDeviceName(QStringLiteral("NO SUCH PRINTER"));
    EXPECT_EQ(printer.DeviceName(), Printer::PdfDeviceName);
}

TEST_F(PrinterTest, ScaleIsThePrintableAreaInTwips) {
    QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(36, 72, 36, 72), QPageLayout::Point);
    printer.SetPageLayout(a4);
    // A4 is 595 x 842 points; 20 twips to the point.
    EXPECT_NEAR(printer.ScaleWidth(), (595 - 72) * 20, 1);
    EXPECT_NEAR(printer.ScaleHeight(), (842 - 144) * 20, 1);
    printer.SetOrientation(Printer::Landscape);
    EXPECT_EQ(printer.Orientation(), Printer::Landscape);
    EXPECT_GT(printer.ScaleWidth(), printer.ScaleHeight());
}

TEST_F(PrinterTest, TextSizesFollowTheFontInTwips) {
    printer.SetFontSize(10);
    const double small = printer.TextWidth(QStringLiteral("Color Scheme"));
    const double smallHeight = printer.TextHeight();
    // A 10-point line is a little over 200 twips.
    EXPECT_GT(smallHeight, 200);
    EXPECT_LT(smallHeight, 320);
    printer.SetFontSize(20);
    EXPECT_NEAR(printer.TextWidth(QStringLiteral("Color Scheme")), 2 * small, small * 0.05);
    printer.SetFontBold(true);
    EXPECT_GT(printer.TextWidth(QStringLiteral("Color Scheme")), 2 * small);
    EXPECT_EQ(printer.TextWidth(QString()), 0);
}

TEST_F(PrinterTest, PrintMovesThePositionByLineOrAlongIt) {
    printer.SetCurrentX(500);
    printer.SetCurrentY(700);
    printer.Print(QStringLiteral("abc"), Printer::LineEnd::Open);
    EXPECT_NEAR(printer.CurrentX(), 500 + printer.TextWidth(QStringLiteral("abc")), 1e-9);
    EXPECT_EQ(printer.CurrentY(), 700);
    printer.Print(QStringLiteral("def"));
    EXPECT_EQ(printer.CurrentX(), 0);
    EXPECT_NEAR(printer.CurrentY(), 700 + printer.TextHeight(), 1e-9);
    printer.Print();
    EXPECT_NEAR(printer.CurrentY(), 700 + 2 * printer.TextHeight(), 1e-9);
}

TEST_F(PrinterTest, PagesAreNumberedPerDocumentAndTheFileAppearsAtTheEnd) {
    printer.Print(QStringLiteral("first page"));
    EXPECT_EQ(printer.Page(), 1);
    printer.NewPage();
    EXPECT_EQ(printer.Page(), 2);
    EXPECT_EQ(printer.CurrentY(), 0);
    printer.Print(QStringLiteral("second page"));
    EXPECT_FALSE(QFileInfo::exists(pdf()));
    printer.EndDoc();
    EXPECT_EQ(printer.Page(), 1);
    const QStringList pages = PdfText::Pages(pdf());
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(PdfText::Lines(pages[0]), QStringList{QStringLiteral("first page")});
    EXPECT_EQ(PdfText::Lines(pages[1]), QStringList{QStringLiteral("second page")});
}

TEST_F(PrinterTest, EndingADocumentWithNothingPrintedWritesNothing) {
    printer.EndDoc();
    printer.KillDoc();
    EXPECT_FALSE(QFileInfo::exists(pdf()));
}

TEST_F(PrinterTest, AKilledDocumentLeavesAnOlderFileWhole) {
    QFile older(pdf());
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("older");
    older.close();
    printer.Print(QStringLiteral("discarded"));
    printer.KillDoc();
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), QByteArray("older"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.pdf")});
}

TEST_F(PrinterTest, PicturesAndFilledRectanglesLandWhereTheyArePainted) {
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 255));
    printer.PaintPicture(picture, 1440, 1440, 1440, 720);
    printer.FillRect(4320, 1440, 1440, 720, 0x0000FF);  // packed red
    printer.EndDoc();
    // At 72 dpi a twip is 1/20 point and the page starts 18 points in.
    const QImage page = PdfText::Render(pdf(), 1, 72);
    ASSERT_FALSE(page.isNull());
    // Pictures may be stored compressed, so their colour is allowed a step or two.
    const auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3 &&
               std::abs(a.blue() - b.blue()) <= 3;
    };
    EXPECT_TRUE(near(page.pixelColor(18 + 108, 18 + 90), QColor(0, 0, 255)));
    EXPECT_TRUE(near(page.pixelColor(18 + 252, 18 + 90), QColor(255, 0, 0)));
    EXPECT_TRUE(near(page.pixelColor(18 + 180, 18 + 90), QColor(255, 255, 255)));
    EXPECT_TRUE(near(page.pixelColor(18 + 108, 18 + 40), QColor(255, 255, 255)));
}

TEST_F(PrinterTest, AFileThatCannotBePutInPlaceFailsAtTheEndAndLeavesNothing) {
    const QString folder = dir.filePath(QStringLiteral("vanishing"));
    ASSERT_TRUE(QDir().mkpath(folder));
    printer.SetOutputFileName(folder + QStringLiteral("/out.pdf"));
    printer.Print(QStringLiteral("lost"));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { printer.EndDoc(); }), Printer::PrinterError);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(printer.Page(), 1);
    printer.SetOutputFileName(pdf());
    printer.Print(QStringLiteral("again"));
    printer.EndDoc();
    EXPECT_EQ(PdfText::Lines(PdfText::Pages(pdf()).value(0)), QStringList{QStringLiteral("again")});
}

struct FailingTarget {
    const char* name;
    QString (*path)(const QString& dir);
};

class PrinterFailures : public PrinterTest, public ::testing::WithParamInterface<FailingTarget> {};

TEST_P(PrinterFailures, RaiseAPrinterErrorAndLeaveNoFile) {
    const QString target = GetParam().path(dir.path());
    printer.SetOutputFileName(target);
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { printer.Print(QStringLiteral("x")); }), Printer::PrinterError);
    EXPECT_FALSE(QFileInfo(target).isFile());
    // The printer is usable again afterwards.
    printer.SetOutputFileName(pdf());
    printer.Print(QStringLiteral("again"));
    printer.EndDoc();
    EXPECT_TRUE(QFileInfo::exists(pdf()));
}

INSTANTIATE_TEST_SUITE_P(Targets, PrinterFailures,
                         ::testing::Values(FailingTarget{"NoFileChosen", [](const QString&) { return QString(); }},
                                           FailingTarget{
                                               "MissingFolder",
                                               [](const QString& d) { return d + QStringLiteral("/missing/out.pdf"); }},
                                           FailingTarget{"AFolderNotAFile",
                                                         [](const QString& d) {
                                                             QDir(d).mkdir(QStringLiteral("folder.pdf"));
                                                             return d + QStringLiteral("/folder.pdf");
                                                         }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PrintDialogSeam, ACancelRaisesTheCancelErrorOnlyWhenAskedTo) {
    ScriptedPrintDialog dialog;
    PrintDialog::Request request;
    request.cancelError = false;
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { EXPECT_FALSE(PrintDialog::Show(request).accepted); }), 0);
    request.cancelError = true;
    EXPECT_EQ(TestEnvironment::ErrorNumberOf([&] { PrintDialog::Show(request); }), PrintDialog::CancelError);
    dialog.Answer(ScriptedPrintDialog::ToPdf(QStringLiteral("/tmp/x.pdf"), 3));
    const PrintDialog::Result result = PrintDialog::Show(request);
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(result.copies, 3);
    EXPECT_EQ(dialog.Requests().size(), 3u);
}

}  // namespace
