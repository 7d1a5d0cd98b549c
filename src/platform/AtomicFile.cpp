#include "platform/AtomicFile.h"

#include "platform/App.h"
#include "platform/RuntimeError.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString source() { return App::EXEName() + QStringLiteral(".AtomicFile"); }

}  // namespace

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

AtomicFile::AtomicFile(const QString& target) {
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

    m_fd = ::openat(m_dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (m_fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            m_tempName = "." + m_name + "." + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
            m_fd = ::openat(m_dirFd, m_tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (m_fd < 0 && errno != EEXIST)
                break;
        }
        if (m_fd < 0)
            m_tempName.clear();
    }
    if (m_fd < 0) {
        const int error = errno;
        discard();
        RaiseSystemError(error, m_target);
    }
    if (keepMode)
        (void)::fchmod(m_fd, mode);
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::discard() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_tempName.isEmpty() && !m_committed)
        ::unlinkat(m_dirFd, m_tempName.constData(), 0);
    m_tempName.clear();
    if (m_dirFd >= 0)
        ::close(m_dirFd);
    m_dirFd = -1;
}

void AtomicFile::Write(const char* data, size_t size) {
    if (m_fd < 0 || m_committed)
        RaiseSystemError(EBADF, m_target);
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            RaiseSystemError(errno, m_target);
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
}

void AtomicFile::Commit() {
    if (m_fd < 0 || m_committed)
        RaiseSystemError(EBADF, m_target);
    if (::fsync(m_fd) != 0)
        RaiseSystemError(errno, m_target);

    if (m_tempName.isEmpty()) {
        // An unnamed file gets a name by linking it; an existing target is replaced through a second name.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
        if (::linkat(AT_FDCWD, self.constData(), m_dirFd, m_name.constData(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno != EEXIST)
                RaiseSystemError(errno, m_target);
            for (int attempt = 0; attempt < 100; ++attempt) {
                m_tempName =
                    "." + m_name + "." + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
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
    ::fsync(m_dirFd);
    discard();
}
