// Copies of the program that save one VREL.DAT at the same moment, as real
// processes: each loaded the same file and stored a word of its own, and no
// copy's word may be lost whatever the order in which the saves run.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dictionary.h"
#include "generated_words.h"
#include "test_platform.h"

using vrel_test::ReadBytes;
using vrel_test::ScratchFolder;
using vrel_test::WriteBytes;

namespace {

TEST(Copies, SavingAtTheSameMomentLosesNoWord) {
    ScratchFolder folder;
    // 3,000 words (about 18 KB).
    std::string original;
    ForEachGeneratedWord(3000, [&](const std::string& word) { original += word + "\r\n"; });
    // One word each, all in one bucket that the file lacks: they follow all the
    // others, in the order in which the saves took them in.
    const std::vector<std::string> added = {"QUAA", "QUAB", "QUAC", "QUAD"};
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        WriteBytes(folder.File("VREL.DAT"), original);
        int ready[2], go[2];
        ASSERT_EQ(::pipe(ready), 0);
        ASSERT_EQ(::pipe(go), 0);
        std::vector<pid_t> copies;
        for (const std::string& word : added) {
            const pid_t child = ::fork();
            if (child == 0) {
                ::close(ready[0]);
                ::close(go[1]);
                CWordDictionary dictionary;
                dictionary.LoadFromFile(folder.Path());
                if (!dictionary.AddWord(word) || ::write(ready[1], "r", 1) != 1) ::_exit(3);
                char signal;
                if (::read(go[0], &signal, 1) != 0) ::_exit(4);  // all go when it closes
                dictionary.SaveToFile(folder.Path());
                ::_exit(0);
            }
            copies.push_back(child);
        }
        ::close(ready[1]);
        ::close(go[0]);
        char signal;
        for (std::size_t i = 0; i < copies.size(); ++i) EXPECT_EQ(::read(ready[0], &signal, 1), 1);
        ::close(go[1]);
        ::close(ready[0]);
        for (pid_t copy : copies) {
            int status = 0;
            ::waitpid(copy, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        }

        const std::string saved = ReadBytes(folder.File("VREL.DAT"));
        ASSERT_EQ(saved.compare(0, original.size(), original), 0)
            << "the original words are not all there, in order";
        std::vector<std::string> tail;
        for (std::size_t at = original.size(); at < saved.size();) {
            const std::size_t end = saved.find("\r\n", at);
            ASSERT_NE(end, std::string::npos);
            tail.push_back(saved.substr(at, end - at));
            at = end + 2;
        }
        std::sort(tail.begin(), tail.end());
        EXPECT_EQ(tail, added);
    }
}

}  // namespace
