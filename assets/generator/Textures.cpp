#include "Textures.h"

#include "BmpFile.h"
#include "Field.h"
#include "Rng.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace Textures {

namespace {

constexpr int N = kTileSize;
constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kTwoPi = 2.0F * kPi;

// Tone shared by all tiles: mean grey and spread (standard deviation) before a recipe's own factor.
constexpr float kMean = 96.0F;
constexpr float kSpread = 20.0F;

float Frac(float v) { return v - std::floor(v); }
float SmoothStep(float e0, float e1, float v) {
    const float t = std::clamp((v - e0) / (e1 - e0), 0.0F, 1.0F);
    return t * t * (3 - 2 * t);
}

// Light from the upper left on a height field.
Field Emboss(const Field& height, float strength) {
    Field out(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) out.At(x, y) = strength * (height.At(x - 1, y - 1) - height.At(x + 1, y + 1));
    return out;
}

Field Canvas(Rng& rng) {
    // Plain weave: threads 4 px apart crossing over and under each other.
    Field f(N);
    const Field slub = Field::Fractal(N, 16, 3, 0.5F, rng);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const int cx = x / 4;
            const int cy = y / 4;
            const float u = (x % 4 + 0.5F) / 4.0F;
            const float v = (y % 4 + 0.5F) / 4.0F;
            const bool warpOnTop = ((cx + cy) & 1) == 0;
            const float profile = warpOnTop ? std::sin(u * kPi) : std::sin(v * kPi);
            f.At(x, y) = 0.55F + 0.45F * profile + (warpOnTop ? 0.08F : -0.08F);
        }
    f.Add(slub, 0.08F);
    f.Add(Field::WhiteNoise(N, rng), 0.06F);
    return f;
}

Field Linen(Rng& rng) {
    // Irregular threads in both directions: each row and each column has its own thickness and tone.
    std::vector<float> rows(N);
    std::vector<float> cols(N);
    for (float& r : rows) r = static_cast<float>(rng.Unit());
    for (float& c : cols) c = static_cast<float>(rng.Unit());
    Field f(N);
    const Field grain = Field::Fractal(N, 32, 2, 0.6F, rng);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const float r =
                0.6F * rows[static_cast<std::size_t>(y)] + 0.4F * rows[static_cast<std::size_t>((y + 1) % N)];
            const float c =
                0.6F * cols[static_cast<std::size_t>(x)] + 0.4F * cols[static_cast<std::size_t>((x + 1) % N)];
            f.At(x, y) = ((x + y) & 1) ? r : c;
        }
    f.Blur(1, 0);
    f.Add(grain, 0.12F);
    return f;
}

Field Paper(Rng& rng) {
    // Low frequencies stay weak: a cloud as large as the tile would show the repeat.
    Field f = Field::Fractal(N, 8, 4, 0.6F, rng);
    f.Normalise(0.0F, 0.12F);
    Field fibres = Field::WhiteNoise(N, rng);
    fibres.Blur(3, 0);
    Field across = Field::WhiteNoise(N, rng);
    across.Blur(0, 3);
    f.Add(fibres, 0.5F);
    f.Add(across, 0.5F);
    f.Add(Field::WhiteNoise(N, rng), 0.12F);
    return f;
}

Field BrushedMetal(Rng& rng) {
    Field f = Field::WhiteNoise(N, rng);
    f.Blur(24, 0);
    f.Blur(16, 0);
    Field fine = Field::WhiteNoise(N, rng);
    fine.Blur(6, 0);
    f.Add(fine, 0.35F);
    Field sheen = Field::ValueNoise(N, 2, rng);
    f.Add(sheen, 0.08F);
    return f;
}

Field WoodGrain(Rng& rng) {
    const Field warp = Field::Fractal(N, 2, 3, 0.5F, rng);
    const Field wobble = Field::Fractal(N, 4, 2, 0.5F, rng);
    Field streaks = Field::WhiteNoise(N, rng);
    streaks.Blur(20, 0);
    Field f(N);
    constexpr float kRings = 9.0F;
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const float phase = kRings * (static_cast<float>(y) / N) + 0.6F * warp.At(x, y) + 0.15F * wobble.At(x, y);
            const float ring = Frac(phase);
            // Late wood: a narrow dark band with a soft rise and a sharper fall.
            const float band = std::pow(ring, 4.0F) * (1.0F - SmoothStep(0.9F, 1.0F, ring));
            f.At(x, y) = -band;
        }
    f.Add(streaks, 1.1F);
    return f;
}

Field Bricks(Rng& rng) {
    constexpr int kW = 32;
    constexpr int kH = 16;
    constexpr int kShift = 5;  // keeps the mortar joints off the tile's own edges
    std::vector<float> tone(static_cast<std::size_t>((N / kW) * (N / kH)));
    for (float& t : tone) t = static_cast<float>(rng.Range(-0.35, 0.35));
    const Field rough = Field::Fractal(N, 8, 4, 0.6F, rng);
    Field height(N);
    Field f(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const int yy = (y + kShift) % N;
            const int row = yy / kH;
            const int xx = (x + kShift + ((row & 1) ? kW / 2 : 0)) % N;
            const int col = xx / kW;
            const int lx = xx % kW;
            const int ly = yy % kH;
            const bool mortar = lx < 2 || ly < 2;
            height.At(x, y) = mortar ? 0.0F : 1.0F;
            f.At(x, y) = mortar ? -0.9F : tone[static_cast<std::size_t>(row * (N / kW) + col)];
        }
    height.Add(rough, 0.15F);
    f.Add(Emboss(height, 0.6F), 1.0F);
    f.Add(rough, 0.3F);
    return f;
}

Field Tiles(Rng& rng) {
    constexpr int kT = 32;
    constexpr int kShift = 3;
    std::vector<float> tone(static_cast<std::size_t>((N / kT) * (N / kT)));
    for (float& t : tone) t = static_cast<float>(rng.Range(-0.12, 0.12));
    Field height(N);
    Field f(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const int xx = (x + kShift) % N;
            const int yy = (y + kShift) % N;
            const int lx = xx % kT;
            const int ly = yy % kT;
            const bool grout = lx < 2 || ly < 2;
            // Tiles rise towards their centres so their edges catch the light.
            const float ex = std::min(lx - 2, kT - 1 - lx);
            const float ey = std::min(ly - 2, kT - 1 - ly);
            height.At(x, y) = grout ? 0.0F : std::min(1.0F, 0.4F + 0.2F * std::min(ex, ey));
            f.At(x, y) = grout ? -0.6F : 0.3F + tone[static_cast<std::size_t>((yy / kT) * (N / kT) + xx / kT)];
        }
    f.Add(Emboss(height, 0.8F), 1.0F);
    f.Add(Field::Fractal(N, 16, 3, 0.5F, rng), 0.04F);
    return f;
}

Field Dots(Rng& rng) {
    // Raised dots on a staggered 16 px grid.
    constexpr float kP = 16.0F;
    Field height(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float best = 1e9F;
            for (int k = 0; k < 2; ++k) {
                const float ox = k * kP / 2 + 4.0F;
                const float oy = k * kP / 2 + 4.0F;
                const float dx = Frac((x + 0.5F - ox) / kP + 0.5F) - 0.5F;
                const float dy = Frac((y + 0.5F - oy) / kP + 0.5F) - 0.5F;
                best = std::min(best, std::sqrt(dx * dx + dy * dy) * kP);
            }
            height.At(x, y) = 1.0F - SmoothStep(3.0F, 4.6F, best);
        }
    Field f = Emboss(height, 0.7F);
    f.Add(height, 0.5F);
    f.Add(Field::WhiteNoise(N, rng), 0.03F);
    return f;
}

Field Stripes(Rng& rng) {
    // Soft diagonal ribs, 16 px apart along each axis.
    Field f(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const float t = Frac((x + y + 0.5F) / 16.0F);
            f.At(x, y) = SmoothStep(0.0F, 0.35F, t) - SmoothStep(0.5F, 0.6F, t);
        }
    f.Add(Field::Fractal(N, 8, 3, 0.5F, rng), 0.08F);
    return f;
}

Field CrossHatch(Rng& rng) {
    // Pen hatching in both diagonals, each line slightly irregular in weight.
    const Field wobble = Field::Fractal(N, 8, 2, 0.5F, rng);
    const Field ink = Field::Fractal(N, 16, 2, 0.5F, rng);
    Field f(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const float a = Frac((x + y + 1.2F * wobble.At(x, y)) / 8.0F);
            const float b = Frac((x - y + 1.2F * wobble.At(y, x)) / 8.0F);
            const float la = 1.0F - SmoothStep(0.0F, 0.22F, std::abs(a - 0.5F));
            const float lb = 1.0F - SmoothStep(0.0F, 0.22F, std::abs(b - 0.5F));
            f.At(x, y) = -(la + lb) * (0.8F + 0.4F * ink.At(x, y));
        }
    return f;
}

Field Weave(Rng& rng) {
    // Basket weave: 16 px squares of four strips, horizontal and vertical squares alternating.
    Field height(N);
    Field f(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const int bx = x / 16;
            const int by = y / 16;
            const bool horizontal = ((bx + by) & 1) == 0;
            const float across = horizontal ? (y % 4 + 0.5F) / 4.0F : (x % 4 + 0.5F) / 4.0F;
            const float along = horizontal ? (x % 16 + 0.5F) / 16.0F : (y % 16 + 0.5F) / 16.0F;
            const float round = std::sin(across * kPi);
            const float tuck = std::sin(along * kPi);  // strips dip where they pass under the next square
            height.At(x, y) = round * (0.5F + 0.5F * tuck);
            f.At(x, y) = height.At(x, y);
        }
    f.Add(Emboss(height, 0.5F), 1.0F);
    f.Add(Field::WhiteNoise(N, rng), 0.05F);
    return f;
}

Field Noise(Rng& rng) {
    Field f = Field::WhiteNoise(N, rng);
    Field soft = Field::WhiteNoise(N, rng);
    soft.Blur(1, 1);
    f.Add(soft, 1.5F);
    return f;
}

Field Marble(Rng& rng) {
    const Field turbulence = Field::Fractal(N, 2, 5, 0.55F, rng);
    const Field cloud = Field::Fractal(N, 4, 4, 0.5F, rng);
    Field f(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const float phase = kTwoPi * (x + y) / static_cast<float>(N) * 2.0F + 5.5F * turbulence.At(x, y);
            const float vein = std::pow(std::abs(std::sin(phase)), 0.35F);
            f.At(x, y) = vein + 0.3F * cloud.At(x, y);
        }
    return f;
}

Field Leather(Rng& rng) {
    const CellPoints cells(N, 16, 0.9F, rng);
    std::vector<float> tone(static_cast<std::size_t>(cells.Count()));
    for (float& t : tone) t = static_cast<float>(rng.Range(-0.15, 0.15));
    Field height(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const CellHit hit = cells.Nearest(x + 0.5F, y + 0.5F);
            const float crease = SmoothStep(0.0F, 2.2F, hit.f2 - hit.f1);
            height.At(x, y) = crease * (0.8F + tone[static_cast<std::size_t>(hit.cell)]);
        }
    Field f = Emboss(height, 0.6F);
    f.Add(height, 0.7F);
    f.Add(Field::Fractal(N, 8, 3, 0.5F, rng), 0.15F);
    f.Add(Field::WhiteNoise(N, rng), 0.05F);
    return f;
}

Field Sand(Rng& rng) {
    Field f = Field::WhiteNoise(N, rng);
    Field grains = Field::WhiteNoise(N, rng);
    grains.Blur(1, 1);
    f.Add(grains, 1.2F);
    const Field warp = Field::Fractal(N, 2, 3, 0.5F, rng);
    Field ripple(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) ripple.At(x, y) = std::sin(kTwoPi * (5.0F * y / N + 0.8F * warp.At(x, y)));
    f.Add(Emboss(ripple, 1.0F), 0.9F);
    return f;
}

Field Cork(Rng& rng) {
    const CellPoints cells(N, 32, 1.0F, rng);
    std::vector<float> tone(static_cast<std::size_t>(cells.Count()));
    for (float& t : tone) t = static_cast<float>(rng.Range(-1.0, 1.0));
    Field f(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const CellHit hit = cells.Nearest(x + 0.5F, y + 0.5F);
            f.At(x, y) =
                tone[static_cast<std::size_t>(hit.cell)] - 0.9F * (1.0F - SmoothStep(0.0F, 1.2F, hit.f2 - hit.f1));
        }
    f.Add(Field::WhiteNoise(N, rng), 0.35F);
    return f;
}

Field Granite(Rng& rng) {
    Field f = Field::Fractal(N, 16, 3, 0.6F, rng);
    f.Normalise(0.0F, 0.25F);
    Field specks = Field::WhiteNoise(N, rng);
    specks.Blur(1, 1);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const float s = specks.At(x, y);
            f.At(x, y) += s > 0.28F ? 1.1F : (s < -0.3F ? -1.0F : 0.0F);
        }
    f.Add(Field::WhiteNoise(N, rng), 0.15F);
    return f;
}

Field Stucco(Rng& rng) {
    // Trowelled plaster: soft lumps with a little sharper grit, lit from the upper left.
    Field height = Field::Fractal(N, 8, 4, 0.6F, rng);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) height.At(x, y) = SmoothStep(-0.6F, 0.6F, height.At(x, y));
    Field grit = Field::WhiteNoise(N, rng);
    grit.Blur(1, 1);
    height.Add(grit, 0.08F);
    Field f = Emboss(height, 1.0F);
    f.Add(height, 0.15F);
    return f;
}

Field Crackle(Rng& rng) {
    const CellPoints cells(N, 6, 1.0F, rng);
    const CellPoints fine(N, 14, 1.0F, rng);
    std::vector<float> tone(static_cast<std::size_t>(cells.Count()));
    for (float& t : tone) t = static_cast<float>(rng.Range(-0.15, 0.15));
    Field f(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const CellHit hit = cells.Nearest(x + 0.5F, y + 0.5F);
            const CellHit small = fine.Nearest(x + 0.5F, y + 0.5F);
            const float crack = 1.0F - SmoothStep(0.4F, 1.6F, hit.f2 - hit.f1);
            const float hairline = 1.0F - SmoothStep(0.2F, 0.9F, small.f2 - small.f1);
            f.At(x, y) = tone[static_cast<std::size_t>(hit.cell)] - 1.2F * crack - 0.45F * hairline;
        }
    f.Add(Field::Fractal(N, 8, 3, 0.5F, rng), 0.12F);
    return f;
}

Field Honeycomb(Rng& rng) {
    // Hexagons 7 across and 4 double rows down, close enough to regular to read as such.
    constexpr float kCols = 7.0F;
    constexpr float kRows = 4.0F;
    const float dx = N / kCols;
    const float dy = N / kRows;  // two hex rows
    Field height(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float best = 1e9F;
            float second = 1e9F;
            for (int k = 0; k < 2; ++k) {
                const float ox = k * dx / 2;
                const float oy = k * dy / 2;
                for (int j = -1; j <= 1; ++j)
                    for (int i = -1; i <= 1; ++i) {
                        const float cx = (std::floor((x - ox) / dx) + i + 0.5F) * dx + ox;
                        const float cy = (std::floor((y - oy) / dy) + j + 0.5F) * dy + oy;
                        const float ddx = (x + 0.5F - cx) / dx;
                        const float ddy = (y + 0.5F - cy) / (dy / 1.5F);
                        const float d = std::sqrt(ddx * ddx + ddy * ddy);
                        if (d < best) {
                            second = best;
                            best = d;
                        } else if (d < second) {
                            second = d;
                        }
                    }
            }
            height.At(x, y) = SmoothStep(0.0F, 0.12F, second - best);
        }
    Field f = Emboss(height, 0.8F);
    f.Add(height, 0.6F);
    f.Add(Field::Fractal(N, 16, 2, 0.5F, rng), 0.05F);
    return f;
}

Field Chevron(Rng& rng) {
    // Zigzag bands: 4 zigzags across, 8 bands down.
    Field f(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const float tri = std::abs(Frac((x + 0.5F) / 32.0F) - 0.5F) * 32.0F;
            const float t = Frac((y + 0.5F + tri) / 16.0F);
            f.At(x, y) = SmoothStep(0.0F, 0.2F, t) - SmoothStep(0.45F, 0.6F, t) + 0.3F * std::sin(t * kTwoPi);
        }
    f.Add(Field::Fractal(N, 8, 3, 0.5F, rng), 0.1F);
    return f;
}

Field Denim(Rng& rng) {
    // Twill: each warp thread floats over three weft threads, stepping one thread per row.
    std::vector<float> slub(N);
    for (float& s : slub) s = static_cast<float>(rng.Range(-0.3, 0.3));
    Field f(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const int cx = x / 2;
            const int cy = y / 2;
            const bool warp = ((cx + cy) % 4) != 0;
            const float u = (x % 2 + 0.5F) / 2.0F;
            const float v = (y % 2 + 0.5F) / 2.0F;
            f.At(x, y) =
                warp ? 0.7F * std::sin(u * kPi) + slub[static_cast<std::size_t>(x)] : 0.2F * std::sin(v * kPi) - 0.2F;
        }
    Field fade = Field::Fractal(N, 8, 3, 0.5F, rng);
    f.Add(fade, 0.1F);
    f.Add(Field::WhiteNoise(N, rng), 0.08F);
    return f;
}

Field Pebbles(Rng& rng) {
    const CellPoints cells(N, 6, 0.8F, rng);
    std::vector<float> tone(static_cast<std::size_t>(cells.Count()));
    for (float& t : tone) t = static_cast<float>(rng.Range(-0.25, 0.25));
    Field height(N);
    Field base(N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const CellHit hit = cells.Nearest(x + 0.5F, y + 0.5F);
            const float gap = hit.f2 - hit.f1;
            // A dome that falls off towards the gap between neighbouring stones.
            height.At(x, y) = std::sqrt(SmoothStep(0.0F, 9.0F, gap)) * 4.0F;
            base.At(x, y) = tone[static_cast<std::size_t>(hit.cell)] - (gap < 1.5F ? 0.8F : 0.0F);
        }
    Field f = Emboss(height, 0.5F);
    f.Add(base, 1.0F);
    f.Add(Field::Fractal(N, 16, 3, 0.5F, rng), 0.12F);
    return f;
}

struct Recipe {
    const char* name;
    Field (*make)(Rng&);
    float spread;  // relative to kSpread: busy patterns stay quieter, soft ones may say more
};

constexpr Recipe kRecipes[] = {
    {"bricks", Bricks, 1.0F},       {"canvas", Canvas, 0.9F},      {"chevron", Chevron, 0.9F},
    {"cork", Cork, 1.0F},           {"crackle", Crackle, 0.9F},    {"cross-hatch", CrossHatch, 0.9F},
    {"denim", Denim, 0.9F},         {"dots", Dots, 0.9F},          {"granite", Granite, 1.0F},
    {"honeycomb", Honeycomb, 0.9F}, {"leather", Leather, 0.9F},    {"linen", Linen, 0.8F},
    {"marble", Marble, 1.0F},       {"metal", BrushedMetal, 0.8F}, {"noise", Noise, 0.8F},
    {"paper", Paper, 0.6F},         {"pebbles", Pebbles, 1.0F},    {"sand", Sand, 0.8F},
    {"stripes", Stripes, 0.9F},     {"stucco", Stucco, 0.9F},      {"tiles", Tiles, 1.0F},
    {"weave", Weave, 1.0F},         {"wood", WoodGrain, 1.0F},
};

// Each tile's seed comes from its name, so adding or reordering recipes leaves the others as they are.
std::uint64_t SeedOf(const char* name) {
    std::uint64_t h = 14695981039346656037ULL;
    for (const char* c = name; *c != 0; ++c) h = (h ^ static_cast<unsigned char>(*c)) * 1099511628211ULL;
    return h;
}

}  // namespace

std::vector<Tile> Make() {
    std::vector<Tile> tiles;
    for (const Recipe& recipe : kRecipes) {
        Rng rng(SeedOf(recipe.name));
        Field field = recipe.make(rng);
        field.Normalise(kMean, kSpread * recipe.spread);
        tiles.push_back({QString::fromLatin1(recipe.name), field.ToImage()});
    }
    return tiles;
}

bool Write(const QString& folder) {
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return false;
    const std::vector<Tile> tiles = Make();
    QStringList names;
    for (const Tile& tile : tiles) names << tile.name + QStringLiteral(".bmp");
    // The program lists every bitmap in the folder, so a tile left over from an earlier build must go.
    for (const QString& old : dir.entryList({QStringLiteral("*.bmp")}, QDir::Files))
        if (!names.contains(old))
            dir.remove(old);
    bool ok = true;
    for (std::size_t i = 0; i < tiles.size(); ++i)
        ok = BmpFile::Save24(tiles[i].image, dir.filePath(names.at(static_cast<qsizetype>(i)))) && ok;
    return ok;
}

}  // namespace Textures
