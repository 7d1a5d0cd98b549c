#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Writes zip archives byte by byte, so tests can make the damaged and hostile ones that no zip library
// would write: lying sizes, wrong CRCs, unsafe names, links, encryption flags, unknown methods.
namespace ZipCrafter {

struct Entry {
    std::string name;
    std::string data;  // the unpacked content
    bool deflate = false;
    std::optional<uint32_t> crc;         // replaces the true CRC
    std::optional<uint32_t> statedSize;  // replaces the true unpacked size
    std::optional<uint32_t> statedPackedSize;
    std::optional<uint16_t> method;  // replaces 0 (stored) or 8 (deflated)
    uint16_t flags = 0x0800;         // general-purpose bits: UTF-8 names; bit 0 marks encryption
    uint32_t unixMode = 0100644;     // the file type and permissions made by a Unix zip
};

std::string Zip(const std::vector<Entry>& entries);
// Raw deflate of the bytes, as a zip entry holds them.
std::string Deflate(const std::string& bytes);
void WriteFile(const QString& path, const std::string& bytes);
std::string ReadFile(const QString& path);

}  // namespace ZipCrafter
