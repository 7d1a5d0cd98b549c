#pragma once

#include "platform/CommandBarControl.h"

#include <QStringList>

// A combo box: a list of texts, the chosen entry and the text shown. List positions count from 1.
class CommandBarComboBox : public CommandBarControl {
public:
    CommandBarComboBox(int id, const QString& caption, CommandBar* parent, bool temporary)
        : CommandBarControl(ComboBox, id, caption, parent, temporary) {}

    void AddItem(const QString& text);
    void Clear();
    int ListCount() const { return static_cast<int>(m_items.size()); }
    // The text at a 1-based position; empty outside the list.
    QString List(int index) const;

    // 0 when no entry is chosen (typed text, or nothing yet).
    int ListIndex() const { return m_listIndex; }
    // Choosing an entry shows its text; a position outside the list chooses none and keeps the text.
    void SetListIndex(int index);

    const QString& Text() const { return m_text; }
    // Text that matches an entry chooses it.
    void SetText(const QString& text);

private:
    QStringList m_items;
    int m_listIndex = 0;
    QString m_text;
};
