// OutputFile that gathers small writes into large ones; the native platforms
// supply the raw operations. A failed raw write fails the call that made it,
// and every later call.
#ifndef VREL_ENGINE_BUFFERED_FILE_H_
#define VREL_ENGINE_BUFFERED_FILE_H_

#include <vector>

#include "platform.h"

class BufferedOutputFile : public OutputFile {
  public:
    bool Write(const char* data, std::size_t size) override;
    bool Sync() override;
    bool Close() override;

  protected:
    BufferedOutputFile() { m_buffer.reserve(kCapacity); }
    // Writes all of the bytes to the file.
    virtual bool WriteRaw(const char* data, std::size_t size) = 0;
    // Makes the written bytes durable on the disk.
    virtual bool SyncRaw() = 0;
    // Releases the file; called once.
    virtual bool CloseRaw() = 0;

  private:
    static constexpr std::size_t kCapacity = 64 * 1024;
    bool Flush();

    std::vector<char> m_buffer;
    bool m_bFailed = false;
    bool m_bClosed = false;
};

#endif  // VREL_ENGINE_BUFFERED_FILE_H_
