#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <vector>

class CommandBarGallery;
#include "platform/CommandBarGalleryItem.h"
class CommandBars;
class QScrollBar;

// Draws a gallery's items as a grid. In the ribbon it shows whole rows (labels left out) with buttons to scroll
// and to open the gallery's drop-down; in a menu it shows every item with the labels as section heads and a
// scroll bar.
class CommandBarGalleryWidget : public QWidget {
    Q_OBJECT
public:
    CommandBarGalleryWidget(CommandBars* owner, CommandBarGallery* gallery, bool inMenu, QWidget* parent);

    QSize sizeHint() const override;
    // The width at which the ribbon shows this many columns of items; the width it was given when the items have
    // no width of their own.
    int WidthForColumns(int columns) const;
    CommandBarGallery* Gallery() const { return m_gallery; }
    // The rectangle of an item as laid out now, in widget coordinates; empty when the item is scrolled away.
    QRect ItemRect(int itemId) const;
    void ScrollRows(int rows);
    // Takes in changes of the item set and the checked item.
    void Refresh();

signals:
    void ItemChosen(CommandBarGalleryItem* item);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Cell {
        CommandBarGalleryItem* item;
        QRect rect;  // in content coordinates (before scrolling)
    };
    enum class Zone { None, Up, Down, More };

    QRect ItemArea() const;
    std::vector<Cell> Layout() const;
    int ScrollOffset() const;
    const Cell* CellAt(const QPoint& pos, const std::vector<Cell>& cells) const;
    Zone ZoneAt(const QPoint& pos) const;
    QRect ZoneRect(Zone zone) const;
    int ContentHeight(const std::vector<Cell>& cells) const;
    void UpdateScrollBar();

    CommandBars* m_owner;
    CommandBarGallery* m_gallery;
    bool m_inMenu;
    int m_firstRow = 0;
    CommandBarGalleryItem* m_hover = nullptr;
    QScrollBar* m_scrollBar = nullptr;
};
