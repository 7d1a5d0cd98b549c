#include "model/SortedCollection.h"

#include "platform/RuntimeError.h"

#include <algorithm>
#include <limits>

namespace {

QString textOf(const SortedCollection::Entry& entry, bool pairs) {
    if (pairs != std::holds_alternative<std::shared_ptr<KeyNamePair>>(entry))
        Err::Raise(RuntimeError::TypeMismatch);
    if (pairs) {
        const auto& pair = std::get<std::shared_ptr<KeyNamePair>>(entry);
        if (!pair)
            Err::Raise(RuntimeError::ObjectVariableNotSet);
        return pair->Name;
    }
    return std::get<QString>(entry);
}

}  // namespace

void SortedCollection::AddItem(const QString& new_item) { Insert(new_item, new_item); }

void SortedCollection::AddPair(const std::shared_ptr<KeyNamePair>& new_item) {
    if (!new_item)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    Insert(new_item, new_item->Name);
}

void SortedCollection::Insert(Entry entry, const QString& text) {
    if (m_items.size() >= static_cast<size_t>(std::numeric_limits<int16_t>::max()))
        Err::Raise(RuntimeError::Overflow);
    const bool pairs = std::holds_alternative<std::shared_ptr<KeyNamePair>>(entry);
    // The list is sorted, so the first item not below the new one is the binary search's lower bound.
    const auto at =
        std::lower_bound(m_items.begin(), m_items.end(), text, [pairs](const Entry& item, const QString& t) {
            return QString::compare(textOf(item, pairs), t, Qt::CaseSensitive) < 0;
        });
    m_items.insert(at, std::move(entry));
}

const SortedCollection::Entry& SortedCollection::At(int16_t index) const {
    if (index < 1 || index > count())
        Err::Raise(RuntimeError::InvalidProcedureCall);
    return m_items[static_cast<size_t>(index) - 1];
}

void SortedCollection::Remove(int16_t index) {
    At(index);
    m_items.erase(m_items.begin() + (index - 1));
}

QString SortedCollection::Item(int16_t index) const { return textOf(At(index), false); }

std::shared_ptr<KeyNamePair> SortedCollection::ItemPair(int16_t index) const {
    const Entry& entry = At(index);
    if (!std::holds_alternative<std::shared_ptr<KeyNamePair>>(entry))
        Err::Raise(RuntimeError::TypeMismatch);
    return std::get<std::shared_ptr<KeyNamePair>>(entry);
}
