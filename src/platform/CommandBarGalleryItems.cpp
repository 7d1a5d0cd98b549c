#include "platform/CommandBarGalleryItems.h"

#include "platform/CommandBarImageManager.h"
#include "platform/CommandBars.h"

CommandBarGalleryItems::CommandBarGalleryItems(CommandBars* owner, int id)
    : m_owner(owner), m_id(id), m_icons(std::make_shared<CommandBarImageManager>()) {}

CommandBarGalleryItems::~CommandBarGalleryItems() = default;

void CommandBarGalleryItems::Changed() const {
    if (m_owner)
        m_owner->NotifyChanged(false);
}

CommandBarGalleryItem* CommandBarGalleryItems::AddItem(int id, const QString& caption) {
    m_items.push_back(std::make_unique<CommandBarGalleryItem>(id, caption, false));
    Changed();
    return m_items.back().get();
}

CommandBarGalleryItem* CommandBarGalleryItems::AddLabel(const QString& caption) {
    m_items.push_back(std::make_unique<CommandBarGalleryItem>(0, caption, true));
    Changed();
    return m_items.back().get();
}

void CommandBarGalleryItems::DeleteAll() {
    m_items.clear();
    Changed();
}

CommandBarGalleryItem* CommandBarGalleryItems::Item(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return m_items[static_cast<size_t>(index)].get();
}

CommandBarGalleryItem* CommandBarGalleryItems::FindItem(int id) const {
    for (const auto& item : m_items)
        if (!item->IsLabel() && item->Id() == id)
            return item.get();
    return nullptr;
}

void CommandBarGalleryItems::SetItemSize(int width, int height) {
    m_itemWidth = width;
    m_itemHeight = height;
    Changed();
}

void CommandBarGalleryItems::SetIcons(std::shared_ptr<CommandBarImageManager> icons) {
    m_icons = icons ? std::move(icons) : std::make_shared<CommandBarImageManager>();
    Changed();
}
