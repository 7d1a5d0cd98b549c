#pragma once

#include <QString>

// Files, paths and the remembered last document. Paths use "/" as their separator.
namespace FileShared {

// A unique path in the user's temporary folder whose file does not exist; error 2600 when none can be made.
QString GetTempFilePath();
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
