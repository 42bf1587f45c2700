// The Windows registry behind `registry`: RegOpenKeyExW, RegQueryValueExW, RegCloseKey.
#pragma once

#include "registry.h"

namespace ventora::app {

// Names go to the registry as UTF-16, so any key name is found whatever the ANSI code page. A
// string value (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) is handed on as the code-page 936 bytes
// decode_key_value reads, with its terminating zero; any other value as its bytes. The key
// is opened for reading values only: the program never writes there, and a standard user may
// not write under HKEY_LOCAL_MACHINE, so asking for more would fail the look-up for them.
// Code page 936 through Windows' own tables (Qt without ICU has no GB18030 there).
QString code_page_936_text(const QByteArray& bytes);
QByteArray code_page_936_bytes(const QString& text);

class win32_registry : public registry {
public:
    std::optional<raw_registry_value> read(std::uint32_t root, const QString& key,
                                           const QString& value_name) override;
};

}  // namespace ventora::app
