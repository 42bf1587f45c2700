#include <gtest/gtest.h>

#include <QString>

#include "registry.h"

using namespace ventora::app;

namespace {

struct decode_case {
    const char* name;
    std::optional<raw_registry_value> reply;
    QString output_before;
    bool found;
    QString text;
};

void PrintTo(const decode_case& c, std::ostream* os) { *os << c.name; }

raw_registry_value value(std::uint32_t type, const QByteArray& bytes) { return {type, bytes}; }

QByteArray repeated(char c, int n) { return QByteArray(n, c); }

// "C:\程序\系统信息.EXE" in code page 936 (程 B3CC, 序 D0F2, 系 CFB5, 统 CDB3, 信 D0C5, 息 CFA2).
const QByteArray gb_path("C:\\\xB3\xCC\xD0\xF2\\\xCF\xB5\xCD\xB3\xD0\xC5\xCF\xA2.EXE");
const QString gb_path_text = QStringLiteral("C:\\程序\\系统信息.EXE");

const decode_case decode_cases[] = {
    {"NoReplyIsNotFoundAndClearsTheOutput", std::nullopt, "previous", false, ""},
    {"StringWithoutTerminatingZero", value(reg_sz, "C:\\WINDOWS\\MSINFO32.EXE"), "", true,
     "C:\\WINDOWS\\MSINFO32.EXE"},
    {"StringWithTerminatingZero", value(reg_sz, QByteArray("C:\\WINDOWS\\MSINFO32.EXE", 24)), "",
     true, "C:\\WINDOWS\\MSINFO32.EXE"},
    {"GbStringWithoutTerminatingZero", value(reg_sz, gb_path), "", true, gb_path_text},
    {"GbStringWithTerminatingZero", value(reg_sz, gb_path + QByteArray(1, '\0')), "", true,
     gb_path_text},
    {"StringReplacesThePreviousOutput", value(reg_sz, "D:\\"), "previous", true, "D:\\"},
    {"EmptyString", value(reg_sz, QByteArray()), "previous", true, ""},
    {"StringOfOnlyTheZero", value(reg_sz, QByteArray(1, '\0')), "previous", true, ""},
    {"OnlyTheLastZeroIsDropped", value(reg_sz, QByteArray("ab\0\0", 4)), "", true,
     QString::fromLatin1("ab\0", 3)},
    {"ExactlyTheBufferSize", value(reg_sz, repeated('a', 1024)), "", true,
     QString(1024, QLatin1Char('a'))},
    {"BufferSizeWithItsZero", value(reg_sz, repeated('a', 1023) + QByteArray(1, '\0')), "", true,
     QString(1023, QLatin1Char('a'))},
    {"OneByteOverTheBufferIsNotFound", value(reg_sz, repeated('a', 1025)), "previous", false, ""},
    {"FullBufferPlusZeroIsNotFound", value(reg_sz, repeated('a', 1024) + QByteArray(1, '\0')),
     "previous", false, ""},
    {"OverlongDwordIsNotFound", value(reg_dword, repeated('\x01', 1025)), "previous", false, ""},
    {"ExpandStringLeavesTheOutput", value(2, "%SystemRoot%\\MSINFO32.EXE"), "previous", true,
     "previous"},
    {"BinaryLeavesTheOutput", value(3, "\x01\x02"), "", true, ""},
    {"MultiStringLeavesTheOutput", value(7, QByteArray("a\0b\0\0", 5)), "kept", true, "kept"},
    // REG_DWORD: the characters' codes, last first, without leading zeros, then "&h" and general
    // formatting. 1 is stored 01 00 00 00: the final zero goes, "0" "0" "1" gives &h001 = 1.
    {"DwordOne", value(reg_dword, QByteArray("\x01\x00\x00\x00", 4)), "", true, "1"},
    {"DwordWithoutZeroBytes", value(reg_dword, QByteArray("\x78\x56\x34\x12", 4)), "", true,
     "305419896"},  // &h12345678
    // 0x0102 is stored 02 01 00 00: "0" "1" "2" gives &h012 = 18, not 258.
    {"DwordLosesTheLeadingZeroOfEachByte", value(reg_dword, QByteArray("\x02\x01\x00\x00", 4)),
     "", true, "18"},
    {"DwordZero", value(reg_dword, QByteArray(4, '\0')), "", true, "0"},
    // B0 A1 is the double-byte character 啊, whose code is B0A1: "0" "B0A1" gives &h0B0A1.
    {"DwordWithDoubleByteCharacter", value(reg_dword, QByteArray("\xB0\xA1\x00\x00", 4)), "", true,
     "45217"},
    {"DwordAppendsToTheOutput", value(reg_dword, QByteArray("\x01\x00\x00\x00", 4)), "7", true,
     "28673"},  // &h7001
    {"DwordWithNoCharactersStaysText", value(reg_dword, QByteArray(1, '\0')), "", true, "&h"},
};

class DecodeKeyValue : public testing::TestWithParam<decode_case> {};

TEST_P(DecodeKeyValue, GivesGetKeyValueResult) {
    const decode_case& c = GetParam();
    const key_value result = decode_key_value(c.reply, c.output_before);
    EXPECT_EQ(result.found, c.found);
    EXPECT_EQ(result.text.toStdString(), c.text.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Registry, DecodeKeyValue, testing::ValuesIn(decode_cases),
                         [](const auto& info) { return std::string(info.param.name); });

struct hex_case {
    const char* name;
    const char* text;
    const char* formatted;
};

void PrintTo(const hex_case& c, std::ostream* os) { *os << c.name; }

const hex_case hex_cases[] = {
    {"LowerCasePrefix", "&h1A", "26"},
    {"UpperCasePrefixLowerDigits", "&H1a", "26"},
    {"LeadingZeros", "&h0010", "16"},
    {"SixteenDigitsFit", "&hFFFFFFFFFFFFFFFF", "18446744073709551615"},
    {"SeventeenDigitsStayText", "&h10000000000000000", "&h10000000000000000"},
    {"NoDigitsStayText", "&h", "&h"},
    {"NonHexDigitStaysText", "&h1G", "&h1G"},
    {"SignStaysText", "&h-1", "&h-1"},
    {"CPrefixStaysText", "&h0x1", "&h0x1"},
    {"NoPrefixStaysText", "1A", "1A"},
};

class FormatHexText : public testing::TestWithParam<hex_case> {};

TEST_P(FormatHexText, WritesTheNumberInDecimal) {
    const hex_case& c = GetParam();
    EXPECT_EQ(format_hex_text(QString::fromLatin1(c.text)).toStdString(), c.formatted);
}

INSTANTIATE_TEST_SUITE_P(Registry, FormatHexText, testing::ValuesIn(hex_cases),
                         [](const auto& info) { return std::string(info.param.name); });

// A registry that answers from a table and remembers what it was asked.
class table_registry : public registry {
public:
    std::optional<raw_registry_value> read(std::uint32_t root, const QString& key,
                                           const QString& value_name) override {
        asked.push_back({root, key, value_name});
        if (key == stored_key && value_name == stored_name) return stored;
        return std::nullopt;
    }
    struct question {
        std::uint32_t root;
        QString key;
        QString value_name;
    };
    std::vector<question> asked;
    QString stored_key;
    QString stored_name;
    raw_registry_value stored;
};

TEST(GetKeyValue, ReadsTheNamedValueAndDecodesIt) {
    table_registry reg;
    reg.stored_key = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    reg.stored_name = QStringLiteral("PATH");
    reg.stored = value(reg_sz, gb_path + QByteArray(1, '\0'));
    const key_value result = get_key_value(reg, hkey_local_machine, reg.stored_key,
                                           reg.stored_name, QString());
    ASSERT_EQ(reg.asked.size(), 1U);
    EXPECT_EQ(reg.asked[0].root, 0x80000002U);
    EXPECT_TRUE(result.found);
    EXPECT_EQ(result.text, gb_path_text);
}

TEST(GetKeyValue, MissingValueIsNotFoundWithEmptyText) {
    table_registry reg;
    const key_value result = get_key_value(reg, hkey_local_machine, QStringLiteral("SOFTWARE\\X"),
                                           QStringLiteral("Y"), QStringLiteral("previous"));
    EXPECT_FALSE(result.found);
    EXPECT_TRUE(result.text.isEmpty());
}

}  // namespace
