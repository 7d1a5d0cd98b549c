#pragma once

#include <cstdint>

// How a window's previous procedure is called around the handlers of a hooked message.
enum class MsgResponseKind : int32_t {
    NoDefault = 0,      // not called
    DefaultAfter = 1,   // called once after every handler; its result is the message's result
    DefaultBefore = 2,  // called once just before the first-attached handler, whose result then counts
};

// A receiver of hooked window messages. Window properties cannot hold an object, so every live receiver
// has a 32-bit id that stands for it there; the id of a destroyed receiver resolves to nothing and is
// never given out again.
class ISubclass {
public:
    ISubclass();
    virtual ~ISubclass();
    ISubclass(const ISubclass&) = delete;
    ISubclass& operator=(const ISubclass&) = delete;

    // Only the answer of the handler attached first to a message counts.
    virtual MsgResponseKind MsgResponse() const = 0;
    virtual void SetMsgResponse(MsgResponseKind response) = 0;
    // Called for each hooked message; the result becomes the message's result unless the previous
    // procedure runs afterwards.
    virtual int32_t WindowProc(int32_t hwnd, int32_t iMsg, int32_t wParam, int32_t lParam) = 0;

    int32_t SubclassId() const { return m_id; }
    // The live receiver with that id, or nullptr.
    static ISubclass* FromSubclassId(int32_t id);

private:
    int32_t m_id;
};
