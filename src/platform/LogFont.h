#pragma once

#include <cstdint>

// The logical-font record a raster device context makes fonts from. A positive height is the cell
// height in pixels, a negative one the character (em) height, 0 the default size.
struct LogFont {
    int32_t height = 0;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 0;  // 0 default, 400 normal, 700 bold, up to 1000
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = 0;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
    char faceName[32] = {};  // single-byte (Latin-1) face name, zero-terminated

    static constexpr int32_t FaceNameSize = 32;
    static constexpr uint8_t DefaultCharset = 1;
    static constexpr uint8_t ProofQuality = 2;
};
