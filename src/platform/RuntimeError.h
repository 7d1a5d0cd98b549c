#pragma once

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

// A numbered error raised by a component, as the form runtime's Err object carries it.
class RuntimeError : public std::exception {
public:
    RuntimeError(int32_t number, QString source, QString description);

    int32_t Number() const { return m_number; }
    const QString& Source() const { return m_source; }
    const QString& Description() const { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

    // The runtime's base for errors raised by objects (vbObjectError).
    static constexpr int32_t ObjectErrorBase = -2147221504;

    // The runtime's own error numbers that components raise.
    static constexpr int32_t InvalidProcedureCall = 5;
    static constexpr int32_t Overflow = 6;
    static constexpr int32_t SubscriptOutOfRange = 9;
    static constexpr int32_t TypeMismatch = 13;
    static constexpr int32_t FileNotFound = 53;
    static constexpr int32_t DiskFull = 61;
    static constexpr int32_t PermissionDenied = 70;
    static constexpr int32_t PathFileAccessError = 75;
    static constexpr int32_t PathNotFound = 76;
    static constexpr int32_t ObjectVariableNotSet = 91;
    static constexpr int32_t InvalidPropertyValue = 380;

    // The runtime's description of one of its own error numbers.
    static QString DescriptionOf(int32_t number);

private:
    int32_t m_number;
    QString m_source;
    QString m_description;
    std::string m_what;
};

namespace Err {
// Raises a runtime error; an empty description takes the runtime's text for the number.
[[noreturn]] void Raise(int32_t number, const QString& source = QString(), const QString& description = QString());
}  // namespace Err
