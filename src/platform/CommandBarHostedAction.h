#pragma once

#include <QSize>
#include <QWidgetAction>

class CommandBarCustom;

// Lends the owner's widget of a custom control to a menu while the menu lives, and gives it back (hidden, to
// its own parent) afterwards, where a plain widget action would delete it.
class CommandBarHostedAction : public QWidgetAction {
    Q_OBJECT
public:
    CommandBarHostedAction(CommandBarCustom* control, QObject* parent);

protected:
    QWidget* createWidget(QWidget* parent) override;
    void deleteWidget(QWidget* widget) override;

private:
    CommandBarCustom* m_control;
    QSize m_oldMinimum;
};
