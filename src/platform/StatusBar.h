#pragma once

#include <QString>

#include <vector>

class CommandBars;

// The status bar along the owner's bottom edge: panes by id, in the order added, each with a text.
class StatusBar {
public:
    explicit StatusBar(CommandBars* owner) : m_owner(owner) {}

    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);

    void AddPane(int id);
    void RemoveAll();
    int PaneCount() const { return static_cast<int>(m_panes.size()); }
    // The pane id at a 0-based position, -1 outside.
    int PaneId(int index) const;
    bool HasPane(int id) const;
    // The text of a pane; a missing pane reads as empty and takes no text.
    QString PaneText(int id) const;
    void SetPaneText(int id, const QString& text);

private:
    struct Pane {
        int id;
        QString text;
    };
    void Changed(bool structure) const;

    CommandBars* m_owner;
    bool m_visible = false;
    std::vector<Pane> m_panes;
};
