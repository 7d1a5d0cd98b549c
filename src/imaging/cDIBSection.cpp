#include "imaging/cDIBSection.h"

#include "platform/Random.h"
#include "platform/RuntimeError.h"

#include <QPainter>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <unordered_map>

namespace {

// Handles are never reused, so a stale one finds nothing instead of another bitmap.
cDIBSection::Handle nextHandle() {
    static cDIBSection::Handle last = 0;
    return ++last;
}

// Never destroyed, so a bitmap that outlives the other statics can still leave it.
std::unordered_map<cDIBSection::Handle, cDIBSection*>& contexts() {
    static auto* map = new std::unordered_map<cDIBSection::Handle, cDIBSection*>;
    return *map;
}

// One byte of a ternary raster operation: the code's bit (p << 2 | s << 1 | d) is the result for those inputs.
uint8_t ropByte(uint8_t code, uint8_t s, uint8_t d) {
    constexpr uint8_t p = 0xFF;
    uint8_t out = 0;
    for (int k = 0; k < 8; ++k) {
        if ((code >> k) & 1)
            out |= static_cast<uint8_t>(((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d));
    }
    return out;
}

// Nearest integer of a value from 0 to 2^23, halves to even: adding 2^23 leaves no fraction bits, so the
// hardware rounds the sum by its own rule.
inline float roundNonNegative(float value) {
    constexpr float shifter = 8388608.0f;
    return (value + shifter) - shifter;
}

struct Rows {
    const uint8_t* bits;
    int32_t stride;
    int32_t width;
    int32_t height;
    bool bottomUp;
    const uint8_t* line(int32_t y) const { return bits + static_cast<size_t>(bottomUp ? height - 1 - y : y) * stride; }
};

// Clips the rectangle against both pictures; false when nothing is left.
bool clip(int32_t& sx, int32_t& sy, int32_t& dx, int32_t& dy, int32_t& w, int32_t& h, int32_t sw, int32_t sh,
          int32_t dw, int32_t dh) {
    const int32_t shiftX = std::max({0, -sx, -dx});
    sx += shiftX;
    dx += shiftX;
    w -= shiftX;
    const int32_t shiftY = std::max({0, -sy, -dy});
    sy += shiftY;
    dy += shiftY;
    h -= shiftY;
    w = std::min({w, sw - sx, dw - dx});
    h = std::min({h, sh - sy, dh - dy});
    return w > 0 && h > 0;
}

// Bit-block transfer between byte buffers in picture coordinates.
void blit(const Rows& src, int32_t sx, int32_t sy, uint8_t* dstBits, int32_t dstStride, int32_t dstWidth,
          int32_t dstHeight, int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t rop) {
    if (!clip(sx, sy, dx, dy, w, h, src.width, src.height, dstWidth, dstHeight))
        return;
    const uint8_t code = static_cast<uint8_t>(rop >> 16);
    const size_t rowBytes = static_cast<size_t>(w) * 3;
    // A copy of the source rows keeps overlapping transfers within one bitmap correct.
    std::vector<uint8_t> copy;
    Rows source = src;
    if (src.bits == dstBits) {
        copy.resize(rowBytes * h);
        for (int32_t y = 0; y < h; ++y) std::memcpy(copy.data() + rowBytes * y, src.line(sy + y) + 3 * sx, rowBytes);
        source = Rows{copy.data(), static_cast<int32_t>(rowBytes), w, h, false};
        sx = 0;
        sy = 0;
    }
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* s = source.line(sy + y) + 3 * sx;
        uint8_t* d = dstBits + static_cast<size_t>(dstHeight - 1 - (dy + y)) * dstStride + 3 * dx;
        if (code == 0xCC) {
            std::memcpy(d, s, rowBytes);
        } else {
            for (size_t i = 0; i < rowBytes; ++i) d[i] = ropByte(code, s[i], d[i]);
        }
    }
}

bool compositionFor(int32_t rop, QPainter::CompositionMode& mode) {
    switch (rop) {
        case cDIBSection::SRCCOPY: mode = QPainter::CompositionMode_Source; return true;
        case cDIBSection::SRCPAINT: mode = QPainter::RasterOp_SourceOrDestination; return true;
        case cDIBSection::SRCAND: mode = QPainter::RasterOp_SourceAndDestination; return true;
        case cDIBSection::SRCINVERT: mode = QPainter::RasterOp_SourceXorDestination; return true;
        case cDIBSection::SRCERASE: mode = QPainter::RasterOp_SourceAndNotDestination; return true;
        case cDIBSection::NOTSRCCOPY: mode = QPainter::RasterOp_NotSource; return true;
        case cDIBSection::NOTSRCERASE: mode = QPainter::RasterOp_NotSourceAndNotDestination; return true;
        case cDIBSection::MERGEPAINT: mode = QPainter::RasterOp_NotSourceOrDestination; return true;
        case cDIBSection::DSTINVERT: mode = QPainter::RasterOp_NotDestination; return true;
        case cDIBSection::BLACKNESS: mode = QPainter::RasterOp_ClearDestination; return true;
        case cDIBSection::WHITENESS: mode = QPainter::RasterOp_SetDestination; return true;
        default: return false;
    }
}

}  // namespace

cDIBSection::cDIBSection() = default;

cDIBSection::~cDIBSection() { ClearUp(); }

bool cDIBSection::CreateDIB(Handle lHDC, int32_t lWidth, int32_t lHeight, Handle& hDib) {
    hDib = 0;
    if (lHDC == 0 || lWidth <= 0 || lHeight <= 0 || lWidth > (std::numeric_limits<int32_t>::max() - 3) / 3)
        return false;
    const int64_t imageSize = static_cast<int64_t>(BytesPerScanLineOf(lWidth)) * lHeight;
    if (imageSize > std::numeric_limits<int32_t>::max() - kHeadersSize)
        return false;
    try {
        // Zero-filled, as a new DIB section is: the padding bytes start at 0.
        m_bits.assign(static_cast<size_t>(imageSize), 0);
    } catch (const std::bad_alloc&) {
        m_bits = {};
        return false;
    }
    m_width = lWidth;
    m_height = lHeight;
    m_imageSize = static_cast<int32_t>(imageSize);
    hDib = nextHandle();
    return true;
}

void cDIBSection::CreateFromHandle(const QImage& pHandle) {
    if (Create(pHandle.width(), pHandle.height()))
        LoadPictureBlt(pHandle);
}

void cDIBSection::CreateFromPicture(const QImage& picThis) { CreateFromHandle(picThis); }

bool cDIBSection::Create(int32_t lWidth, int32_t lHeight) {
    ClearUp();
    m_hdc = nextHandle();
    if (CreateDIB(m_hdc, lWidth, lHeight, m_hDib)) {
        contexts()[m_hdc] = this;
        return true;
    }
    m_hdc = 0;
    return false;
}

void cDIBSection::LoadPictureBlt(Handle lHDC, int32_t lSrcLeft, int32_t lSrcTop, int32_t lSrcWidth, int32_t lSrcHeight,
                                 int32_t eRop) {
    const cDIBSection* source = FromHdc(lHDC);
    if (!source || m_bits.empty())
        return;
    const Rows rows{source->m_bits.data(), source->BytesPerScanLine(), source->m_width, source->m_height, true};
    blit(rows, lSrcLeft, lSrcTop, m_bits.data(), BytesPerScanLine(), m_width, m_height, 0, 0,
         lSrcWidth < 0 ? m_width : lSrcWidth, lSrcHeight < 0 ? m_height : lSrcHeight, eRop);
}

void cDIBSection::LoadPictureBlt(const QImage& source, int32_t lSrcLeft, int32_t lSrcTop, int32_t lSrcWidth,
                                 int32_t lSrcHeight, int32_t eRop) {
    if (source.isNull() || m_bits.empty())
        return;
    // Alpha is dropped, as a transfer from a bitmap takes the colour bytes only.
    const QImage bgr =
        source.format() == QImage::Format_BGR888 ? source : source.convertToFormat(QImage::Format_BGR888);
    const Rows rows{bgr.constBits(), static_cast<int32_t>(bgr.bytesPerLine()), bgr.width(), bgr.height(), false};
    blit(rows, lSrcLeft, lSrcTop, m_bits.data(), BytesPerScanLine(), m_width, m_height, 0, 0,
         lSrcWidth < 0 ? m_width : lSrcWidth, lSrcHeight < 0 ? m_height : lSrcHeight, eRop);
}

void cDIBSection::PaintPicture(Handle lHDC, int32_t lDestLeft, int32_t lDestTop, int32_t lDestWidth,
                               int32_t lDestHeight, int32_t lSrcLeft, int32_t lSrcTop, int32_t eRop) const {
    cDIBSection* target = FromHdc(lHDC);
    if (!target || m_bits.empty())
        return;
    const Rows rows{m_bits.data(), BytesPerScanLine(), m_width, m_height, true};
    blit(rows, lSrcLeft, lSrcTop, target->m_bits.data(), target->BytesPerScanLine(), target->m_width, target->m_height,
         lDestLeft, lDestTop, lDestWidth < 0 ? m_width : lDestWidth, lDestHeight < 0 ? m_height : lDestHeight, eRop);
}

void cDIBSection::PaintPicture(QPainter& painter, int32_t lDestLeft, int32_t lDestTop, int32_t lDestWidth,
                               int32_t lDestHeight, int32_t lSrcLeft, int32_t lSrcTop, int32_t eRop) const {
    QPainter::CompositionMode mode;
    if (m_bits.empty() || !compositionFor(eRop, mode))
        return;
    int32_t w = lDestWidth < 0 ? m_width : lDestWidth;
    int32_t h = lDestHeight < 0 ? m_height : lDestHeight;
    int32_t sx = lSrcLeft, sy = lSrcTop, dx = lDestLeft, dy = lDestTop;
    // Only the source is clipped here; the painter clips the destination itself.
    constexpr int32_t unbounded = std::numeric_limits<int32_t>::max() / 2;
    if (!clip(sx, sy, dx, dy, w, h, m_width, m_height, unbounded, unbounded))
        return;
    painter.save();
    painter.setCompositionMode(mode);
    // The rows are flipped while drawing: buffer row 0 is the picture's bottom line.
    painter.translate(dx, dy + h);
    painter.scale(1, -1);
    painter.drawImage(QRect(0, 0, w, h), BufferImage(), QRect(sx, m_height - sy - h, w, h));
    painter.restore();
}

void cDIBSection::PaintPicture(QPaintDevice& device, int32_t lDestLeft, int32_t lDestTop, int32_t lDestWidth,
                               int32_t lDestHeight, int32_t lSrcLeft, int32_t lSrcTop, int32_t eRop) const {
    QPainter painter(&device);
    PaintPicture(painter, lDestLeft, lDestTop, lDestWidth, lDestHeight, lSrcLeft, lSrcTop, eRop);
}

void cDIBSection::RandomiseBits(bool bGray) {
    Random::Randomize();
    const int32_t stride = BytesPerScanLine();
    const auto draw = [] { return static_cast<uint8_t>(std::nearbyint(Random::Rnd() * 255.0f)); };
    if (bGray) {
        for (int32_t y = 0; y < m_height; ++y) {
            uint8_t* row = m_bits.data() + static_cast<size_t>(y) * stride;
            for (int32_t x = 0; x < m_width; ++x) {
                const uint8_t v = draw();
                row[3 * x] = v;
                row[3 * x + 1] = v;
                row[3 * x + 2] = v;
            }
        }
    } else {
        for (int32_t x = 0; x < m_width; ++x) {
            for (int32_t y = 0; y < m_height; ++y) {
                uint8_t* p = m_bits.data() + static_cast<size_t>(y) * stride + 3 * x;
                p[0] = 0;
                p[1] = draw();
                p[2] = draw();
            }
        }
    }
}

void cDIBSection::ClearUp() {
    if (m_hdc != 0)
        contexts().erase(m_hdc);
    // The size goes with the buffer, so an empty bitmap never reports pixels it does not have.
    m_bits = {};
    m_width = 0;
    m_height = 0;
    m_imageSize = 0;
    m_hDib = 0;
    m_hdc = 0;
}

std::shared_ptr<cDIBSection> cDIBSection::Resample(int32_t lNewHeight, int32_t lNewWidth) const {
    auto result = std::make_shared<cDIBSection>();
    if (!result->Create(lNewWidth, lNewHeight))
        return nullptr;
    if (lNewWidth == m_width && lNewHeight == m_height)
        result->LoadPictureBlt(m_hdc);
    else
        ResampleInto(*result);
    return result;
}

void cDIBSection::ResampleInto(cDIBSection& d) const {
    if (m_bits.empty())
        return;
    const int32_t sStride = BytesPerScanLine();
    const int32_t dStride = d.BytesPerScanLine();
    const float xScale = static_cast<float>(m_width - 1) / static_cast<float>(d.m_width);
    const float yScale = static_cast<float>(m_height - 1) / static_cast<float>(d.m_height);
    // Per column: the left byte offset, the right one and the weights; computed once, not per row.
    struct Column {
        int32_t left;
        int32_t right;
        float fx;
        float gx;
    };
    std::vector<Column> columns(static_cast<size_t>(d.m_width));
    for (int32_t x = 0; x < d.m_width; ++x) {
        const float sx = static_cast<float>(x) * xScale;
        const int32_t ix = static_cast<int32_t>(std::floor(sx));
        const float fx = sx - static_cast<float>(ix);
        // A source one pixel wide has no second column: its last column stands in (its weight is 0).
        columns[x] = {3 * ix, 3 * std::min(ix + 1, m_width - 1), fx, 1.0f - fx};
    }
    // The rounded blend of the two source rows depends on the source column alone, so each destination row
    // blends every source byte once and the columns then read those.
    std::vector<float> blended(static_cast<size_t>(3) * m_width);
    for (int32_t y = 0; y < d.m_height; ++y) {
        const float sy = static_cast<float>(y) * yScale;
        const int32_t iy = static_cast<int32_t>(std::floor(sy));
        const float fy = sy - static_cast<float>(iy);
        const float gy = 1.0f - fy;
        const uint8_t* r0 = m_bits.data() + static_cast<size_t>(iy) * sStride;
        // A source one pixel high has no second row: its last row stands in (its weight is 0).
        const uint8_t* r1 = m_bits.data() + static_cast<size_t>(std::min(iy + 1, m_height - 1)) * sStride;
        size_t i = 0;
#if defined(__SSE2__)
        // Sixteen bytes at a time, with the same single-precision steps as the scalar loop below.
        const __m128 gyv = _mm_set1_ps(gy), fyv = _mm_set1_ps(fy), shifter = _mm_set1_ps(8388608.0f);
        const __m128i zero = _mm_setzero_si128();
        for (; i + 16 <= blended.size(); i += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r0 + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r1 + i));
            const __m128i a16[2] = {_mm_unpacklo_epi8(a, zero), _mm_unpackhi_epi8(a, zero)};
            const __m128i b16[2] = {_mm_unpacklo_epi8(b, zero), _mm_unpackhi_epi8(b, zero)};
            for (int half = 0; half < 2; ++half) {
                const __m128 a32[2] = {_mm_cvtepi32_ps(_mm_unpacklo_epi16(a16[half], zero)),
                                       _mm_cvtepi32_ps(_mm_unpackhi_epi16(a16[half], zero))};
                const __m128 b32[2] = {_mm_cvtepi32_ps(_mm_unpacklo_epi16(b16[half], zero)),
                                       _mm_cvtepi32_ps(_mm_unpackhi_epi16(b16[half], zero))};
                for (int quarter = 0; quarter < 2; ++quarter) {
                    const __m128 sum = _mm_add_ps(_mm_mul_ps(gyv, a32[quarter]), _mm_mul_ps(fyv, b32[quarter]));
                    _mm_storeu_ps(blended.data() + i + 8 * half + 4 * quarter,
                                  _mm_sub_ps(_mm_add_ps(sum, shifter), shifter));
                }
            }
        }
#endif
        for (; i < blended.size(); ++i)
            blended[i] = roundNonNegative(gy * static_cast<float>(r0[i]) + fy * static_cast<float>(r1[i]));
        uint8_t* out = d.m_bits.data() + static_cast<size_t>(y) * dStride;
        for (int32_t x = 0; x < d.m_width; ++x) {
            const Column& c = columns[x];
            for (int32_t k = 0; k < 3; ++k) {
                const float value = roundNonNegative(c.gx * blended[c.left + k] + c.fx * blended[c.right + k]);
                out[3 * x + k] = static_cast<uint8_t>(std::min(value, 255.0f));
            }
        }
    }
}

cDIBSection* cDIBSection::FromHdc(Handle lHDC) {
    const auto it = contexts().find(lHDC);
    return it == contexts().end() ? nullptr : it->second;
}

QImage cDIBSection::BufferImage() const {
    if (m_bits.empty())
        return {};
    return QImage(m_bits.data(), m_width, m_height, BytesPerScanLine(), QImage::Format_BGR888);
}

QImage cDIBSection::ToImage() const { return BufferImage().mirrored(false, true); }
