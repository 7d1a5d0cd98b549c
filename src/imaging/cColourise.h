#pragma once

#include <cstdint>

class cDIBSection;

// Recolours a bitmap: every pixel keeps its own HLS lightness and takes the filter's hue and saturation.
class cColourise {
public:
    // Target hue and saturation on a 0 to 255 scale; hue 0 and 255 are magenta, 42.5 would be red.
    int32_t Hue() const { return m_Hue; }
    void SetHue(int32_t lHue) { m_Hue = lHue; }
    int32_t Saturation() const { return m_Saturation; }
    void SetSaturation(int32_t lSaturation) { m_Saturation = lSaturation; }

    // Recolours cSrc into cDst (made by the caller with cSrc's size) under the wait cursor; never raises.
    void Process(const cDIBSection& cSrc, cDIBSection& cDst);

    // The pass itself, without the wait cursor: a lookup by each pixel's largest and smallest channel.
    void ProcessBits(const cDIBSection& cSrc, cDIBSection& cDst) const;
    // The same pass converting every pixel both ways; the lookup must give its bytes exactly.
    void ProcessReference(const cDIBSection& cSrc, cDIBSection& cDst) const;

private:
    float TargetHue() const;
    float TargetSaturation() const;

    int32_t m_Hue = 0;
    int32_t m_Saturation = 0;
};
