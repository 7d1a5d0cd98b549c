#include "services/DocumentArchive.h"

#include "platform/App.h"
#include "platform/AtomicFile.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>
#include <zip.h>

namespace DocumentArchive {

namespace {

QString source() { return App::EXEName() + QStringLiteral(".DocumentArchive"); }

[[noreturn]] void raise(int32_t number, const QString& description) { Err::Raise(number, source(), description); }

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

struct FdCloser {
    int fd = -1;
    ~FdCloser() {
        if (fd >= 0)
            ::close(fd);
    }
};

// A libzip failure during packing: the system's own error where there is one (a full disk), else 75.
[[noreturn]] void raiseZipError(zip_error_t* error, const QString& what) {
    const int system = zip_error_code_system(error);
    const QString text = QString::fromUtf8(zip_error_strerror(error));
    if (zip_error_system_type(error) == ZIP_ET_SYS && system != 0)
        Err::Raise(AtomicFile::ErrorNumberOf(system), source(), what + QStringLiteral(": ") + text);
    raise(RuntimeError::PathFileAccessError, what + QStringLiteral(": ") + text);
}

// A bare, plain file name: no folder part, no way up, nothing the file system treats specially.
bool isBareName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.size() > static_cast<size_t>(MaxNameBytes))
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || u < 0x20 || u == 0x7F;
    });
}

struct Entry {
    zip_uint64_t index;
    std::string name;
    zip_uint64_t size;
};

// Every entry is judged before anything is written, so a refused archive writes nothing.
std::vector<Entry> plannedEntries(zip_t* archive) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    if (count < 0)
        raise(NotAnArchive, QStringLiteral("The file is not a document archive."));
    if (count > MaxEntries)
        raise(TooLarge, QStringLiteral("The archive holds %1 entries, more than %2.").arg(count).arg(MaxEntries));

    std::vector<Entry> entries;
    std::unordered_set<std::string> seen;
    int64_t total = 0;
    for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, i, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME) ||
            !(stat.valid & ZIP_STAT_SIZE) || !(stat.valid & ZIP_STAT_COMP_SIZE))
            raise(DamagedEntry, QStringLiteral("Entry %1 of the archive cannot be read.").arg(i));
        const std::string name = stat.name;
        const QString shown = QString::fromUtf8(name.c_str());

        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        zip_file_get_external_attributes(archive, i, 0, &system, &attributes);
        const mode_t mode = system == ZIP_OPSYS_UNIX ? static_cast<mode_t>(attributes >> 16) : 0;
        if (!name.empty() && (name.back() == '/' || S_ISDIR(mode)))
            continue;  // a folder entry: nothing to write
        if ((mode & S_IFMT) != 0 && !S_ISREG(mode))
            raise(UnsafeEntry, QStringLiteral("The archive entry \"%1\" is not a plain file.").arg(shown));
        if (!isBareName(name))
            raise(UnsafeEntry, QStringLiteral("The archive entry \"%1\" is not a bare file name.").arg(shown));
        if (!seen.insert(name).second)
            raise(UnsafeEntry, QStringLiteral("The archive holds \"%1\" twice.").arg(shown));
        if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
            raise(EncryptedEntry, QStringLiteral("The archive entry \"%1\" is encrypted.").arg(shown));
        if (!(stat.valid & ZIP_STAT_COMP_METHOD) ||
            (stat.comp_method != ZIP_CM_STORE && stat.comp_method != ZIP_CM_DEFLATE))
            raise(DamagedEntry, QStringLiteral("The archive entry \"%1\" uses an unknown compression.").arg(shown));
        if (stat.size > static_cast<zip_uint64_t>(MaxEntryBytes))
            raise(TooLarge, QStringLiteral("The archive entry \"%1\" unpacks to more than %2 bytes.")
                                .arg(shown)
                                .arg(MaxEntryBytes));
        if (stat.size > static_cast<zip_uint64_t>(RatioFloorBytes) &&
            stat.size / std::max<zip_uint64_t>(stat.comp_size, 1) >= static_cast<zip_uint64_t>(MaxRatio))
            raise(TooLarge, QStringLiteral("The archive entry \"%1\" unpacks to more than %2 times its size.")
                                .arg(shown)
                                .arg(MaxRatio));
        total += static_cast<int64_t>(stat.size);
        if (total > MaxTotalBytes)
            raise(TooLarge, QStringLiteral("The archive unpacks to more than %1 bytes.").arg(MaxTotalBytes));
        entries.push_back({i, name, stat.size});
    }
    return entries;
}

void writeAll(int fd, const char* data, size_t size, const QString& what) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            AtomicFile::RaiseSystemError(errno, what);
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
}

// Copies one entry out, reading at most one byte past its stated size: a size that lies is caught
// there, and a wrong CRC by libzip at the end of the data.
void extract(zip_t* archive, const Entry& entry, int folderFd, std::vector<std::string>& created) {
    const QString shown = QString::fromUtf8(entry.name.c_str());
    std::unique_ptr<zip_file_t, ZipFileCloser> in(zip_fopen_index(archive, entry.index, 0));
    if (!in)
        raise(DamagedEntry, QStringLiteral("The archive entry \"%1\" cannot be opened: %2")
                                .arg(shown, QString::fromUtf8(zip_strerror(archive))));
    FdCloser out{::openat(folderFd, entry.name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644)};
    if (out.fd < 0)
        AtomicFile::RaiseSystemError(errno, shown);
    created.push_back(entry.name);

    std::vector<char> buffer(256 * 1024);
    zip_uint64_t done = 0;
    for (;;) {
        const zip_int64_t read = zip_fread(in.get(), buffer.data(), buffer.size());
        if (read < 0)
            raise(DamagedEntry, QStringLiteral("The archive entry \"%1\" is damaged: %2")
                                    .arg(shown, QString::fromUtf8(zip_file_strerror(in.get()))));
        if (read == 0)
            break;
        done += static_cast<zip_uint64_t>(read);
        if (done > entry.size)
            raise(DamagedEntry, QStringLiteral("The archive entry \"%1\" is longer than it states.").arg(shown));
        writeAll(out.fd, buffer.data(), static_cast<size_t>(read), shown);
    }
    if (done != entry.size)
        raise(DamagedEntry, QStringLiteral("The archive entry \"%1\" is shorter than it states.").arg(shown));
}

// Opens only a regular file, and without blocking, so a FIFO or a device is refused rather than waited on.
int openRegularFile(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    struct stat info {};
    if (::stat(encoded.constData(), &info) != 0)
        Err::Raise(errno == ENOENT ? RuntimeError::FileNotFound : AtomicFile::ErrorNumberOf(errno), source(),
                   QStringLiteral("The file %1 cannot be found.").arg(path));
    if (!S_ISREG(info.st_mode))
        raise(RuntimeError::PathFileAccessError, QStringLiteral("%1 is not a regular file.").arg(path));
    const int fd = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        AtomicFile::RaiseSystemError(errno, path);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        raise(RuntimeError::PathFileAccessError, QStringLiteral("%1 is not a regular file.").arg(path));
    }
    if (info.st_size == 0) {
        ::close(fd);
        raise(NotAnArchive, QStringLiteral("%1 is empty.").arg(path));
    }
    if (info.st_size > MaxArchiveBytes) {
        ::close(fd);
        raise(TooLarge, QStringLiteral("%1 is larger than %2 bytes.").arg(path).arg(MaxArchiveBytes));
    }
    return fd;
}

// Opens the archive with libzip's consistency checks. An archive that fails them is opened once more
// without, only to name a more telling fault (an unsafe or duplicate entry, a limit) before it is refused.
ZipPtr openArchive(const QString& archivePath) {
    const int fd = openRegularFile(archivePath);
    const int second = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    FdCloser spare{second};
    int code = 0;
    if (zip_t* archive = zip_fdopen(fd, ZIP_CHECKCONS, &code))
        return ZipPtr(archive);
    ::close(fd);
    if ((code != ZIP_ER_INCONS && code != ZIP_ER_EXISTS) || second < 0 || ::lseek(second, 0, SEEK_SET) != 0)
        raise(NotAnArchive, QStringLiteral("%1 is not a document archive.").arg(archivePath));
    zip_t* lenient = zip_fdopen(second, 0, &code);
    if (!lenient)
        raise(NotAnArchive, QStringLiteral("%1 is not a document archive.").arg(archivePath));
    spare.fd = -1;
    ZipPtr archive(lenient);
    plannedEntries(archive.get());
    raise(DamagedEntry, QStringLiteral("The entries of %1 contradict each other.").arg(archivePath));
}

// Already compressed pictures are stored as they are; deflating them again costs time and gains nothing.
bool isStoredName(const QString& name) {
    static const QStringList pictures = {QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                         QStringLiteral("gif"), QStringLiteral("tif"), QStringLiteral("tiff"),
                                         QStringLiteral("webp")};
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && pictures.contains(name.mid(dot + 1).toLower());
}

}  // namespace

void Pack(const QString& folder, const QString& target) {
    const QDir dir(folder);
    if (!dir.exists())
        Err::Raise(RuntimeError::PathNotFound, source(), QStringLiteral("The folder %1 does not exist.").arg(folder));
    // "def.xml" leads, the rest follow by name, so the same folder always packs the same way.
    QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks, QDir::Name);
    std::stable_partition(names.begin(), names.end(), [](const QString& n) { return n == QLatin1String("def.xml"); });

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* memory = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!memory)
        raiseZipError(&error, target);
    zip_t* opened = zip_open_from_source(memory, ZIP_TRUNCATE, &error);
    if (!opened) {
        zip_source_free(memory);
        raiseZipError(&error, target);
    }
    ZipPtr archive(opened);
    // The buffer must outlive the archive's close, which writes into it.
    zip_source_keep(memory);
    const std::unique_ptr<zip_source_t, decltype(&zip_source_free)> keep(memory, zip_source_free);

    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        if (!QFileInfo(path).isFile())
            continue;
        zip_source_t* file = zip_source_file(archive.get(), QFile::encodeName(path).constData(), 0, -1);
        if (!file)
            raiseZipError(zip_get_error(archive.get()), path);
        const zip_int64_t index = zip_file_add(archive.get(), name.toUtf8().constData(), file, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(file);
            raiseZipError(zip_get_error(archive.get()), path);
        }
        const auto entry = static_cast<zip_uint64_t>(index);
        zip_set_file_compression(archive.get(), entry, isStoredName(name) ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
        zip_file_set_external_attributes(archive.get(), entry, 0, ZIP_OPSYS_UNIX, (S_IFREG | 0644u) << 16);
    }
    if (zip_close(archive.get()) != 0)
        raiseZipError(zip_get_error(archive.get()), target);
    (void)archive.release();

    // libzip wrote the archive into memory, and its close was checked above; the file's own writes, its
    // flush to the disk and its rename are checked by AtomicFile.
    AtomicFile out(target);
    if (zip_source_open(memory) != 0)
        raiseZipError(zip_source_error(memory), target);
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const zip_int64_t read = zip_source_read(memory, buffer.data(), buffer.size());
        if (read < 0) {
            zip_source_close(memory);
            raiseZipError(zip_source_error(memory), target);
        }
        if (read == 0)
            break;
        out.Write(buffer.data(), static_cast<size_t>(read));
    }
    zip_source_close(memory);
    out.Commit();
}

void Unpack(const QString& archivePath, const QString& folder) {
    const ZipPtr archive = openArchive(archivePath);
    const std::vector<Entry> entries = plannedEntries(archive.get());

    FdCloser folderFd{::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)};
    if (folderFd.fd < 0)
        AtomicFile::RaiseSystemError(errno, folder);
    std::vector<std::string> created;
    try {
        for (const Entry& entry : entries) extract(archive.get(), entry, folderFd.fd, created);
    } catch (...) {
        for (const std::string& name : created) ::unlinkat(folderFd.fd, name.c_str(), 0);
        throw;
    }
}

}  // namespace DocumentArchive
