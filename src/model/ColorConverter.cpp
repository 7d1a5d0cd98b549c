#include "model/ColorConverter.h"

#include "platform/Numeric.h"

#include <algorithm>
#include <cmath>

QString ColorConverter::RGBAsString(int32_t RGBValue) const {
    int32_t r = 0, g = 0, b = 0;
    SplitRGB(RGBValue, r, g, b);
    return QStringLiteral("%1, %2, %3").arg(r).arg(g).arg(b);
}

QString ColorConverter::HSBAsString(int32_t HSBValue) const {
    int32_t h = 0, s = 0, b = 0;
    SplitHSB(HSBValue, h, s, b);
    return QStringLiteral("%1, %2, %3").arg(h).arg(s).arg(b);
}

int32_t ColorConverter::RGBToLong(int32_t Red, int32_t Green, int32_t Blue) const {
    Clamp(Red, 0, 255);
    Clamp(Green, 0, 255);
    Clamp(Blue, 0, 255);
    return Red + 256 * Green + 65536 * Blue;
}

int32_t ColorConverter::HSBToLong(int32_t Hue, int32_t Saturation, int32_t Brightness) const {
    Clamp(Hue, 0, 359);
    Clamp(Saturation, 0, 100);
    Clamp(Brightness, 0, 100);
    return (Hue << 16) | (Saturation << 8) | Brightness;
}

int32_t ColorConverter::Red(int32_t RGBValue) const { return RGBValue & 0xFF; }

int32_t ColorConverter::Green(int32_t RGBValue) const { return (RGBValue >> 8) & 0xFF; }

int32_t ColorConverter::Blue(int32_t RGBValue) const { return (RGBValue >> 16) & 0xFF; }

int32_t ColorConverter::Hue(int32_t HSBValue) const {
    int32_t h = HSBValue / 65536;  // truncates toward zero
    return Clamp(h, 0, 359);
}

int32_t ColorConverter::Saturation(int32_t HSBValue) const {
    int32_t s = (HSBValue >> 8) & 0xFF;
    return Clamp(s, 0, 100);
}

int32_t ColorConverter::Brightness(int32_t HSBValue) const {
    int32_t b = HSBValue & 0xFF;
    return Clamp(b, 0, 100);
}

void ColorConverter::SplitRGB(int32_t RGBValue, int32_t& Red, int32_t& Green, int32_t& Blue) const {
    Red = this->Red(RGBValue);
    Green = this->Green(RGBValue);
    Blue = this->Blue(RGBValue);
}

void ColorConverter::SplitHSB(int32_t HSBValue, int32_t& Hue, int32_t& Saturation, int32_t& Brightness) const {
    Hue = this->Hue(HSBValue);
    Saturation = this->Saturation(HSBValue);
    Brightness = this->Brightness(HSBValue);
}

int32_t ColorConverter::HSBToRGB(int32_t HSBValue) const {
    int32_t H = 0, S = 0, B = 0;
    SplitHSB(HSBValue, H, S, B);
    int32_t red = 0, green = 0, blue = 0;
    if (S < 1) {
        red = green = blue = Numeric::Round(static_cast<double>(B * 255) / 100.0);
    } else {
        // The intermediate values are single precision; each product is formed in double precision.
        const float h = static_cast<float>(H / 60.0);
        const float v = static_cast<float>(B / 100.0);
        const float s = static_cast<float>(S / 100.0);
        const int i = static_cast<int>(std::floor(h));
        const float f = h - static_cast<float>(i);
        const double sd = s, fd = f, vd = v;
        const float p = static_cast<float>((1.0 - sd) * vd);
        const float q = static_cast<float>((1.0 - sd * fd) * vd);
        const float t = static_cast<float>((1.0 - (1.0 - fd) * sd) * vd);
        float rf = 0, gf = 0, bf = 0;
        switch (i) {
            case 0: rf = v, gf = t, bf = p; break;
            case 1: rf = q, gf = v, bf = p; break;
            case 2: rf = p, gf = v, bf = t; break;
            case 3: rf = p, gf = q, bf = v; break;
            case 4: rf = t, gf = p, bf = v; break;
            case 5: rf = v, gf = p, bf = q; break;
            default: break;
        }
        red = Numeric::Round(static_cast<double>(rf) * 255.0);
        green = Numeric::Round(static_cast<double>(gf) * 255.0);
        blue = Numeric::Round(static_cast<double>(bf) * 255.0);
    }
    return RGBToLong(red, green, blue);
}

int32_t ColorConverter::RGBToHSB(int32_t RGBValue) const {
    int32_t R = 0, G = 0, B = 0;
    SplitRGB(RGBValue, R, G, B);
    const int32_t max = std::max({R, G, B});
    const int32_t min = std::min({R, G, B});
    const int32_t brightness = Numeric::Round(static_cast<double>(max * 100) / 255.0);
    const int32_t delta = max - min;
    int32_t hue = 0;
    int32_t saturation = 0;
    if (max > 0)
        saturation = Numeric::Round((static_cast<double>(delta) / max) * 100.0);
    if (max > 0 && delta > 0) {
        double x = 0;
        // Red is tested first, so a red and green sharing the maximum take the red formula.
        if (max == R)
            x = static_cast<double>(G - B) / delta;
        else if (max == G)
            x = static_cast<double>(B - R) / delta + 2.0;
        else
            x = static_cast<double>(R - G) / delta + 4.0;
        hue = Numeric::Round(x * 60.0);
        if (hue < 0)
            hue += 360;
    }
    return HSBToLong(hue, saturation, brightness);
}

int32_t ColorConverter::Clamp(int32_t& value, int32_t minimum, int32_t maximum) {
    if (value < minimum)
        value = minimum;
    if (value > maximum)
        value = maximum;
    return value;
}
