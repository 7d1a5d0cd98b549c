#include "support/ScriptedModalDialog.h"
#include "views/frmNotes.h"

#include <QApplication>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// At 96 DPI one pixel is 15 twips.
QRect Twips(const QWidget* widget) {
    const QRect r = widget->geometry();
    return QRect(r.x() * 15, r.y() * 15, r.width() * 15, r.height() * 15);
}

struct Notes {
    frmNotes dialog;
    QWidget* frame = dialog.findChild<QWidget*>(QStringLiteral("Frame1"));
    QWidget* picture = dialog.findChild<QWidget*>(QStringLiteral("Picture1"));
    QPlainTextEdit* text = dialog.findChild<QPlainTextEdit*>(QStringLiteral("txtComments"));
    QPushButton* ok = dialog.findChild<QPushButton*>(QStringLiteral("OKButton"));
    QPushButton* cancel = dialog.findChild<QPushButton*>(QStringLiteral("CancelButton"));
};

TEST(frmNotes, OpensAtTheDesignSizeWithTheButtonsBelowTheTextAndTheTextFocused) {
    Notes n;
    std::vector<QWidget*> focus;
    ScriptedModalDialog script({[&](QDialog& d) {
        QApplication::setActiveWindow(&d);
        for (int i = 0; i < 3; ++i) {
            focus.push_back(QApplication::focusWidget());
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(QApplication::focusWidget(), &tab);
        }
    }});
    ModalDialog::Show(n.dialog, nullptr);
    EXPECT_EQ(n.dialog.windowTitle(), QStringLiteral("Color Scheme Notes"));
    EXPECT_EQ(n.dialog.font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(Twips(&n.dialog).size(), QSize(7710, 5655));
    // 7710 - 120 - 100 and 5655 - 180 - 600 twips, to the nearest pixel.
    EXPECT_EQ(n.frame->geometry(), QRect(8, 12, 499, 325));
    EXPECT_EQ(Twips(n.picture).topLeft(), QPoint(60, 180));
    EXPECT_EQ(Twips(n.text).topLeft(), QPoint(60, 60));
    // The buttons keep their size and sit 450 twips above the bottom, right-aligned to the text box.
    EXPECT_EQ(Twips(n.cancel).size(), QSize(1155, 345));
    EXPECT_EQ(Twips(n.cancel).y(), 5205);
    EXPECT_EQ(Twips(n.ok).y(), 5205);
    EXPECT_EQ(n.cancel->x() + n.cancel->width(), n.text->x() + n.text->width());
    EXPECT_EQ(n.ok->x() + n.ok->width() + 10, n.cancel->x());
    EXPECT_EQ(script.Captions(), std::vector<QString>{QStringLiteral("Color Scheme Notes")});
    // The text box has the focus; Tab goes on to "&OK", then "&Cancel".
    EXPECT_EQ(focus, (std::vector<QWidget*>{n.text, n.ok, n.cancel}));
}

TEST(frmNotes, FollowsEveryResizeAndSkipsSizesThatWouldBeNegative) {
    Notes n;
    n.dialog.show();
    n.dialog.resize(700, 500);
    EXPECT_EQ(n.frame->width(), 700 - 8 - 7);
    EXPECT_EQ(n.frame->height(), 500 - 12 - 40);
    EXPECT_EQ(n.cancel->y(), 500 - 30);
    const QSize frame = n.frame->size();
    const QSize text = n.text->size();

    n.dialog.resize(20, 20);
    EXPECT_EQ(n.frame->size(), frame);
    EXPECT_EQ(n.text->size(), text);
    // The buttons still move: placing a control never fails.
    EXPECT_EQ(n.cancel->y(), 20 - 30);
}

// How the dialog is closed and what it reports.
struct CloseCase {
    const char* name;
    void (*close)(QDialog&);
    bool okPressed;
    friend void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }
};

class frmNotesClose : public ::testing::TestWithParam<CloseCase> {};

TEST_P(frmNotesClose, OnlyOKReportsOK) {
    Notes n;
    ScriptedModalDialog script({[](QDialog& d) { GetParam().close(d); }});
    ModalDialog::Show(n.dialog, nullptr);
    EXPECT_EQ(n.dialog.OKPressed, GetParam().okPressed);
    EXPECT_FALSE(n.dialog.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, frmNotesClose,
    ::testing::Values(CloseCase{"OK", [](QDialog& d) { ScriptedModalDialog::Click(d, QStringLiteral("&OK")); }, true},
                      CloseCase{"Cancel", [](QDialog& d) { ScriptedModalDialog::Click(d, QStringLiteral("&Cancel")); },
                                false},
                      CloseCase{"CloseBox", [](QDialog& d) { ScriptedModalDialog::CloseBox(d); }, false},
                      CloseCase{"Escape",
                                [](QDialog& d) {
                                    QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                                    QApplication::sendEvent(&d, &key);
                                },
                                false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(frmNotes, CommentsUseCarriageReturnLineFeedAndComeBackExactlyWhenUntouched) {
    Notes n;
    EXPECT_FALSE(n.dialog.OKPressed);
    EXPECT_EQ(n.dialog.Comments(), QString());
    const QString odd = QStringLiteral("lone\nfeed, lone\rreturn, tab\t, nbsp\u00a0, Grüße");
    n.dialog.SetComments(odd);
    EXPECT_EQ(n.dialog.Comments(), odd);

    n.dialog.SetComments(QStringLiteral("a\r\nb"));
    EXPECT_EQ(n.text->toPlainText(), QStringLiteral("a\nb"));
    n.text->moveCursor(QTextCursor::End);
    n.text->insertPlainText(QStringLiteral("\nc"));
    EXPECT_EQ(n.dialog.Comments(), QStringLiteral("a\r\nb\r\nc"));
}

}  // namespace
