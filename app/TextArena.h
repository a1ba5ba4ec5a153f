#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

// Texts stored back to back in blocks that never move: adding a text copies it once and never
// again, and there is no reallocation whose old and new buffers would both be resident.
// A text is named by a reference (block and position) and its length.
class TextArena {
public:
    uint32_t add(std::u16string_view text);
    // Adds the UTF-16 form of a UTF-8 text as SQLite forms it (see SqliteUtf8); its length
    // goes to length.
    uint32_t addUtf8(std::string_view utf8, uint32_t& length);
    std::u16string_view view(uint32_t ref, uint32_t length) const;
    QString text(uint32_t ref, uint32_t length) const;
    void clear();
    // Characters held, for the search index's buffer size.
    size_t characters() const { return m_characters; }

private:
    // Room for `characters` more in the last block, opening a new block when needed.
    char16_t* room(size_t characters);
    uint32_t refOfRoom() const;
    void used(size_t characters);

    static constexpr uint32_t kPositionBits = 20;
    static constexpr size_t kBlock = size_t{1} << kPositionBits;  // characters

    std::vector<std::unique_ptr<char16_t[]>> m_blocks;
    size_t m_used = kBlock;  // in the last block; full when there is none
    size_t m_characters = 0;
};
