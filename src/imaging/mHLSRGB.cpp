#include "imaging/mHLSRGB.h"

#include "platform/RuntimeError.h"

namespace mHLSRGB {

int32_t ScaleChannel(float fraction) {
    const float scaled = fraction * 255.0f;
    if (!(scaled >= -2147483648.0f && scaled < 2147483648.0f))
        Err::Raise(RuntimeError::Overflow);
    return RoundFloat::ToInt(scaled);
}

}  // namespace mHLSRGB
