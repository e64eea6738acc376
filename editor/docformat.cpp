#include "editor/docformat.h"
#include <cstring>

namespace editor::format {

namespace {

// Windows-1252 from 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr char16_t High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// Skips the comma or line end at `pos`, if there is one.
std::size_t skipDelimiter(std::string_view s, std::size_t pos)
{
    if (pos >= s.size())
        return pos;
    if (s[pos] == ',' || s[pos] == '\n')
        return pos + 1;
    if (s[pos] == '\r')
        return pos + 1 < s.size() && s[pos + 1] == '\n' ? pos + 2 : pos + 1;
    return pos;
}

// The end of the run before the next comma or line end.
std::size_t findDelimiter(std::string_view s, std::size_t pos)
{
    while (pos < s.size() && s[pos] != ',' && !isLineEnd(s[pos]))
        ++pos;
    return pos;
}

std::string_view trimSpaces(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

std::string readFields(std::string_view file)
{
    std::string out;
    out.reserve(file.size() + 2);
    std::size_t pos = 0;
    const std::size_t n = file.size();
    while (pos < n) {
        while (pos < n && file[pos] == ' ')
            ++pos;
        if (pos < n && file[pos] == '"') {
            const std::size_t start = pos + 1;
            const void *q = start < n ? std::memchr(file.data() + start, '"', n - start) : nullptr;
            if (!q) {
                out.append(file.substr(start));
                pos = n;
            } else {
                const std::size_t close = std::size_t(static_cast<const char *>(q) - file.data());
                out.append(file.substr(start, close - start));
                const std::size_t end = findDelimiter(file, close + 1);
                out.append(trimSpaces(file.substr(close + 1, end - close - 1)));
                pos = skipDelimiter(file, end);
            }
        } else {
            const std::size_t end = findDelimiter(file, pos);
            out.append(trimSpaces(file.substr(pos, end - pos)));
            pos = skipDelimiter(file, end);
        }
        out.append("\r\n", 2);
    }
    return out;
}

std::size_t decodeText(std::string_view bytes, char16_t *out)
{
    std::size_t w = 0;
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\r') {
            if (i + 1 < n && bytes[i + 1] == '\n')
                ++i;
            out[w++] = u'\n';
        } else if (b >= 0x80 && b < 0xA0) {
            out[w++] = High[b - 0x80];
        } else {
            out[w++] = char16_t(b);
        }
    }
    return w;
}

int encodeChar(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (int i = 0; i < 32; ++i) {
        if (High[i] == c)
            return 0x80 + i;
    }
    return -1;
}

Writer::Writer() { m_bytes.push_back('"'); }

void Writer::put(char32_t c)
{
    int b = c < 0x80 ? int(c) : encodeChar(c);
    if (b < 0) {
        if (m_unrepresentable++ == 0) {
            m_first = c;
            m_firstLine = m_line;
        }
        b = '?';
    }
    m_bytes.push_back(char(b));
}

void Writer::appendLineBreak()
{
    m_bytes.append("\r\n", 2);
    ++m_line;
}

void Writer::append(std::u16string_view text)
{
    for (char16_t u : text) {
        if (m_highSurrogate) {
            const char16_t high = m_highSurrogate;
            m_highSurrogate = 0;
            if (u >= 0xDC00 && u <= 0xDFFF) {
                put(0x10000 + ((char32_t(high) - 0xD800) << 10) + (u - 0xDC00));
                continue;
            }
            put(high);   // a lone high surrogate
        }
        const bool afterCR = m_pendingCR;
        m_pendingCR = false;
        if (u == u'\n') {
            if (!afterCR)
                appendLineBreak();
        } else if (u == u'\r') {
            appendLineBreak();
            m_pendingCR = true;
        } else if (u == 0x2028 || u == 0x2029) {
            appendLineBreak();
        } else if (u >= 0xD800 && u <= 0xDBFF) {
            m_highSurrogate = u;
        } else if (u < 0x80) {
            m_bytes.push_back(char(u));
        } else {
            put(u);
        }
    }
}

std::string Writer::finish()
{
    if (m_highSurrogate) {
        put(m_highSurrogate);
        m_highSurrogate = 0;
    }
    m_bytes.append("\"\r\n", 3);
    return std::move(m_bytes);
}

std::string writeDocument(std::u16string_view text)
{
    Writer writer;
    writer.reserve(text.size() + 4);
    writer.append(text);
    return writer.finish();
}

} // namespace editor::format
