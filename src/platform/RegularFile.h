#pragma once

#include <QString>

// Pictures, textures and documents are read only from regular files: opening a FIFO or a device blocks
// the user-interface thread, and a folder is no file at all.
namespace RegularFile {

// True when the path, after following links, names a regular file. Looks at the file without opening it.
bool IsRegular(const QString& path);

}  // namespace RegularFile
