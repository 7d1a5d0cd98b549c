#include "services/TemporaryLeftovers.h"

#include "platform/Process.h"
#include "services/FileShared.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

namespace TemporaryLeftovers {

namespace {

// The document and icon folders are flat; deeper trees are emptied only this far.
constexpr int FolderDepth = 4;

// The names in the folder open as fd that start with prefix, without "." and "..". The folder is read
// through a copy of fd.
std::vector<std::string> namesIn(int fd, std::string_view prefix = {}) {
    std::vector<std::string> names;
    const int listing = ::dup(fd);
    if (listing < 0)
        return names;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.starts_with(prefix) && name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

// Removes the folder with everything in it. Every step names its entry relative to an open folder and never
// follows a link: a link inside goes itself, and a link put where the folder stood is not opened.
bool removeFolder(int parent, const std::string& name, int depth) {
    const int fd = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    for (const std::string& entry : namesIn(fd)) {
        struct stat info {};
        if (::fstatat(fd, entry.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (!S_ISDIR(info.st_mode))
            ::unlinkat(fd, entry.c_str(), 0);
        else if (depth > 0)
            removeFolder(fd, entry, depth - 1);
    }
    ::close(fd);
    return ::unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0;
}

}  // namespace

void RemoveAll() {
    QStringList done;
    for (const QString& candidate : FileShared::TemporaryFolderCandidates()) {
        const QString folder = QDir::cleanPath(candidate);
        if (!folder.isEmpty() && !done.contains(folder)) {
            done << folder;
            RemoveFrom(folder);
        }
    }
}

int RemoveFrom(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const uid_t user = ::geteuid();
    std::unordered_map<qint64, bool> runs;
    int removed = 0;
    for (const std::string& name : namesIn(fd, "TIN")) {
        const qint64 process = FileShared::TemporaryNameProcess(name);
        if (process <= 0 || process > std::numeric_limits<pid_t>::max())
            continue;
        const auto [known, added] = runs.try_emplace(process, false);
        if (added)
            known->second = Process::Runs(static_cast<pid_t>(process));
        if (known->second)
            continue;
        struct stat info {};
        if (::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || info.st_uid != user)
            continue;
        // The program makes plain files and, under the bare ".tmp" name, folders; nothing else is its.
        if (S_ISREG(info.st_mode)) {
            if (::unlinkat(fd, name.c_str(), 0) == 0)
                ++removed;
        } else if (S_ISDIR(info.st_mode) && name.ends_with(".tmp")) {
            if (removeFolder(fd, name, FolderDepth))
                ++removed;
        }
    }
    ::close(fd);
    return removed;
}

}  // namespace TemporaryLeftovers
