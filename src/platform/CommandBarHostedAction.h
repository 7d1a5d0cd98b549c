#pragma once

#include <QPointer>
#include <QSize>
#include <QWidgetAction>

class CommandBarCustom;

// Lends the owner's widget of a custom control to a menu while the menu lives, and gives it back (hidden, to
// its own parent) afterwards, where a plain widget action would delete it. Inside the menu Tab and Shift+Tab
// move between the widget's own controls (a menu would otherwise take them as moves between its lines).
class CommandBarHostedAction : public QWidgetAction {
    Q_OBJECT
public:
    CommandBarHostedAction(CommandBarCustom* control, QObject* parent);

    // The owner's widget while a menu shows it.
    QWidget* Shown() const { return m_shown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    QWidget* createWidget(QWidget* parent) override;
    void deleteWidget(QWidget* widget) override;

private:
    CommandBarCustom* m_control;
    QSize m_oldMinimum;
    bool m_proxied = false;
    QPointer<QWidget> m_shown;
};
