#include "views/frmNotes.h"

#include "platform/Numeric.h"
#include "platform/Twips.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

namespace {

struct TwipsRect {
    double left, top, width, height;
};

// Design positions in twips, relative to each control's container.
constexpr TwipsRect DesignClient{0, 0, 7710, 5655};
constexpr TwipsRect DesignFrame{120, 180, 7515, 4755};
constexpr TwipsRect DesignPicture{60, 180, 7395, 4515};
constexpr TwipsRect DesignText{60, 60, 7215, 4395};
constexpr TwipsRect DesignOK{4980, 5160, 1150, 350};
constexpr TwipsRect DesignCancel{6300, 5160, 1150, 350};

}  // namespace

frmNotes::frmNotes(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Color Scheme Notes"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    setFont(font);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    Frame1->setFrameShadow(QFrame::Sunken);
    Picture1 = new QWidget(Frame1);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    txtComments = new QPlainTextEdit(Picture1);
    txtComments->setObjectName(QStringLiteral("txtComments"));
    QFont textFont(QStringLiteral("MS Sans Serif"));
    textFont.setPointSizeF(9.75);
    txtComments->setFont(textFont);
    // Tab moves on to the buttons, as in every text box of the form.
    txtComments->setTabChangesFocus(true);
    OKButton = new QPushButton(QStringLiteral("&OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    // Enter in the text box is a line break, not "&OK".
    OKButton->setAutoDefault(false);
    CancelButton->setAutoDefault(false);

    const auto place = [this](QWidget* widget, const TwipsRect& r) {
        widget->setGeometry(Pixels(r.left, true), Pixels(r.top, false), Pixels(r.width, true), Pixels(r.height, false));
    };
    place(Frame1, DesignFrame);
    place(Picture1, DesignPicture);
    place(txtComments, DesignText);
    place(OKButton, DesignOK);
    place(CancelButton, DesignCancel);

    setTabOrder(txtComments, OKButton);
    setTabOrder(OKButton, CancelButton);
    Picture1->setFocusPolicy(Qt::NoFocus);
    Frame1->setFocusPolicy(Qt::NoFocus);
    txtComments->setFocus();

    connect(OKButton, &QPushButton::clicked, this, [this] {
        OKPressed = true;
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        OKPressed = false;
        reject();
    });

    resize(Pixels(DesignClient.width, true), Pixels(DesignClient.height, false));
}

frmNotes::~frmNotes() = default;

QString frmNotes::Comments() const {
    QString text = txtComments->toPlainText();
    if (!txtComments->document()->isModified() || text == m_shown)
        return m_comments;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void frmNotes::SetComments(const QString& Value) {
    m_comments = Value;
    QString shown = Value;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtComments->setPlainText(shown);
    txtComments->document()->setModified(false);
    m_shown = txtComments->toPlainText();
}

int frmNotes::Pixels(double twips, bool horizontal) const {
    const double dpi = horizontal ? logicalDpiX() : logicalDpiY();
    return Numeric::Round(twips * dpi / Twips::PerInch);
}

double frmNotes::Twips(int pixels, bool horizontal) const {
    const double dpi = horizontal ? logicalDpiX() : logicalDpiY();
    return pixels * Twips::PerInch / dpi;
}

void frmNotes::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void frmNotes::FormResize() {
    const double innerWidth = Twips(width(), true);
    const double innerHeight = Twips(height(), false);
    // A size that would come out negative leaves its control as it was; moves never fail.
    const auto sized = [this](QWidget* widget, double w, double h) {
        if (w < 0 || h < 0)
            return;
        widget->resize(Pixels(w, true), Pixels(h, false));
    };
    const auto tw = [this](int pixels) { return Twips(pixels, true); };
    const auto th = [this](int pixels) { return Twips(pixels, false); };

    sized(Frame1, innerWidth - tw(Frame1->x()) - 100, innerHeight - th(Frame1->y()) - 600);
    sized(Picture1, tw(Frame1->width()) - 100, th(Frame1->height()) - 200);
    sized(txtComments, tw(Frame1->width()) - tw(txtComments->x()) - 200,
          th(Frame1->height()) - th(txtComments->y()) - 400);
    // The buttons follow the text box measured inside its own container, as the form always did.
    const double cancelLeft = tw(txtComments->x()) + tw(txtComments->width()) - tw(CancelButton->width());
    CancelButton->move(Pixels(cancelLeft, true), Pixels(innerHeight - 450, false));
    OKButton->move(Pixels(tw(CancelButton->x()) - 150 - tw(OKButton->width()), true), CancelButton->y());
}
