#include "HtmlScanner.h"

#include <ctime>

namespace {
constexpr size_t npos = std::string::npos;
constexpr int kMaxForms = 1024;
constexpr int kMaxInputs = 1024;

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowerCopy(const std::string& text) {
    std::string out(text);
    for (char& c : out) {
        c = lowerAscii(c);
    }
    return out;
}

// Substring [begin, end) clipped to the text; end == npos means to the end.
std::string cut(const std::string& text, size_t begin, size_t end) {
    if (begin >= text.size()) {
        return {};
    }
    if (end == npos || end > text.size()) {
        end = text.size();
    }
    return end > begin ? text.substr(begin, end - begin) : std::string();
}

size_t findFrom(const std::string& text, char c, size_t from) {
    return from >= text.size() ? npos : text.find(c, from);
}

size_t findFrom(const std::string& text, const char* what, size_t from) {
    return from > text.size() ? npos : text.find(what, from);
}

char at(const std::string& text, size_t i) {
    return i < text.size() ? text[i] : '\0';
}

// Text between the first `quote` at or after `from` and the next one; without an opening quote
// it runs from `bare` to the next space. A missing closing quote ends the text at the end.
std::string quotedOrBare(const std::string& attrs, const std::string& lower, size_t from,
                         char quote, size_t bare) {
    const size_t open = findFrom(lower, quote, from);
    if (open == npos) {
        return cut(attrs, bare, findFrom(lower, ' ', bare));
    }
    return cut(attrs, open + 1, findFrom(lower, quote, open + 1));
}

std::string inputName(const std::string& attrs, const std::string& lower) {
    const size_t n = lower.find("name");
    if (n == npos) {
        // Without a name attribute the name is what stands before the first double quote.
        const size_t quote = lower.find('"');
        return quote == npos ? std::string() : attrs.substr(0, quote);
    }
    const char quote = at(lower, n + 5) == '\'' ? '\'' : '"';
    return quotedOrBare(attrs, lower, n, quote, n + 5);
}

std::string inputValue(const std::string& attrs, const std::string& lower) {
    const size_t v = lower.find("value");
    if (v == npos) {
        return {};
    }
    const char quote = at(lower, v + 6) == '\'' ? '\'' : '"';
    std::string value = quotedOrBare(attrs, lower, v, quote, v + 6);
    if (value.find("&#0") != npos) {
        // The whole value stands for one character given by its decimal code.
        unsigned code = 0;
        for (size_t i = 3; i < value.size() && value[i] >= '0' && value[i] <= '9' && code < 256;
             ++i) {
            code = code * 10 + static_cast<unsigned>(value[i] - '0');
        }
        value = (code == 0 || code > 255) ? std::string() : std::string(1, static_cast<char>(code));
    }
    return value;
}

void readInputs(FormFields& fields, const std::string& section) {
    const std::string lower = lowerCopy(section);
    size_t from = 0;
    for (int count = 0; count < kMaxInputs; ++count) {
        const size_t g = findFrom(lower, "<input", from);
        if (g == npos) {
            return;
        }
        const size_t h = findFrom(lower, '>', g + 1);
        if (h == npos) {
            return;
        }
        const std::string attrs = cut(section, g + 6, h);
        const std::string attrsLower = cut(lower, g + 6, h);
        const std::string name = inputName(attrs, attrsLower);
        if (!name.empty() && name.find('=') == npos) {
            SetField(fields, name, inputValue(attrs, attrsLower));
        }
        from = h;
    }
}

// The section of the named form, from "<form" to its "</form"; empty when it has no end.
bool findFormSection(const std::string& formName, const std::string& page, std::string& section) {
    std::string lower = lowerCopy(page);
    for (char& c : lower) {
        if (c == '\'') {
            c = '"';
        }
    }
    size_t start = 0;
    for (int count = 0; count < kMaxForms; ++count) {
        const size_t f = findFrom(lower, "<form", start);
        if (f == npos || f == 0) {
            return false;
        }
        start = f + 1;
        const size_t n = findFrom(lower, "name=", f);
        if (n == npos || n == 0) {
            continue;
        }
        const bool quoted = at(lower, n + 5) == '"';
        const size_t nameBegin = quoted ? n + 6 : n + 5;
        const size_t nameEnd = findFrom(lower, quoted ? '"' : ' ', nameBegin);
        if (nameEnd == npos || cut(page, nameBegin, nameEnd) != formName) {
            continue;
        }
        const size_t end = findFrom(lower, "</form", n);
        section = end == npos ? std::string() : cut(page, f, end);
        return true;
    }
    return false;
}
}  // namespace

void ReadForm(FormFields& fields, const std::string& formName, const std::string& page) {
    std::string section;
    if (findFormSection(formName, page, section)) {
        readInputs(fields, section);
    }
}

bool ReadOnclickArguments(const std::string& text, const std::string& key,
                          std::vector<std::string>& arguments) {
    const size_t keyPos = text.find(key);
    if (keyPos == npos) {
        return false;
    }
    size_t tag = npos;
    for (size_t i = keyPos + 1; i-- > 0;) {
        const char next = at(text, i + 1);
        if (at(text, i) == '<' && (next == 'a' || next == 'b')) {
            tag = i;
            break;
        }
    }
    if (tag == npos) {
        return false;
    }
    const size_t o = findFrom(text, "onclick", tag);
    if (o == npos) {
        return false;
    }
    const size_t c = findFrom(text, ')', o + 10);
    arguments.clear();
    const size_t open = findFrom(text, '(', o + 1);
    if (c == npos || open == npos) {
        return true;
    }
    size_t s = open + 1;
    if (s >= c) {
        return true;
    }
    size_t k = 0;
    do {
        k = findFrom(text, ',', s + 1);
        if (k == npos) {
            break;
        }
        std::string piece = cut(text, s, k);
        RemoveAll(piece, "'");
        arguments.push_back(std::move(piece));
        s = k + 1;
    } while (k < c);
    return true;
}

size_t ExtractBetween(const std::string& text, const std::string& start, const std::string& end,
                      std::string& destination, size_t from) {
    const size_t b = from > text.size() ? npos : text.find(start, from);
    if (b == npos) {
        return 0;
    }
    const size_t e = text.find(end, b + start.size());
    if (e == npos) {
        return 0;
    }
    destination = text.substr(b + start.size(), e - b - start.size());
    return e;
}

void CollapseSpaces(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\t' || static_cast<unsigned char>(c) == 0xA0) {
            c = ' ';
        }
        if (c == ' ' && !out.empty() && out.back() == ' ') {
            continue;
        }
        out += c;
    }
    RemoveAll(out, "\r");
    RemoveAll(out, "\n");
    ReplaceAll(out, "&#x27;", "'");
    const size_t begin = out.find_first_not_of(' ');
    const size_t last = out.find_last_not_of(' ');
    text = begin == npos ? std::string() : out.substr(begin, last - begin + 1);
}

int64_t ParseDayDate(const std::string& text) {
    auto number = [&text](size_t begin, size_t length) {
        int value = 0;
        for (size_t i = begin; i < begin + length && i < text.size(); ++i) {
            if (text[i] < '0' || text[i] > '9') {
                break;
            }
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    std::tm local{};
    local.tm_mday = number(0, 2);
    local.tm_mon = number(3, 2) - 1;
    local.tm_year = number(6, 4) - 1900;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&local));
}

void Latin2ToCp1250(std::string& text) {
    for (char& c : text) {
        switch (static_cast<unsigned char>(c)) {
            case 0xA1:
                c = static_cast<char>(0xA5);
                break;
            case 0xA6:
                c = static_cast<char>(0x8C);
                break;
            case 0xAC:
                c = static_cast<char>(0x8F);
                break;
            case 0xB1:
                c = static_cast<char>(0xB9);
                break;
            case 0xB6:
                c = static_cast<char>(0x9C);
                break;
            case 0xBC:
                c = static_cast<char>(0x9F);
                break;
            default:
                break;
        }
    }
}

void RemoveAll(std::string& text, const std::string& what) {
    ReplaceAll(text, what, "");
}

void ReplaceAll(std::string& text, const std::string& what, const std::string& with) {
    if (what.empty()) {
        return;
    }
    std::string out;
    out.reserve(text.size());
    size_t from = 0;
    for (size_t hit = text.find(what); hit != npos; hit = text.find(what, from)) {
        out.append(text, from, hit - from);
        out += with;
        from = hit + what.size();
    }
    out.append(text, from, npos);
    text.swap(out);
}

bool Contains(const std::string& text, const char* what) {
    return text.find(what) != npos;
}
