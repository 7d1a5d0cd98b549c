#pragma once

#include <QString>

// The per-user settings store, keyed by application name, section and key (QSettings underneath).
namespace Settings {

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
// Raises error 75 when the store cannot be written.
void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);

}  // namespace Settings
