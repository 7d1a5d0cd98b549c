#include "services/FileShared.h"

#include "platform/App.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "services/SpecialFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>

namespace FileShared {

QString GetTempFilePath() {
    const auto fail = [] {
        Err::Raise(2600, QStringLiteral("Win32Calls_GetTempFilePath"),
                   QStringLiteral("Error creating temporary file."));
    };
    const QString folder = QDir::tempPath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        fail();
    // Like the system's unique names: prefix, a hexadecimal number, ".tmp"; claimed by creating the file.
    static quint32 next = QRandomGenerator::global()->bounded(0x10000u);
    for (int attempt = 0; attempt < 0x10000; ++attempt) {
        next = (next + 1) & 0xFFFF;
        if (next == 0)
            continue;
        const QString path =
            AddBackslash(folder) + QStringLiteral("TIN%1.tmp").arg(QString::number(next, 16).toUpper());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            file.close();
            QFile::remove(path);
            return path;
        }
        if (!QFileInfo(folder).isWritable())
            break;
    }
    fail();
    return {};
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
