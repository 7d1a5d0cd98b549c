#pragma once

#include <QString>

#include <cstdint>

// Verifies an unpacked document before the window takes anything from it, so a damaged file is refused
// whole instead of half replacing the open document.
namespace DocumentCheck {

// The error of a document that fails; the description names the fault.
constexpr int32_t DamagedDocument = 45210;

constexpr int64_t MaxXmlBytes = int64_t{16} << 20;     // "def.xml": 16 MiB
constexpr int MaxXmlDepth = 32;                        // element nesting of "def.xml"
constexpr int MaxStageSide = 16384;                    // "stage.png" width and height, in pixels ...
constexpr int64_t MaxStagePixels = int64_t{64} << 20;  // ... and their product: 64 megapixels
constexpr int MinProofers = 1;
constexpr int MaxProofers = 8;
constexpr int MinHolders = 1;
constexpr int MaxHolders = 6;
constexpr int MinRangeType = 15410;
constexpr int MaxRangeType = 15418;

// Raises DamagedDocument unless the folder holds a "def.xml" that is well-formed (no DOCTYPE, within the size
// and depth limits) with the values the reader converts, and a "stage.png", when there is one, that is a PNG
// within the size limits.
void Verify(const QString& documentFolder);

}  // namespace DocumentCheck
