#pragma once

#include "platform/CommandBarControl.h"

// An edit box: its caption stands before the text the user types; Return executes it.
class CommandBarEdit : public CommandBarControl {
public:
    CommandBarEdit(int id, const QString& caption, CommandBar* parent, bool temporary)
        : CommandBarControl(Edit, id, caption, parent, temporary) {}

    const QString& Text() const { return m_text; }
    void SetText(const QString& text);

private:
    QString m_text;
};
