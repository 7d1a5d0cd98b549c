#pragma once

#include "platform/CommandBarControl.h"

class CommandBarGalleryItems;
class CommandBarGalleryItem;

// A gallery: a grid of the items of an item set, with one item marked as checked and the item last chosen.
class CommandBarGallery : public CommandBarControl {
public:
    CommandBarGallery(int id, const QString& caption, CommandBar* parent, bool temporary)
        : CommandBarControl(Gallery, id, caption, parent, temporary) {}

    CommandBarGalleryItems* Items() const { return m_items; }
    // A gallery executes and is updated under the id of the set it shows, so two galleries of one set are
    // one command.
    void SetItems(CommandBarGalleryItems* items);

    // The id of the item drawn as checked; an id that no item has checks none.
    int CheckedItem() const { return m_checkedItem; }
    void SetCheckedItem(int id);

    // The item the user chose last (set before the gallery executes); none until then.
    CommandBarGalleryItem* SelectedItem() const { return m_selectedItem; }
    void SetSelectedItem(CommandBarGalleryItem* item);

private:
    CommandBarGalleryItems* m_items = nullptr;
    int m_checkedItem = -1;
    CommandBarGalleryItem* m_selectedItem = nullptr;
};
