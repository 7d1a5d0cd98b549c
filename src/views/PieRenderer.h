#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class cDIBSection;

// The colour pie's pixels: equal slices of one disc over a background, drawn into a 24-bit bitmap.
// Plain C++ over the bitmap's bytes, so it can be tested and measured alone.
namespace PieRenderer {

// Pixels to draw on: rows of blue, green, red (and, with 4 bytes a pixel, a fourth byte set to 255).
struct Surface {
    uint8_t* top = nullptr;     // the first byte of the picture's top row
    ptrdiff_t rowStep = 0;      // from one row to the row below it; negative for a bottom-up buffer
    int32_t bytesPerPixel = 3;  // 3 or 4
    int32_t width = 0;
    int32_t height = 0;
};

// The bitmap's pixels; an empty surface for an empty bitmap.
Surface SurfaceOf(cDIBSection& bitmap);

// Centre and radius of the pie on a surface; the centre is a pixel corner.
struct Geometry {
    int32_t cx = 0;
    int32_t cy = 0;
    int32_t r = 0;
};

// cx = round(width / 2), cy = round(height / 2), r = round(min(cx, cy) * 0.9), halves to even.
Geometry Measure(int32_t width, int32_t height);

// Fills the surface with the background, then draws one slice per colour (packed RGB) from 3 o'clock,
// counter-clockwise in list order. Pixels away from the slice lines and the rim carry their slice's
// colour exactly; those the lines or the rim cross are blended by how much of each side they cover.
void Draw(const Surface& surface, int32_t background, const std::vector<int32_t>& colors);
void Draw(cDIBSection& bitmap, int32_t background, const std::vector<int32_t>& colors);

// The packed RGB value of the pixel at (x, y), row 0 at the top; -1 outside the surface.
int32_t PixelAt(const Surface& surface, int32_t x, int32_t y);
int32_t PixelAt(const cDIBSection& bitmap, int32_t x, int32_t y);

}  // namespace PieRenderer
