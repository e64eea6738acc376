#include "webview/folderview.h"
#include "shell/launch.h"
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QKeyEvent>

namespace webview {

namespace {
constexpr int PathRole = Qt::UserRole + 1;

// The launcher's own icon; where the desktop has none by that name, the generic
// program icon, and failing that the file's icon, so no item is shown without one.
QIcon launcherIcon(const QString &icon, const QIcon &fileIcon)
{
    QIcon result;
    if (!icon.isEmpty())
        result = QFileInfo(icon).isAbsolute() ? QIcon(icon) : QIcon::fromTheme(icon);
    if (result.isNull() || result.availableSizes().isEmpty() && result.pixmap(48, 48).isNull())
        result = QIcon::fromTheme(QStringLiteral("application-x-executable"));
    if (result.isNull())
        result = fileIcon;
    return result;
}
} // namespace

FolderView::FolderView(QWidget *parent) : QListView(parent)
{
    setObjectName(QStringLiteral("folderView"));
    setAccessibleName(QStringLiteral("Folder contents"));
    setModel(&m_model);
    setViewMode(QListView::IconMode);
    setIconSize(QSize(48, 48));
    setGridSize(QSize(96, 84));
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setWordWrap(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListView::doubleClicked, this, &FolderView::openItem);
}

bool FolderView::showFolder(const QString &path)
{
    m_model.clear();
    m_folder = path;
    const QFileInfo folderInfo(path);
    if (!folderInfo.isDir())
        return false;
    QDir dir(path);
    dir.setFilter(QDir::AllEntries | QDir::NoDotAndDotDot);
    dir.setSorting(QDir::DirsFirst | QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    QFileIconProvider icons;
    for (const QFileInfo &entry : dir.entryInfoList()) {
        auto *item = new QStandardItem;
        item->setData(entry.absoluteFilePath(), PathRole);
        shell::DesktopEntryInfo launcher;
        if (entry.isFile() && entry.suffix() == QLatin1String("desktop")
            && shell::readDesktopEntry(entry.absoluteFilePath(), &launcher)) {
            item->setText(launcher.name);
            item->setIcon(launcherIcon(launcher.icon, icons.icon(entry)));
        } else {
            item->setText(entry.fileName());
            item->setIcon(icons.icon(entry));
        }
        item->setToolTip(entry.fileName());
        m_model.appendRow(item);
    }
    if (m_model.rowCount() > 0)
        setCurrentIndex(m_model.index(0, 0));
    return true;
}

QStringList FolderView::itemNames() const
{
    QStringList names;
    for (int row = 0; row < m_model.rowCount(); ++row)
        names << m_model.item(row)->text();
    return names;
}

void FolderView::openItem(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QString path = index.data(PathRole).toString();
    const QFileInfo info(path);
    QString error;
    bool ok = true;
    if (info.isDir())
        emit folderRequested(path);
    else if (info.suffix() == QLatin1String("desktop"))
        ok = shell::launchDesktopFile(path, &error);   // GIO says why a broken launcher cannot start
    else if (shell::isExecutableFile(path))
        ok = shell::startExecutable(path, &error);
    else
        ok = shell::openWithDefaultApplication(path, &error);
    if (!ok)
        emit launchFailed(QStringLiteral("%1 could not be opened.\n%2").arg(info.fileName(), error));
}

void FolderView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        openItem(currentIndex());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace webview
