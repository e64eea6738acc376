#pragma once
// The common file dialog: title, filter, file name and cancel, as the programs set them.
// It is Qt's own dialog (not the desktop portal's), so it behaves the same on every
// desktop and can be driven by the end-to-end tests.
#include <QString>
#include <functional>

class QWidget;

namespace forms {

struct FileDialogRequest {
    enum Mode { Open, Save };
    Mode mode = Open;
    QString title;              // empty: the dialog's own default
    QString filter;             // "Text (*.txt)|*.txt|All Files (*.*)|*.*"
    int filterIndex = 1;        // 1-based, like the filter it picks
    QString fileName;           // initial name
    QString initialFolder;
    bool fileMustExist = false;
    bool confirmOverwrite = false;
    bool hideReadOnly = true;   // Qt's dialog has no read-only box at all
    QWidget *owner = nullptr;
};

struct FileDialogResult {
    bool accepted = false;
    QString fileName;           // full path when accepted
    int filterIndex = 1;
};

FileDialogResult showFileDialog(const FileDialogRequest &request);

// Tests script the answers: while a handler is set, no dialog is shown.
using FileDialogHandler = std::function<FileDialogResult(const FileDialogRequest &)>;
void setFileDialogHandler(FileDialogHandler handler);

// "A (*.a)|*.a|All (*.*)|*.*" to the list of Qt name filters. "*.*" becomes "*", since
// names without a dot are ordinary here.
QStringList qtNameFilters(const QString &filter);

} // namespace forms
