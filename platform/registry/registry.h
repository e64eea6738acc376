#pragma once
// Read-only registry look-ups with the calling conventions of the desktop the programs
// were written for: open a key below a root, query a value into a caller's buffer,
// close the key. Results are that desktop's error codes.
//
// The values live in text files in the .reg format, one file per root, named after it:
// tavolin/registry/HKEY_LOCAL_MACHINE.reg in $XDG_CONFIG_HOME (~/.config), then in each
// folder of $XDG_CONFIG_DIRS (/etc/xdg). A value in an earlier folder hides the same
// value in a later one. The files are read again on every open, so an edit counts at
// once. Nothing is ever written, and no values are present unless a file gives them.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace registry {

using Key = std::uint32_t;   // a 32-bit key handle

// The predefined roots.
constexpr Key HKEY_CLASSES_ROOT = 0x80000000u;
constexpr Key HKEY_CURRENT_USER = 0x80000001u;
constexpr Key HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr Key HKEY_USERS = 0x80000003u;
constexpr Key HKEY_CURRENT_CONFIG = 0x80000005u;

// Result codes.
namespace Result {
constexpr long Success = 0;
constexpr long FileNotFound = 2;      // no such key or value
constexpr long InvalidHandle = 6;
constexpr long InvalidParameter = 87;
constexpr long MoreData = 234;        // the value does not fit into the buffer
}

// Value types.
namespace Type {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t Text = 1;          // REG_SZ
constexpr std::uint32_t ExpandText = 2;    // REG_EXPAND_SZ
constexpr std::uint32_t Binary = 3;        // REG_BINARY
constexpr std::uint32_t Number = 4;        // REG_DWORD, little-endian
constexpr std::uint32_t MultiText = 7;     // REG_MULTI_SZ
}

// Opens `subKey` (backslash-separated, any case) below `root`, which is a predefined
// root or a key opened before. Options and access mask are accepted as given; every
// key is readable. On success `*result` is a new handle to close with closeKey.
long openKey(Key root, const QByteArray &subKey, std::uint32_t options, std::uint32_t access,
             Key *result);

// Reads the value `name` (any case; empty for the key's default value). `*count` holds
// the buffer size in bytes on entry and the value's size on return. Texts come in the
// 8-bit code page with their trailing NUL, which the size includes. When the buffer
// is too small the result is MoreData, `*count` is the size needed and the buffer is
// left alone. A null `data` asks for the type and size only. `reserved` must be null.
long queryValue(Key key, const QByteArray &name, std::uint32_t *reserved, std::uint32_t *type,
                unsigned char *data, std::uint32_t *count);

// Releases a handle from openKey. InvalidHandle for anything else, including 0.
long closeKey(Key key);

// The files read for a root, most important first. Empty for an unknown root.
QStringList filesFor(Key root);
// "HKEY_LOCAL_MACHINE" and so on; empty for anything that is not a predefined root.
QString rootName(Key root);

// How many handles are open (for tests that check every open is closed).
int openHandleCount();

} // namespace registry
