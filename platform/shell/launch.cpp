#include "shell/launch.h"
#include "shell/drives.h"
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#undef signals   // GLib uses the name
#include <gio/gio.h>
#include <gio/gdesktopappinfo.h>

namespace shell {

namespace {
void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// Starts the program on its own, reading nothing from our standard input.
bool startDetached(const QString &program, const QStringList &args, QString *error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        setError(error, QStringLiteral("%1 could not be started: %2").arg(program, process.errorString()));
        return false;
    }
    return true;
}

QString takeGError(GError *gerror)
{
    const QString text = gerror ? QString::fromUtf8(gerror->message) : QStringLiteral("unknown error");
    if (gerror)
        g_error_free(gerror);
    return text;
}
} // namespace

bool startProgram(const QString &commandText, QString *error)
{
    // A command text that as a whole names an existing file is that program, blanks and
    // all ("c:\Program Files\Tools\info"), as the desktop the programs were written for
    // tries the unquoted path before splitting it.
    const QString whole = commandText.trimmed();
    const QString wholeFile = isDrivePath(whole) ? mapDrivePath(whole) : whole;
    if (!whole.isEmpty() && QFileInfo(wholeFile).isFile())
        return startDetached(wholeFile, {}, error);
    QStringList args = QProcess::splitCommand(commandText);
    if (args.isEmpty()) {
        setError(error, QStringLiteral("No program was named."));
        return false;
    }
    QString program = args.takeFirst();
    if (isDrivePath(program))
        program = mapDrivePath(program);
    for (QString &arg : args) {
        if (isDrivePath(arg))
            arg = mapDrivePath(arg);
    }
    return startDetached(program, args, error);
}

bool startExecutable(const QString &path, QString *error)
{
    if (!QProcess::startDetached(path, {})) {
        setError(error, QStringLiteral("%1 could not be started.").arg(path));
        return false;
    }
    return true;
}

bool launchDesktopFile(const QString &path, QString *error)
{
    GDesktopAppInfo *info = g_desktop_app_info_new_from_filename(QFile::encodeName(path).constData());
    if (!info) {
        setError(error, QStringLiteral("%1 is not a valid launcher.").arg(path));
        return false;
    }
    GError *gerror = nullptr;
    const gboolean ok = g_app_info_launch(G_APP_INFO(info), nullptr, nullptr, &gerror);
    g_object_unref(info);
    if (!ok) {
        setError(error, takeGError(gerror));
        return false;
    }
    return true;
}

bool openWithDefaultApplication(const QString &path, QString *error)
{
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
    GError *gerror = nullptr;
    if (!g_app_info_launch_default_for_uri(uri.constData(), nullptr, &gerror)) {
        setError(error, takeGError(gerror));
        return false;
    }
    return true;
}

bool readDesktopEntry(const QString &path, DesktopEntryInfo *out)
{
    GDesktopAppInfo *info = g_desktop_app_info_new_from_filename(QFile::encodeName(path).constData());
    if (!info)
        return false;
    DesktopEntryInfo result;
    result.name = QString::fromUtf8(g_app_info_get_display_name(G_APP_INFO(info)));
    if (GIcon *icon = g_app_info_get_icon(G_APP_INFO(info))) {
        gchar *text = g_icon_to_string(icon);
        if (text) {
            result.icon = QString::fromUtf8(text);
            g_free(text);
        }
    }
    g_object_unref(info);
    if (out)
        *out = result;
    return true;
}

QString ordinaryFileName(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(isDrivePath(path) ? mapDrivePath(path) : path);
    if (!info.exists() || !info.isFile() || info.isHidden())
        return {};
    return info.fileName();
}

bool isExecutableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace shell
