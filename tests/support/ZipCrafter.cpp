#include "support/ZipCrafter.h"

#include <QFile>

#include <stdexcept>
#include <zlib.h>

namespace ZipCrafter {

namespace {

void put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

std::string Deflate(const std::string& bytes) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&stream, bytes.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("deflate");
    return out;
}

std::string Zip(const std::vector<Entry>& entries) {
    std::string out;
    std::string central;
    for (const Entry& e : entries) {
        const std::string packed = e.deflate ? Deflate(e.data) : e.data;
        const uint32_t crc =
            e.crc.value_or(crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size())));
        const uint32_t size = e.statedSize.value_or(static_cast<uint32_t>(e.data.size()));
        const uint32_t packedSize = e.statedPackedSize.value_or(static_cast<uint32_t>(packed.size()));
        const uint16_t method = e.method.value_or(e.deflate ? 8 : 0);
        const auto offset = static_cast<uint32_t>(out.size());

        put32(out, 0x04034b50);
        put16(out, 20);
        put16(out, e.flags);
        put16(out, method);
        put32(out, 0);  // time and date
        put32(out, crc);
        put32(out, packedSize);
        put32(out, size);
        put16(out, static_cast<uint32_t>(e.name.size()));
        put16(out, 0);
        out += e.name;
        out += packed;

        put32(central, 0x02014b50);
        put16(central, 0x0314);  // made by Unix, version 2.0
        put16(central, 20);
        put16(central, e.flags);
        put16(central, method);
        put32(central, 0);
        put32(central, crc);
        put32(central, packedSize);
        put32(central, size);
        put16(central, static_cast<uint32_t>(e.name.size()));
        put16(central, 0);  // extra
        put16(central, 0);  // comment
        put16(central, 0);  // disk
        put16(central, 0);  // internal attributes
        put32(central, e.unixMode << 16);
        put32(central, offset);
        central += e.name;
    }
    const auto centralOffset = static_cast<uint32_t>(out.size());
    out += central;
    // More entries than the classic end record counts need the zip64 end record and its locator.
    const bool zip64 = entries.size() >= 0xFFFF;
    if (zip64) {
        const auto recordOffset = static_cast<uint32_t>(out.size());
        put32(out, 0x06064b50);
        put32(out, 44);  // the record's size after this field, low and high words
        put32(out, 0);
        put16(out, 45);
        put16(out, 45);
        put32(out, 0);
        put32(out, 0);
        for (int i = 0; i < 2; ++i) {
            put32(out, static_cast<uint32_t>(entries.size()));
            put32(out, 0);
        }
        put32(out, static_cast<uint32_t>(central.size()));
        put32(out, 0);
        put32(out, centralOffset);
        put32(out, 0);
        put32(out, 0x07064b50);
        put32(out, 0);
        put32(out, recordOffset);
        put32(out, 0);
        put32(out, 1);
    }
    const uint32_t count = zip64 ? 0xFFFF : static_cast<uint32_t>(entries.size());
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, count);
    put16(out, count);
    put32(out, static_cast<uint32_t>(central.size()));
    put32(out, centralOffset);
    put16(out, 0);
    return out;
}

void WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        throw std::runtime_error("cannot write " + path.toStdString());
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace ZipCrafter
