#include "platform/CommandBarGalleryWidget.h"

#include "platform/CommandBarCaption.h"
#include "platform/CommandBarGallery.h"
#include "platform/CommandBarGalleryItems.h"
#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"

#include <QHelpEvent>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

namespace {
constexpr int ButtonColumn = 15;
constexpr int DefaultItemHeight = 20;
constexpr int LabelHeight = 20;
}  // namespace

CommandBarGalleryWidget::CommandBarGalleryWidget(CommandBars* owner, CommandBarGallery* gallery, bool inMenu,
                                                 QWidget* parent)
    : QWidget(parent), m_owner(owner), m_gallery(gallery), m_inMenu(inMenu) {
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    if (m_inMenu) {
        m_scrollBar = new QScrollBar(Qt::Vertical, this);
        connect(m_scrollBar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    }
    const QSize hint = sizeHint();
    setFixedSize(hint);
    UpdateScrollBar();
}

QSize CommandBarGalleryWidget::sizeHint() const {
    const int width = m_gallery->Width() > 0 ? m_gallery->Width() : 200;
    const int height = m_gallery->Height() > 0 ? m_gallery->Height() : (m_inMenu ? 190 : 64);
    return QSize(width, height);
}

int CommandBarGalleryWidget::WidthForColumns(int columns) const {
    const CommandBarGalleryItems* items = m_gallery->Items();
    if (m_inMenu || !items || items->ItemWidth() <= 0)
        return sizeHint().width();
    return 2 + ButtonColumn + columns * items->ItemWidth();
}

QRect CommandBarGalleryWidget::ItemArea() const {
    if (m_inMenu) {
        const int bar = m_scrollBar && m_scrollBar->isVisible() ? m_scrollBar->sizeHint().width() : 0;
        return rect().adjusted(1, 1, -1 - bar, -1);
    }
    return rect().adjusted(1, 1, -1 - ButtonColumn, -1);
}

std::vector<CommandBarGalleryWidget::Cell> CommandBarGalleryWidget::Layout() const {
    std::vector<Cell> cells;
    const CommandBarGalleryItems* items = m_gallery->Items();
    if (!items)
        return cells;
    const QRect area = ItemArea();
    const int itemWidth = items->ItemWidth() > 0 ? std::min(items->ItemWidth(), area.width()) : area.width();
    const int itemHeight = items->ItemHeight() > 0 ? items->ItemHeight() : DefaultItemHeight;
    const int columns = std::max(1, area.width() / std::max(1, itemWidth));
    int x = 0, y = 0, column = 0;
    for (int i = 0; i < items->Count(); ++i) {
        CommandBarGalleryItem* item = items->Item(i);
        if (item->IsLabel()) {
            if (!m_inMenu)
                continue;
            if (column > 0) {
                y += itemHeight;
                column = 0;
            }
            cells.push_back({item, QRect(0, y, area.width(), LabelHeight)});
            y += LabelHeight;
            continue;
        }
        x = column * itemWidth;
        cells.push_back({item, QRect(x, y, itemWidth, itemHeight)});
        if (++column == columns) {
            column = 0;
            y += itemHeight;
        }
    }
    return cells;
}

int CommandBarGalleryWidget::ContentHeight(const std::vector<Cell>& cells) const {
    int bottom = 0;
    for (const Cell& cell : cells) bottom = std::max(bottom, cell.rect.bottom() + 1);
    return bottom;
}

int CommandBarGalleryWidget::ScrollOffset() const {
    if (m_inMenu)
        return m_scrollBar ? m_scrollBar->value() : 0;
    const CommandBarGalleryItems* items = m_gallery->Items();
    const int itemHeight = items && items->ItemHeight() > 0 ? items->ItemHeight() : DefaultItemHeight;
    return m_firstRow * itemHeight;
}

void CommandBarGalleryWidget::UpdateScrollBar() {
    if (!m_scrollBar)
        return;
    const int barWidth = m_scrollBar->sizeHint().width();
    m_scrollBar->setGeometry(width() - barWidth - 1, 1, barWidth, height() - 2);
    m_scrollBar->show();
    const std::vector<Cell> cells = Layout();
    const int overflow = ContentHeight(cells) - ItemArea().height();
    m_scrollBar->setRange(0, std::max(0, overflow));
    m_scrollBar->setPageStep(ItemArea().height());
    m_scrollBar->setSingleStep(20);
    m_scrollBar->setVisible(overflow > 0);
}

void CommandBarGalleryWidget::Refresh() {
    UpdateScrollBar();
    update();
}

void CommandBarGalleryWidget::ScrollRows(int rows) {
    if (m_inMenu) {
        m_scrollBar->setValue(m_scrollBar->value() + rows * m_scrollBar->singleStep());
        return;
    }
    const std::vector<Cell> cells = Layout();
    const CommandBarGalleryItems* items = m_gallery->Items();
    const int itemHeight = items && items->ItemHeight() > 0 ? items->ItemHeight() : DefaultItemHeight;
    const int totalRows = (ContentHeight(cells) + itemHeight - 1) / itemHeight;
    const int shownRows = std::max(1, ItemArea().height() / itemHeight);
    m_firstRow = std::clamp(m_firstRow + rows, 0, std::max(0, totalRows - shownRows));
    update();
}

QRect CommandBarGalleryWidget::ItemRect(int itemId) const {
    const QRect area = ItemArea();
    for (const Cell& cell : Layout())
        if (!cell.item->IsLabel() && cell.item->Id() == itemId) {
            const QRect shown = cell.rect.translated(area.topLeft() - QPoint(0, ScrollOffset()));
            return area.contains(shown) ? shown : QRect();
        }
    return QRect();
}

const CommandBarGalleryWidget::Cell* CommandBarGalleryWidget::CellAt(const QPoint& pos,
                                                                     const std::vector<Cell>& cells) const {
    const QRect area = ItemArea();
    if (!area.contains(pos))
        return nullptr;
    const QPoint content = pos - area.topLeft() + QPoint(0, ScrollOffset());
    for (const Cell& cell : cells)
        if (cell.rect.contains(content))
            return &cell;
    return nullptr;
}

QRect CommandBarGalleryWidget::ZoneRect(Zone zone) const {
    if (m_inMenu)
        return QRect();
    const int left = width() - ButtonColumn - 1;
    const int third = (height() - 2) / 3;
    switch (zone) {
        case Zone::Up: return QRect(left, 1, ButtonColumn, third);
        case Zone::Down: return QRect(left, 1 + third, ButtonColumn, third);
        case Zone::More: return QRect(left, 1 + 2 * third, ButtonColumn, height() - 2 - 2 * third);
        default: return QRect();
    }
}

CommandBarGalleryWidget::Zone CommandBarGalleryWidget::ZoneAt(const QPoint& pos) const {
    for (Zone zone : {Zone::Up, Zone::Down, Zone::More})
        if (ZoneRect(zone).contains(pos))
            return zone;
    return Zone::None;
}

void CommandBarGalleryWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Base));
    const QRect area = ItemArea();
    const std::vector<Cell> cells = Layout();
    const CommandBarGalleryItems* items = m_gallery->Items();
    painter.save();
    painter.setClipRect(area);
    const QPoint origin = area.topLeft() - QPoint(0, ScrollOffset());
    QColor highlight = pal.color(QPalette::Highlight);
    for (const Cell& cell : cells) {
        const QRect r = cell.rect.translated(origin);
        if (!r.intersects(area))
            continue;
        CommandBarGalleryItem* item = cell.item;
        if (item->IsLabel()) {
            painter.fillRect(r, pal.color(QPalette::Window));
            painter.setPen(pal.color(QPalette::Mid));
            painter.drawLine(r.bottomLeft(), r.bottomRight());
            QFont bold = font();
            bold.setBold(true);
            painter.setFont(bold);
            painter.setPen(pal.color(QPalette::WindowText));
            painter.drawText(r.adjusted(6, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                             CommandBarCaption::Plain(item->Caption()));
            painter.setFont(font());
            continue;
        }
        const bool checked = item->Id() == m_gallery->CheckedItem();
        const bool hover = item == m_hover && isEnabled();
        if (checked || hover) {
            QColor fill = highlight;
            fill.setAlpha(checked ? 90 : 45);
            painter.fillRect(r.adjusted(1, 1, -1, -1), fill);
            painter.setPen(highlight);
            painter.drawRect(r.adjusted(1, 1, -2, -2));
        }
        const QPixmap icon = items ? items->Icons().Icon(item->IconId()) : QPixmap();
        if (!icon.isNull()) {
            const QRect inner = r.adjusted(4, 4, -4, -4);
            QSize size = icon.size();
            if (size.width() > inner.width() || size.height() > inner.height())
                size.scale(inner.size(), Qt::KeepAspectRatio);
            QRect target(QPoint(0, 0), size);
            target.moveCenter(inner.center());
            // A disabled gallery greys its pictures too, so it does not read as one that takes a click.
            if (isEnabled())
                painter.drawPixmap(target, icon);
            else
                QIcon(icon).paint(&painter, target, Qt::AlignCenter, QIcon::Disabled);
        } else {
            painter.setPen(isEnabled() ? pal.color(QPalette::Text) : pal.color(QPalette::Disabled, QPalette::Text));
            const bool list = items && items->ItemWidth() == 0;
            painter.drawText(r.adjusted(6, 1, -4, -1),
                             (list ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter | Qt::TextWordWrap,
                             CommandBarCaption::Plain(item->Caption()));
        }
    }
    painter.restore();
    painter.setPen(pal.color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_inMenu)
        return;
    QStyleOption option;
    option.initFrom(this);
    for (Zone zone : {Zone::Up, Zone::Down, Zone::More}) {
        const QRect r = ZoneRect(zone);
        painter.fillRect(r, pal.color(QPalette::Button));
        painter.setPen(pal.color(QPalette::Mid));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        if (zone == Zone::More && !m_gallery->GetCommandBar())
            continue;
        option.rect = r.adjusted(3, 2, -3, -2);
        if (zone == Zone::More) {
            painter.setPen(pal.color(QPalette::ButtonText));
            painter.drawLine(option.rect.left() + 1, option.rect.top() + 2, option.rect.right() - 1,
                             option.rect.top() + 2);
            option.rect.adjust(0, 3, 0, 0);
        }
        style()->drawPrimitive(zone == Zone::Up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &option,
                               &painter, this);
    }
}

void CommandBarGalleryWidget::mouseMoveEvent(QMouseEvent* event) {
    const std::vector<Cell> cells = Layout();
    const Cell* cell = CellAt(event->position().toPoint(), cells);
    CommandBarGalleryItem* hover = cell && !cell->item->IsLabel() ? cell->item : nullptr;
    if (hover != m_hover) {
        m_hover = hover;
        update();
    }
}

void CommandBarGalleryWidget::leaveEvent(QEvent*) {
    m_hover = nullptr;
    update();
}

void CommandBarGalleryWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    switch (ZoneAt(pos)) {
        case Zone::Up: ScrollRows(-1); return;
        case Zone::Down: ScrollRows(1); return;
        case Zone::More:
            if (m_gallery->GetCommandBar() && m_owner)
                m_owner->RunPopupBelow(m_gallery->GetCommandBar(), this);
            return;
        case Zone::None: break;
    }
    const std::vector<Cell> cells = Layout();
    if (const Cell* cell = CellAt(pos, cells); cell && !cell->item->IsLabel())
        emit ItemChosen(cell->item);
}

void CommandBarGalleryWidget::wheelEvent(QWheelEvent* event) {
    ScrollRows(event->angleDelta().y() > 0 ? -1 : 1);
    event->accept();
}

void CommandBarGalleryWidget::resizeEvent(QResizeEvent*) { UpdateScrollBar(); }

bool CommandBarGalleryWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const std::vector<Cell> cells = Layout();
        const Cell* cell = CellAt(help->pos(), cells);
        if (cell && !cell->item->IsLabel()) {
            const QString tip = cell->item->ToolTip().isEmpty() ? CommandBarCaption::Plain(cell->item->Caption())
                                                                : cell->item->ToolTip();
            QToolTip::showText(help->globalPos(), tip, this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}
