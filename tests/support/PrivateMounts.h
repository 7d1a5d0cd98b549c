#pragma once

#include <QString>

// For as long as it lives, the calling thread sees mounts of its own (a private mount namespace): a small tmpfs
// stands in for a full temporary folder, a read-only one for a folder that root cannot write either. Needs
// root; Available() is false otherwise and the test skips with Reason(). The mounts go when it does.
class PrivateMounts {
public:
    PrivateMounts();
    ~PrivateMounts();
    PrivateMounts(const PrivateMounts&) = delete;
    PrivateMounts& operator=(const PrivateMounts&) = delete;

    bool Available() const { return m_outside >= 0; }
    const QString& Reason() const { return m_reason; }

    // A fresh, empty tmpfs of the given size at folder, made when missing.
    bool MountTmpfs(const QString& folder, qint64 bytes);
    // The file system mounted at folder takes no more writes.
    bool MakeReadOnly(const QString& folder);

private:
    int m_outside = -1;  // the namespace the thread came from
    QString m_reason;
};
