#pragma once

#include <QString>

#include <cstdint>

// Conversions between packed RGB values (R + 256·G + 65536·B), packed HSB values (H·65536 + S·256 + B,
// hue 0..359, saturation and brightness 0..100), their parts and their texts. Stateless.
class ColorConverter {
public:
    QString RGBAsString(int32_t RGBValue) const;
    QString HSBAsString(int32_t HSBValue) const;
    int32_t RGBToLong(int32_t Red, int32_t Green, int32_t Blue) const;
    int32_t HSBToLong(int32_t Hue, int32_t Saturation, int32_t Brightness) const;
    int32_t Red(int32_t RGBValue) const;
    int32_t Green(int32_t RGBValue) const;
    int32_t Blue(int32_t RGBValue) const;
    int32_t Hue(int32_t HSBValue) const;
    int32_t Saturation(int32_t HSBValue) const;
    int32_t Brightness(int32_t HSBValue) const;
    void SplitRGB(int32_t RGBValue, int32_t& Red, int32_t& Green, int32_t& Blue) const;
    void SplitHSB(int32_t HSBValue, int32_t& Hue, int32_t& Saturation, int32_t& Brightness) const;
    int32_t HSBToRGB(int32_t HSBValue) const;
    int32_t RGBToHSB(int32_t RGBValue) const;

private:
    static int32_t Clamp(int32_t& value, int32_t minimum, int32_t maximum);
};
