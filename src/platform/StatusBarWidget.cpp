#include "platform/StatusBarWidget.h"

#include "platform/StatusBar.h"

#include <QHBoxLayout>
#include <QLabel>

StatusBarWidget::StatusBarWidget(StatusBar* bar, QWidget* parent) : QWidget(parent), m_bar(bar) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(2);
    setAutoFillBackground(true);
    Sync(true);
}

void StatusBarWidget::Sync(bool structure) {
    if (structure) {
        for (auto& [id, label] : m_panes) delete label;
        m_panes.clear();
        auto* row = static_cast<QHBoxLayout*>(layout());
        while (row->count() > 0) delete row->takeAt(0);
        for (int i = 0; i < m_bar->PaneCount(); ++i) {
            auto* label = new QLabel(this);
            label->setTextFormat(Qt::PlainText);
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            if (i > 0)
                label->setMinimumWidth(40);
            row->addWidget(label, i == 0 ? 1 : 0);
            m_panes.emplace_back(m_bar->PaneId(i), label);
        }
        if (m_panes.empty())
            row->addStretch(1);
    }
    for (auto& [id, label] : m_panes) label->setText(m_bar->PaneText(id));
}

QLabel* StatusBarWidget::PaneLabel(int id) const {
    for (const auto& [paneId, label] : m_panes)
        if (paneId == id)
            return label;
    return nullptr;
}
