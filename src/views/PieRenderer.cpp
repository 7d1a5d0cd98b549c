#include "views/PieRenderer.h"

#include "imaging/cDIBSection.h"
#include "platform/Numeric.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace PieRenderer {

namespace {

struct Channels {
    float red = 0;
    float green = 0;
    float blue = 0;
};

Channels ChannelsOf(int32_t packed) {
    return {static_cast<float>(packed & 0xFF), static_cast<float>((packed >> 8) & 0xFF),
            static_cast<float>((packed >> 16) & 0xFF)};
}

// One slice line: the ray from the centre at the slice's start angle (radians, counter-clockwise from
// 3 o'clock).
struct Ray {
    double angle = 0;
    double cosine = 1;
    double sine = 0;
};

// How much of a pixel whose centre lies at (dx, dy) from the pie's centre (y up) the far side of the
// ray covers: 0 from half a pixel away on.
float RayWeight(const Ray& ray, double dx, double dy, double squaredToCentre) {
    const double across = std::abs(dx * ray.sine - dy * ray.cosine);
    if (across >= 0.5)
        return 0.0f;
    // Beyond the centre the line goes on, the ray does not.
    const double along = dx * ray.cosine + dy * ray.sine;
    const double distance = along > 0 ? across : std::sqrt(squaredToCentre);
    return static_cast<float>(std::max(0.0, 0.5 - distance));
}

// Channels are mixes of values in 0..255 with weights adding up to 1, so adding a half and cutting the
// fraction rounds them.
uint8_t ToByte(float value) { return static_cast<uint8_t>(std::clamp(value + 0.5f, 0.0f, 255.0f)); }

void Store(uint8_t* pixel, const Channels& c) {
    pixel[0] = ToByte(c.blue);
    pixel[1] = ToByte(c.green);
    pixel[2] = ToByte(c.red);
}

Channels Mix(const Channels& a, float weightA, const Channels& b, float weightB) {
    return {a.red * weightA + b.red * weightB, a.green * weightA + b.green * weightB,
            a.blue * weightA + b.blue * weightB};
}

// A pixel's bytes as the surface holds them.
struct PixelBytes {
    uint8_t bytes[4] = {0, 0, 0, 255};
};

PixelBytes BytesOf(const Channels& c) {
    PixelBytes pixel;
    Store(pixel.bytes, c);
    return pixel;
}

uint8_t* Row(const Surface& surface, int32_t y) { return surface.top + y * surface.rowStep; }

void FillRun(uint8_t* pixel, int32_t count, const PixelBytes& value, int32_t bytesPerPixel) {
    if (bytesPerPixel == 4) {
        uint32_t word;
        std::memcpy(&word, value.bytes, 4);
        for (int32_t k = 0; k < count; ++k, pixel += 4) std::memcpy(pixel, &word, 4);
    } else {
        for (int32_t k = 0; k < count; ++k, pixel += 3) std::memcpy(pixel, value.bytes, 3);
    }
}

void FillBackground(const Surface& surface, int32_t background) {
    const size_t used = static_cast<size_t>(surface.width) * surface.bytesPerPixel;
    uint8_t* first = Row(surface, 0);
    FillRun(first, surface.width, BytesOf(ChannelsOf(background)), surface.bytesPerPixel);
    for (int32_t y = 1; y < surface.height; ++y) std::memcpy(Row(surface, y), first, used);
}

}  // namespace

Geometry Measure(int32_t width, int32_t height) {
    Geometry g;
    g.cx = Numeric::Round(static_cast<float>(width) / 2.0f);
    g.cy = Numeric::Round(static_cast<float>(height) / 2.0f);
    g.r = Numeric::Round(std::min(g.cx, g.cy) * 0.9);
    return g;
}

Surface SurfaceOf(cDIBSection& bitmap) {
    Surface surface;
    uint8_t* bits = bitmap.DIBSectionBitsPtr();
    if (!bits || bitmap.Width() <= 0 || bitmap.Height() <= 0)
        return surface;
    // Buffer row 0 is the picture's bottom line.
    const ptrdiff_t stride = bitmap.BytesPerScanLine();
    surface.top = bits + (bitmap.Height() - 1) * stride;
    surface.rowStep = -stride;
    surface.bytesPerPixel = 3;
    surface.width = bitmap.Width();
    surface.height = bitmap.Height();
    return surface;
}

void Draw(cDIBSection& bitmap, int32_t background, const std::vector<int32_t>& colors) {
    Draw(SurfaceOf(bitmap), background, colors);
}

namespace {

// What every row of one pie needs.
struct Pie {
    Geometry g;
    int32_t bytesPerPixel = 3;
    size_t n = 0;
    // Stops 0..n: slice k runs from stop k to stop k + 1; past stop n lies colour 1 again.
    std::vector<Ray> stops;
    std::vector<Channels> regions;
    std::vector<PixelBytes> exact;
    // Below the centre every pixel lies past the stops up to half a turn.
    size_t firstBelow = 0;
    Channels back;
    double outer = 0;
    double innerSquared = 0;
};

constexpr double HalfTurn = 3.14159265358979323846;

// Draws the pie's pixels of one row whose pixel centres lie dy above the centre.
void DrawRow(const Pie& pie, uint8_t* row, int32_t width, double dy) {
    const Geometry& g = pie.g;
    const int32_t bpp = pie.bytesPerPixel;
    const size_t n = pie.n;
    const std::vector<Ray>& stops = pie.stops;
    const double half = std::sqrt(pie.outer * pie.outer - dy * dy);
    const int32_t left = std::max(0, static_cast<int32_t>(std::floor(g.cx - half - 0.5)));
    const int32_t right = std::min(width - 1, static_cast<int32_t>(std::ceil(g.cx + half - 0.5)));
    if (left > right)
        return;
    // Along a row the angle only grows when walked right to left above the centre and left to right
    // below it, so the slice index only moves forward.
    const bool above = dy > 0;
    const double limit = above ? HalfTurn : 2 * HalfTurn;
    size_t j = above ? 0 : pie.firstBelow;
    const int32_t count = right - left + 1;
    const double innerHalf = pie.innerSquared > dy * dy ? std::sqrt(pie.innerSquared - dy * dy) : -1.0;
    // Where on this row slice j is all of a pixel, untouched by the rim and by both of its lines: there
    // the pixels take the slice's colour as a run.
    double runFrom = 1.0, runTo = 0.0;
    const auto findRun = [&] {
        runFrom = -innerHalf;
        runTo = innerHalf;
        // Keeps the pixels at least half a pixel on the given side of a slice line.
        const auto beyond = [&](const Ray& ray, double side) {
            const double slope = side * ray.sine;
            const double bound = 0.5 + side * ray.cosine * dy;
            if (slope > 0)
                runFrom = std::max(runFrom, bound / slope);
            else if (slope < 0)
                runTo = std::min(runTo, bound / slope);
            else if (bound > 0)
                runTo = runFrom - 1.0;
        };
        if (j > 0)
            beyond(stops[j], -1.0);
        if (j < n)
            beyond(stops[j + 1], 1.0);
    };
    findRun();
    for (int32_t i = 0; i < count;) {
        const int32_t x = above ? right - i : left + i;
        const double dx = x + 0.5 - g.cx;
        if (dx >= runFrom && dx <= runTo) {
            const int32_t run =
                std::min(count - i, 1 + static_cast<int32_t>(std::floor(above ? dx - runFrom : runTo - dx)));
            FillRun(row + static_cast<size_t>(bpp) * (above ? x - run + 1 : x), run, pie.exact[j], bpp);
            i += run;
            continue;
        }
        ++i;
        const size_t before = j;
        while (j < n && stops[j + 1].angle < limit && dx * stops[j + 1].sine - dy * stops[j + 1].cosine < 0) ++j;
        if (j != before)
            findRun();
        const double squared = dx * dx + dy * dy;
        float cover = 1.0f;
        if (squared > pie.innerSquared) {
            cover = static_cast<float>(std::min(1.0, pie.outer - std::sqrt(squared)));
            if (cover <= 0.0f)
                continue;
        }
        const float lower = j > 0 ? RayWeight(stops[j], dx, dy, squared) : 0.0f;
        const float upper = j < n ? RayWeight(stops[j + 1], dx, dy, squared) : 0.0f;
        uint8_t* pixel = row + static_cast<size_t>(bpp) * x;
        if (cover >= 1.0f && lower == 0.0f && upper == 0.0f) {
            std::memcpy(pixel, pie.exact[j].bytes, bpp);
            continue;
        }
        const std::vector<Channels>& regions = pie.regions;
        Channels c = regions[j];
        if (lower > 0.0f)
            c = Mix(c, 1.0f, Mix(regions[j - 1], 1.0f, regions[j], -1.0f), lower);
        if (upper > 0.0f)
            c = Mix(c, 1.0f, Mix(regions[j + 1], 1.0f, regions[j], -1.0f), upper);
        Store(pixel, Mix(c, cover, pie.back, 1.0f - cover));
    }
}

}  // namespace

void Draw(const Surface& surface, int32_t background, const std::vector<int32_t>& colors) {
    if (!surface.top || surface.width <= 0 || surface.height <= 0 ||
        (surface.bytesPerPixel != 3 && surface.bytesPerPixel != 4))
        return;
    FillBackground(surface, background);
    Pie pie;
    pie.g = Measure(surface.width, surface.height);
    pie.n = colors.size();
    if (pie.n == 0 || pie.g.r <= 0)
        return;
    pie.bytesPerPixel = surface.bytesPerPixel;

    // The equal shares add up in single precision, so the last stop may fall a hair short of a full
    // turn; the disc drawn first in colour 1 shows there.
    const double fullTurn = 8.0 * std::atan(1.0);
    const float share = 100.0f / static_cast<float>(pie.n);
    float acc = 0.0f;
    for (size_t k = 0; k <= pie.n; ++k) {
        const double angle = fullTurn * acc;
        pie.stops.push_back({angle, std::cos(angle), std::sin(angle)});
        pie.regions.push_back(ChannelsOf(k < pie.n ? colors[k] : colors[0]));
        pie.exact.push_back(BytesOf(pie.regions.back()));
        acc += share / 100.0f;
    }
    while (pie.firstBelow < pie.n && pie.stops[pie.firstBelow + 1].angle <= HalfTurn) ++pie.firstBelow;
    pie.back = ChannelsOf(background);
    pie.outer = pie.g.r + 0.5;
    const double inner = pie.g.r - 0.5;
    pie.innerSquared = inner > 0 ? inner * inner : -1.0;

    for (int32_t y = 0; y < surface.height; ++y) {
        const double dy = pie.g.cy - (y + 0.5);
        if (std::abs(dy) < pie.outer)
            DrawRow(pie, Row(surface, y), surface.width, dy);
    }
}

int32_t PixelAt(const Surface& surface, int32_t x, int32_t y) {
    if (!surface.top || x < 0 || y < 0 || x >= surface.width || y >= surface.height)
        return -1;
    const uint8_t* pixel = Row(surface, y) + static_cast<size_t>(surface.bytesPerPixel) * x;
    return pixel[2] | (pixel[1] << 8) | (pixel[0] << 16);
}

int32_t PixelAt(const cDIBSection& bitmap, int32_t x, int32_t y) {
    return PixelAt(SurfaceOf(const_cast<cDIBSection&>(bitmap)), x, y);
}

}  // namespace PieRenderer
