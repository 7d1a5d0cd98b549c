#include "platform/Settings.h"

#include "platform/RuntimeError.h"

#include <QDir>
#include <QSettings>

namespace Settings {

namespace {
QString path(const QString& section, const QString& key) { return section + QLatin1Char('/') + key; }

// Without HOME (and no XDG_CONFIG_HOME) Qt would keep the store in "/.config": there is no per-user store.
bool HasUserStore() {
    return !qEnvironmentVariableIsEmpty("HOME") || QDir::isAbsolutePath(qEnvironmentVariable("XDG_CONFIG_HOME"));
}

[[noreturn]] void RaiseCannotWrite(const QString& section, const QString& key) {
    Err::Raise(RuntimeError::PathFileAccessError, QString(),
               QStringLiteral("Cannot write the setting %1.").arg(path(section, key)));
}
}  // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue) {
    if (!HasUserStore())
        return defaultValue;
    QSettings store(QSettings::IniFormat, QSettings::UserScope, appName, appName);
    return store.value(path(section, key), defaultValue).toString();
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value) {
    if (!HasUserStore())
        RaiseCannotWrite(section, key);
    QSettings store(QSettings::IniFormat, QSettings::UserScope, appName, appName);
    store.setValue(path(section, key), value);
    store.sync();
    // A format error is about what was read (a byte-order mark, a line without "="); only an access
    // error says the write failed.
    if (store.status() == QSettings::AccessError || !store.isWritable())
        RaiseCannotWrite(section, key);
}

}  // namespace Settings
