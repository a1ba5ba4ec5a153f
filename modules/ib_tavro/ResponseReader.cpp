// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResponseReader.h"

#include <cstring>

#include "AbortFlag.h"
#include "BankSession.h"

bool ResponseReader::takeChunk(const char* data, size_t size) {
    if (AbortRequested()) {
        m_cancelled = true;
        return false;
    }
    const void* zero = std::memchr(data, '\0', size);
    m_body.append(data, zero ? static_cast<const char*>(zero) - data : size);
    if (++m_chunks >= BankSession::kMaxChunks) {
        m_capped = true;
        return false;
    }
    return true;
}

bool ResponseReader::receive(const char* data, size_t size) {
    if (m_cancelled || m_capped) {
        return false;
    }
    if (AbortRequested()) {
        m_cancelled = true;
        return false;
    }
    m_pending.append(data, size);
    size_t used = 0;
    while (m_pending.size() - used >= BankSession::kChunkSize) {
        if (!takeChunk(m_pending.data() + used, BankSession::kChunkSize)) {
            return false;
        }
        used += BankSession::kChunkSize;
    }
    m_pending.erase(0, used);
    return true;
}

void ResponseReader::finish() {
    if (!m_pending.empty() && !m_cancelled && !m_capped) {
        takeChunk(m_pending.data(), m_pending.size());
    }
    m_pending.clear();
}
