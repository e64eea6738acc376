#pragma once
// The settings store: per-user text values addressed by application, section and key.
// Each application is one INI file, tavolin/<application>.ini under $XDG_CONFIG_HOME
// (~/.config by default); the section is the INI group and the key the INI key.
#include <QList>
#include <QString>
#include <utility>

namespace settings {

// The stored text, or `defaultValue` when the value is absent or the file unreadable.
QString getSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue = QString());
// Stores the text, creating the file, folder, section and key as needed. Returns false
// when the store could not be written (the callers in this suite do not check).
bool saveSetting(const QString &application, const QString &section, const QString &key,
                 const QString &value);
// Stores several values of one section as saveSetting does, with one write of the file.
bool saveSettings(const QString &application, const QString &section,
                  const QList<std::pair<QString, QString>> &keyValues);

// The INI file of an application.
QString settingsFile(const QString &application);

} // namespace settings
