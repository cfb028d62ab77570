// Faults of the real file system, not injected ones: a read-only dictionary, a
// folder that cannot be written, a dictionary another process holds, a full
// disk. Each time VREL.DAT must afterwards hold the old or the new complete
// dictionary.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dictionary.h"
#include "generated_words.h"
#include "test_platform.h"

using vrel_test::FileExists;
using vrel_test::ReadBytes;
using vrel_test::RecordedBox;
using vrel_test::ScratchFolder;
using vrel_test::TestPlatform;
using vrel_test::WriteBytes;

namespace {

const std::string kOld = "CAT\r\nDOG\r\n";
const std::string kNew = "CAT\r\nCOW\r\nDOG\r\n";

class FileFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteBytes(m_folder.File("VREL.DAT"), kOld);
        m_dictionary.LoadFromFile(m_folder.Path());
        ASSERT_TRUE(m_dictionary.AddWord("COW"));
    }

    RecordedBox SaveError() const {
        return {"Cannot save dictionary file " + m_folder.File("VREL.XXX") + ".", "Vrel:  Error",
                kBoxOk};
    }

    TestPlatform m_platform;
    ScratchFolder m_folder;
    CWordDictionary m_dictionary;
};

TEST_F(FileFaults, ReadOnlyDictionaryIsKeptAndTheNewOneLeftBesideIt) {
    ASSERT_EQ(::chmod(m_folder.File("VREL.DAT").c_str(), 0444), 0);
    m_dictionary.SaveToFile(m_folder.Path());
    const RecordedBox rename{
        "Cannot rename " + m_folder.File("VREL.XXX") + " to " + m_folder.File("VREL.DAT") + ".",
        "Vrel:  Error", kBoxOk};
    EXPECT_EQ(m_platform.boxes, std::vector<RecordedBox>{rename});
    EXPECT_EQ(ReadBytes(m_folder.File("VREL.DAT")), kOld);
    EXPECT_EQ(ReadBytes(m_folder.File("VREL.XXX")), kNew);
}

// Makes the folder unwritable for the length of the object: by its mode, and
// where that does not bind (the superuser), by the immutable attribute.
class UnwritableFolder {
  public:
    explicit UnwritableFolder(const std::string& path) : m_path(path) {
        ::chmod(m_path.c_str(), 0555);
        if (!Writable()) return;
        m_bImmutable = std::system(("chattr +i '" + m_path + "' 2>/dev/null").c_str()) == 0;
    }
    ~UnwritableFolder() {
        if (m_bImmutable) std::system(("chattr -i '" + m_path + "'").c_str());
        ::chmod(m_path.c_str(), 0755);
    }
    bool Writable() const {
        const std::string probe = m_path + "probe";
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT, 0644);
        if (fd < 0) return false;
        ::close(fd);
        ::unlink(probe.c_str());
        return true;
    }

  private:
    std::string m_path;
    bool m_bImmutable = false;
};

TEST_F(FileFaults, UnwritableFolderKeepsTheDictionary) {
    UnwritableFolder folder(m_folder.Path());
    if (folder.Writable()) GTEST_SKIP() << "cannot make a folder unwritable here";
    m_dictionary.SaveToFile(m_folder.Path());
    EXPECT_EQ(m_platform.boxes, std::vector<RecordedBox>{SaveError()});
    EXPECT_EQ(ReadBytes(m_folder.File("VREL.DAT")), kOld);
    EXPECT_FALSE(FileExists(m_folder.File("VREL.XXX")));
}

TEST_F(FileFaults, DictionaryHeldByAnotherProcessIsSavedWhole) {
    // POSIX has no share modes: a reader that opened the old file goes on
    // reading it whole while the new one takes its name.
    const int held = ::open(m_folder.File("VREL.DAT").c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    m_dictionary.SaveToFile(m_folder.Path());
    std::string seen(kOld.size() + 8, '\0');
    seen.resize(static_cast<std::size_t>(::read(held, seen.data(), seen.size())));
    ::close(held);
    EXPECT_TRUE(m_platform.boxes.empty());
    EXPECT_EQ(seen, kOld);
    EXPECT_EQ(ReadBytes(m_folder.File("VREL.DAT")), kNew);
}

TEST_F(FileFaults, TemporaryNameTakenByAFolderKeepsTheDictionary) {
    ASSERT_EQ(::mkdir(m_folder.File("VREL.XXX").c_str(), 0755), 0);
    m_dictionary.SaveToFile(m_folder.Path());
    EXPECT_EQ(m_platform.boxes, std::vector<RecordedBox>{SaveError()});
    EXPECT_EQ(ReadBytes(m_folder.File("VREL.DAT")), kOld);
    ::rmdir(m_folder.File("VREL.XXX").c_str());
}

// A file system of 64 KB (a tmpfs) mounted on a fresh folder for the length of
// the object, and unmounted even when the test fails. Mounting needs the
// superuser.
class SmallDisk {
  public:
    SmallDisk() {
        char pattern[] = "/tmp/vrel-small-disk-XXXXXX";
        if (!::mkdtemp(pattern)) {
            m_strWhyNot = std::string("mkdtemp: ") + std::strerror(errno);
            return;
        }
        m_strPath = pattern;
        if (::geteuid() != 0) {
            m_strWhyNot = "mounting a small file system needs root";
        } else if (::mount("vrel-small-disk", pattern, "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") !=
                   0) {
            m_strWhyNot = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
        } else {
            m_bMounted = true;
        }
    }
    ~SmallDisk() {
        if (m_bMounted) ::umount2(m_strPath.c_str(), MNT_DETACH);
        if (!m_strPath.empty()) ::rmdir(m_strPath.c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_bMounted; }
    const std::string& WhyNot() const { return m_strWhyNot; }
    std::string Folder() const { return m_strPath + "/"; }
    std::string File(const std::string& name) const { return Folder() + name; }

    // Fills the disk with a filler file until only about `room` bytes are
    // free; answers the bytes free then.
    long FillLeaving(long room) const {
        const std::string filler = File("FILLER");
        const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return -1;
        const std::vector<char> block(4096, 'F');
        long size = 0;
        while (::write(fd, block.data(), block.size()) == static_cast<ssize_t>(block.size()))
            size += static_cast<long>(block.size());
        if (room > 0 && ::ftruncate(fd, size > room ? size - room : 0) != 0) size = -1;
        ::close(fd);
        struct statvfs status;
        if (size < 0 || ::statvfs(m_strPath.c_str(), &status) != 0) return -1;
        return static_cast<long>(status.f_bavail * status.f_frsize);
    }

  private:
    std::string m_strPath;
    std::string m_strWhyNot;
    bool m_bMounted = false;
};

TEST(FullDisk, SaveKeepsTheOldDictionaryAndLeavesNoTemporaryFile) {
    // A disk full before the save, and one that fills during it.
    for (long room : {0L, 8192L}) {
        SCOPED_TRACE("room " + std::to_string(room));
        SmallDisk disk;
        if (!disk.Mounted()) GTEST_SKIP() << disk.WhyNot();
        TestPlatform platform;
        WriteBytes(disk.File("VREL.DAT"), kOld);
        CWordDictionary dictionary;
        dictionary.LoadFromFile(disk.Folder());
        // About 30 KB to write, more than is left.
        ForEachGeneratedWord(5000, [&](const std::string& word) { dictionary.AddWord(word); });
        const long free = disk.FillLeaving(room);
        ASSERT_GE(free, 0) << "cannot fill the disk";
        ASSERT_LT(free, 20000);
        dictionary.SaveToFile(disk.Folder());
        const RecordedBox error{"Cannot save dictionary file " + disk.File("VREL.XXX") + ".",
                                "Vrel:  Error", kBoxOk};
        EXPECT_EQ(platform.boxes, std::vector<RecordedBox>{error});
        EXPECT_EQ(ReadBytes(disk.File("VREL.DAT")), kOld);
        EXPECT_FALSE(FileExists(disk.File("VREL.XXX")));
        std::printf("full disk, %ld bytes free: the save was refused, VREL.DAT kept\n", free);
    }
}

}  // namespace
