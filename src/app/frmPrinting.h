#pragma once

#include <QWidget>

class QLabel;

// The small progress window shown while the colour report prints. It repaints only when the
// printing lets events run (App::DoEvents).
class frmPrinting : public QWidget {
    Q_OBJECT
public:
    explicit frmPrinting(QWidget* owner = nullptr);

    QString Caption() const;
    void SetCaption(const QString& text);
    // Asks for a repaint, which happens at the next App::DoEvents.
    void Refresh();

    QLabel* lblCaption = nullptr;
};
