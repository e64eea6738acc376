#include "registry/registry.h"
#include "registry/regfile.h"
#include <QDir>
#include <QFile>
#include <QHash>
#include <cstring>

namespace registry {

namespace {

struct OpenKey {
    Key root = 0;
    QString path;                    // canonical, below the root
    QMap<QString, Value> values;     // as they were when the key was opened
};

QHash<Key, OpenKey> &handles()
{
    static QHash<Key, OpenKey> table;
    return table;
}

Key g_nextHandle = 0x100;

bool isRoot(Key key) { return !rootName(key).isEmpty(); }

QStringList configFolders()
{
    QStringList folders;
    QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.config");
    folders << home;
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/etc/xdg");
    for (const QString &dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        folders << dir;
    return folders;
}

Hive readHive(Key root)
{
    Hive hive;
    const QStringList files = filesFor(root);
    // Least important first, so the user's own file is laid over the others.
    for (auto it = files.crbegin(); it != files.crend(); ++it) {
        QFile file(*it);
        if (file.open(QIODevice::ReadOnly))
            hive.merge(file.readAll(), rootName(root));
    }
    return hive;
}

} // namespace

QString rootName(Key root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKEY_CURRENT_USER: return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_LOCAL_MACHINE: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case HKEY_USERS: return QStringLiteral("HKEY_USERS");
    case HKEY_CURRENT_CONFIG: return QStringLiteral("HKEY_CURRENT_CONFIG");
    default: return QString();
    }
}

QStringList filesFor(Key root)
{
    QStringList files;
    const QString name = rootName(root);
    if (name.isEmpty())
        return files;
    for (const QString &folder : configFolders())
        files << folder + QStringLiteral("/tavolin/registry/") + name + QStringLiteral(".reg");
    return files;
}

long openKey(Key root, const QByteArray &subKey, std::uint32_t options, std::uint32_t access,
             Key *result)
{
    Q_UNUSED(options);
    Q_UNUSED(access);
    if (!result)
        return Result::InvalidParameter;
    Key base = root;
    QString path;
    if (!isRoot(root)) {
        auto it = handles().constFind(root);
        if (it == handles().constEnd())
            return Result::InvalidHandle;
        base = it->root;
        path = it->path;
    }
    const QString below = Hive::normalise(QString::fromLocal8Bit(subKey));
    if (!below.isEmpty())
        path = path.isEmpty() ? below : path + QLatin1Char('\\') + below;

    const Hive hive = readHive(base);
    if (!hive.hasKey(path))
        return Result::FileNotFound;
    const Key handle = g_nextHandle++;
    handles().insert(handle, OpenKey{base, path, hive.values(path)});
    *result = handle;
    return Result::Success;
}

long queryValue(Key key, const QByteArray &name, std::uint32_t *reserved, std::uint32_t *type,
                unsigned char *data, std::uint32_t *count)
{
    if (reserved)
        return Result::InvalidParameter;
    QMap<QString, Value> values;
    if (isRoot(key)) {
        values = readHive(key).values(QString());
    } else {
        auto it = handles().constFind(key);
        if (it == handles().constEnd())
            return Result::InvalidHandle;
        values = it->values;
    }
    if (data && !count)
        return Result::InvalidParameter;
    auto found = values.constFind(QString::fromLocal8Bit(name).toLower());
    if (found == values.constEnd())
        return Result::FileNotFound;

    QByteArray bytes;
    if (found->isText()) {
        bytes = found->text.toLocal8Bit();
        bytes.append('\0');   // the trailing NUL is part of the value's size
    } else {
        bytes = found->bytes;
    }
    if (type)
        *type = found->type;
    const auto size = std::uint32_t(bytes.size());
    if (!data) {
        if (count)
            *count = size;
        return Result::Success;
    }
    if (*count < size) {
        *count = size;
        return Result::MoreData;
    }
    if (size > 0)
        std::memcpy(data, bytes.constData(), size);
    *count = size;
    return Result::Success;
}

long closeKey(Key key)
{
    if (isRoot(key))
        return Result::Success;
    return handles().remove(key) ? Result::Success : Result::InvalidHandle;
}

int openHandleCount() { return int(handles().size()); }

} // namespace registry
