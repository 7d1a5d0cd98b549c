#pragma once

#include <cstdint>

// The window-message numbers that the platform layer turns Qt events into.
namespace WindowMessage {

constexpr int32_t Destroy = 2;         // the window is being destroyed
constexpr int32_t Size = 5;            // its size changed
constexpr int32_t Sizing = 532;        // it is being sized
constexpr int32_t Moving = 534;        // it is being moved
constexpr int32_t ExitSizeMove = 562;  // a move or resize has ended

}  // namespace WindowMessage
