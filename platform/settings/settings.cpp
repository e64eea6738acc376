#include "settings/settings.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace settings {

namespace {
QString configHome()
{
    // QStandardPaths follows $XDG_CONFIG_HOME and falls back to ~/.config.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

// Group and key names are used as given; QSettings would read "/" as a sub-group.
QString iniKey(const QString &section, const QString &key)
{
    QString s = section, k = key;
    s.replace(QLatin1Char('/'), QLatin1Char('_'));
    k.replace(QLatin1Char('/'), QLatin1Char('_'));
    return s + QLatin1Char('/') + k;
}
} // namespace

QString settingsFile(const QString &application)
{
    QString name = application;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return configHome() + QStringLiteral("/tavolin/") + name + QStringLiteral(".ini");
}

QString getSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue)
{
    // A fresh reader on every call: another run may have written the file since.
    QSettings store(settingsFile(application), QSettings::IniFormat);
    const QVariant value = store.value(iniKey(section, key));
    if (!value.isValid() || store.status() == QSettings::FormatError)
        return defaultValue;
    // A value QSettings read as a list ("a, b") is still one text to us.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool saveSetting(const QString &application, const QString &section, const QString &key,
                 const QString &value)
{
    return saveSettings(application, section, {{key, value}});
}

bool saveSettings(const QString &application, const QString &section,
                  const QList<std::pair<QString, QString>> &keyValues)
{
    const QString file = settingsFile(application);
    QDir().mkpath(QFileInfo(file).absolutePath());
    {
        // A file that cannot be parsed would never be written again; keep it aside for
        // the user and start a clean one.
        QSettings probe(file, QSettings::IniFormat);
        probe.allKeys();
        if (probe.status() == QSettings::FormatError) {
            QFile::remove(file + QStringLiteral(".corrupt"));
            QFile::rename(file, file + QStringLiteral(".corrupt"));
        }
    }
    QSettings store(file, QSettings::IniFormat);
    for (const auto &[key, value] : keyValues)
        store.setValue(iniKey(section, key), value);
    store.sync();
    return store.status() == QSettings::NoError;
}

} // namespace settings
