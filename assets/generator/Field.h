#pragma once

#include <QImage>

#include <vector>

class Rng;

// A square grid of floats that wraps at its edges, so everything built from it tiles without seams.
class Field {
public:
    explicit Field(int size, float value = 0.0F);

    int Size() const { return m_size; }
    float& At(int x, int y) { return m_data[static_cast<std::size_t>(Wrap(y) * m_size + Wrap(x))]; }
    float At(int x, int y) const { return m_data[static_cast<std::size_t>(Wrap(y) * m_size + Wrap(x))]; }
    // Bilinear, wrapping.
    float Sample(float x, float y) const;

    // Periodic value noise: a lattice of `cells` x `cells` random values, smoothly interpolated.
    static Field ValueNoise(int size, int cells, Rng& rng);
    // Sum of value-noise octaves from `cells` upwards, each twice as fine and `gain` times as strong.
    static Field Fractal(int size, int cells, int octaves, float gain, Rng& rng);
    static Field WhiteNoise(int size, Rng& rng);

    // Box blur, wrapping, separately along x and y (radius 0 leaves that axis alone).
    void Blur(int radiusX, int radiusY);
    void Add(const Field& other, float weight);
    // Rescales to the given mean and standard deviation.
    void Normalise(float mean, float deviation);
    float Mean() const;

    // Grey picture, values clamped to 0..255.
    QImage ToImage() const;

private:
    int Wrap(int v) const { return ((v % m_size) + m_size) % m_size; }

    int m_size;
    std::vector<float> m_data;
};

// Nearest and second-nearest distances to jittered cell points on a wrapping grid.
struct CellHit {
    float f1;
    float f2;
    int cell;  // index of the nearest point
    float dx;  // offset from the nearest point
    float dy;
};

class CellPoints {
public:
    CellPoints(int size, int cells, float jitter, Rng& rng);
    CellHit Nearest(float x, float y) const;
    int Count() const { return m_cells * m_cells; }

private:
    int m_size;
    int m_cells;
    std::vector<float> m_px;
    std::vector<float> m_py;
};
