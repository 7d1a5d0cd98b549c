#include "Field.h"

#include "Rng.h"

#include <algorithm>
#include <cmath>

namespace {
float Smooth(float t) { return t * t * t * (t * (t * 6.0F - 15.0F) + 10.0F); }
}  // namespace

Field::Field(int size, float value) : m_size(size), m_data(static_cast<std::size_t>(size) * size, value) {}

float Field::Sample(float x, float y) const {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = x - fx;
    const float ty = y - fy;
    const float top = At(ix, iy) * (1 - tx) + At(ix + 1, iy) * tx;
    const float bottom = At(ix, iy + 1) * (1 - tx) + At(ix + 1, iy + 1) * tx;
    return top * (1 - ty) + bottom * ty;
}

Field Field::ValueNoise(int size, int cells, Rng& rng) {
    std::vector<float> lattice(static_cast<std::size_t>(cells) * cells);
    for (float& v : lattice) v = static_cast<float>(rng.Unit() * 2.0 - 1.0);
    auto node = [&](int i, int j) {
        return lattice[static_cast<std::size_t>(((j % cells + cells) % cells) * cells + (i % cells + cells) % cells)];
    };
    Field out(size);
    const float step = static_cast<float>(cells) / static_cast<float>(size);
    for (int y = 0; y < size; ++y) {
        const float gy = y * step;
        const int j = static_cast<int>(gy);
        const float ty = Smooth(gy - j);
        for (int x = 0; x < size; ++x) {
            const float gx = x * step;
            const int i = static_cast<int>(gx);
            const float tx = Smooth(gx - i);
            const float a = node(i, j) + (node(i + 1, j) - node(i, j)) * tx;
            const float b = node(i, j + 1) + (node(i + 1, j + 1) - node(i, j + 1)) * tx;
            out.At(x, y) = a + (b - a) * ty;
        }
    }
    return out;
}

Field Field::Fractal(int size, int cells, int octaves, float gain, Rng& rng) {
    Field out(size);
    float weight = 1.0F;
    for (int o = 0; o < octaves && cells <= size; ++o, cells *= 2, weight *= gain)
        out.Add(ValueNoise(size, cells, rng), weight);
    return out;
}

Field Field::WhiteNoise(int size, Rng& rng) {
    Field out(size);
    for (float& v : out.m_data) v = static_cast<float>(rng.Unit() * 2.0 - 1.0);
    return out;
}

void Field::Blur(int radiusX, int radiusY) {
    std::vector<float> tmp(m_data.size());
    if (radiusX > 0) {
        const float norm = 1.0F / static_cast<float>(2 * radiusX + 1);
        for (int y = 0; y < m_size; ++y)
            for (int x = 0; x < m_size; ++x) {
                float sum = 0;
                for (int k = -radiusX; k <= radiusX; ++k) sum += At(x + k, y);
                tmp[static_cast<std::size_t>(y * m_size + x)] = sum * norm;
            }
        m_data.swap(tmp);
    }
    if (radiusY > 0) {
        const float norm = 1.0F / static_cast<float>(2 * radiusY + 1);
        for (int y = 0; y < m_size; ++y)
            for (int x = 0; x < m_size; ++x) {
                float sum = 0;
                for (int k = -radiusY; k <= radiusY; ++k) sum += At(x, y + k);
                tmp[static_cast<std::size_t>(y * m_size + x)] = sum * norm;
            }
        m_data.swap(tmp);
    }
}

void Field::Add(const Field& other, float weight) {
    for (std::size_t i = 0; i < m_data.size(); ++i) m_data[i] += weight * other.m_data[i];
}

float Field::Mean() const {
    double sum = 0;
    for (float v : m_data) sum += v;
    return static_cast<float>(sum / static_cast<double>(m_data.size()));
}

void Field::Normalise(float mean, float deviation) {
    const float m = Mean();
    double var = 0;
    for (float v : m_data) var += static_cast<double>(v - m) * (v - m);
    const float sd = static_cast<float>(std::sqrt(var / static_cast<double>(m_data.size())));
    const float scale = sd > 1e-6F ? deviation / sd : 0.0F;
    for (float& v : m_data) v = mean + (v - m) * scale;
}

QImage Field::ToImage() const {
    QImage image(m_size, m_size, QImage::Format_RGB32);
    for (int y = 0; y < m_size; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < m_size; ++x) {
            const int g = std::clamp(static_cast<int>(std::lround(At(x, y))), 0, 255);
            row[x] = qRgb(g, g, g);
        }
    }
    return image;
}

CellPoints::CellPoints(int size, int cells, float jitter, Rng& rng) : m_size(size), m_cells(cells) {
    const float cell = static_cast<float>(size) / static_cast<float>(cells);
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i) {
            m_px.push_back((i + 0.5F + jitter * static_cast<float>(rng.Unit() - 0.5)) * cell);
            m_py.push_back((j + 0.5F + jitter * static_cast<float>(rng.Unit() - 0.5)) * cell);
        }
}

CellHit CellPoints::Nearest(float x, float y) const {
    const float cell = static_cast<float>(m_size) / static_cast<float>(m_cells);
    const int ci = static_cast<int>(std::floor(x / cell));
    const int cj = static_cast<int>(std::floor(y / cell));
    CellHit hit{1e9F, 1e9F, 0, 0, 0};
    for (int dj = -2; dj <= 2; ++dj)
        for (int di = -2; di <= 2; ++di) {
            const int i = ci + di;
            const int j = cj + dj;
            const int wi = (i % m_cells + m_cells) % m_cells;
            const int wj = (j % m_cells + m_cells) % m_cells;
            const std::size_t k = static_cast<std::size_t>(wj * m_cells + wi);
            // The point's copy nearest to this cell of the plane.
            const float px = m_px[k] + static_cast<float>(i - wi) * cell;
            const float py = m_py[k] + static_cast<float>(j - wj) * cell;
            const float dx = x - px;
            const float dy = y - py;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < hit.f1) {
                hit.f2 = hit.f1;
                hit.f1 = d;
                hit.cell = static_cast<int>(k);
                hit.dx = dx;
                hit.dy = dy;
            } else if (d < hit.f2) {
                hit.f2 = d;
            }
        }
    return hit;
}
