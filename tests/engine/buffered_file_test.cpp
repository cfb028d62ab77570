#include "buffered_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Keeps the raw writes in memory; the raw write numbered failRawAt fails.
class MemoryFile : public BufferedOutputFile {
  public:
    std::string bytes;
    int rawWrites = 0;
    int failRawAt = 0;
    int syncs = 0;
    int closes = 0;

  protected:
    bool WriteRaw(const char* data, std::size_t size) override {
        if (++rawWrites == failRawAt) return false;
        bytes.append(data, size);
        return true;
    }
    bool SyncRaw() override {
        ++syncs;
        return true;
    }
    bool CloseRaw() override {
        ++closes;
        return true;
    }
};

TEST(BufferedOutputFile, BytesArriveWholeAndInOrder) {
    MemoryFile file;
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        std::string line = "W";
        line += std::to_string(i);
        line += "\r\n";
        ASSERT_TRUE(file.Write(line.data(), line.size()));
        expected += line;
    }
    const std::string big(70000, 'b');  // larger than the buffer
    ASSERT_TRUE(file.Write(big.data(), big.size()));
    ASSERT_TRUE(file.Write("end", 3));
    expected += big + "end";
    EXPECT_TRUE(file.Sync());
    EXPECT_EQ(file.syncs, 1);
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(file.bytes, expected);
    EXPECT_EQ(file.closes, 1);
    EXPECT_FALSE(file.Close());  // released once only
    EXPECT_EQ(file.closes, 1);
    EXPECT_FALSE(file.Write("x", 1));
}

TEST(BufferedOutputFile, FailedRawWriteFailsEveryLaterCall) {
    MemoryFile file;
    file.failRawAt = 1;
    const std::string chunk(40000, 'a');
    ASSERT_TRUE(file.Write(chunk.data(), chunk.size()));   // still buffered
    EXPECT_FALSE(file.Write(chunk.data(), chunk.size()));  // the flush fails
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_FALSE(file.Sync());
    EXPECT_FALSE(file.Close());
    EXPECT_EQ(file.closes, 1);  // the file is released all the same
}

TEST(BufferedOutputFile, FailureInTheLastFlushFailsClose) {
    MemoryFile file;
    file.failRawAt = 1;
    ASSERT_TRUE(file.Write("CAT\r\n", 5));
    EXPECT_FALSE(file.Close());
    EXPECT_EQ(file.closes, 1);
}

}  // namespace
