#pragma once

#include <QToolButton>

// A tool button of the ribbon. A popup button draws a drop-down arrow; a split button has an arrow part (the
// lower band of a large button, the right end of a small one) that opens its popup while the rest executes;
// the system button is drawn filled with the highlight colour.
class CommandBarButtonWidget : public QToolButton {
    Q_OBJECT
public:
    enum class Kind { Plain, Popup, Split, System };

    CommandBarButtonWidget(Kind kind, QWidget* parent);

    Kind GetKind() const { return m_kind; }
    QSize sizeHint() const override;
    // Whether a point lies on the part that opens the popup.
    bool OnArrow(const QPoint& pos) const;

signals:
    void ArrowClicked();
    void BodyClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect ArrowRect() const;

    Kind m_kind;
};
