#pragma once
// The editor's document file format, with no dependency beyond the standard library so
// that the fuzzer and the tests link it on its own.
//
// A document file is one double-quoted field holding the whole text in Windows-1252,
// followed by CR LF. Files are read back as a sequence of comma- and line-delimited
// fields, each of which becomes one line of the text.
#include <cstddef>
#include <string>
#include <string_view>

namespace editor::format {

// Reads a file's bytes as delimited fields and returns the fields' values, each followed
// by CR LF, still in the file's 8-bit code page. One pass; any bytes are accepted:
//  - spaces before a field are skipped;
//  - a field that begins with a double quote runs to the next double quote (commas and
//    line breaks included); without one it runs to the end of the file; whatever stands
//    between the closing quote and the next delimiter is added to the value as plain
//    text, the spaces around it dropped;
//  - any other field runs to the next comma or line end, the spaces around it dropped;
//  - a line end is CR LF, a lone CR or a lone LF; the delimiter belongs to its field.
std::string readFields(std::string_view file);

// The largest size readFields can return for an input of `size` bytes: every field adds
// at most two bytes to what it consumes, and every field but the last consumes one.
constexpr std::size_t maxFieldsSize(std::size_t size) { return 3 * size + 2; }

// Windows-1252 to UTF-16. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the control characters of the same number, as Windows maps
// them. Line ends (CR LF, lone CR, lone LF) become one LF each, the form the text area
// keeps. `out` must have room for bytes.size() units; returns the number written.
std::size_t decodeText(std::string_view bytes, char16_t *out);

// The byte for a character, or -1 when Windows-1252 cannot represent it.
int encodeChar(char32_t c);

// Builds a document file from text handed over in pieces (the text area gives it one
// line at a time). Line breaks (LF, CR LF, U+2028, U+2029) are written as CR LF; a
// character the code page cannot represent is written as '?' and counted.
class Writer {
public:
    Writer();
    void reserve(std::size_t bytes) { m_bytes.reserve(bytes); }
    void append(std::u16string_view text);
    void appendLineBreak();
    // Closes the field; the bytes are complete after this.
    std::string finish();

    std::size_t unrepresentable() const { return m_unrepresentable; }
    // The first character that could not be represented, and the 1-based line it is on.
    char32_t firstUnrepresentable() const { return m_first; }
    std::size_t firstUnrepresentableLine() const { return m_firstLine; }

private:
    void put(char32_t c);

    std::string m_bytes;
    char16_t m_highSurrogate = 0;
    bool m_pendingCR = false;
    std::size_t m_line = 1;
    std::size_t m_unrepresentable = 0;
    char32_t m_first = 0;
    std::size_t m_firstLine = 0;
};

// The whole file for a text in one piece.
std::string writeDocument(std::u16string_view text);

} // namespace editor::format
