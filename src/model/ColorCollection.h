#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class Color;

// The keys ColorCollection::Sort orders by.
namespace ColorSortKey {
enum : int32_t { SumRGB = 0, Red = 1, Green = 2, Blue = 3, SumHSB = 4, Hue = 5, Saturation = 6, Brightness = 7 };
}

// An ordered list of colours (the objects themselves, not copies) with a 1-based cursor, 0 until moved.
// Index errors raise error 5.
class ColorCollection {
public:
    using const_iterator = std::vector<std::shared_ptr<Color>>::const_iterator;

    bool HasColors() const { return !m_items.empty(); }
    // Appends the colour and moves the cursor onto it.
    std::shared_ptr<Color> Add(const std::shared_ptr<Color>& pColor);
    void Clear();
    void Remove(int32_t n);
    // Removes the first item that equals the colour, if any.
    void RemoveByColor(const std::shared_ptr<Color>& pColor);
    bool Contains(const std::shared_ptr<Color>& pColor) const;
    // A stable ascending sort on one ColorSortKey; any other key keeps the order.
    void Sort(int32_t sortBy);
    std::shared_ptr<Color> Item(int32_t index) const;
    int32_t count() const { return static_cast<int32_t>(m_items.size()); }
    // Enumeration in list order.
    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }
    bool MovePrevious();
    bool MoveNext();
    std::shared_ptr<Color> Current() const;
    int32_t Position() const { return m_Position; }

private:
    std::vector<std::shared_ptr<Color>> m_items;
    int32_t m_Position = 0;
};
