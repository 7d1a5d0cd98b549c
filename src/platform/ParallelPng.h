#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <vector>

// PNG files of 8-bit RGB pictures (colour type 2, no alpha) written and read on all cores.
//
// The writer splits the rows into bands. A band's first row is filtered with None or Sub only, so no
// filter reaches into the band above; each band is deflated on its own (a fresh raw deflate stream that
// ends byte-aligned with a sync flush, the last one finishing the stream), and the bands are joined into
// one zlib stream with one header and the Adler-32 values combined. The file is one ordinary PNG that
// every decoder opens; a private ancillary chunk before the IDAT chunks records where each band starts,
// and a decoder that does not know it skips it.
//
// The reader decodes the bands in parallel only when that chunk is there and everything checks out:
// chunk CRCs, the zlib header and Adler-32, every band inflating on its own to exactly its rows and ending
// on a block boundary, the band's first row filtered with None or Sub. Anything else is reported, so that
// the caller decodes the file the ordinary way and gets what every other decoder gets.
//
// Threads live only inside a call: it returns once every band is done.
namespace ParallelPng {

// The chunk "tnBD": ancillary (t), private (n), reserved bit clear (B), unsafe to copy (D), since the
// offsets it holds are only true of the IDAT data it was written with. Its data, big-endian: the band
// count, then for each band its first row and the offset of its first byte in the zlib stream (the IDAT
// data joined, header included).
inline constexpr char BandChunk[5] = "tnBD";

// How the rows lie in memory. Xrgb32: native 32-bit words 0xAARRGGBB (QImage's RGB32 and ARGB32; the
// alpha byte is not written). Rgb24: bytes red, green, blue (QImage's RGB888).
enum class Layout { Xrgb32, Rgb24 };

struct Picture {
    const uint8_t* pixels = nullptr;
    ptrdiff_t stride = 0;  // bytes from one row to the next
    uint32_t width = 0;
    uint32_t height = 0;
    Layout layout = Layout::Xrgb32;
};

// Makes elements without value-initialising them: a file's bytes are all written by the encoder, and
// zeroing a large one first costs as much as writing it.
template <class T>
struct UninitializedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitializedAllocator<U>;
    };
    UninitializedAllocator() = default;
    template <class U>
    UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

using Bytes = std::vector<uint8_t, UninitializedAllocator<uint8_t>>;

struct EncodeOptions {
    // 0 picks the count from the picture's size; a count is cut to the number of rows.
    uint32_t bands = 0;
};

// The PNG file. Empty for an empty picture or one a PNG cannot hold (a side over 2^31 - 1, or a zlib
// stream whose offsets do not fit 32 bits). Throws std::bad_alloc when memory runs out.
Bytes Encode(const Picture& picture, const EncodeOptions& options = {});

// The largest picture the reader decodes in parallel: the document's limits.
struct Limits {
    uint32_t maxSide = 16384;
    uint64_t maxPixels = uint64_t{64} << 20;
};

// Where decoded rows go: native 32-bit words 0xFFRRGGBB (QImage's RGB32), stride bytes apart.
struct Target {
    uint8_t* pixels = nullptr;
    ptrdiff_t stride = 0;
};
// Called once the size is known and checked; a target without pixels gives up the decode.
using Allocate = std::function<Target(uint32_t width, uint32_t height)>;

enum class Status {
    Decoded,    // every row is in the target
    NotBanded,  // not an 8-bit RGB PNG with the band chunk after IHDR: a PNG from elsewhere, or no PNG
    Refused,    // the band chunk is there but something does not check out, the picture is over the
                // limits, or no target was given; the target may hold some rows
};

Status Decode(const uint8_t* file, size_t size, const Limits& limits, const Allocate& allocate);

// Reads size bytes from the start of the open file into into, in pieces side by side, so that copying a
// large file out of the page cache and faulting in a fresh buffer do not hold up the cores. False when
// the file ends sooner or a read fails.
bool ReadFile(int fd, uint8_t* into, size_t size);

// The threads a call uses at most: the machine's hardware threads, capped.
unsigned ThreadCount();

}  // namespace ParallelPng
