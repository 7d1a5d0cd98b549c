#pragma once

#include "imaging/RoundFloat.h"

#include <cstdint>

// Conversions between red, green, blue bytes and hue (in sextants, -1 to 5), lightness and saturation,
// all in single precision; every step is rounded to single, so the filters' fast paths can match them bit
// for bit.
namespace mHLSRGB {

inline float Maximum(const float& a, const float& b, const float& c) {
    return (a > b) ? (a > c ? a : c) : (c > b ? c : b);
}

inline float Minimum(const float& a, const float& b, const float& c) {
    return (a < b) ? (a < c ? a : c) : (c < b ? c : b);
}

// The HLS of channel values already divided by 255.
inline void HLSOfFractions(float rf, float gf, float bf, float& hue, float& saturation, float& lightness) {
    const float max = Maximum(rf, gf, bf);
    const float min = Minimum(rf, gf, bf);
    lightness = (max + min) / 2.0f;
    if (max == min) {
        saturation = 0.0f;
        hue = 0.0f;
        return;
    }
    const float d = max - min;
    saturation = lightness <= 0.5f ? d / (max + min) : d / (2.0f - max - min);
    // Tested in this order, so a tie between two largest channels takes the first.
    if (rf == max)
        hue = (gf - bf) / d;
    else if (gf == max)
        hue = 2.0f + (bf - rf) / d;
    else
        hue = 4.0f + (rf - gf) / d;
}

// A channel value divided by 255 in double precision and kept as a single.
inline float Fraction(int32_t channel) { return static_cast<float>(channel / 255.0); }

inline void RGBToHLSRef(const int32_t& red, const int32_t& green, const int32_t& blue, float& hue, float& saturation,
                        float& lightness) {
    HLSOfFractions(Fraction(red), Fraction(green), Fraction(blue), hue, saturation, lightness);
}

inline void RGBToHLS(int32_t red, int32_t green, int32_t blue, float& hue, float& saturation, float& lightness) {
    HLSOfFractions(Fraction(red), Fraction(green), Fraction(blue), hue, saturation, lightness);
}

// The three channels as fractions (unscaled), by the hue's sextant; unclamped, so a hue above 5 gives a red
// above m2.
inline void HLSToFractions(float hue, float saturation, float lightness, float& red, float& green, float& blue) {
    if (saturation == 0.0f) {
        red = green = blue = lightness;
        return;
    }
    const float m1 = lightness <= 0.5f ? lightness * (1.0f - saturation) : lightness - (1.0f - lightness) * saturation;
    const float m2 = 2.0f * lightness - m1;
    const float span = m2 - m1;
    if (hue < 0.0f) {
        red = m2;
        green = m1;
        blue = m1 - span * hue;
    } else if (hue < 1.0f) {
        red = m2;
        green = m1 + span * hue;
        blue = m1;
    } else if (hue < 2.0f) {
        red = m1 - span * (hue - 2.0f);
        green = m2;
        blue = m1;
    } else if (hue < 3.0f) {
        red = m1;
        green = m2;
        blue = m1 + span * (hue - 2.0f);
    } else if (hue < 4.0f) {
        red = m1;
        green = m1 - span * (hue - 4.0f);
        blue = m2;
    } else {
        red = m1 + span * (hue - 4.0f);
        green = m1;
        blue = m2;
    }
}

// Channel fraction times 255, rounded half to even; error 6 when it leaves the 32-bit range.
int32_t ScaleChannel(float fraction);

inline void HLSToRGB(const float& hue, const float& saturation, const float& lightness, int32_t& red, int32_t& green,
                     int32_t& blue) {
    float r, g, b;
    HLSToFractions(hue, saturation, lightness, r, g, b);
    red = ScaleChannel(r);
    green = ScaleChannel(g);
    blue = ScaleChannel(b);
}

// The byte a pixel pass stores for a channel: limited to 0..255.
inline uint8_t ChannelByte(int32_t value) { return static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value)); }

}  // namespace mHLSRGB
