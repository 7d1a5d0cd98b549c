#include "platform/Process.h"

#include <cerrno>
#include <signal.h>

namespace Process {

bool Runs(pid_t process) { return ::kill(process, 0) == 0 || errno != ESRCH; }

}  // namespace Process
