#pragma once

#include <cstdint>

class ISubclass;

namespace Subclassing {

// Hands a message number to a receiver directly, with 0 for both parameters, and drops its answer;
// nothing happens without a receiver.
void ForwardMessage(int32_t hwnd, int32_t iMsg, ISubclass* target);

}  // namespace Subclassing
