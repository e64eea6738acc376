#pragma once
// Moving document files between disk and the text area's form of the text (lines
// separated by LF), in the document file format of docformat.h.
#include <QByteArray>
#include <QString>

namespace editor {

struct ReadResult {
    bool ok = false;
    QString text;        // the fields, each followed by a line break
    QString error;       // why the file could not be read
};

// Files larger than this are refused with a message rather than read: the text area
// needs many times the file's size in memory.
constexpr qint64 MaxDocumentFileSize = qint64(512) * 1024 * 1024;

// Reads and decodes a whole document file. Safe to run away from the window's thread.
ReadResult readDocumentFile(const QString &path);

// The text as the reader returns it, from the file's bytes.
QString decodeDocument(const QByteArray &bytes);

struct WriteResult {
    bool ok = false;
    QString error;
};

// Writes the bytes to a temporary file in the same folder and renames it over `path`,
// so the old file stays whole until the new one is complete. Safe to run away from the
// window's thread.
WriteResult writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace editor
