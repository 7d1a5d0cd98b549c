#include "platform/Settings.h"

#include "platform/RuntimeError.h"

#include <QSettings>

namespace Settings {

namespace {
QString path(const QString& section, const QString& key) { return section + QLatin1Char('/') + key; }
}  // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue) {
    QSettings store(QSettings::IniFormat, QSettings::UserScope, appName, appName);
    return store.value(path(section, key), defaultValue).toString();
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value) {
    QSettings store(QSettings::IniFormat, QSettings::UserScope, appName, appName);
    store.setValue(path(section, key), value);
    store.sync();
    if (store.status() != QSettings::NoError || !store.isWritable())
        Err::Raise(RuntimeError::PathFileAccessError, QString(),
                   QStringLiteral("Cannot write the setting %1.").arg(path(section, key)));
}

}  // namespace Settings
