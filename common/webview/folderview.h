#pragma once
// A local folder shown the way a desktop file browser shows it: icons and names,
// folders first. Double-click or Enter opens an item: a sub-folder inside the view,
// a .desktop launcher or an executable is started, any other file goes to the
// desktop's default application.
#include <QListView>
#include <QStandardItemModel>

namespace webview {

class FolderView : public QListView {
    Q_OBJECT
public:
    explicit FolderView(QWidget *parent = nullptr);

    // Lists the folder; false when it does not exist (the view is then empty).
    bool showFolder(const QString &path);
    QString folder() const { return m_folder; }
    QStringList itemNames() const;       // as listed, for tests and accessibility
    void openItem(const QModelIndex &index);

signals:
    void folderRequested(const QString &path);   // a sub-folder was opened
    void launchFailed(const QString &message);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QStandardItemModel m_model;
    QString m_folder;
};

} // namespace webview
