// The Windows registry read through win32_registry and decoded as the About dialog's look-up
// does: one value of each type, written under HKEY_CURRENT_USER by the test and removed after.
#include <gtest/gtest.h>
#include <windows.h>

#include <QString>

#include "registry_windows.h"

using namespace ventora::app;

namespace {

constexpr std::uint32_t hkey_current_user = 0x80000001U;
const QString test_key = QStringLiteral("Software\\Corvalent\\ventora-registry-test");

struct stored_value {
    const wchar_t* name;
    DWORD type;
    std::basic_string<BYTE> bytes;
};

std::basic_string<BYTE> wide_bytes(const std::wstring& text) {  // with its terminating zero
    const auto* p = reinterpret_cast<const BYTE*>(text.c_str());
    return {p, p + (text.size() + 1) * sizeof(wchar_t)};
}

class registry_windows : public testing::Test {
protected:
    void SetUp() override {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(test_key.utf16()), 0,
                                    nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const DWORD dword = 0x12345678;
        const stored_value values[] = {
            {L"chinese_sz", REG_SZ, wide_bytes(L"C:\\程序\\系统信息.EXE")},
            {L"expand_sz", REG_EXPAND_SZ, wide_bytes(L"%SystemRoot%\\system32")},
            {L"multi_sz", REG_MULTI_SZ, wide_bytes(std::wstring(L"a\0b\0", 4))},
            {L"dword", REG_DWORD, {reinterpret_cast<const BYTE*>(&dword), reinterpret_cast<const BYTE*>(&dword) + 4}},
            {L"binary", REG_BINARY, {1, 2, 3}},
            // 1023 characters and the zero: 1024 bytes in the code page, the most that fits.
            {L"sz_1024", REG_SZ, wide_bytes(std::wstring(1023, L'x'))},
            {L"sz_1025", REG_SZ, wide_bytes(std::wstring(1024, L'x'))},
            // 1202 bytes as stored (UTF-16) but 601 in the code page: it fits.
            {L"sz_600", REG_SZ, wide_bytes(std::wstring(600, L'y'))},
        };
        for (const stored_value& v : values)
            ASSERT_EQ(::RegSetValueExW(key, v.name, 0, v.type, v.bytes.data(), static_cast<DWORD>(v.bytes.size())),
                      ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    void TearDown() override {
        ::RegDeleteKeyW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(test_key.utf16()));
    }

    key_value read(const QString& name, const QString& key = test_key,
                   const QString& output = QStringLiteral("before")) {
        win32_registry reg;
        return get_key_value(reg, hkey_current_user, key, name, output);
    }
};

TEST_F(registry_windows, ValueOfEachType) {
    struct row {
        const char* what;
        QString name;
        bool found;
        QString text;
    };
    const row rows[] = {
        {"a Chinese string arrives whole", QStringLiteral("chinese_sz"), true, QStringLiteral("C:\\程序\\系统信息.EXE")},
        {"an expandable string leaves the text", QStringLiteral("expand_sz"), true, QStringLiteral("before")},
        {"a multi-string leaves the text", QStringLiteral("multi_sz"), true, QStringLiteral("before")},
        {"binary leaves the text", QStringLiteral("binary"), true, QStringLiteral("before")},
        {"1024 bytes fit", QStringLiteral("sz_1024"), true, QString(1023, QLatin1Char('x'))},
        {"1025 bytes do not", QStringLiteral("sz_1025"), false, QString()},
        {"the size counts code-page bytes, not UTF-16", QStringLiteral("sz_600"), true, QString(600, QLatin1Char('y'))},
        {"a missing value", QStringLiteral("no_such_value"), false, QString()},
    };
    for (const row& r : rows) {
        const key_value got = read(r.name);
        EXPECT_EQ(got.found, r.found) << r.what;
        EXPECT_EQ(got.text, r.text) << r.what;
    }
    // 0x12345678 stored little-endian, its bytes read last first: 305419896 (from an empty text:
    // the digits are appended to it).
    const key_value dword = read(QStringLiteral("dword"), test_key, QString());
    EXPECT_TRUE(dword.found);
    EXPECT_EQ(dword.text, QStringLiteral("305419896"));
    const key_value missing_key = read(QStringLiteral("dword"), test_key + QStringLiteral("\\不存在"));
    EXPECT_FALSE(missing_key.found);
}

TEST_F(registry_windows, StringBytesAreTheCodePageOnesWithTheirZero) {
    win32_registry reg;
    const std::optional<raw_registry_value> raw = reg.read(hkey_current_user, test_key, QStringLiteral("chinese_sz"));
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->type, reg_sz);
    // 程 B3CC, 序 D0F2, 系 CFB5, 统 CDB3, 信 D0C5, 息 CFA2 in code page 936.
    EXPECT_EQ(raw->data, QByteArray("C:\\\xB3\xCC\xD0\xF2\\\xCF\xB5\xCD\xB3\xD0\xC5\xCF\xA2.EXE", 21));
}

}  // namespace
