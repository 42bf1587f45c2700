#include "registry_windows.h"

#include <windows.h>

#include <vector>

namespace ventora::app {

QString code_page_936_text(const QByteArray& bytes) {
    if (bytes.isEmpty()) return {};
    const int n = ::MultiByteToWideChar(936, 0, bytes.constData(), static_cast<int>(bytes.size()), nullptr, 0);
    QString text(n, Qt::Uninitialized);
    ::MultiByteToWideChar(936, 0, bytes.constData(), static_cast<int>(bytes.size()),
                          reinterpret_cast<wchar_t*>(text.data()), n);
    return text;
}

QByteArray code_page_936_bytes(const QString& text) {
    if (text.isEmpty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int n = ::WideCharToMultiByte(936, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray bytes(n, Qt::Uninitialized);
    ::WideCharToMultiByte(936, 0, wide, static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

std::optional<raw_registry_value> win32_registry::read(std::uint32_t root, const QString& key,
                                                       const QString& value_name) {
    // The predefined keys are 32-bit values sign-extended into a handle (HKEY_LOCAL_MACHINE is
    // (HKEY)(ULONG_PTR)(LONG)0x80000002).
    const HKEY root_key = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root_key, reinterpret_cast<const wchar_t*>(key.utf16()), 0, KEY_QUERY_VALUE,
                        &opened) != ERROR_SUCCESS)
        return std::nullopt;
    const auto* name = reinterpret_cast<const wchar_t*>(value_name.utf16());
    DWORD type = 0;
    DWORD size = 0;
    LSTATUS status = ::RegQueryValueExW(opened, name, nullptr, &type, nullptr, &size);
    std::vector<BYTE> data;
    // A value may grow between the two calls: ask again with the new size.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        data.resize(size);
        status = ::RegQueryValueExW(opened, name, nullptr, &type, data.data(), &size);
        if (status == ERROR_SUCCESS) {
            data.resize(size);
            break;
        }
    }
    ::RegCloseKey(opened);
    if (status != ERROR_SUCCESS) return std::nullopt;

    raw_registry_value value;
    value.type = type;
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        // UTF-16 as stored, zeros included, into the code page the decoding reads.
        const QString text(reinterpret_cast<const QChar*>(data.data()),
                           static_cast<qsizetype>(data.size() / sizeof(char16_t)));
        value.data = code_page_936_bytes(text);
    } else {
        value.data = QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    }
    return value;
}

}  // namespace ventora::app
