#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The dialog in which the user edits the notes of one colour scheme. It knows nothing of strips: it holds
// the text and reports whether "&OK" closed it. Line breaks of Comments are CR LF.
class frmNotes : public QDialog {
    Q_OBJECT
public:
    explicit frmNotes(QWidget* parent = nullptr);
    ~frmNotes() override;

    // True once "&OK" closed the dialog; "&Cancel" and the close box leave it False.
    bool OKPressed = false;

    QString Comments() const;
    void SetComments(const QString& Value);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Places the controls for the current size, in twips; a step whose size would be negative is skipped.
    void FormResize();
    int Pixels(double twips, bool horizontal) const;
    double Twips(int pixels, bool horizontal) const;

    // The text as set, and as the box shows it: while the box still shows that, the text as set is returned
    // unchanged, so that a text the box cannot hold exactly (a lone CR, a no-break space) survives a visit.
    QString m_comments;
    QString m_shown;

    QFrame* Frame1 = nullptr;
    QWidget* Picture1 = nullptr;
    QPlainTextEdit* txtComments = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};
