// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CodePage.h"
#include "HugePageAllocator.h"

// Texts stored back to back in blocks that never move: adding a text copies it once and never
// again, and there is no reallocation whose old and new buffers would both be resident.
// Texts whose characters all have a code in the arena's code page take one byte per
// character; the others are kept in UTF-16. A text is named by a reference and a length
// whose top bit tells the UTF-16 ones.
class TextArena {
public:
    // Characters beside the ASCII ones that get one-byte codes. One code is left for the
    // search index (see HistorySearchIndex).
    static constexpr int kCodes = 127;
    // Characters in one block; a block of one-byte characters is one huge page (see
    // HugePageAllocator).
    static constexpr uint32_t kPositionBits = 21;
    static constexpr size_t kBlockCharacters = size_t{1} << kPositionBits;

    TextArena();

    uint32_t add(std::u16string_view text, uint32_t& length);
    QString text(uint32_t ref, uint32_t length) const;
    void clear();

    // How the texts of an arena taken over by adopt() are named here: see settle().
    struct Adoption {
        uint32_t narrowOffset = 0;  // blocks before the adopted ones
        uint32_t wideOffset = 0;
        bool sameCodes = true;                   // the one-byte codes need no change
        bool fits = true;                        // the adopted codes all have codes here
        std::array<uint8_t, 256> codes{};        // adopted code -> code here
        std::array<char16_t, 256> characters{};  // adopted code -> character
    };
    // Takes over the blocks of other (another part of the same list, filled apart), which is
    // left empty; nothing is copied. Each adopted text must then be settled once.
    Adoption adopt(TextArena&& other);
    // The reference here of an adopted text (given by its reference and length in the other
    // arena); its one-byte codes are changed in place to this arena's, or, when this code page
    // has no room for them, the text is added anew (length then tells how).
    uint32_t settle(const Adoption& adoption, uint32_t ref, uint32_t& length);

    static bool isWide(uint32_t length) { return (length & kWide) != 0; }
    static uint32_t count(uint32_t length) { return length & ~kWide; }
    const uint8_t* narrow(uint32_t ref) const { return m_narrow.at(ref); }
    const char16_t* wide(uint32_t ref) const { return m_wide.at(ref); }
    const CodePage& page() const { return m_page; }
    bool hasWide() const { return m_wide.characters() != 0; }

private:
    // Copies the ASCII characters of text from i on, up to the first other one, as one byte
    // each to to[i]...; returns where it stopped.
    static size_t copyAscii(std::u16string_view text, size_t i, uint8_t* to);

    static constexpr uint32_t kWide = 0x80000000u;

    template <typename Char>
    class Blocks {
    public:
        Char* room(size_t characters);
        uint32_t ref() const;
        void used(size_t characters);
        const Char* at(uint32_t ref) const {
            return m_blocks[ref >> kPositionBits].get() + (ref & (kBlock - 1));
        }
        Char* at(uint32_t ref) {
            return m_blocks[ref >> kPositionBits].get() + (ref & (kBlock - 1));
        }
        // Appends the blocks of other; returns how many were here before.
        uint32_t adopt(Blocks&& other);
        size_t characters() const { return m_characters; }

    private:
        static constexpr size_t kBlock = kBlockCharacters;
        struct Release {
            void operator()(Char* block) const noexcept { HugePages::release(block); }
        };
        std::vector<std::unique_ptr<Char[], Release>> m_blocks;
        size_t m_used = kBlock;  // in the last block; full when there is none
        size_t m_characters = 0;
    };

    Blocks<uint8_t> m_narrow;
    Blocks<char16_t> m_wide;
    CodePage m_page;
};
