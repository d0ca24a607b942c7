// tavrix-script in a child process, as a shell runs it: a pipe whose reader leaves, a file
// size limit, signals, another user, a standard output that cannot be written, and little
// memory. Each ends with a message and an exit status, and the earlier file as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <set>
#include <string>
#include <thread>

#include "files.h"

namespace tavrix {
namespace {

using testing::read_bytes;
using testing::TempFolder;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

constexpr uid_t kNobody = 65534;
const std::string kEarlier = "anterior\r\n";
const std::string kRun = "set Text11 intro.def\nset Text6 99999999\nclick Command1\n";

enum class Out : std::uint8_t { Null, Full, Closed };
enum class Setup : std::uint8_t {
    None,
    Earlier,       // intro.def holds kEarlier
    ReaderLeaves,  // intro.def is a FIFO whose reader leaves after 4 KiB
    OthersFile,    // intro.def is root's, the run nobody's
    LockedFolder,  // intro.def is nobody's, in root's folder, the run nobody's
};

struct Case {
    const char* name;
    std::string script;
    Setup setup;
    int exit_status;
    const char* message;  // on standard error
    Out out = Out::Null;
    int signal = 0;  // sent once the run has written a megabyte
    rlim_t file_limit = RLIM_INFINITY;
    rlim_t memory_limit = RLIM_INFINITY;
};

struct Ended {
    bool exited = false;  // rather than killed by a signal
    int status = -1;
    std::string errors;
};

long written_bytes(pid_t child) {
    std::ifstream io("/proc/" + std::to_string(child) + "/io");
    std::string key;
    long value = 0;
    while (io >> key >> value) {
        if (key == "wchar:")
            return value;
    }
    return 0;
}

[[noreturn]] void become_script(const Case& c, const TempFolder& folder, int errors) {
    const int out =
        c.out == Out::Full ? ::open("/dev/full", O_WRONLY) : ::open("/dev/null", O_WRONLY);
    ::dup2(out, STDOUT_FILENO);
    if (c.out == Out::Closed)
        ::close(STDOUT_FILENO);
    ::dup2(errors, STDERR_FILENO);
    const rlimit file{c.file_limit, c.file_limit};
    const rlimit memory{c.memory_limit, c.memory_limit};
    ::setrlimit(RLIMIT_FSIZE, &file);
    ::setrlimit(RLIMIT_AS, &memory);
    if (c.setup == Setup::OthersFile || c.setup == Setup::LockedFolder) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(126);
    }
    if (::chdir(folder.path().c_str()) != 0)
        ::_exit(126);
    ::execl(TAVRIX_SCRIPT_TOOL, TAVRIX_SCRIPT_TOOL, "guion.tvs", nullptr);
    ::_exit(127);
}

Ended run(const Case& c, const TempFolder& folder, const TempFolder& logs) {
    const std::string errors_path = logs.file("errores.txt");
    const int errors = ::open(errors_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t child = ::fork();
    if (child == 0)
        become_script(c, folder, errors);
    ::close(errors);
    if (c.signal != 0) {
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (written_bytes(child) < (1 << 20) && std::chrono::steady_clock::now() < give_up)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ::kill(child, c.signal);
    }
    int status = 0;
    Ended ended;
    if (::waitpid(child, &status, 0) == child) {
        ended.exited = WIFEXITED(status);
        ended.status = ended.exited ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    ended.errors = read_bytes(errors_path).value_or("");
    return ended;
}

// A reader that takes the first 4 KiB and leaves while the script is still writing.
std::thread reader_that_leaves(const std::string& fifo) {
    const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return std::thread([fd] {
        char taken[4096];
        for (std::size_t total = 0; total < sizeof taken;) {
            pollfd waiting{fd, POLLIN, 0};  // until the script has opened it and written
            ::poll(&waiting, 1, 20'000);
            const ssize_t got = ::read(fd, taken, sizeof taken - total);
            if (got <= 0)
                break;
            total += static_cast<std::size_t>(got);
        }
        ::close(fd);
    });
}

void prepare(const Case& c, const TempFolder& folder) {
    const std::string file = folder.file("intro.def");
    testing::write_bytes(folder.file("guion.tvs"), c.script);
    ::chmod(folder.file("guion.tvs").c_str(), 0644);
    ::chmod(folder.path().c_str(), c.setup == Setup::OthersFile ? 0777 : 0755);
    if (c.setup == Setup::ReaderLeaves)
        ::mkfifo(file.c_str(), 0644);
    if (c.setup == Setup::Earlier || c.setup == Setup::OthersFile || c.setup == Setup::LockedFolder)
        testing::write_bytes(file, kEarlier);
    if (c.setup == Setup::LockedFolder) {
        ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
    }
}

TEST(Processes, EndWithAMessageAndTheEarlierFileIntact) {
    const std::string twenty_mb(20'000'000, '1');
    const Case cases[] = {
        {"a reader that leaves", kRun, Setup::ReaderLeaves, 3, "dejó de leer"},
        {"ulimit -f", kRun, Setup::Earlier, 3, "el archivo es demasiado grande", Out::Null, 0,
         64 * 1024},
        {"SIGTERM", kRun, Setup::Earlier, 143, ":3: se detuvo por la señal SIGTERM", Out::Null,
         SIGTERM},
        {"SIGINT", kRun, Setup::Earlier, 130, ":3: se detuvo por la señal SIGINT", Out::Null,
         SIGINT},
        {"dump to a full device", "dump\n", Setup::None, 2,
         ":1: no se pudo escribir en la salida "
         "estándar: no queda espacio",
         Out::Full},
        {"dump with stdout closed", "dump\n", Setup::None, 2, "la salida estándar: está cerrada",
         Out::Closed},
        {"another user's file", kRun, Setup::OthersFile, 3, "el archivo es de solo lectura"},
        {"a folder nobody may write", "set Text11 intro.def\nclick Command1\n", Setup::LockedFolder,
         0, ""},
        {"a 20 MB line", "set Text1 " + twenty_mb + "\n", Setup::None, 0, "", Out::Null, 0,
         RLIM_INFINITY, 120'000 * 1024},
        {"a 60 MB line", "set Text1 " + twenty_mb + twenty_mb + twenty_mb + "\n", Setup::None, 2,
         ":1: no queda memoria para esta línea", Out::Null, 0, RLIM_INFINITY, 120'000 * 1024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool needs_root = c.setup == Setup::OthersFile || c.setup == Setup::LockedFolder;
        if ((needs_root && ::geteuid() != 0) || (kSanitized && c.memory_limit != RLIM_INFINITY))
            continue;
        TempFolder folder;
        TempFolder logs;
        ASSERT_TRUE(folder.ok() && logs.ok());
        prepare(c, folder);
        std::thread reader;
        if (c.setup == Setup::ReaderLeaves)
            reader = reader_that_leaves(folder.file("intro.def"));
        struct stat before {};
        ::stat(folder.file("intro.def").c_str(), &before);

        const Ended ended = run(c, folder, logs);
        if (reader.joinable())
            reader.join();
        EXPECT_TRUE(ended.exited) << "killed by signal " << ended.status - 128;
        EXPECT_EQ(ended.status, c.exit_status) << ended.errors;
        EXPECT_NE(ended.errors.find(c.message), std::string::npos) << ended.errors;
        EXPECT_EQ(ended.errors.empty(), *c.message == '\0') << ended.errors;
        const std::set<std::string> names = folder.entries();
        EXPECT_EQ(names.size(), c.setup == Setup::None ? 1u : 2u) << *names.rbegin();
        struct stat after {};
        ::stat(folder.file("intro.def").c_str(), &after);
        EXPECT_EQ(after.st_ino, before.st_ino);
        if (c.setup != Setup::ReaderLeaves && c.setup != Setup::None) {
            EXPECT_EQ(read_bytes(folder.file("intro.def")) == kEarlier, c.exit_status != 0);
        }
    }
}

}  // namespace
}  // namespace tavrix
