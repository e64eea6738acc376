#pragma once
// The .reg text format: a "REGEDIT4" or "Windows Registry Editor Version 5.00" header,
// [key] lines ([-key] removes a key), and value lines:
//   "name"="text"    @="text"    "name"=dword:0000002a    "name"=hex:01,02
//   "name"=hex(2):…  (any hex(type):)   "name"=-  (removes the value)
// Lines ending in a backslash continue on the next one; lines starting with ';' are
// comments. Key paths and value names are matched without regard to case. Lines that
// cannot be read are skipped.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <cstdint>

namespace registry {

struct Value {
    std::uint32_t type = 0;
    QString text;        // text types (1, 2, 7), without the final NUL
    QByteArray bytes;    // every other type, as stored
    bool isText() const { return type == 1 || type == 2 || type == 7; }
};

class Hive {
public:
    // Adds what `content` gives for keys under `rootName`, over what is there already.
    // False when the content lacks the header (nothing is then added).
    bool merge(const QByteArray &content, const QString &rootName);

    // `path` is backslash-separated below the root; empty names the root itself.
    bool hasKey(const QString &path) const;
    const Value *value(const QString &path, const QString &name) const;
    // The values of one key (lower-case names), or an empty map.
    QMap<QString, Value> values(const QString &path) const;

    // The canonical (lower-case, single-backslash) form of a key path.
    static QString normalise(const QString &path);

private:
    void removeKey(const QString &path);
    QMap<QString, QMap<QString, Value>> m_keys;   // every key named, and its values
};

} // namespace registry
