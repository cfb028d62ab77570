// Faults of the real file system, not injected ones: a read-only dictionary, a
// folder that cannot be written, a dictionary another process holds. Each
// time VREL.DAT must afterwards hold the old or the new complete dictionary.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "dictionary.h"
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

}  // namespace
