// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextDecoding.h"

#include "IconvConverter.h"

#include <QByteArrayView>

#include <array>

namespace {

constexpr const char* kBom = "\xEF\xBB\xBF";

const char* iconvName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Windows1250:
            return "WINDOWS-1250";
        case TextEncoding::Iso88592:
            return "ISO-8859-2";
        case TextEncoding::Cp852:
            return "CP852";
        case TextEncoding::Utf8:
            break;
    }
    return "UTF-8";
}

bool isPolishLetter(char16_t c) {
    static const std::u16string letters = u"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ";
    return letters.find(c) != std::u16string::npos;
}

// For each byte above 127: +1 when the code page reads it as a Polish letter, 0 otherwise.
std::array<int, 128> polishTable(TextEncoding encoding) {
    std::string high(128, '\0');
    for (int i = 0; i < 128; ++i) {
        high[size_t(i)] = static_cast<char>(128 + i);
    }
    const std::u16string text = CodePageToUtf16(high, iconvName(encoding));
    std::array<int, 128> table{};
    for (size_t i = 0; i < table.size() && i < text.size(); ++i) {
        table[i] = isPolishLetter(text[i]) ? 1 : 0;
    }
    return table;
}

int polishScore(const std::string& bytes, TextEncoding encoding) {
    static const std::array<std::array<int, 128>, 3> tables = {
        polishTable(TextEncoding::Windows1250), polishTable(TextEncoding::Iso88592),
        polishTable(TextEncoding::Cp852)};
    const auto& table = tables[size_t(encoding) - 1];
    int score = 0;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 128) {
            score += table[byte - 128];
        }
    }
    return score;
}

}  // namespace

namespace TextDecoding {

bool IsUtf8(const std::string& bytes) {
    return QByteArrayView(bytes.data(), qsizetype(bytes.size())).isValidUtf8();
}

TextEncoding Detect(const std::string& bytes) {
    if (bytes.rfind(kBom, 0) == 0 || IsUtf8(bytes)) {
        return TextEncoding::Utf8;
    }
    TextEncoding best = TextEncoding::Windows1250;
    int bestScore = polishScore(bytes, best);
    for (const TextEncoding other : {TextEncoding::Iso88592, TextEncoding::Cp852}) {
        const int score = polishScore(bytes, other);
        if (score > bestScore) {
            best = other;
            bestScore = score;
        }
    }
    return best;
}

QString Decode(const std::string& bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        const size_t skip = bytes.rfind(kBom, 0) == 0 ? 3 : 0;
        return QString::fromUtf8(bytes.data() + skip, qsizetype(bytes.size() - skip));
    }
    return QString::fromStdU16String(CodePageToUtf16(bytes, iconvName(encoding)));
}

QString DecodeDetected(const std::string& bytes) {
    return Decode(bytes, Detect(bytes));
}

std::optional<TextEncoding> FromName(const QString& name) {
    QString key = name.trimmed().toLower();
    key.remove(u'-').remove(u'_').remove(u' ');
    if (key == u"utf8") {
        return TextEncoding::Utf8;
    }
    if (key == u"windows1250" || key == u"cp1250" || key == u"1250" || key == u"win1250") {
        return TextEncoding::Windows1250;
    }
    if (key == u"iso88592" || key == u"88592" || key == u"latin2" || key == u"l2") {
        return TextEncoding::Iso88592;
    }
    if (key == u"cp852" || key == u"852" || key == u"ibm852" || key == u"dos852") {
        return TextEncoding::Cp852;
    }
    return std::nullopt;
}

}  // namespace TextDecoding
