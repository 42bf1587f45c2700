#include "registry.h"

#ifdef _WIN32
#include "registry_windows.h"
#endif

#include <QList>
#include <QStringDecoder>

namespace ventora::app {
namespace {

// Code page 936 splits its bytes into characters this way: a lead byte 0x81-0xFE followed by a
// trail byte 0x40-0xFE (not 0x7F) is one double-byte character, any other byte stands alone.
// A character's code is its byte, or lead * 256 + trail.
QList<unsigned> code_page_characters(const QByteArray& bytes) {
    QList<unsigned> codes;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead >= 0x81 && lead <= 0xFE && i + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) {
                codes.append(lead * 256U + trail);
                ++i;
                continue;
            }
        }
        codes.append(lead);
    }
    return codes;
}

QString code_page_text(const QByteArray& bytes) {
#ifdef _WIN32
    // Qt without ICU knows no GB18030 on Windows; Windows itself knows code page 936.
    return code_page_936_text(bytes);
#else
    // GB18030 contains code page 936 byte for byte.
    QStringDecoder decode("GB18030");
    return decode(bytes);
#endif
}

}  // namespace

key_value decode_key_value(const std::optional<raw_registry_value>& reply, const QString& output) {
    if (!reply || reply->data.size() > key_value_buffer_size) return {false, QString()};

    QByteArray bytes = reply->data;
    if (!bytes.isEmpty() && bytes.back() == '\0') bytes.chop(1);

    switch (reply->type) {
        case reg_sz:
            return {true, code_page_text(bytes)};
        case reg_dword: {
            QString hex = output;
            const QList<unsigned> codes = code_page_characters(bytes);
            for (auto it = codes.crbegin(); it != codes.crend(); ++it)
                hex += QString::number(*it, 16).toUpper();
            return {true, format_hex_text(QStringLiteral("&h") + hex)};
        }
        default:
            return {true, output};
    }
}

key_value get_key_value(registry& source, std::uint32_t root, const QString& key,
                        const QString& value_name, const QString& output) {
    return decode_key_value(source.read(root, key, value_name), output);
}

QString format_hex_text(const QString& text) {
    if (!text.startsWith(QStringLiteral("&h"), Qt::CaseInsensitive)) return text;
    const QStringView digits = QStringView(text).mid(2);
    if (digits.isEmpty() || digits.size() > 16) return text;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        const bool hex_digit = (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') ||
                               (u >= u'A' && u <= u'F');
        if (!hex_digit) return text;
    }
    return QString::number(digits.toULongLong(nullptr, 16));
}

}  // namespace ventora::app
