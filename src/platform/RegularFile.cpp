#include "platform/RegularFile.h"

#include <QFile>

#include <sys/stat.h>

namespace RegularFile {

bool IsRegular(const QString& path) {
    if (path.isEmpty())
        return false;
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace RegularFile
