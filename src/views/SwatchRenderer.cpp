#include "views/SwatchRenderer.h"

#include "imaging/cColourise.h"
#include "imaging/cDIBSection.h"
#include "imaging/cTexturise.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/Numeric.h"
#include "services/FileShared.h"

#include <QFile>
#include <QImage>
#include <QRect>

#include <sys/stat.h>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <cstring>

namespace {

// A bitmap of the size, keeping its buffer when it already has that size; False when it holds no pixels.
bool ensureSize(std::unique_ptr<cDIBSection>& bitmap, int32_t width, int32_t height) {
    if (!bitmap)
        bitmap = std::make_unique<cDIBSection>();
    if (bitmap->Width() == width && bitmap->Height() == height && bitmap->DIBSectionBitsPtr())
        return true;
    return bitmap->Create(width, height);
}

void fillPlain(cDIBSection& bitmap, int32_t rgb) {
    uint8_t* bits = bitmap.DIBSectionBitsPtr();
    if (!bits)
        return;
    const int32_t stride = bitmap.BytesPerScanLine();
    const auto blue = static_cast<uint8_t>((rgb >> 16) & 0xFF);
    const auto green = static_cast<uint8_t>((rgb >> 8) & 0xFF);
    const auto red = static_cast<uint8_t>(rgb & 0xFF);
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
        bits[3 * x] = blue;
        bits[3 * x + 1] = green;
        bits[3 * x + 2] = red;
    }
    std::memset(bits + 3 * bitmap.Width(), 0, static_cast<size_t>(stride - 3 * bitmap.Width()));
    for (int32_t y = 1; y < bitmap.Height(); ++y)
        std::memcpy(bits + static_cast<size_t>(y) * stride, bits, static_cast<size_t>(stride));
}

// Blue, green, red read as one little-endian word are the screen's 0xffRRGGBB once the fourth byte is set.
// Returns the pixels done; the caller does the rest, whose last four bytes would lie beyond the row.
int convertRowPlain(const uint8_t* from, uint32_t* to, int pixels) {
    int x = 0;
    for (; x + 1 < pixels; ++x, from += 3) {
        uint32_t word;
        std::memcpy(&word, from, sizeof word);
        to[x] = word | 0xFF000000u;
    }
    return x;
}

#if defined(__x86_64__) || defined(__i386__)
#define TINDRAL_SCREEN_ROWS_SSSE3 1
// Four pixels per step: twelve bytes spread into four words by one byte shuffle. A step reads sixteen bytes,
// so it stops while six pixels remain unread.
__attribute__((target("ssse3"))) int convertRowSsse3(const uint8_t* from, uint32_t* to, int pixels) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int x = 0;
    for (; x + 6 <= pixels; x += 4, from += 12) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x), _mm_or_si128(_mm_shuffle_epi8(bytes, spread), opaque));
    }
    return x;
}
#endif

void copyBits(const cDIBSection& from, cDIBSection& to) {
    if (from.DIBSectionBitsPtr() && to.DIBSectionBitsPtr())
        std::memcpy(to.DIBSectionBitsPtr(), from.DIBSectionBitsPtr(),
                    static_cast<size_t>(from.BytesPerScanLine()) * from.Height());
}

}  // namespace

SwatchRenderer::SwatchRenderer() = default;

SwatchRenderer::~SwatchRenderer() = default;

void SwatchRenderer::LoadPattern(const Texture& texture) {
    QString file;
    if (texture.Internal())
        file = App::Path() + QStringLiteral("/textures/") + texture.path();
    else if (FileShared::FileExists(texture.path()))
        file = texture.path();
    // Every new colour loads its pattern again; the file read last is kept while it is the same file, unchanged.
    const FileStamp stamp = FileStamp::Of(file);
    if (m_texturiser && !file.isEmpty() && file == m_patternFile && stamp == m_patternStamp)
        return;
    m_texturiser = std::make_unique<cTexturise>();
    m_patternFile = file;
    m_patternStamp = stamp;
    // The load's own message reports a file that cannot be read; the swatch then shows the plain colour.
    if (!file.isEmpty())
        m_texturiser->LoadTexture(file);
}

SwatchRenderer::FileStamp SwatchRenderer::FileStamp::Of(const QString& file) {
    struct stat info {};
    if (file.isEmpty() || ::stat(QFile::encodeName(file).constData(), &info) != 0)
        return {};
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino), static_cast<int64_t>(info.st_size),
            static_cast<int64_t>(info.st_mtim.tv_sec), static_cast<int64_t>(info.st_mtim.tv_nsec)};
}

struct SwatchRenderer::KeptPicture {
    QString file;
    FileStamp stamp;
    QImage grey;
};

SwatchRenderer::KeptPicture& SwatchRenderer::keptPicture() {
    static KeptPicture kept;
    return kept;
}

QImage SwatchRenderer::GreyPicture(const QString& file, const std::function<QImage()>& load) {
    KeptPicture& kept = keptPicture();
    const FileStamp stamp = FileStamp::Of(file);
    // A kept picture no swatch shares any more is only memory held: it goes rather than serve a later read.
    if (kept.grey.isDetached())
        kept = KeptPicture();
    if (!file.isEmpty() && stamp.size >= 0 && file == kept.file && stamp == kept.stamp && !kept.grey.isNull())
        return kept.grey;
    kept = KeptPicture();
    QImage grey = load();
    if (stamp.size >= 0 && !grey.isNull())
        kept = KeptPicture{file, stamp, grey};
    return grey;
}

void SwatchRenderer::ReleasePattern() {
    m_texturiser.reset();
    m_patternFile.clear();
}

void SwatchRenderer::Render(int32_t width, int32_t height, int32_t rgb, bool pattern) {
    if (ensureSize(m_plain, width, height))
        fillPlain(*m_plain, rgb);
    const bool sized = ensureSize(m_textured, m_plain->Width(), m_plain->Height());
    // The pattern pass writes every pixel of the textured bitmap from the plain one, and no pass writes the
    // row padding, which stays as the copy or the creation left it; the copy is needed only without a pattern.
    const bool patterned = pattern && m_texturiser && m_texturiser->HasTexture();
    if (sized && !patterned)
        copyBits(*m_plain, *m_textured);
    if (pattern && m_texturiser)
        m_texturiser->ApplyTexture(*m_plain, *m_textured, 100, 64, 100);
}

bool SwatchRenderer::LoadPicture(const QImage& picture) {
    m_image = std::make_unique<cDIBSection>();
    m_recoloured = std::make_unique<cDIBSection>();
    m_colouriser = std::make_unique<cColourise>();
    m_recolouredHue = -1;
    m_image->CreateFromPicture(picture);
    return m_image->Width() > 0;
}

void SwatchRenderer::Recolour(int32_t hueDegrees) {
    if (!m_image || !m_recoloured || !m_colouriser)
        return;
    const int32_t hue = ColouriserHue(hueDegrees);
    const bool sized = m_recoloured->Width() == m_image->Width() && m_recoloured->Height() == m_image->Height();
    if (sized && hue == m_recolouredHue)
        return;
    // Every byte of the destination is written by the pass, so a buffer of the right size is reused as it is.
    if (!sized && !m_recoloured->Create(m_image->Width(), m_image->Height()))
        return;
    m_colouriser->SetHue(hue);
    m_colouriser->SetSaturation(100);
    m_colouriser->Process(*m_image, *m_recoloured);
    m_recolouredHue = hue;
}

void SwatchRenderer::ReleasePicture() {
    m_image.reset();
    m_recoloured.reset();
    m_colouriser.reset();
    m_recolouredHue = -1;
}

void SwatchRenderer::Release() {
    ReleasePattern();
    ReleasePicture();
    m_plain.reset();
    m_textured.reset();
}

const cDIBSection* SwatchRenderer::Shown(int32_t kind) const {
    switch (kind) {
        case TextureKind::Pattern: return m_textured.get();
        case TextureKind::Image: return m_recoloured.get();
        default: return m_plain.get();
    }
}

QImage SwatchRenderer::ScreenRows(const cDIBSection& bitmap, const QRect& area) {
    const uint8_t* bits = bitmap.DIBSectionBitsPtr();
    if (area.isEmpty() || !bits)
        return {};
    QImage rows(area.size(), QImage::Format_RGB32);
    const int32_t stride = bitmap.BytesPerScanLine();
#ifdef TINDRAL_SCREEN_ROWS_SSSE3
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    const auto convert = ssse3 ? convertRowSsse3 : convertRowPlain;
#else
    const auto convert = convertRowPlain;
#endif
    for (int y = 0; y < area.height(); ++y) {
        const uint8_t* from = bits + static_cast<size_t>(bitmap.Height() - 1 - (area.y() + y)) * stride +
                              3 * static_cast<size_t>(area.x());
        auto* to = reinterpret_cast<uint32_t*>(rows.scanLine(y));
        int x = convert(from, to, area.width());
        x += convertRowPlain(from + 3 * x, to + x, area.width() - x);
        // The last pixel is read bytewise: its fourth byte may lie beyond the buffer.
        from += 3 * x;
        to[x] = 0xFF000000u | (uint32_t{from[2]} << 16) | (uint32_t{from[1]} << 8) | from[0];
    }
    return rows;
}

bool SwatchRenderer::WritePlainFile(const QString& path, int32_t width, int32_t height, int32_t rgb) {
    cDIBSection plain;
    if (!plain.Create(width, height))
        return false;
    fillPlain(plain, rgb);
    return plain.SavePicture(path);
}

// The colouriser measures hue on 0..255 with 0 as magenta (its sextant -1) and 255 as magenta (5):
// sextant = value * 6 / 255 - 1. The colour's hue in degrees lands in the same sextant when
// value = (degrees / 60 + 1) * 255 / 6, the magenta-red degrees above 300 wrapping to the low end.
// (degrees + 60) mod 360 times 17/24 keeps the halves exact, so they round to even as written.
int32_t SwatchRenderer::ColouriserHue(int32_t degrees) {
    const int32_t hue = std::clamp(degrees, 0, 359);
    return Numeric::Round(((hue + 60) % 360) * 17.0 / 24.0);
}
