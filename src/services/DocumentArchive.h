#pragma once

#include <QString>

#include <cstdint>

// The document file: a flat zip archive of one folder's files, as "zip -j" makes it.
//
// Pack replaces its target atomically. Unpack trusts nothing in the archive: every entry is checked
// before the first byte is written, entries are written only by bare name inside the given folder, and
// what one call wrote is removed again when it fails. Errors are RuntimeErrors with the numbers below
// (or the runtime's own file errors 53, 61, 70, 75, 76).
namespace DocumentArchive {

// Refusals of an archive.
constexpr int32_t NotAnArchive = 45201;  // not a zip archive, or an empty file
constexpr int32_t UnsafeEntry = 45202;   // a name that is not a bare file name, a link or device, a duplicate
constexpr int32_t EncryptedEntry = 45203;
constexpr int32_t DamagedEntry = 45204;  // wrong CRC, a size that lies, an unknown compression
constexpr int32_t TooLarge = 45205;      // past one of the limits below

// Limits of what Unpack accepts.
constexpr int64_t MaxArchiveBytes = int64_t{1} << 30;  // the archive file itself: 1 GiB
constexpr int64_t MaxEntries = 4096;
constexpr int64_t MaxEntryBytes = int64_t{256} << 20;  // one unpacked entry: 256 MiB
constexpr int64_t MaxTotalBytes = int64_t{1} << 30;    // all unpacked entries together: 1 GiB
constexpr int64_t MaxRatio = 200;                      // unpacked size / packed size ...
constexpr int64_t RatioFloorBytes = int64_t{1} << 20;  // ... for entries that unpack to more than 1 MiB
constexpr int MaxNameBytes = 255;

// Packs the regular files directly inside folder into the archive at target, which is replaced only once the
// whole archive is on disk. "def.xml" and other files are deflated; pictures are stored as they are.
void Pack(const QString& folder, const QString& target);

// Unpacks the archive at archivePath into folder, an existing folder that holds none of its names.
// Folder entries are skipped; any other entry that is not a plain file with a bare name refuses the archive.
void Unpack(const QString& archivePath, const QString& folder);

}  // namespace DocumentArchive
