#include "web_platform.h"

#include <cstdlib>

WebPlatform::WebPlatform(const Edition& edition, Page& page, const std::string& root)
    : m_edition(edition), m_page(page), m_strRoot(root), m_strFolder(root + edition.code + "/") {}

std::string WebPlatform::LoadText(int id) {
    const char* text = m_edition.Text(id);
    return text ? text : "";
}

bool WebPlatform::IsStored(const std::string& path) const { return path.rfind(m_strRoot, 0) == 0; }

// Only a file that reached the browser's storage is in place: the move is
// undone in the browser's eyes when it could not be stored, and the stored
// copy stays as it was.
bool WebPlatform::MoveOver(const std::string& from, const std::string& to, FileError* error) {
    if (!PlatformWrapper::MoveOver(from, to, error)) return false;
    if (IsStored(to) && !m_page.Push()) {
        ReportFileError(error, FileError::kFailed);
        return false;
    }
    return true;
}

std::unique_ptr<FileLock> WebPlatform::LockFile(const std::string& path, FileError* error) {
    if (!IsStored(path)) return PlatformWrapper::LockFile(path, error);
    auto lock = std::make_unique<StoredFilesLock>(m_page);
    if (!lock->Held()) {
        ReportFileError(error, FileError::kFailed);
        return nullptr;
    }
    return lock;
}

// The stored folder is no place a player knows of: a box names its files
// alone.
int WebPlatform::ShowMessageBox(const std::string& text, const std::string& caption,
                                unsigned type) {
    std::string shown = text;
    for (std::size_t at; (at = shown.find(m_strFolder)) != std::string::npos;)
        shown.erase(at, m_strFolder.size());
    return m_page.MessageBox(shown, caption, type);
}

void WebPlatform::Pause(int milliseconds) { m_page.Pause(milliseconds); }

void WebPlatform::ExitProcess(int code) {
    m_page.EndProgram(code);
    std::abort();  // a page's EndProgram does not return
}

StoredFilesLock::StoredFilesLock(Page& page) : m_page(page), m_token(page.Lock()), m_bHeld(false) {
    m_bHeld = m_token != 0 && m_page.Pull();
}

StoredFilesLock::~StoredFilesLock() {
    if (m_token != 0) m_page.Unlock(m_token);
}
