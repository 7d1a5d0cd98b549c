#include "model/ColorCollection.h"

#include "model/Color.h"
#include "platform/RuntimeError.h"

#include <optional>

namespace {

const Color& deref(const std::shared_ptr<Color>& item) {
    if (!item)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    return *item;
}

// Wide enough for the sum of three stored values, which hue, saturation and brightness do not bound.
std::optional<int64_t> sortKey(const Color& c, int32_t sortBy) {
    switch (sortBy) {
        case ColorSortKey::SumRGB: return int64_t{c.Red()} + c.Green() + c.Blue();
        case ColorSortKey::Red: return c.Red();
        case ColorSortKey::Green: return c.Green();
        case ColorSortKey::Blue: return c.Blue();
        case ColorSortKey::SumHSB: return int64_t{c.Hue()} + c.Saturation() + c.Brightness();
        case ColorSortKey::Hue: return c.Hue();
        case ColorSortKey::Saturation: return c.Saturation();
        case ColorSortKey::Brightness: return c.Brightness();
        default: return std::nullopt;
    }
}

}  // namespace

std::shared_ptr<Color> ColorCollection::Add(const std::shared_ptr<Color>& pColor) {
    m_items.push_back(pColor);
    m_Position = count();
    return pColor;
}

void ColorCollection::Clear() { m_items.clear(); }

void ColorCollection::Remove(int32_t n) {
    if (n < 1 || n > count())
        Err::Raise(RuntimeError::InvalidProcedureCall);
    m_items.erase(m_items.begin() + (n - 1));
}

void ColorCollection::RemoveByColor(const std::shared_ptr<Color>& pColor) {
    const int32_t n = count();
    for (int32_t i = 1; i <= n; ++i) {
        if (deref(m_items[static_cast<size_t>(i) - 1]).Equals(pColor)) {
            Remove(i);
            return;
        }
    }
}

bool ColorCollection::Contains(const std::shared_ptr<Color>& pColor) const {
    for (const auto& item : m_items) {
        if (deref(item).Equals(pColor))
            return true;
    }
    return false;
}

void ColorCollection::Sort(int32_t sortBy) {
    // Insertion before the first strictly greater key keeps equal keys in their order.
    std::vector<std::shared_ptr<Color>> sorted;
    sorted.reserve(m_items.size());
    for (const auto& item : m_items) {
        auto at = sorted.end();
        const std::optional<int64_t> key = sortKey(deref(item), sortBy);
        if (key) {
            for (auto it = sorted.begin(); it != sorted.end(); ++it) {
                if (*sortKey(**it, sortBy) > *key) {
                    at = it;
                    break;
                }
            }
        }
        sorted.insert(at, item);
    }
    m_items = std::move(sorted);
}

std::shared_ptr<Color> ColorCollection::Item(int32_t index) const {
    if (index < 1 || index > count())
        Err::Raise(RuntimeError::InvalidProcedureCall);
    return m_items[static_cast<size_t>(index) - 1];
}

bool ColorCollection::MovePrevious() {
    --m_Position;
    if (m_Position < 1) {
        m_Position = 1;
        return false;
    }
    return true;
}

bool ColorCollection::MoveNext() {
    ++m_Position;
    if (m_Position > count()) {
        m_Position = count();
        return false;
    }
    return true;
}

std::shared_ptr<Color> ColorCollection::Current() const { return Item(m_Position); }
