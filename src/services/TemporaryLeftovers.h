#pragma once

#include <QString>

// What earlier runs of the program left in the temporary folders when they ended without cleaning up (killed,
// crashed, the power cut): colour pictures, undo copies, document and icon folders. Each carries the id of
// the process that made it (FileShared::TemporaryNameProcess).
namespace TemporaryLeftovers {

// Removes them from TMPDIR and the system's temporary folder. Errors are ignored.
void RemoveAll();
// Removes from the folder each entry of the program's own naming whose process no longer runs and that
// belongs to this user: a file, or a folder with all it holds. A running process's entries (of any user),
// links, other kinds of entry and every other name stay; nothing is followed out of the folder. Returns how
// many entries went.
int RemoveFrom(const QString& folder);

}  // namespace TemporaryLeftovers
