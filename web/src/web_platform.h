// The page's side of the platform seam. Files and upper-casing are the POSIX
// side's (Windows-1252, as CharUpperBuffA), on the module's file system, whose folder /data/ is
// kept in the browser's IndexedDB: a lock of the player's files is the browser's lock shared by its
// tabs, taking it first reads what another tab stored, and a file put in
// place is stored before the lock is let go. Texts are the edition's string
// table; message boxes, pauses and the exit are the page's.
#ifndef VREL_WEB_WEB_PLATFORM_H_
#define VREL_WEB_WEB_PLATFORM_H_

#include <string>

#include "editions.h"
#include "page.h"
#include "platform.h"

// The folder of every edition's stored files.
constexpr const char* kStoredRoot = "/data/";

class WebPlatform : public PlatformWrapper {
  public:
    // The stored folders are under root (kStoredRoot in the page).
    WebPlatform(const Edition& edition, Page& page, const std::string& root = kStoredRoot);

    Page& GetPage() const { return m_page; }
    // The stored folder of the edition, ending in '/'.
    const std::string& Folder() const { return m_strFolder; }

    std::string LoadText(int id) override;
    std::string ProgramDirectory() override { return m_strFolder; }
    bool MoveOver(const std::string& from, const std::string& to, FileError* error) override;
    std::unique_ptr<FileLock> LockFile(const std::string& path, FileError* error) override;
    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    void Pause(int milliseconds) override;
    [[noreturn]] void ExitProcess(int code) override;

  private:
    bool IsStored(const std::string& path) const;

    const Edition& m_edition;
    Page& m_page;
    std::string m_strRoot;
    std::string m_strFolder;
};

// The browser's lock of the player's files, with what another tab stored
// read in; held until destroyed. Held() is false when the lock or the read
// failed.
class StoredFilesLock : public FileLock {
  public:
    explicit StoredFilesLock(Page& page);
    ~StoredFilesLock() override;
    bool Held() const { return m_bHeld; }

  private:
    Page& m_page;
    int m_token;
    bool m_bHeld;
};

#endif  // VREL_WEB_WEB_PLATFORM_H_
