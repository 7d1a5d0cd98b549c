#pragma once

#include "views/PieRenderer.h"

#include <QPoint>

#include <cmath>

namespace PieTest {

constexpr int32_t Rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

// The pixel under the point at the middle angle of slice index (0-based) of n, at the given part of
// the radius: well inside the slice for the pies the tests draw.
inline QPoint SliceInterior(const PieRenderer::Geometry& g, int index, int n, double part = 0.6) {
    const double angle = 8.0 * std::atan(1.0) * (index + 0.5) / n;
    const double rho = part * g.r;
    return QPoint(static_cast<int>(std::floor(g.cx + rho * std::cos(angle))),
                  static_cast<int>(std::floor(g.cy - rho * std::sin(angle))));
}

}  // namespace PieTest
