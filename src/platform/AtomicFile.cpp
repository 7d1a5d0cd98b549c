#include "platform/AtomicFile.h"

#include "platform/App.h"
#include "platform/Process.h"
#include "platform/RuntimeError.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString source() { return App::EXEName() + QStringLiteral(".AtomicFile"); }

// Small writes gather here, so a writer that hands over a few bytes at a time costs few system calls.
constexpr qsizetype BufferBytes = 256 * 1024;
constexpr int NameMax = 255;
constexpr qsizetype HexDigits = 8;

// Whether a lock for writing is held on the open file, by any process (the writer of a second name holds one).
bool heldForWriting(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_GETLK, &lock) != 0 || lock.l_type != F_UNLCK;
}

void holdForWriting(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    (void)::fcntl(fd, F_OFD_SETLK, &lock);
}

// The process id inside a second name ("." + name + "." + pid + "." + 8 hex digits + ".tmp"); 0 when the
// name is not one.
pid_t writerOfSecondName(const char* entry) {
    const std::string_view name(entry);
    constexpr std::string_view suffix(".tmp");
    if (name.size() < 1 + 1 + 1 + 1 + 1 + HexDigits + suffix.size() || name.front() != '.' ||
        name.substr(name.size() - suffix.size()) != suffix)
        return 0;
    const std::string_view core = name.substr(1, name.size() - 1 - suffix.size());
    const size_t hexDot = core.rfind('.');
    if (hexDot == std::string_view::npos || core.size() - hexDot - 1 != HexDigits)
        return 0;
    const std::string_view hex = core.substr(hexDot + 1);
    if (!std::all_of(hex.begin(), hex.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }))
        return 0;
    const size_t pidDot = core.rfind('.', hexDot - 1);
    if (pidDot == std::string_view::npos || pidDot == 0 || hexDot - pidDot - 1 < 1 || hexDot - pidDot - 1 > 10)
        return 0;
    long long pid = 0;
    for (const char c : core.substr(pidDot + 1, hexDot - pidDot - 1)) {
        if (c < '0' || c > '9')
            return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid > 0 && pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

}  // namespace

// The device writes at its own position, so writers that seek back (TIFF) work as on a plain file.
class AtomicFile::FileDevice final : public QIODevice {
public:
    explicit FileDevice(AtomicFile& file) : m_file(file) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return false; }
    qint64 size() const override { return m_file.m_size; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    // A failed write is kept for Commit rather than handed to the writer: Qt's PNG writer leaks its row
    // buffer when libpng gives up on a write error, and Commit raises the error whatever the writer did.
    qint64 writeData(const char* data, qint64 size) override {
        if (!m_file.put(pos(), data, static_cast<size_t>(size)))
            setErrorString(QString::fromLocal8Bit(std::strerror(m_file.m_error)));
        return size;
    }

private:
    AtomicFile& m_file;
};

int AtomicFile::ErrorNumberOf(int systemError) {
    switch (systemError) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG: return RuntimeError::DiskFull;
        case EACCES:
        case EPERM:
        case EROFS: return RuntimeError::PermissionDenied;
        case ENOENT:
        case ENOTDIR: return RuntimeError::PathNotFound;
        default: return RuntimeError::PathFileAccessError;
    }
}

void AtomicFile::RaiseSystemError(int systemError, const QString& what) {
    Err::Raise(ErrorNumberOf(systemError), source(),
               QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(systemError))));
}

AtomicFile::AtomicFile(const QString& target, Durability durability) : m_durability(durability) {
    // A link is followed, so the file it names is the one replaced and the link stays.
    const QFileInfo link(target);
    m_target = link.isSymLink() && link.exists() ? link.canonicalFilePath() : target;
    const QFileInfo info(m_target);
    if (info.fileName().isEmpty())
        RaiseSystemError(EISDIR, m_target);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    m_name = QFile::encodeName(info.fileName());

    m_dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_dirFd < 0)
        RaiseSystemError(errno, m_target);
    if (m_durability == Durability::Kept)
        RemoveLeftovers(info.absolutePath());

    // The new file takes the old one's permissions; a new name gets the usual ones less the umask.
    mode_t mode = 0666;
    bool keepMode = false;
    struct stat old {};
    if (::fstatat(m_dirFd, m_name.constData(), &old, 0) == 0) {
        if (!S_ISREG(old.st_mode)) {
            discard();
            RaiseSystemError(EISDIR, m_target);
        }
        // A file marked read-only is not replaced behind the mark's back.
        if (::faccessat(m_dirFd, m_name.constData(), W_OK, AT_EACCESS) != 0) {
            const int error = errno;
            discard();
            RaiseSystemError(error, m_target);
        }
        mode = old.st_mode & 07777;
        keepMode = true;
    }

    openTemporary(mode);
    if (m_fd < 0) {
        const int error = errno;
        discard();
        RaiseSystemError(error, m_target);
    }
    holdForWriting(m_fd);
    if (keepMode)
        (void)::fchmod(m_fd, mode);
}

void AtomicFile::openTemporary(unsigned mode) {
    m_fd = ::openat(m_dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (m_fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return;
    // A folder that cannot hold unnamed files gets the second name from the start.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_tempName = secondName();
        m_fd = ::openat(m_dirFd, m_tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0)
        m_tempName.clear();
}

QByteArray AtomicFile::secondName() const {
    const QByteArray tail =
        "." + QByteArray::number(::getpid()) + "." +
        QByteArray::number(QRandomGenerator::global()->generate(), 16).rightJustified(HexDigits, '0') + ".tmp";
    // A long name is shortened so the second name stays a legal one.
    return "." + m_name.left(NameMax - 1 - tail.size()) + tail;
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::Cancel() { discard(); }

void AtomicFile::discard() {
    m_device.reset();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_tempName.isEmpty() && !m_committed)
        ::unlinkat(m_dirFd, m_tempName.constData(), 0);
    m_tempName.clear();
    if (m_dirFd >= 0)
        ::close(m_dirFd);
    m_dirFd = -1;
    m_buffer.clear();
}

bool AtomicFile::writeAt(qint64 offset, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::pwrite(m_fd, data, size, offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            m_error = errno;
            return false;
        }
        if (written == 0) {
            m_error = EIO;
            return false;
        }
        data += written;
        offset += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool AtomicFile::flush() {
    if (m_error != 0)
        return false;
    if (m_buffer.isEmpty())
        return true;
    const bool written = writeAt(m_bufferStart, m_buffer.constData(), static_cast<size_t>(m_buffer.size()));
    m_bufferStart += m_buffer.size();
    m_buffer.clear();
    return written;
}

bool AtomicFile::put(qint64 offset, const char* data, size_t size) {
    if (m_fd < 0 || m_committed)
        m_error = m_error != 0 ? m_error : EBADF;
    if (m_error != 0)
        return false;
    const auto bytes = static_cast<qsizetype>(size);
    if (offset != m_bufferStart + m_buffer.size() || m_buffer.size() + bytes > BufferBytes) {
        if (!flush())
            return false;
        m_bufferStart = offset;
    }
    if (bytes >= BufferBytes) {
        if (!writeAt(offset, data, size))
            return false;
        m_bufferStart = offset + bytes;
    } else {
        if (m_buffer.capacity() < BufferBytes)
            m_buffer.reserve(BufferBytes);
        m_buffer.append(data, bytes);
    }
    m_size = std::max(m_size, offset + bytes);
    return true;
}

void AtomicFile::RaiseWriteError() {
    if (m_error != 0)
        RaiseSystemError(m_error, m_target);
}

void AtomicFile::Write(const char* data, size_t size) {
    if (!put(m_size, data, size))
        RaiseWriteError();
}

QIODevice* AtomicFile::Device() {
    if (!m_device)
        m_device = std::make_unique<FileDevice>(*this);
    return m_device.get();
}

void AtomicFile::Commit() {
    if (m_fd < 0 || m_committed)
        RaiseSystemError(EBADF, m_target);
    flush();
    RaiseWriteError();
    if (m_durability == Durability::Kept && ::fsync(m_fd) != 0)
        RaiseSystemError(errno, m_target);

    if (m_tempName.isEmpty()) {
        // An unnamed file gets a name by linking it; an existing target is replaced through a second name.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
        if (::linkat(AT_FDCWD, self.constData(), m_dirFd, m_name.constData(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno != EEXIST)
                RaiseSystemError(errno, m_target);
            for (int attempt = 0; attempt < 100; ++attempt) {
                m_tempName = secondName();
                if (::linkat(AT_FDCWD, self.constData(), m_dirFd, m_tempName.constData(), AT_SYMLINK_FOLLOW) == 0)
                    break;
                const int error = errno;
                m_tempName.clear();
                if (error != EEXIST)
                    RaiseSystemError(error, m_target);
            }
            if (m_tempName.isEmpty())
                RaiseSystemError(EEXIST, m_target);
        }
    }
    if (!m_tempName.isEmpty() && ::renameat(m_dirFd, m_tempName.constData(), m_dirFd, m_name.constData()) != 0)
        RaiseSystemError(errno, m_target);
    m_committed = true;
    m_tempName.clear();
    // The new name itself must survive a power cut.
    if (m_durability == Durability::Kept)
        ::fsync(m_dirFd);
    m_device.reset();
    // Some file systems report a failed write only when the file is closed.
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0 && errno != EINTR) {
        const int error = errno;
        discard();
        RaiseSystemError(error, m_target);
    }
    discard();
}

void AtomicFile::WriteWhole(const QString& target, QByteArrayView bytes, Durability durability) {
    AtomicFile file(target, durability);
    file.Write(bytes);
    file.Commit();
}

void AtomicFile::CopyFile(const QString& source, const QString& target, Durability durability) {
    const QByteArray encoded = QFile::encodeName(source);
    const int in = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (in < 0) {
        if (errno == ENOENT)
            Err::Raise(RuntimeError::FileNotFound, ::source(),
                       QStringLiteral("The file %1 cannot be found.").arg(source));
        RaiseSystemError(errno, source);
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{in};
    struct stat info {};
    if (::fstat(in, &info) != 0 || !S_ISREG(info.st_mode))
        Err::Raise(RuntimeError::PathFileAccessError, ::source(),
                   QStringLiteral("%1 is not a regular file.").arg(source));

    AtomicFile out(target, durability);
    QByteArray buffer(static_cast<qsizetype>(std::clamp<off_t>(info.st_size, 1, 4 << 20)), Qt::Uninitialized);
    for (;;) {
        const ssize_t read = ::read(in, buffer.data(), static_cast<size_t>(buffer.size()));
        if (read < 0) {
            if (errno == EINTR)
                continue;
            RaiseSystemError(errno, source);
        }
        if (read == 0)
            break;
        out.Write(buffer.constData(), static_cast<size_t>(read));
    }
    out.Commit();
}

void AtomicFile::RemoveLeftovers(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t writer = writerOfSecondName(entry->d_name);
        if (writer == 0 || Process::Runs(writer))
            continue;
        const int file =
            ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (file < 0)
            continue;
        struct stat info {};
        // A writer of another process namespace may show a process id that does not run here; its lock shows it.
        const bool leftover = ::fstat(file, &info) == 0 && S_ISREG(info.st_mode) && !heldForWriting(file);
        ::close(file);
        if (leftover)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}
