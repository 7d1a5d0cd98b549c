#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <pugixml.hpp>

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

// What the check read of a document that passed, for the reader to take without reading it again.
struct CheckedDocument {
    pugi::xml_document definition;  // "def.xml"
    QImage stage;                   // "stage.png" decoded in full; null when the document has none
};

// Raises DamagedDocument unless the folder holds a "def.xml" that is well-formed (no DOCTYPE, within the size
// and depth limits) with whole decimal numbers in range where the reader converts them, and a "stage.png",
// when there is one, that DecodeStage takes.
CheckedDocument Verify(const QString& documentFolder);

// Decodes a document's stage picture in full: a PNG within the size limits whose data decode to their end.
// Anything else raises DamagedDocument. The one decode of the stage on the way into the window.
QImage DecodeStage(const QString& path);

}  // namespace DocumentCheck
