// Short path names.
//
// The player hands the interface one command line with the file name in it, so the
// name must be a single plain word that fits the 255-character command field. A path
// made only of letters, digits and . _ - + / (and not too long) already is one and is
// used as it is. Any other path (blanks, quotes, non-ASCII letters, long folder names,
// a name that reads like the command's own keywords) is reached through a link in a
// private folder of the user's:
//
//     $XDG_RUNTIME_DIR/tavolin-mci/     or, without one,     <cache folder>/tavolin-mci/
//
// created with access for the user alone and used only when it is a real folder of the
// user's own. A link is named after a hash of the full path it stands for plus the
// file's extension ("3f0c9a2e81d4b6a7.mp3"), so the same file always gets the same
// short name, and nothing of the original name reaches the command: a crafted file
// name cannot add words to it. Links whose files are gone are cleared away as new ones
// are made; the runtime folder itself is emptied when the user logs out.
#include "mci/mci.h"
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace mci {

namespace {

// Longest plain path handed on as it is, and longest private folder: either way the
// whole open command stays well inside its 255-character field.
constexpr int MaxPlainPath = 128;
constexpr int MaxFolderPath = 160;
const char FolderName[] = "tavolin-mci";

bool isPlain(const QString &path, int maxLength)
{
    // Anchored at the very end: "$" alone would also let a line end through after the name.
    static const QRegularExpression plain(QRegularExpression::anchoredPattern(QStringLiteral("/[A-Za-z0-9._+/-]*")));
    return path.size() <= maxLength && plain.match(path).hasMatch();
}

// The folder when it is (or could be made) a real folder owned by the user with
// access for the user alone; empty otherwise.
QString privateFolder(const QString &parent)
{
    if (parent.isEmpty() || !QDir::isAbsolutePath(parent))
        return {};
    const QString folder = QDir::cleanPath(parent) + QLatin1Char('/') + QLatin1String(FolderName);
    if (!isPlain(folder, MaxFolderPath))
        return {};
    QDir().mkpath(QDir::cleanPath(parent));
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return {};
    if ((info.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0)
        return {};
    return folder;
}

QString linkFolder()
{
    const QString runtime = privateFolder(QFile::decodeName(qgetenv("XDG_RUNTIME_DIR")));
    if (!runtime.isEmpty())
        return runtime;
    return privateFolder(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));
}

QString linkName(const QString &target)
{
    const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(target), QCryptographicHash::Sha256)
                                .toHex()
                                .left(16);
    static const QRegularExpression plainSuffix(QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9]{1,8}")));
    const QString suffix = QFileInfo(target).suffix();
    return QString::fromLatin1(hash)
           + (plainSuffix.match(suffix).hasMatch() ? QLatin1Char('.') + suffix.toLower() : QString());
}

// Clears links whose files no longer exist.
void clearStaleLinks(const QString &folder)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::System | QDir::Files | QDir::Hidden);
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink() && !entry.exists())
            QFile::remove(entry.absoluteFilePath());
    }
}

// The link for `target` in `folder`, made (or remade) when needed.
QString linkTo(const QString &folder, const QString &target)
{
    const QString link = folder + QLatin1Char('/') + linkName(target);
    const QByteArray nativeLink = QFile::encodeName(link);
    const QByteArray nativeTarget = QFile::encodeName(target);
    char current[4096];
    const ssize_t n = ::readlink(nativeLink.constData(), current, sizeof current);
    if (n == nativeTarget.size() && std::memcmp(current, nativeTarget.constData(), size_t(n)) == 0)
        return link;
    clearStaleLinks(folder);
    // Made under a passing name and renamed over the old one, so a link of that name
    // always points at one file or the other, never at nothing.
    const QByteArray passing = nativeLink + ".new" + QByteArray::number(qint64(::getpid()));
    ::unlink(passing.constData());
    if (::symlink(nativeTarget.constData(), passing.constData()) != 0)
        return {};
    if (::rename(passing.constData(), nativeLink.constData()) != 0) {
        ::unlink(passing.constData());
        return {};
    }
    return link;
}

} // namespace

unsigned long getShortPathName(const char *longPath, char *shortPath, unsigned long length)
{
    if (!longPath || !*longPath)
        return 0;
    const QFileInfo info(QFile::decodeName(QByteArray(longPath)));
    if (!info.exists())
        return 0;
    const QString full = QDir::cleanPath(info.absoluteFilePath());
    QString name = full;
    if (!isPlain(full, MaxPlainPath)) {
        const QString folder = linkFolder();
        if (folder.isEmpty())
            return 0;
        name = linkTo(folder, full);
        if (name.isEmpty())
            return 0;
    }
    const QByteArray result = QFile::encodeName(name);
    if (!shortPath || length < static_cast<unsigned long>(result.size()) + 1)
        return static_cast<unsigned long>(result.size()) + 1;
    std::memcpy(shortPath, result.constData(), size_t(result.size()));
    shortPath[result.size()] = '\0';
    return static_cast<unsigned long>(result.size());
}

} // namespace mci
