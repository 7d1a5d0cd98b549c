#pragma once

#include <sys/types.h>

// Other processes, as far as leftovers of killed runs need to know them.
namespace Process {

// True unless the system says that no process has the id: another user's process answers that it runs,
// and an answer that leaves the question open counts as running too, so that its files are kept.
bool Runs(pid_t process);

}  // namespace Process
