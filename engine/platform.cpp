#include "platform.h"

#include <chrono>
#include <thread>

#include "buffered_file.h"

namespace {
Platform* g_pPlatform = nullptr;
}

Platform& Platform::Get() { return g_pPlatform ? *g_pPlatform : NativePlatform(); }

void Platform::Set(Platform* platform) { g_pPlatform = platform; }

void Platform::Pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool BufferedOutputFile::Write(const char* data, std::size_t size) {
    if (m_bFailed || m_bClosed) return false;
    if (m_buffer.size() + size > kCapacity && !Flush()) return false;
    if (size >= kCapacity) {
        m_bFailed = !WriteRaw(data, size);
        return !m_bFailed;
    }
    m_buffer.insert(m_buffer.end(), data, data + size);
    return true;
}

bool BufferedOutputFile::Flush() {
    if (!m_buffer.empty() && !m_bFailed) m_bFailed = !WriteRaw(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
    return !m_bFailed;
}

bool BufferedOutputFile::Sync() {
    if (m_bClosed || !Flush()) return false;
    m_bFailed = !SyncRaw();
    return !m_bFailed;
}

bool BufferedOutputFile::Close() {
    if (m_bClosed) return false;
    const bool flushed = Flush();
    m_bClosed = true;
    return CloseRaw() && flushed;
}
