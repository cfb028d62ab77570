// Command-line tools run as a user runs them: a separate process with
// arguments in, and its output, files and exit status out. Each test gets a
// fresh folder of its own.
//
//   class MyTool : public ToolTest {};
//   TEST_F(MyTool, Works) {
//       const ToolRun run = Run(PATH_OF_TOOL, {"check", File("in.txt", "CAT\n").string()});
//       EXPECT_EQ(run.status, 0) << run.err;
//   }
#ifndef VREL_TESTS_TOOLS_TOOL_PROCESS_H_
#define VREL_TESTS_TOOLS_TOOL_PROCESS_H_

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class ToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                ("vrel-tool-test-" + std::to_string(::getpid()) + "-" + info->test_suite_name() +
                 "-" + info->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path File(const std::string& name, const std::string& bytes) {
        WriteFile(m_dir / name, bytes);
        return m_dir / name;
    }

    // Runs the program, with input as its standard input when given.
    ToolRun Run(const std::string& program, const std::vector<std::string>& args,
                const std::string* input = nullptr) {
        const std::filesystem::path errPath = m_dir / "stderr.txt";
        std::string command = Quote(program);
        for (const std::string& arg : args) command += " " + Quote(arg);
        command += " 2>" + Quote(errPath.string());
        if (input) command += " <" + Quote(File("stdin.txt", *input).string());
        ToolRun run;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return run;
        char buffer[4096];
        std::size_t count;
        while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            run.out.append(buffer, count);
        const int status = ::pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.err = ReadFile(errPath);
        return run;
    }

    std::filesystem::path m_dir;
};

#endif  // VREL_TESTS_TOOLS_TOOL_PROCESS_H_
