#include "forms/filedialog.h"
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace forms {

namespace {
FileDialogHandler g_handler;
}

void setFileDialogHandler(FileDialogHandler handler) { g_handler = std::move(handler); }

QStringList qtNameFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (QString p : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            p = p.trimmed();
            patterns << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
        }
        // The description is shown as given; the patterns in the trailing parentheses
        // are what Qt filters by (their display is turned off in the dialog).
        result << QStringLiteral("%1 (%2)").arg(parts.at(i), patterns.join(QLatin1Char(' ')));
    }
    return result;
}

FileDialogResult showFileDialog(const FileDialogRequest &request)
{
    if (g_handler)
        return g_handler(request);

    QFileDialog dialog(request.owner ? request.owner : QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("fileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setAcceptMode(request.mode == FileDialogRequest::Save ? QFileDialog::AcceptSave
                                                                 : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mode == FileDialogRequest::Open && request.fileMustExist
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    if (!request.title.isEmpty())
        dialog.setWindowTitle(request.title);
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = qBound(1, request.filterIndex, int(filters.size())) - 1;
        dialog.selectNameFilter(filters.at(index));
    }
    if (!request.initialFolder.isEmpty())
        dialog.setDirectory(request.initialFolder);
    if (!request.fileName.isEmpty()) {
        const QFileInfo info(request.fileName);
        if (info.isAbsolute())
            dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    dialog.setWindowModality(Qt::ApplicationModal);
    FileDialogResult result;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        result.accepted = true;
        result.fileName = dialog.selectedFiles().constFirst();
        result.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    }
    return result;
}

} // namespace forms
