#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string_view>

// Files, paths and the remembered last document. Paths use "/" as their separator.
namespace FileShared {

// A unique path in the user's temporary folder whose file does not exist; error 2600 when none can be made.
// TMPDIR comes first; when it is missing or cannot be written, the system's temporary folder.
QString GetTempFilePath();
// The folder GetTempFilePath would use now; empty when no temporary folder can be written.
QString TemporaryFolder();
// The folders GetTempFilePath tries, in order, as the user named them.
QStringList TemporaryFolderCandidates();
// Replaces the system's temporary folder ("/tmp") that is tried after TMPDIR (tests).
void SetSystemTemporaryFolder(const QString& folder);
// The id of the process whose GetTempFilePath made the file name, alone or with ".bmp" after it (the stage's
// undo copy); 0 for a name of any other form.
qint64 TemporaryNameProcess(std::string_view fileName);
// Runs write for a temporary file at path; when it fails or raises, the result is false, so that whatever
// does not need the file carries on, and the user is told once per folder for the life of the program.
bool WriteTemporaryFile(const QString& path, const std::function<bool()>& write);
// True for an ordinary, visible file (a pattern with wildcards: when any such file matches).
bool FileExists(const QString& path);
QString GetFileName(const QString& path);
QString StripExtension(const QString& path);
QString GetExtension(const QString& path);
QString AddBackslash(const QString& path);
// The path with every ":", "/" and "\" removed.
QString FlattenPath(const QString& path);
// Linux has no 8.3 form: the path itself.
QString GetShortPath(const QString& path);
// Deletes the folder's files, then the folder when it is empty; errors are ignored.
void DeleteFolder(const QString& folderPath);
// Runs the command line without a window and returns once it has ended, handling events meanwhile.
void ShellAndWait(const QString& commandLine);
QString GetLastPath(const QString& defaultName);
void SaveLastPath(const QString& path);

}  // namespace FileShared
