#include "platform/Numeric.h"

#include "platform/RuntimeError.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace Numeric {

namespace {
double roundHalfEven(double value) {
    // nearbyint honours the current rounding mode; the program never leaves FE_TONEAREST.
    return std::nearbyint(value);
}

int32_t checkedLong(double value) {
    if (!(value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max()))
        Err::Raise(RuntimeError::Overflow);
    return static_cast<int32_t>(value);
}
}  // namespace

int32_t Round(double value) { return checkedLong(roundHalfEven(value)); }

int16_t RoundToInteger(double value) {
    const double r = roundHalfEven(value);
    if (!(r >= std::numeric_limits<int16_t>::min() && r <= std::numeric_limits<int16_t>::max()))
        Err::Raise(RuntimeError::Overflow);
    return static_cast<int16_t>(r);
}

int32_t Floor(double value) { return checkedLong(std::floor(value)); }

double ToDouble(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    double value = 0;
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        // Hexadecimal literals are 32-bit two's complement, as the runtime reads them.
        const qulonglong raw = t.mid(2).toULongLong(&ok, 16);
        if (ok && raw <= 0xFFFFFFFFull)
            value = static_cast<int32_t>(static_cast<uint32_t>(raw));
        else
            ok = false;
    } else if (!t.isEmpty()) {
        value = t.toDouble(&ok);
        ok = ok && std::isfinite(value);
    }
    if (!ok)
        Err::Raise(RuntimeError::TypeMismatch);
    return value;
}

int32_t ToLong(const QString& text) { return Round(ToDouble(text)); }

int16_t ToInteger(const QString& text) { return RoundToInteger(ToDouble(text)); }

}  // namespace Numeric
