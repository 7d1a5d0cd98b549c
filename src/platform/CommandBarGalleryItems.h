#pragma once

#include "platform/CommandBarGalleryItem.h"

#include <QString>

#include <memory>
#include <vector>

class CommandBars;
class CommandBarImageManager;

// The item set that one or more galleries show: items in order, their size and the icons of their pictures.
class CommandBarGalleryItems {
public:
    CommandBarGalleryItems(CommandBars* owner, int id);
    ~CommandBarGalleryItems();
    CommandBarGalleryItems(const CommandBarGalleryItems&) = delete;
    CommandBarGalleryItems& operator=(const CommandBarGalleryItems&) = delete;

    // The command id a gallery showing this set executes and is updated under.
    int Id() const { return m_id; }

    CommandBarGalleryItem* AddItem(int id, const QString& caption);
    CommandBarGalleryItem* AddLabel(const QString& caption);
    void DeleteAll();
    int Count() const { return static_cast<int>(m_items.size()); }
    // Indexes count from 0; labels are items too.
    CommandBarGalleryItem* Item(int index) const;
    // The first item (not a label) with this id.
    CommandBarGalleryItem* FindItem(int id) const;

    // 0 leaves the size to the gallery: the full width of one column, and 20 pixels of height.
    int ItemWidth() const { return m_itemWidth; }
    int ItemHeight() const { return m_itemHeight; }
    void SetItemSize(int width, int height);

    CommandBarImageManager& Icons() const { return *m_icons; }
    // Shows the pictures of another icon list (the owner's image manager) in place of the set's own.
    void SetIcons(std::shared_ptr<CommandBarImageManager> icons);

private:
    void Changed() const;

    CommandBars* m_owner;
    int m_id;
    std::vector<std::unique_ptr<CommandBarGalleryItem>> m_items;
    int m_itemWidth = 0;
    int m_itemHeight = 0;
    std::shared_ptr<CommandBarImageManager> m_icons;
};
