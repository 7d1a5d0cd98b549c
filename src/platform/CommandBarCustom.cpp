#include "platform/CommandBarCustom.h"

void CommandBarCustom::SetHandle(QWidget* widget) {
    m_widget = widget;
    m_home = widget ? widget->parentWidget() : nullptr;
    Changed(true);
}
