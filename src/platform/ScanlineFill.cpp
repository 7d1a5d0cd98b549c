#include "platform/ScanlineFill.h"

#include <algorithm>

namespace {

// First index from x up to end whose pixel differs from value (end when none does).
inline int32_t RunEnd(const uint32_t* row, int32_t x, int32_t end, uint32_t value) {
    // Eight pixels at a time: one branch per block keeps the scan near memory speed.
    while (x + 8 <= end) {
        const uint32_t* p = row + x;
        const uint32_t diff = (p[0] ^ value) | (p[1] ^ value) | (p[2] ^ value) | (p[3] ^ value) | (p[4] ^ value) |
                              (p[5] ^ value) | (p[6] ^ value) | (p[7] ^ value);
        if (diff != 0) {
            break;
        }
        x += 8;
    }
    while (x < end && row[x] == value) {
        ++x;
    }
    return x;
}

// Last index from x down to 0 whose left neighbour differs from value: the start of the run holding x.
inline int32_t RunStart(const uint32_t* row, int32_t x, uint32_t value) {
    while (x >= 8) {
        const uint32_t* p = row + x - 8;
        const uint32_t diff = (p[0] ^ value) | (p[1] ^ value) | (p[2] ^ value) | (p[3] ^ value) | (p[4] ^ value) |
                              (p[5] ^ value) | (p[6] ^ value) | (p[7] ^ value);
        if (diff != 0) {
            break;
        }
        x -= 8;
    }
    while (x > 0 && row[x - 1] == value) {
        --x;
    }
    return x;
}

// First index from x up to last (inclusive) whose pixel equals value; last + 1 when none does.
inline int32_t NextMatch(const uint32_t* row, int32_t x, int32_t last, uint32_t value) {
    while (x <= last && row[x] != value) {
        ++x;
    }
    return x;
}

// Heckbert's span fill: every run is scanned once from its parent run, and only the parts of a run that
// reach past its parent are looked at again on the parent's line.
template <class WriteSpan>
void FillArea(const ScanlineFill::Surface& s, int32_t x, int32_t y, uint32_t target, ScanlineFill::SegmentStack& stack,
              WriteSpan writeSpan) {
    const int32_t width = s.width;
    const int32_t height = s.height;
    auto rowOf = [&](int32_t line) { return s.pixels + static_cast<ptrdiff_t>(line) * s.stride; };
    auto push = [&](int32_t line, int32_t x1, int32_t x2, int32_t dy) {
        if (line >= 0 && line < height && x1 <= x2) {
            stack.push_back({line, x1, x2, dy});
        }
    };

    stack.clear();
    {
        uint32_t* row = rowOf(y);
        const int32_t left = RunStart(row, x, target);
        const int32_t right = RunEnd(row, x + 1, width, target) - 1;
        writeSpan(row, y, left, right);
        push(y + 1, left, right, 1);
        push(y - 1, left, right, -1);
    }
    while (!stack.empty()) {
        const ScanlineFill::Segment seg = stack.back();
        stack.pop_back();
        uint32_t* row = rowOf(seg.y);
        int32_t cx = seg.x1;
        if (row[cx] == target) {
            const int32_t left = RunStart(row, cx, target);
            const int32_t right = RunEnd(row, cx + 1, width, target) - 1;
            writeSpan(row, seg.y, left, right);
            push(seg.y + seg.dy, left, right, seg.dy);
            // The parent line's pixels x1 - 1 and x2 + 1 are filled or bound its run: skip them.
            push(seg.y - seg.dy, left, seg.x1 - 2, -seg.dy);
            push(seg.y - seg.dy, seg.x2 + 2, right, -seg.dy);
            cx = right + 2;
        } else {
            ++cx;
        }
        while (cx <= seg.x2) {
            cx = NextMatch(row, cx, seg.x2, target);
            if (cx > seg.x2) {
                break;
            }
            const int32_t right = RunEnd(row, cx + 1, width, target) - 1;
            writeSpan(row, seg.y, cx, right);
            push(seg.y + seg.dy, cx, right, seg.dy);
            push(seg.y - seg.dy, seg.x2 + 2, right, -seg.dy);
            cx = right + 2;
        }
    }
}

bool Inside(const ScanlineFill::Surface& s, int32_t x, int32_t y) {
    return s.pixels != nullptr && x >= 0 && y >= 0 && x < s.width && y < s.height;
}

}  // namespace

namespace ScanlineFill {

bool FillSolid(const Surface& surface, int32_t x, int32_t y, uint32_t colour, SegmentStack& stack) {
    if (!Inside(surface, x, y)) {
        return false;
    }
    const uint32_t target = surface.pixels[static_cast<ptrdiff_t>(y) * surface.stride + x];
    if (colour == target) {
        return true;
    }
    FillArea(surface, x, y, target, stack, [colour](uint32_t* row, int32_t, int32_t left, int32_t right) {
        std::fill(row + left, row + right + 1, colour);
    });
    return true;
}

bool FillPattern(const Surface& surface, int32_t x, int32_t y, const Pattern& pattern, SegmentStack& stack) {
    if (!Inside(surface, x, y) || pattern.pixels == nullptr || pattern.width <= 0 || pattern.height <= 0) {
        return false;
    }
    const uint32_t target = surface.pixels[static_cast<ptrdiff_t>(y) * surface.stride + x];
    constexpr uint32_t kTop = 0xFF000000u;
    if ((target & kTop) != kTop) {
        return false;  // the mark would be indistinguishable from the area
    }
    int32_t minX = x, maxX = x, minY = y, maxY = y;
    const int32_t tileWidth = pattern.width;
    FillArea(surface, x, y, target, stack, [&](uint32_t* row, int32_t line, int32_t left, int32_t right) {
        const uint32_t* tile = pattern.pixels + static_cast<ptrdiff_t>(line % pattern.height) * pattern.stride;
        int32_t t = left % tileWidth;
        for (int32_t i = left; i <= right; ++i) {
            row[i] = tile[t] & ~kTop;
            if (++t == tileWidth) {
                t = 0;
            }
        }
        minX = std::min(minX, left);
        maxX = std::max(maxX, right);
        minY = std::min(minY, line);
        maxY = std::max(maxY, line);
    });
    for (int32_t line = minY; line <= maxY; ++line) {
        uint32_t* row = surface.pixels + static_cast<ptrdiff_t>(line) * surface.stride;
        for (int32_t i = minX; i <= maxX; ++i) {
            row[i] |= kTop;
        }
    }
    return true;
}

}  // namespace ScanlineFill
