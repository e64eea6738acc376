#pragma once
// Colours in the toolkit's &H…& form: the low three bytes are blue, green and red;
// a high byte of 0x80 names a system colour, taken from the desktop's palette.
#include <QColor>
#include <QString>
#include <cstdint>

namespace forms {

namespace SystemColor {
constexpr std::uint32_t Menu = 0x80000004;
constexpr std::uint32_t InactiveBorder = 0x8000000B;
constexpr std::uint32_t Highlight = 0x8000000D;
constexpr std::uint32_t HighlightText = 0x8000000E;
constexpr std::uint32_t ButtonFace = 0x8000000F;
}

QColor color(std::uint32_t value);
// Parses "&H00FFFFFF&" (the trailing & optional); an unreadable text gives an invalid QColor.
QColor color(const QString &text);

} // namespace forms
