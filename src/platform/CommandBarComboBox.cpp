#include "platform/CommandBarComboBox.h"

void CommandBarComboBox::AddItem(const QString& text) {
    m_items.append(text);
    Changed(true);
}

void CommandBarComboBox::Clear() {
    m_items.clear();
    m_listIndex = 0;
    Changed(true);
}

QString CommandBarComboBox::List(int index) const {
    if (index < 1 || index > ListCount())
        return QString();
    return m_items[index - 1];
}

void CommandBarComboBox::SetListIndex(int index) {
    if (index >= 1 && index <= ListCount()) {
        m_listIndex = index;
        m_text = m_items[index - 1];
    } else {
        m_listIndex = 0;
    }
    Changed();
}

void CommandBarComboBox::SetText(const QString& text) {
    m_text = text;
    m_listIndex = static_cast<int>(m_items.indexOf(text)) + 1;
    Changed();
}
