#include "services/FileShared.h"

#include "platform/App.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "services/SpecialFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace FileShared {

namespace {

QString& systemTempFolder() {
    static QString folder = QStringLiteral("/tmp");
    return folder;
}

// The user's temporary folder (TMPDIR) first, then the system's.
QStringList tempFolders() {
    QStringList folders;
    // Qt gives the empty text for a TMPDIR that does not exist.
    const QString user = QDir::tempPath();
    if (!user.isEmpty())
        folders << user;
    const QString system = QDir::cleanPath(systemTempFolder());
    if (!system.isEmpty() && !folders.contains(system))
        folders << system;
    return folders;
}

// The folder where a name was last claimed by creating its file exclusively. A second copy of the program has
// another process id, so its names never meet ours: in this folder a name only needs to be free, which one
// lookup shows, where a create and a delete would each be a journaled change of the folder.
QString& provenFolder() {
    static QString folder;
    return folder;
}

// A name is "TIN", the process id in upper-case hexadecimal without leading zeros, a counter of exactly
// CounterDigits upper-case hexadecimal digits and ".tmp": the counter's fixed width tells where the id ends.
constexpr int CounterDigits = 8;

QString nextName(const QString& folder) {
    // The process id keeps running copies of the program apart, the counter this copy's names.
    static const QString process = QString::number(QCoreApplication::applicationPid(), 16).toUpper();
    static quint32 counter = QRandomGenerator::global()->generate();
    ++counter;
    return AddBackslash(folder) + QStringLiteral("TIN") + process +
           QStringLiteral("%1").arg(counter, CounterDigits, 16, QLatin1Char('0')).toUpper() + QStringLiteral(".tmp");
}

bool isUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// A free name in the folder whose file does not exist; empty when the folder takes no file. A name whose file
// exists (left by a copy that ended) is skipped.
QString claimName(const QString& folder) {
    if (folder.isEmpty())
        return {};
    // A folder removed or made read-only since it was proven is proven again below.
    const bool proven = folder == provenFolder() && ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const QString path = nextName(folder);
        const QByteArray name = QFile::encodeName(path);
        if (proven) {
            struct stat existing {};
            if (::lstat(name.constData(), &existing) == 0)
                continue;
            if (errno == ENOENT)
                return path;
            break;
        }
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(name.constData());
            provenFolder() = folder;
            return path;
        }
        if (errno != EEXIST)
            break;
    }
    if (folder == provenFolder())
        provenFolder().clear();
    return {};
}

QString claimInAnyFolder() {
    for (const QString& folder : tempFolders()) {
        const QString path = claimName(folder);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

}  // namespace

QString GetTempFilePath() {
    const QString path = claimInAnyFolder();
    if (path.isEmpty())
        Err::Raise(2600, QStringLiteral("Win32Calls_GetTempFilePath"),
                   QStringLiteral("Error creating temporary file."));
    return path;
}

QString TemporaryFolder() {
    const QString path = claimInAnyFolder();
    if (path.isEmpty())
        return {};
    return QFileInfo(path).path();
}

QStringList TemporaryFolderCandidates() {
    QStringList folders{qEnvironmentVariable("TMPDIR", QStringLiteral("/tmp"))};
    const QString system = QDir::cleanPath(systemTempFolder());
    if (!folders.contains(system))
        folders << system;
    return folders;
}

void SetSystemTemporaryFolder(const QString& folder) { systemTempFolder() = folder; }

qint64 TemporaryNameProcess(std::string_view fileName) {
    constexpr std::string_view prefix = "TIN";
    constexpr std::string_view suffix = ".tmp";
    constexpr std::string_view undoSuffix = ".tmp.bmp";
    if (fileName.ends_with(undoSuffix))
        fileName.remove_suffix(undoSuffix.size() - suffix.size());
    if (!fileName.starts_with(prefix) || !fileName.ends_with(suffix))
        return 0;
    const std::string_view digits = fileName.substr(prefix.size(), fileName.size() - prefix.size() - suffix.size());
    // At most eight digits of process id: more than any pid_t holds.
    if (digits.size() <= CounterDigits || digits.size() > CounterDigits + 8 || digits.front() == '0')
        return 0;
    qint64 process = 0;
    for (const char c : digits)
        if (!isUpperHex(c))
            return 0;
    for (const char c : digits.substr(0, digits.size() - CounterDigits))
        process = process * 16 + (c <= '9' ? c - '0' : c - 'A' + 10);
    return process;
}

bool WriteTemporaryFile(const QString& path, const std::function<bool()>& write) {
    QString reason;
    try {
        if (write())
            return true;
        reason = QStringLiteral("the file could not be written whole");
    } catch (const RuntimeError& e) {
        reason = e.Description();
    }
    // A full or vanished temporary folder fails every render; the user hears of it once per folder.
    static QSet<QString> reported;
    const QString folder = QFileInfo(path).path();
    if (!reported.contains(folder)) {
        reported.insert(folder);
        MessageBox::Show(QStringLiteral("Cannot write the temporary file %1 (%2). The colours still work, but "
                                        "pictures made from them may be missing until the temporary folder "
                                        "can be written again.")
                             .arg(path, reason.isEmpty() ? QStringLiteral("unknown error") : reason),
                         MessageBox::Exclamation);
    }
    return false;
}

bool FileExists(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'))) {
        const QDir dir(info.path());
        return !dir.entryList({name}, QDir::Files | QDir::NoDotAndDotDot).isEmpty();
    }
    return info.isFile() && !info.isHidden();
}

QString GetFileName(const QString& path) {
    const qsizetype i = path.lastIndexOf(QLatin1Char('/'));
    return i < 0 ? path : path.mid(i + 1);
}

QString StripExtension(const QString& path) {
    const qsizetype i = path.lastIndexOf(QLatin1Char('.'));
    return i < 0 ? QString() : path.left(i);
}

QString GetExtension(const QString& path) {
    const qsizetype i = path.lastIndexOf(QLatin1Char('.'));
    return i < 0 ? path : path.mid(i + 1);
}

QString AddBackslash(const QString& path) { return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/'); }

QString FlattenPath(const QString& path) {
    QString flat = path;
    flat.remove(QLatin1Char(':')).remove(QLatin1Char('/')).remove(QLatin1Char('\\'));
    return flat;
}

QString GetShortPath(const QString& path) { return path; }

void DeleteFolder(const QString& folderPath) {
    if (folderPath.isEmpty())
        return;
    QDir dir(folderPath);
    if (!dir.exists())
        return;
    for (const QString& file : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) dir.remove(file);
    QDir().rmdir(folderPath);
}

void ShellAndWait(const QString& commandLine) {
    QStringList args = QProcess::splitCommand(commandLine);
    if (args.isEmpty())
        Err::Raise(RuntimeError::FileNotFound);
    const QString program = args.takeFirst();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForStarted())
        Err::Raise(RuntimeError::FileNotFound);
    // Short waits rather than a busy poll: the window keeps answering and the CPU stays free. The events
    // handled meanwhile may already see the process end, after which waitForFinished never succeeds.
    while (process.state() != QProcess::NotRunning && !process.waitForFinished(10)) App::DoEvents();
}

QString GetLastPath(const QString& defaultName) {
    try {
        const QString stored =
            Settings::GetSetting(App::Title(), QStringLiteral("Folders"), QStringLiteral("LASTPATH"));
        if (!stored.isEmpty())
            return stored;
        return SpecialFolders::MyDocumentsFolder() + QLatin1Char('/') + defaultName;
    } catch (...) {
        return {};
    }
}

void SaveLastPath(const QString& path) {
    Settings::SaveSetting(App::Title(), QStringLiteral("Folders"), QStringLiteral("LASTPATH"), path);
}

}  // namespace FileShared
