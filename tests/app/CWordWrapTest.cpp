#include "app/CWordWrap.h"
#include "platform/Printer.h"
#include "support/PdfText.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr double Margin = 1000;

// A word-wrapping printer on its own PDF printer, margins all 1000 twips, starting at (1000, 1000).
class CWordWrapTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        printer.SetDeviceName(Printer::PdfDeviceName);
        printer.SetOutputFileName(pdf());
        wrap.SetMarginLeft(Margin);
        wrap.SetMarginTop(Margin);
        wrap.SetMarginRight(Margin);
        wrap.SetMarginBottom(Margin);
        printer.SetCurrentX(Margin);
        printer.SetCurrentY(Margin);
    }

    QString pdf() const { return dir.filePath(QStringLiteral("wrap.pdf")); }
    double w(const QString& text) const { return printer.TextWidth(text); }
    double h() const { return printer.TextHeight(); }
    double rightEdge() const { return printer.ScaleWidth() - Margin; }
    QStringList endAndRead() {
        printer.EndDoc();
        return PdfText::Pages(pdf());
    }

    QTemporaryDir dir;
    Printer printer;
    CWordWrap wrap{&printer};
};

TEST(CWordWrapDefaults, MarginsAndHeader) {
    Printer printer;
    const CWordWrap wrap(&printer);
    EXPECT_EQ(wrap.HeaderText(), QStringLiteral("CWordWrap Class"));
    EXPECT_EQ(wrap.MarginLeft(), 720);
    EXPECT_EQ(wrap.MarginTop(), 1440);
    EXPECT_EQ(wrap.MarginRight(), 720);
    EXPECT_EQ(wrap.MarginBottom(), 1440);
}

TEST_F(CWordWrapTest, EmptyTextPrintsNothingAndStartsNoDocument) {
    wrap.PrintText(QString());
    EXPECT_EQ(printer.CurrentX(), Margin);
    EXPECT_EQ(printer.CurrentY(), Margin);
    printer.EndDoc();
    EXPECT_FALSE(QFileInfo::exists(pdf()));
}

struct OneLineCase {
    const char* name;
    QString text;
    QString printedAs;  // what ends up on the line, measured as one text
};

class CWordWrapOneLine : public CWordWrapTest, public ::testing::WithParamInterface<OneLineCase> {};

// Blanks print as they come and the line is left open after the last character.
TEST_P(CWordWrapOneLine, AdvancesAlongTheOpenLine) {
    wrap.PrintText(GetParam().text);
    EXPECT_NEAR(printer.CurrentX(), Margin + w(GetParam().printedAs), 0.5);
    EXPECT_EQ(printer.CurrentY(), Margin);
    if (!GetParam().printedAs.trimmed().isEmpty()) {
        const QStringList pages = endAndRead();
        ASSERT_EQ(pages.size(), 1);
        EXPECT_TRUE(pages[0].contains(GetParam().printedAs.trimmed())) << pages[0].toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CWordWrapOneLine,
    ::testing::Values(OneLineCase{"OneCharacter", QStringLiteral("x"), QStringLiteral("x")},
                      OneLineCase{"TwoWords", QStringLiteral("red green"), QStringLiteral("red green")},
                      OneLineCase{"OnlyBlanks", QStringLiteral("   "), QStringLiteral("   ")},
                      OneLineCase{"TrailingBlanks", QStringLiteral("blue  "), QStringLiteral("blue  ")},
                      OneLineCase{"CarriageReturnAlone", QStringLiteral("a\rb"), QStringLiteral("ab")},
                      OneLineCase{"NonAscii", QStringLiteral("Grüße naïve Ørsted αβγ"),
                                  QStringLiteral("Grüße naïve Ørsted αβγ")}),
    [](const auto& info) { return std::string(info.param.name); });

struct BreakCase {
    const char* name;
    QString text;
};

class CWordWrapLineFeed : public CWordWrapTest, public ::testing::WithParamInterface<BreakCase> {};

// A carriage return before a line feed adds nothing: a pair makes exactly one line break.
TEST_P(CWordWrapLineFeed, StartsOneNewLineAtTheLeftMargin) {
    wrap.PrintText(GetParam().text);
    EXPECT_NEAR(printer.CurrentY(), Margin + h(), 0.01);
    EXPECT_NEAR(printer.CurrentX(), Margin + w(QStringLiteral("two")), 0.5);
    const QStringList lines = PdfText::Lines(endAndRead().value(0));
    EXPECT_EQ(lines, (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
}

INSTANTIATE_TEST_SUITE_P(Breaks, CWordWrapLineFeed,
                         ::testing::Values(BreakCase{"LineFeed", QStringLiteral("one\ntwo")},
                                           BreakCase{"CarriageReturnLineFeed", QStringLiteral("one\r\ntwo")},
                                           BreakCase{"LineFeedCarriageReturn", QStringLiteral("one\n\rtwo")}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CWordWrapTest, AWordThatDoesNotFitMovesOnAndTheBlanksStayBehind) {
    // "ab" and two blanks fit; "cd" would cross the right margin by a twip.
    const double start = rightEdge() - w(QStringLiteral("ab  ")) - w(QStringLiteral("cd")) + 1;
    printer.SetCurrentX(start);
    wrap.PrintText(QStringLiteral("ab  cd"));
    EXPECT_NEAR(printer.CurrentY(), Margin + h(), 0.01);
    EXPECT_NEAR(printer.CurrentX(), Margin + w(QStringLiteral("cd")), 0.5);
}

TEST_F(CWordWrapTest, AWordThatJustFitsStaysOnTheLine) {
    const double start = rightEdge() - w(QStringLiteral("cd"));
    printer.SetCurrentX(start);
    wrap.PrintText(QStringLiteral("cd"));
    EXPECT_EQ(printer.CurrentY(), Margin);
}

TEST_F(CWordWrapTest, AWordWiderThanTheLinePrintsWholeOnALineOfItsOwn) {
    const QString longWord = QString(400, QLatin1Char('w'));
    ASSERT_GT(w(longWord), rightEdge() - Margin);
    wrap.PrintText(QStringLiteral("a ") + longWord + QStringLiteral(" b"));
    // The long word went to the second line and ran past the margin; "b" then wrapped to the third.
    EXPECT_NEAR(printer.CurrentY(), Margin + 2 * h(), 0.01);
    EXPECT_NEAR(printer.CurrentX(), Margin + w(QStringLiteral("b")), 0.5);
}

struct TabCase {
    const char* name;
    double fromDigits;  // X as 720 + this many widths of "0"
    double toDigits;
};

class CWordWrapTabs : public CWordWrapTest, public ::testing::WithParamInterface<TabCase> {};

TEST_P(CWordWrapTabs, MoveToTheNextStopCountedFrom720) {
    const double d = w(QStringLiteral("0"));
    printer.SetCurrentX(720 + GetParam().fromDigits * d);
    wrap.PrintText(QStringLiteral("\t"));
    EXPECT_NEAR(printer.CurrentX(), 720 + GetParam().toDigits * d, 1e-6);
    EXPECT_EQ(printer.CurrentY(), Margin);
}

INSTANTIATE_TEST_SUITE_P(Stops, CWordWrapTabs,
                         ::testing::Values(TabCase{"AtTheOrigin", 0, 10}, TabCase{"BetweenStops", 3, 10},
                                           TabCase{"OnAStop", 10, 20}, TabCase{"JustBeforeAStopRoundsOntoIt", 9.6, 20},
                                           TabCase{"HalfBeforeAStop", 9.5, 20}, TabCase{"JustPastAStop", 10.4, 20},
                                           TabCase{"FarAcross", 37, 40}, TabCase{"LeftOfTheOrigin", -3, 10},
                                           TabCase{"OnAStopLeftOfTheOrigin", -10, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CWordWrapTest, TabsBetweenWordsLandEachWordOnAStop) {
    printer.SetCurrentX(720);
    wrap.PrintText(QStringLiteral("a\tb\t\tc"));
    const double d = w(QStringLiteral("0"));
    EXPECT_NEAR(printer.CurrentX(), 720 + 30 * d + w(QStringLiteral("c")), 1e-6);
}

TEST_F(CWordWrapTest, ALineEndBelowTheBottomMarginStartsANumberedPageAtTheTopMargin) {
    // One more line end crosses ScaleHeight - MarginBottom.
    printer.SetCurrentY(printer.ScaleHeight() - Margin - h() / 2);
    wrap.PrintText(QStringLiteral("first\nsecond"));
    EXPECT_EQ(printer.Page(), 2);
    EXPECT_EQ(printer.CurrentY(), Margin);
    EXPECT_NEAR(printer.CurrentX(), Margin + w(QStringLiteral("second")), 0.5);
    const QStringList pages = endAndRead();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("first")));
    const QStringList second = PdfText::Lines(pages[1]);
    EXPECT_EQ(second.front(), QStringLiteral("second"));
    EXPECT_EQ(second.back(), QStringLiteral("Page 2"));
}

TEST_F(CWordWrapTest, TextBeyondA16BitPositionPrintsWhole) {
    QString text;
    for (int n = 0; text.size() < 40000; ++n) text += QStringLiteral("word%1 ").arg(n);
    text += QStringLiteral("LASTWORD");
    ASSERT_GT(text.size(), 40000);
    wrap.PrintText(text);
    const QStringList pages = endAndRead();
    ASSERT_GT(pages.size(), 3);
    EXPECT_TRUE(pages.back().contains(QStringLiteral("LASTWORD")));
    for (int page = 1; page < pages.size(); ++page)
        EXPECT_EQ(PdfText::Lines(pages[page]).back(), QStringLiteral("Page %1").arg(page + 1));
    // No line runs past the right margin: every line of the first page is made of whole words.
    for (const QString& line : PdfText::Lines(pages[0]))
        EXPECT_TRUE(line.startsWith(QStringLiteral("word"))) << line.toStdString();
}

}  // namespace
