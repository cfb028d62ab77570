#include "web_platform.h"

#include <emscripten.h>

#include "page.h"

WebPlatform::WebPlatform(const Edition& edition)
    : m_edition(edition), m_strFolder(std::string(kStoredRoot) + edition.code + "/") {}

std::string WebPlatform::LoadText(int id) {
    const char* text = m_edition.Text(id);
    return text ? text : "";
}

bool WebPlatform::IsStored(const std::string& path) { return path.rfind(kStoredRoot, 0) == 0; }

// Only a file that reached the browser's storage is in place: the move is
// undone in the browser's eyes when it could not be stored, and the stored
// copy stays as it was.
bool WebPlatform::MoveOver(const std::string& from, const std::string& to, FileError* error) {
    if (!PlatformWrapper::MoveOver(from, to, error)) return false;
    if (IsStored(to) && !page::Push()) {
        ReportFileError(error, FileError::kFailed);
        return false;
    }
    return true;
}

std::unique_ptr<FileLock> WebPlatform::LockFile(const std::string& path, FileError* error) {
    if (!IsStored(path)) return PlatformWrapper::LockFile(path, error);
    auto lock = std::make_unique<StoredFilesLock>();
    if (!lock->Held()) {
        ReportFileError(error, FileError::kFailed);
        return nullptr;
    }
    return lock;
}

int WebPlatform::ShowMessageBox(const std::string& text, const std::string& caption,
                                unsigned type) {
    return page::MessageBox(text, caption, type);
}

void WebPlatform::Pause(int milliseconds) { emscripten_sleep(static_cast<unsigned>(milliseconds)); }

void WebPlatform::ExitProcess(int code) { page::EndProgram(code); }

StoredFilesLock::StoredFilesLock() : m_token(page::Lock()), m_bHeld(false) {
    m_bHeld = m_token != 0 && page::Pull();
}

StoredFilesLock::~StoredFilesLock() {
    if (m_token != 0) page::Unlock(m_token);
}
