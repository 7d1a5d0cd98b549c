#include "platform/CommandBarGallery.h"

#include "platform/CommandBarGalleryItems.h"

void CommandBarGallery::SetItems(CommandBarGalleryItems* items) {
    m_items = items;
    m_selectedItem = nullptr;
    if (items)
        SetId(items->Id());
    Changed(true);
}

void CommandBarGallery::SetCheckedItem(int id) {
    if (m_checkedItem == id)
        return;
    m_checkedItem = id;
    Changed();
}

void CommandBarGallery::SetSelectedItem(CommandBarGalleryItem* item) { m_selectedItem = item; }
