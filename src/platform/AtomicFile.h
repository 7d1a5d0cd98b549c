#pragma once

#include <QString>

#include <cstddef>

// Replaces a file all at once: the new bytes go to an unnamed file in the target's folder, reach the disk,
// and only then take the target's name. Until Commit the target stays byte for byte as it was, and a
// failure or a killed process leaves no file behind. Errors are RuntimeErrors (61 disk full, 70 permission
// denied, 76 path not found, 75 otherwise).
class AtomicFile {
public:
    explicit AtomicFile(const QString& target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void Write(const char* data, size_t size);
    void Commit();

    // The runtime error number for a system error number.
    static int ErrorNumberOf(int systemError);
    [[noreturn]] static void RaiseSystemError(int systemError, const QString& what);

private:
    void discard();

    QString m_target;
    QByteArray m_name;      // the target's own name inside its folder
    QByteArray m_tempName;  // set only where the folder cannot hold unnamed files
    int m_dirFd = -1;
    int m_fd = -1;
    bool m_committed = false;
};
