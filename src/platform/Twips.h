#pragma once

namespace Twips {

// Twips in an inch; a length in pixels is twips * dpi / PerInch at the device's logical DPI.
inline constexpr double PerInch = 1440.0;

}  // namespace Twips
