#include "forms/colors.h"
#include <QApplication>
#include <QPalette>

namespace forms {

static QColor systemColor(int index)
{
    const QPalette pal = QApplication::palette();
    switch (index) {
    case 0x00: return pal.color(QPalette::Window);            // scroll bars
    case 0x01: return pal.color(QPalette::Dark);              // desktop
    case 0x02: return pal.color(QPalette::Active, QPalette::Highlight);   // active title bar
    case 0x03: return pal.color(QPalette::Inactive, QPalette::Window);    // inactive title bar
    case 0x04: return pal.color(QPalette::Base);              // menu bar
    case 0x05: return pal.color(QPalette::Base);              // window background
    case 0x06: return pal.color(QPalette::Shadow);            // window frame
    case 0x07: return pal.color(QPalette::Text);              // menu text
    case 0x08: return pal.color(QPalette::WindowText);        // window text
    case 0x09: return pal.color(QPalette::HighlightedText);   // active title text
    case 0x0A: return pal.color(QPalette::Mid);               // active border
    case 0x0B: return pal.color(QPalette::Inactive, QPalette::Midlight); // inactive border
    case 0x0C: return pal.color(QPalette::Dark);              // application workspace
    case 0x0D: return pal.color(QPalette::Highlight);
    case 0x0E: return pal.color(QPalette::HighlightedText);
    case 0x0F: return pal.color(QPalette::Button);
    case 0x10: return pal.color(QPalette::Dark);              // button shadow
    case 0x11: return pal.color(QPalette::Disabled, QPalette::WindowText);
    case 0x12: return pal.color(QPalette::ButtonText);
    case 0x13: return pal.color(QPalette::Inactive, QPalette::WindowText);
    case 0x14: return pal.color(QPalette::Light);             // button highlight
    case 0x15: return pal.color(QPalette::Shadow);            // 3-D dark shadow
    case 0x16: return pal.color(QPalette::Midlight);          // 3-D light
    case 0x17: return pal.color(QPalette::ToolTipText);
    case 0x18: return pal.color(QPalette::ToolTipBase);
    default: return pal.color(QPalette::Window);
    }
}

QColor color(std::uint32_t value)
{
    if ((value >> 24) == 0x80)
        return systemColor(int(value & 0xFF));
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QColor color(const QString &text)
{
    QString t = text.trimmed();
    if (!t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
        return {};
    t = t.mid(2);
    if (t.endsWith(QLatin1Char('&')))
        t.chop(1);
    bool ok = false;
    const std::uint32_t v = t.toUInt(&ok, 16);
    return ok ? color(v) : QColor();
}

} // namespace forms
