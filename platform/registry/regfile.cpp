#include "registry/regfile.h"
#include <QStringDecoder>
#include <QStringList>

namespace registry {

namespace {

enum class Format { Regedit4, Version5 };

QString decodeFile(const QByteArray &content)
{
    if (content.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(content.mid(2));
    if (content.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(content.mid(2));
    const QByteArray body = content.startsWith("\xEF\xBB\xBF") ? content.mid(3) : content;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(body);   // an old 8-bit file
}

// Reads a quoted text starting at `pos` (on the opening quote). Returns false when the
// closing quote is missing; `pos` is left just after it otherwise.
bool readQuoted(const QString &line, int &pos, QString *out)
{
    if (pos >= line.size() || line.at(pos) != QLatin1Char('"'))
        return false;
    QString text;
    for (int i = pos + 1; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('\\') && i + 1 < line.size()
            && (line.at(i + 1) == QLatin1Char('\\') || line.at(i + 1) == QLatin1Char('"'))) {
            text += line.at(++i);
        } else if (c == QLatin1Char('"')) {
            pos = i + 1;
            *out = text;
            return true;
        } else {
            text += c;
        }
    }
    return false;
}

bool parseHexBytes(const QString &text, QByteArray *out)
{
    QByteArray bytes;
    const QString compact = QString(text).remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    if (compact.isEmpty()) {
        *out = bytes;
        return true;
    }
    const QStringList parts = compact.split(QLatin1Char(','));
    for (const QString &part : parts) {
        if (part.isEmpty())
            continue;   // a trailing comma
        bool ok = false;
        const uint b = part.toUInt(&ok, 16);
        if (!ok || part.size() > 2 || b > 0xFF)
            return false;
        bytes.append(char(b));
    }
    *out = bytes;
    return true;
}

QString textFromBytes(const QByteArray &bytes, Format format)
{
    QString text = format == Format::Version5
                       ? QStringDecoder(QStringDecoder::Utf16LE).decode(bytes)
                       : QString::fromLocal8Bit(bytes);
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

// Parses the part after '=' of a value line. False when it cannot be read.
bool parseData(const QString &data, Format format, Value *out, bool *remove)
{
    *remove = false;
    const QString d = data.trimmed();
    if (d == QLatin1String("-")) {
        *remove = true;
        return true;
    }
    if (d.startsWith(QLatin1Char('"'))) {
        int pos = 0;
        QString text;
        if (!readQuoted(d, pos, &text) || !d.mid(pos).trimmed().isEmpty())
            return false;
        out->type = 1;
        out->text = text;
        return true;
    }
    const int colon = d.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    const QString kind = d.left(colon).trimmed().toLower();
    const QString rest = d.mid(colon + 1);
    if (kind == QLatin1String("dword")) {
        bool ok = false;
        const QString digits = rest.trimmed();
        const quint32 number = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8)
            return false;
        out->type = 4;
        out->bytes = QByteArray(4, '\0');
        for (int i = 0; i < 4; ++i)
            out->bytes[i] = char((number >> (8 * i)) & 0xFF);
        return true;
    }
    std::uint32_t type = 3;
    if (kind.startsWith(QLatin1String("hex(")) && kind.endsWith(QLatin1Char(')'))) {
        bool ok = false;
        type = kind.mid(4, kind.size() - 5).toUInt(&ok, 16);
        if (!ok)
            return false;
    } else if (kind != QLatin1String("hex")) {
        return false;
    }
    QByteArray bytes;
    if (!parseHexBytes(rest, &bytes))
        return false;
    out->type = type;
    if (out->isText())
        out->text = textFromBytes(bytes, format);
    else
        out->bytes = bytes;
    return true;
}

// The data part of a value line (after the '='), or a null text when the line is not one.
QString dataPart(const QString &line)
{
    int pos = 0;
    QString name;
    if (line.startsWith(QLatin1Char('@')))
        pos = 1;
    else if (!readQuoted(line, pos, &name))
        return QString();
    while (pos < line.size() && line.at(pos).isSpace())
        ++pos;
    if (pos >= line.size() || line.at(pos) != QLatin1Char('='))
        return QString();
    return line.mid(pos + 1).trimmed();
}

// Joins hex data lines ending in a backslash with the lines that continue them. A long
// value runs over thousands of lines, so each line is looked at once: the joined text
// is only added to, never read again from its start.
QStringList logicalLines(const QString &text)
{
    QStringList result;
    QString pending;
    bool joining = false;
    const QStringList raw = text.split(QLatin1Char('\n'));
    for (QString line : raw) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!joining) {
            const QString trimmed = line.trimmed();
            if (trimmed.endsWith(QLatin1Char('\\'))
                && dataPart(trimmed).startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
                pending = trimmed.left(trimmed.size() - 1);
                joining = true;
            } else {
                result.append(line);
            }
            continue;
        }
        pending += line.trimmed();
        int end = int(pending.size());
        while (end > 0 && pending.at(end - 1).isSpace())
            --end;
        if (end > 0 && pending.at(end - 1) == QLatin1Char('\\')) {
            pending.truncate(end - 1);
            continue;
        }
        result.append(pending);
        pending.clear();
        joining = false;
    }
    if (joining)
        result.append(pending);
    return result;
}

} // namespace

QString Hive::normalise(const QString &path)
{
    const QStringList parts = path.toLower().split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('\\'));
}

bool Hive::merge(const QByteArray &content, const QString &rootName)
{
    const QStringList lines = logicalLines(decodeFile(content));
    int first = 0;
    while (first < lines.size() && lines.at(first).trimmed().isEmpty())
        ++first;
    if (first >= lines.size())
        return false;
    Format format;
    const QString header = lines.at(first).trimmed();
    if (header == QLatin1String("REGEDIT4"))
        format = Format::Regedit4;
    else if (header == QLatin1String("Windows Registry Editor Version 5.00"))
        format = Format::Version5;
    else
        return false;

    const QString root = rootName.toLower();
    bool inRoot = false;
    QString current;
    for (int i = first + 1; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inRoot = false;
            if (!line.endsWith(QLatin1Char(']')))
                continue;
            QString path = line.mid(1, line.size() - 2);
            const bool removal = path.startsWith(QLatin1Char('-'));
            if (removal)
                path.remove(0, 1);
            const QString full = normalise(path);
            const int slash = full.indexOf(QLatin1Char('\\'));
            const QString head = slash < 0 ? full : full.left(slash);
            if (head != root)
                continue;
            const QString below = slash < 0 ? QString() : full.mid(slash + 1);
            if (removal) {
                removeKey(below);
                continue;
            }
            inRoot = true;
            current = below;
            m_keys[current];   // the key exists, even without values
            continue;
        }
        if (!inRoot)
            continue;
        QString name;
        int pos = 0;
        if (!line.startsWith(QLatin1Char('@')) && !readQuoted(line, pos, &name))
            continue;
        const QString data = dataPart(line);
        if (data.isNull())
            continue;
        Value value;
        bool remove = false;
        if (!parseData(data, format, &value, &remove))
            continue;
        if (remove)
            m_keys[current].remove(name.toLower());
        else
            m_keys[current].insert(name.toLower(), value);
    }
    return true;
}

void Hive::removeKey(const QString &path)
{
    const QString prefix = path + QLatin1Char('\\');
    for (auto it = m_keys.begin(); it != m_keys.end();) {
        if (path.isEmpty() || it.key() == path || it.key().startsWith(prefix))
            it = m_keys.erase(it);
        else
            ++it;
    }
}

bool Hive::hasKey(const QString &path) const
{
    const QString key = normalise(path);
    if (key.isEmpty())
        return true;   // the root itself
    if (m_keys.contains(key))
        return true;
    // A key named only through one of its subkeys exists as well.
    const QString prefix = key + QLatin1Char('\\');
    auto it = m_keys.lowerBound(prefix);
    return it != m_keys.end() && it.key().startsWith(prefix);
}

const Value *Hive::value(const QString &path, const QString &name) const
{
    auto key = m_keys.constFind(normalise(path));
    if (key == m_keys.constEnd())
        return nullptr;
    auto v = key->constFind(name.toLower());
    return v == key->constEnd() ? nullptr : &*v;
}

QMap<QString, Value> Hive::values(const QString &path) const
{
    return m_keys.value(normalise(path));
}

} // namespace registry
