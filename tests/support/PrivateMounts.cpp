#include "support/PrivateMounts.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

PrivateMounts::PrivateMounts() {
    if (::geteuid() != 0) {
        m_reason = QStringLiteral("mounting needs root");
        return;
    }
    const int outside = ::open("/proc/thread-self/ns/mnt", O_RDONLY | O_CLOEXEC);
    if (outside < 0) {
        m_reason =
            QStringLiteral("no mount namespace to return to: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    // The namespace's mounts stay inside it: nothing propagates back to the system's.
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        m_reason = QStringLiteral("no private mount namespace: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        ::setns(outside, CLONE_NEWNS);
        ::close(outside);
        return;
    }
    m_outside = outside;
}

PrivateMounts::~PrivateMounts() {
    if (m_outside < 0)
        return;
    ::setns(m_outside, CLONE_NEWNS);
    ::close(m_outside);
}

bool PrivateMounts::MountTmpfs(const QString& folder, qint64 bytes) {
    if (!Available() || !QDir().mkpath(folder))
        return false;
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
    return ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) == 0;
}

bool PrivateMounts::MakeReadOnly(const QString& folder) {
    return Available() && ::mount(nullptr, QFile::encodeName(folder).constData(), nullptr,
                                  MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
}
