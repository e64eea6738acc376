#include "editor/documentfile.h"
#include "editor/docformat.h"
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace editor {

QString decodeDocument(const QByteArray &bytes)
{
    const std::string fields = format::readFields(std::string_view(bytes.constData(), size_t(bytes.size())));
    QString text(qsizetype(fields.size()), Qt::Uninitialized);
    const std::size_t n = format::decodeText(fields, reinterpret_cast<char16_t *>(text.data()));
    text.truncate(qsizetype(n));
    return text;
}

ReadResult readDocumentFile(const QString &path)
{
    ReadResult result;
    const QFileInfo info(path);
    if (info.isDir()) {
        result.error = QStringLiteral("It is a folder, not a file.");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    if (file.size() > MaxDocumentFileSize) {
        result.error = QStringLiteral("The file is %1 MB long; the editor opens files of up to %2 MB.")
                           .arg(file.size() / (1024 * 1024))
                           .arg(MaxDocumentFileSize / (1024 * 1024));
        return result;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return result;
    }
    file.close();
    result.text = decodeDocument(bytes);
    result.ok = true;
    return result;
}

WriteResult writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    WriteResult result;
    if (QFileInfo(path).isDir()) {
        result.error = QStringLiteral("There is a folder of that name.");
        return result;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = file.errorString();
        return result;
    }
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            result.error = file.errorString();
            file.cancelWriting();
            return result;
        }
        done += n;
    }
    if (!file.commit()) {
        result.error = file.errorString();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace editor
