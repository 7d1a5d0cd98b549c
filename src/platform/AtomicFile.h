#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <memory>

class QIODevice;

// Writes a whole file, checked, and replaces the target all at once: the new bytes go to an unnamed file in
// the target's folder, every write's error is looked at, the last one after the final flush, and only then
// does the file take the target's name. Until Commit the target stays byte for byte as it was; a failure or
// a destroyed AtomicFile leaves no file behind. Errors are RuntimeErrors (61 disk full, 70 permission
// denied, 76 path not found, 75 otherwise).
//
// Where a target is replaced, the new file takes a second name for the one system call before the rename
// (for the whole write in a folder that cannot hold unnamed files): "." + name + "." + process id + "." +
// eight hex digits + ".tmp". A process killed meanwhile leaves it; RemoveLeftovers removes such names whose
// writer no longer runs.
class AtomicFile {
public:
    enum class Durability {
        // A file the user keeps: it reaches the disk (fsync) before it takes its name, and the folder's
        // leftovers of killed saves are removed.
        Kept,
        // A file of a temporary folder that is read back at once (a document folder before it is packed, an
        // undo copy): checked the same way, but not forced to the disk, since nothing outlives a power cut
        // that needs it.
        Scratch,
    };

    explicit AtomicFile(const QString& target, Durability durability = Durability::Kept);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends the bytes; raises at a failure seen so far (buffered bytes fail at a later write or at Commit).
    void Write(const char* data, size_t size);
    void Write(QByteArrayView bytes) { Write(bytes.data(), static_cast<size_t>(bytes.size())); }
    // A random-access device over the file for writers that want one (QImageWriter, QPdfWriter). Its
    // writes are taken even after an error, which Commit then raises.
    QIODevice* Device();
    // Raises the first error a write met so far, if any: a writer that failed may owe it to the file.
    void RaiseWriteError();
    // Flushes, raises any error any write met, forces the file to the disk when it is kept, and gives it
    // the target's name. After a failure the target is as it was.
    void Commit();
    // Drops what was written; the target stays as it was.
    void Cancel();

    // The whole file at target is the bytes.
    static void WriteWhole(const QString& target, QByteArrayView bytes, Durability durability = Durability::Kept);
    // The file at target becomes a copy of the regular file at source (53 when there is none).
    static void CopyFile(const QString& source, const QString& target, Durability durability = Durability::Kept);
    // Removes from the folder the second names that killed saves left: names of the pattern above whose
    // process no longer runs and which no process holds open for writing. Errors are ignored.
    static void RemoveLeftovers(const QString& folder);

    // The runtime error number for a system error number.
    static int ErrorNumberOf(int systemError);
    [[noreturn]] static void RaiseSystemError(int systemError, const QString& what);

private:
    class FileDevice;

    // Puts the bytes at the file offset; false once any write failed (the first error is kept).
    bool put(qint64 offset, const char* data, size_t size);
    bool flush();
    bool writeAt(qint64 offset, const char* data, size_t size);
    void openTemporary(unsigned mode);
    QByteArray secondName() const;
    void discard();

    QString m_target;
    Durability m_durability;
    QByteArray m_name;      // the target's own name inside its folder
    QByteArray m_tempName;  // set while the file carries a second name
    int m_dirFd = -1;
    int m_fd = -1;
    bool m_committed = false;
    int m_error = 0;  // the first system error a write met
    QByteArray m_buffer;
    qint64 m_bufferStart = 0;  // the file offset of the buffer's first byte
    qint64 m_size = 0;
    std::unique_ptr<QIODevice> m_device;
};
