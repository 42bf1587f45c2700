// Reading one text value from the Windows registry the way the About dialog's look-up of the
// system-information tool does (GetKeyValue). The raw read sits behind `registry`, which the
// Windows build fills with the Win32 registry functions (registry_windows.h); what is made of the
// returned bytes is a plain function, the same on every platform.
#pragma once

#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QString>

namespace ventora::app {

// HKEY_LOCAL_MACHINE as a 32-bit root key handle.
inline constexpr std::uint32_t hkey_local_machine = 0x80000002U;
// Access mask for opening the key: query value, set value, create sub-key, enumerate sub-keys,
// notify, create link, plus read control.
inline constexpr std::uint32_t key_open_access = 0x2003FU;
// The query's buffer: a value longer than this does not fit and counts as not found.
inline constexpr int key_value_buffer_size = 1024;

inline constexpr std::uint32_t reg_sz = 1;
inline constexpr std::uint32_t reg_dword = 4;

// What RegQueryValueExA reported for a value: its type and all of its bytes, as stored (a string
// value may or may not carry its terminating zero).
struct raw_registry_value {
    std::uint32_t type = 0;
    QByteArray data;
};

class registry {
public:
    virtual ~registry() = default;
    // Opens `key` under `root` with key_open_access and queries `value_name`, closing the key
    // again whatever happened. Empty when the key cannot be opened or the value cannot be read.
    // Names are code-page text.
    virtual std::optional<raw_registry_value> read(std::uint32_t root, const QString& key,
                                                   const QString& value_name) = 0;
};

struct key_value {
    bool found = false;
    QString text;
};

// Decodes a registry reply into GetKeyValue's result, given the output text it was handed.
// - No reply, or more than key_value_buffer_size bytes: not found, empty text.
// - The value's text is its bytes without a final zero byte, in the ANSI code page (936: GB2312
//   and its GBK extension).
// - REG_SZ: found, the value's text.
// - REG_DWORD: the code of each character of the text, last character first, in upper-case
//   hexadecimal without leading zeros, appended to `output`; "&h" goes in front and the whole is
//   passed through general formatting (see format_hex_text). Found.
// - Any other type: found, `output` unchanged.
key_value decode_key_value(const std::optional<raw_registry_value>& reply, const QString& output);

// GetKeyValue: reads `value_name` of `key` under `root` as text.
key_value get_key_value(registry& source, std::uint32_t root, const QString& key,
                        const QString& value_name, const QString& output);

// General formatting of "&h" + hexadecimal digits: such a text is a number, written in plain
// decimal (digits read as an unsigned value). A text that does not form one (no digits, more
// than 64 bits) stays as it is.
QString format_hex_text(const QString& text);

}  // namespace ventora::app
