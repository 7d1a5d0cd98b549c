#pragma once

#include <QWidget>

#include <vector>

class QLabel;
class StatusBar;

// Draws the status bar: the first pane takes the free width, the others sit at the right in sunken frames.
class StatusBarWidget : public QWidget {
    Q_OBJECT
public:
    StatusBarWidget(StatusBar* bar, QWidget* parent);

    QSize sizeHint() const override { return QSize(400, 22); }
    void Sync(bool structure);
    // The label of the pane with this id; none when there is no such pane.
    QLabel* PaneLabel(int id) const;

private:
    StatusBar* m_bar;
    std::vector<std::pair<int, QLabel*>> m_panes;
};
