#include "platform/RuntimeError.h"

#include "platform/App.h"

RuntimeError::RuntimeError(int32_t number, QString source, QString description)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description)) {
    m_what = QStringLiteral("%1 (%2): %3").arg(m_number).arg(m_source, m_description).toStdString();
}

QString RuntimeError::DescriptionOf(int32_t number) {
    switch (number) {
        case InvalidProcedureCall: return QStringLiteral("Invalid procedure call or argument");
        case Overflow: return QStringLiteral("Overflow");
        case SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
        case TypeMismatch: return QStringLiteral("Type mismatch");
        case FileNotFound: return QStringLiteral("File not found");
        case DiskFull: return QStringLiteral("Disk full");
        case PermissionDenied: return QStringLiteral("Permission denied");
        case PathFileAccessError: return QStringLiteral("Path/File access error");
        case PathNotFound: return QStringLiteral("Path not found");
        case ObjectVariableNotSet: return QStringLiteral("Object variable or With block variable not set");
        case InvalidPropertyValue: return QStringLiteral("Invalid property value");
        default: return QStringLiteral("Application-defined or object-defined error");
    }
}

namespace Err {
void Raise(int32_t number, const QString& source, const QString& description) {
    throw RuntimeError(number, source.isEmpty() ? App::EXEName() : source,
                       description.isEmpty() ? RuntimeError::DescriptionOf(number) : description);
}
}  // namespace Err
