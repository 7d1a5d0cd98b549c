#include "platform/CommandBarEdit.h"

void CommandBarEdit::SetText(const QString& text) {
    if (m_text == text)
        return;
    m_text = text;
    Changed();
}
