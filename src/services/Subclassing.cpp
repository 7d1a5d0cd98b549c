#include "services/Subclassing.h"

#include "services/ISubclass.h"

namespace Subclassing {

void ForwardMessage(int32_t hwnd, int32_t iMsg, ISubclass* target) {
    if (target)
        target->WindowProc(hwnd, iMsg, 0, 0);
}

}  // namespace Subclassing
