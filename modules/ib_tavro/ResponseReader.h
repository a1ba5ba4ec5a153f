// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Accumulates a response body the way the bank pages have always been read: fixed 1023-byte
// chunks, each appended as a zero-terminated text, at most 10241 chunks, and a check of the
// cancellation flag before each chunk.

#include <cstddef>
#include <string>

class ResponseReader {
public:
    // Takes received bytes; false when reading must stop (cancelled or the cap reached).
    bool receive(const char* data, size_t size);
    // Appends the last, shorter chunk once the transfer has ended.
    void finish();

    bool cancelled() const { return m_cancelled; }
    bool capped() const { return m_capped; }
    std::string& body() { return m_body; }

private:
    bool takeChunk(const char* data, size_t size);

    std::string m_body;
    std::string m_pending;
    size_t m_chunks = 0;
    bool m_cancelled = false;
    bool m_capped = false;
};
