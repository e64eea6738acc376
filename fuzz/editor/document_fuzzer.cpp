// Feeds any bytes to the document reader, decodes them, writes the text back and reads
// it again, checking what must hold for every file.
#include "editor/docformat.h"
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace editor::format;

namespace {
void check(bool ok)
{
    if (!ok)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char *>(data), size);

    // Every field ends in CR LF, and the text stays within its bound.
    const std::string fields = readFields(file);
    check(fields.size() <= maxFieldsSize(size));
    check(size == 0 ? fields.empty() : fields.size() >= 2 && fields.compare(fields.size() - 2, 2, "\r\n") == 0);

    std::u16string text(fields.size(), u'\0');
    const std::size_t n = decodeText(fields, text.data());
    check(n <= fields.size());
    text.resize(n);
    for (char16_t c : text)
        check(c != u'\r');

    // Whatever was read can be written back without loss, whole or in pieces.
    Writer whole;
    whole.append(text);
    const std::string written = whole.finish();
    check(whole.unrepresentable() == 0);
    Writer pieces;
    const std::size_t cut = size ? data[0] % (text.size() + 1) : 0;
    pieces.append(std::u16string_view(text).substr(0, cut));
    pieces.append(std::u16string_view(text).substr(cut));
    check(pieces.finish() == written);

    // A text without double quotes comes back with one more line end.
    if (text.find(u'"') == std::u16string::npos) {
        const std::string again = readFields(written);
        std::u16string back(again.size(), u'\0');
        back.resize(decodeText(again, back.data()));
        check(back == text + u"\n");
    }
    return 0;
}
