#include "TextPool.h"

#include "SqliteUtf8.h"

namespace {

std::u16string_view viewOf(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

}  // namespace

TextPool::TextPool() {
    clear();
}

uint32_t TextPool::intern(std::u16string_view text) {
    if (text.empty()) {
        return kEmpty;
    }
    const auto found = m_ids.find(text);
    if (found != m_ids.end()) {
        return found->second;
    }
    const auto id = static_cast<uint32_t>(m_texts.size());
    m_texts.emplace_back(reinterpret_cast<const QChar*>(text.data()),
                         static_cast<qsizetype>(text.size()));
    m_ids.emplace(viewOf(m_texts.back()), id);
    return id;
}

uint32_t TextPool::intern(const QString& text) {
    return intern(viewOf(text));
}

uint32_t TextPool::internUtf8(std::string_view utf8) {
    if (utf8.empty()) {
        return kEmpty;
    }
    const auto found = m_utf8Ids.find(utf8);
    if (found != m_utf8Ids.end()) {
        return found->second;
    }
    std::u16string text(utf8.size(), u'\0');
    text.resize(SqliteUtf8::toUtf16(utf8, text.data()));
    const uint32_t id = intern(std::u16string_view(text));
    m_utf8Ids.emplace(std::string(utf8), id);
    return id;
}

uint32_t TextPool::find(std::u16string_view text) const {
    if (text.empty()) {
        return kEmpty;
    }
    const auto found = m_ids.find(text);
    return found == m_ids.end() ? kMissing : found->second;
}

void TextPool::clear() {
    m_ids.clear();
    m_utf8Ids.clear();
    m_texts.clear();
    m_texts.emplace_back();
}
