#pragma once

#include "model/KeyNamePair.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

// Texts, or KeyNamePair records by name, kept in ascending binary order as they are inserted: a new
// item goes before every item greater than or equal to it. Holds at most 32767 items (error 6 beyond);
// index errors raise error 5, reading a text as a pair or a pair as a text error 13.
class SortedCollection {
public:
    using Entry = std::variant<QString, std::shared_ptr<KeyNamePair>>;
    using const_iterator = std::vector<Entry>::const_iterator;

    void AddItem(const QString& new_item);
    void AddPair(const std::shared_ptr<KeyNamePair>& new_item);
    int16_t count() const { return static_cast<int16_t>(m_items.size()); }
    void Remove(int16_t index);
    QString Item(int16_t index) const;
    std::shared_ptr<KeyNamePair> ItemPair(int16_t index) const;
    // Enumeration in list order.
    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }

private:
    void Insert(Entry entry, const QString& text);
    const Entry& At(int16_t index) const;

    std::vector<Entry> m_items;
};
