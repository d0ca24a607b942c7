// A run of millions of frames is streamed: tavrix-script's peak memory is the same for ten
// times the frames. Measured in a child process, whose peak resident size wait4 reports.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>

#include "files.h"

namespace tavrix {
namespace {

using testing::TempFolder;

// Under AddressSanitizer every frame costs some thirty times more; the ratio of the two
// runs is what shows the streaming, so the sanitizer build measures a tenth of the frames.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kSmallRun = 100'000;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr long kSmallRun = 100'000;
#else
constexpr long kSmallRun = 1'000'000;
#endif
#else
constexpr long kSmallRun = 1'000'000;
#endif

struct ChildRun {
    int exit_status = -1;
    long peak_kib = 0;
    long long file_size = 0;
    std::string trailer;  // the file's last line
};

// Runs tavrix-script on a script that writes `frames` frames (X from 0, speed 0).
ChildRun run_frames(const TempFolder& folder, long frames) {
    const std::string script = folder.file("largo.tvs");
    const std::string storyboard = folder.file("largo.def");
    testing::write_bytes(script, "set Text11 \"" + storyboard + "\"\nset Text6 " +
                                     std::to_string(frames - 1) + "\nclick Command1\n");
    const std::string messages = folder.file("mensajes.txt");
    const pid_t child = ::fork();
    if (child == 0) {
        const int err = ::open(messages.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, STDERR_FILENO);
        ::execl(TAVRIX_SCRIPT_TOOL, TAVRIX_SCRIPT_TOOL, script.c_str(), nullptr);
        ::_exit(127);
    }
    ChildRun run;
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child)
        return run;
    run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.peak_kib = usage.ru_maxrss;
    struct stat info {};
    if (::stat(storyboard.c_str(), &info) == 0)
        run.file_size = info.st_size;
    const std::string bytes = testing::read_bytes(storyboard).value_or("");
    const auto start = bytes.rfind('\n', bytes.size() >= 2 ? bytes.size() - 2 : 0);
    run.trailer = start == std::string::npos ? bytes : bytes.substr(start + 1);
    ::unlink(storyboard.c_str());  // hundreds of megabytes
    EXPECT_EQ(testing::read_bytes(messages), "");
    return run;
}

TEST(LongRuns, TenTimesTheFramesTakeNoMoreMemory) {
    TempFolder folder;
    ASSERT_TRUE(folder.ok());
    const ChildRun small = run_frames(folder, kSmallRun);
    const ChildRun large = run_frames(folder, kSmallRun * 10);
    ASSERT_EQ(small.exit_status, 0);
    ASSERT_EQ(large.exit_status, 0);
    EXPECT_EQ(large.trailer, "; Tics =  0\r\n");
    // Every frame line holds at least "0,0, X,0, 0" and its CR LF.
    EXPECT_GT(large.file_size, kSmallRun * 10 * 13);
    RecordProperty("small_run_peak_kib", static_cast<int>(small.peak_kib));
    RecordProperty("large_run_peak_kib", static_cast<int>(large.peak_kib));
    // A retained frame line would add over 100 MB; allow a few MiB of allocator noise.
    EXPECT_LT(large.peak_kib, small.peak_kib + 4096)
        << small.peak_kib << " KiB with " << kSmallRun << " frames, " << large.peak_kib
        << " KiB with ten times as many";
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"largo.tvs", "mensajes.txt"}));
}

}  // namespace
}  // namespace tavrix
