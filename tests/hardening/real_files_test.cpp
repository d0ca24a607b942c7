// "Generar!" on the real file system: paths that cannot be written, device nodes (a full
// one among them), FIFOs, symbolic links and permission bits. Device nodes are made in the
// test's own folder, never taken from the system.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "app/form1.h"
#include "common/encoding.h"
#include "files.h"
#include "support/memory_output.h"
#include "system/file_output.h"
#include "system/platform.h"

namespace tavrix {
namespace {

using C = ControlId;
using testing::link_status;
using testing::read_bytes;
using testing::run_failure;
using testing::TempFolder;
using testing::write_bytes;

// The descriptors the process has open.
std::size_t open_descriptors() {
    const auto fds = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(begin(fds), end(fds)));
}

class RealFiles : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folder_.ok()); }
    // Whatever a run met, it leaves no file open.
    void TearDown() override { EXPECT_EQ(open_descriptors(), descriptors_); }

    // A run of `frames` frames (X from 0 up) into `path`, with the calls given.
    std::optional<RunFailure> generate(const std::string& path, int frames = 1,
                                       std::shared_ptr<FileCalls> calls = nullptr) {
        Form1 form(Platform{[calls] { return make_file_output(calls); }, append_windows_1252});
        EXPECT_EQ(form.type_text(C::Text11, path), ActionStatus::Done);
        EXPECT_EQ(form.type_text(C::Text6, std::to_string(frames - 1)), ActionStatus::Done);
        EXPECT_EQ(form.click(C::Command1), ActionStatus::Done);
        EXPECT_EQ(form.window().text(C::ticsI), run_failure(form) ? "" : "0");
        return run_failure(form);
    }

    std::string storyboard(int frames = 1) {
        const std::string path = folder_.file("reference.def");
        EXPECT_FALSE(generate(path, frames));
        std::string bytes = read_bytes(path).value_or("");
        ::unlink(path.c_str());
        return bytes;
    }

    void expect_failure(const std::optional<RunFailure>& failure, const std::string& path,
                        const std::string& reason) {
        ASSERT_TRUE(failure) << path;
        EXPECT_NE(failure->message.find("\"" + path.substr(0, 200)), std::string::npos)
            << failure->message;
        EXPECT_NE(failure->message.find(reason), std::string::npos) << failure->message;
    }

    TempFolder folder_;
    std::size_t descriptors_ = open_descriptors();
};

TEST_F(RealFiles, PathsThatCannotBeWrittenFailWithTheirReason) {
    ASSERT_EQ(::mkdir(folder_.file("carpeta").c_str(), 0755), 0);
    write_bytes(folder_.file("archivo"), "x");
    write_bytes(folder_.file("solo-lectura"), "x");
    ASSERT_EQ(::chmod(folder_.file("solo-lectura").c_str(), 0444), 0);
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    folder_.file("socket").copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::mkfifo(folder_.file("tubo").c_str(), 0644), 0);  // that nobody reads
    std::string deep = folder_.path();
    while (deep.size() <= PATH_MAX)
        deep += "/" + std::string(200, 'd');
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {folder_.file("no-existe/intro.def"), "la carpeta no existe"},
        {folder_.file("carpeta"), "la ruta es una carpeta"},
        {folder_.file("carpeta/"), "la ruta es una carpeta"},
        {folder_.file("archivo/intro.def"), "una parte de la ruta no es una carpeta"},
        {folder_.file(std::string(NAME_MAX + 1, 'n')), "la ruta es demasiado larga"},
        {deep + "/intro.def", "la ruta es demasiado larga"},
        {"", "no se indicó ningún nombre de archivo"},
        {folder_.file("solo-lectura"), "el archivo es de solo lectura"},
        {folder_.file("socket"), "la ruta es un socket, no un archivo"},
        {folder_.file("tubo"), "ningún programa lee de la tubería"},
    };
    for (const auto& c : cases) {
        expect_failure(generate(c.path), c.path, c.reason);
        EXPECT_EQ(folder_.entries(),
                  (std::set<std::string>{"carpeta", "archivo", "solo-lectura", "socket", "tubo"}));
        EXPECT_EQ(read_bytes(folder_.file("solo-lectura")), "x");
        EXPECT_TRUE(S_ISFIFO(link_status(folder_.file("tubo"))->st_mode));
        EXPECT_TRUE(testing::TempFolder::entries_of(folder_.file("carpeta")).empty());
    }
    ::close(server);
}

// Device nodes need root and a file system that honours them.
std::optional<std::string> make_device(const std::string& path, unsigned minor) {
    if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, minor)) != 0)
        return std::string("mknod: ") + std::strerror(errno);
    const int fd = ::open(path.c_str(), O_WRONLY);
    if (fd < 0)
        return std::string("the file system does not open devices: ") + std::strerror(errno);
    ::close(fd);
    return std::nullopt;
}

TEST_F(RealFiles, DevicesAreWrittenDirectlyAndStayDevices) {
    const struct {
        const char* name;
        unsigned minor;
        const char* reason;  // nothing: the run succeeds
    } cases[] = {
        {"nulo", 3, nullptr},
        {"lleno", 7, "no queda espacio en el disco"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder_.file(c.name);
        if (const auto why = make_device(path, c.minor))
            GTEST_SKIP() << *why;
        const auto failure = generate(path, 5000);
        if (c.reason) {
            expect_failure(failure, path, c.reason);
        } else {
            EXPECT_FALSE(failure) << failure->message;
        }
        const auto info = link_status(path);
        ASSERT_TRUE(info);
        EXPECT_TRUE(S_ISCHR(info->st_mode));
        EXPECT_EQ(info->st_rdev, makedev(1, c.minor));
    }
    EXPECT_EQ(folder_.entries(), (std::set<std::string>{"nulo", "lleno"}));
}

TEST_F(RealFiles, AFifoWithAReaderGetsTheWholeStoryboard) {
    const std::string expected = storyboard(3000);
    const std::string path = folder_.file("tubo");
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    std::string received;
    std::thread reader([&] { received = read_bytes(path).value_or(""); });
    // The reader's open may not have happened yet; a run that finds nobody reading fails at
    // once, so try again until it has.
    std::optional<RunFailure> failure;
    for (int attempt = 0; attempt < 500; ++attempt) {
        failure = generate(path, 3000);
        if (!failure)
            break;
        ::usleep(10000);
    }
    reader.join();
    EXPECT_FALSE(failure) << failure->message;
    EXPECT_EQ(received, expected);
    EXPECT_TRUE(S_ISFIFO(link_status(path)->st_mode));
    EXPECT_EQ(folder_.entries(), std::set<std::string>{"tubo"});
}

TEST_F(RealFiles, ASymbolicLinkStaysALinkAndItsTargetIsReplaced) {
    const std::string expected = storyboard();
    const struct {
        const char* target;  // as the link holds it
        const char* file;    // the file it names, in the folder
        bool exists;
    } cases[] = {
        {"real.def", "real.def", true},
        {"sub/../real2.def", "real2.def", true},
        {"nuevo.def", "nuevo.def", false},  // a dangling link: the file is created
    };
    ASSERT_EQ(::mkdir(folder_.file("sub").c_str(), 0755), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        const std::string file = folder_.file(c.file);
        if (c.exists)
            write_bytes(file, "anterior");
        const std::string link = folder_.file("enlace.def");
        ::unlink(link.c_str());
        ASSERT_EQ(::symlink(c.target, link.c_str()), 0);
        ASSERT_FALSE(generate(link));
        const auto info = link_status(link);
        ASSERT_TRUE(info);
        EXPECT_TRUE(S_ISLNK(info->st_mode));
        EXPECT_EQ(read_bytes(file), expected);
    }
    // The link to a link is followed to the end, and both stay.
    const std::string chain = folder_.file("cadena.def");
    ASSERT_EQ(::symlink("enlace.def", chain.c_str()), 0);
    write_bytes(folder_.file("nuevo.def"), "anterior");
    ASSERT_FALSE(generate(chain));
    EXPECT_TRUE(S_ISLNK(link_status(chain)->st_mode));
    EXPECT_EQ(read_bytes(folder_.file("nuevo.def")), expected);
    EXPECT_EQ(folder_.entries(), (std::set<std::string>{"sub", "real.def", "real2.def", "nuevo.def",
                                                        "enlace.def", "cadena.def"}));
}

TEST_F(RealFiles, TheReplacedFileKeepsItsPermissionBits) {
    const std::string path = folder_.file("intro.def");
    for (const mode_t mode : {0600, 0640, 0604, 0755, 0620}) {
        SCOPED_TRACE(mode);
        write_bytes(path, "anterior");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ASSERT_FALSE(generate(path));
        EXPECT_EQ(link_status(path)->st_mode & 07777, mode);
        EXPECT_NE(read_bytes(path), "anterior");
    }
    // A new file gets what the process's umask leaves of rw for everyone.
    ::unlink(path.c_str());
    const mode_t mask = ::umask(022);
    ASSERT_FALSE(generate(path));
    ::umask(mask);
    EXPECT_EQ(link_status(path)->st_mode & 07777, 0644);
}

// While a run writes, the folder shows no name but the old file's, so that a kill at any
// moment leaves nothing; a FIFO that nobody reads keeps the run asking whether to go on, so
// that the person can cancel.
TEST_F(RealFiles, ARunShowsNoNewNameAndAWaitCanBeCancelled) {
    for (const std::string name : {"intro.def", "tubo"}) {
        SCOPED_TRACE(name);
        const std::string path = folder_.file(name);
        const bool fifo = name == "tubo";
        int reader = -1;
        if (fifo) {
            ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
            reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        } else {
            write_bytes(path, "anterior");
        }
        // Should the run not wait in slices, the reader leaves after a while and the run ends.
        std::atomic<bool> ended{false};
        std::thread leave([&ended, reader] {
            for (int waited = 0; waited < 500 && !ended; ++waited)
                ::usleep(10'000);
            ::close(reader);
        });
        Form1 form(system_platform());
        int asked = 0;
        std::set<std::string> seen;
        form.set_progress_hook([&](const RunProgress&) {
            seen.merge(folder_.entries());
            return ++asked < 20;
        });
        ASSERT_EQ(form.type_text(C::Text11, path), ActionStatus::Done);
        ASSERT_EQ(form.type_text(C::Text6, "1000000"), ActionStatus::Done);
        ASSERT_EQ(form.click(C::Command1), ActionStatus::Done);
        ended = true;
        leave.join();
        ASSERT_TRUE(run_failure(form));
        EXPECT_EQ(run_failure(form)->cause, FailureCause::Cancelled);
        EXPECT_EQ(seen, std::set<std::string>{name});
        EXPECT_EQ(folder_.entries(), std::set<std::string>{name});
        if (!fifo) {
            EXPECT_EQ(read_bytes(path), "anterior");
        }
        ::unlink(path.c_str());
    }
}

// Root regenerating another user's file keeps its owner, group and bits; a link in a shared
// sticky folder is followed only when it is root's or the folder owner's; a file mounted over
// another is written in place.
TEST_F(RealFiles, AsRootOwnersLinksAndMountsAreRespected) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root";
    constexpr uid_t kNobody = 65534;
    const std::string expected = storyboard();
    const std::string others = folder_.file("ajeno.def");
    write_bytes(others, "anterior");
    ASSERT_EQ(::chown(others.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(others.c_str(), 06755), 0);
    ASSERT_FALSE(generate(others));
    EXPECT_EQ(read_bytes(others), expected);
    EXPECT_EQ(link_status(others)->st_uid, kNobody);
    EXPECT_EQ(link_status(others)->st_gid, kNobody);
    EXPECT_EQ(link_status(others)->st_mode & 07777, 06755);
    // Root's own file in another group stays in that group.
    ASSERT_EQ(::chown(others.c_str(), 0, kNobody), 0);
    ASSERT_FALSE(generate(others));
    EXPECT_EQ(link_status(others)->st_gid, kNobody);

    const std::string shared = folder_.file("compartida");
    const std::string target = folder_.file("destino.def");
    const struct {
        uid_t folder_owner;
        uid_t link_owner;
        bool followed;
    } links[] = {{0, kNobody, false}, {0, 0, true}, {kNobody, kNobody, true}};
    for (const auto& c : links) {
        SCOPED_TRACE(std::to_string(c.folder_owner) + " " + std::to_string(c.link_owner));
        ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
        ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
        ASSERT_EQ(::chown(shared.c_str(), c.folder_owner, 0), 0);
        const std::string link = shared + "/enlace.def";
        ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
        ASSERT_EQ(::lchown(link.c_str(), c.link_owner, 0), 0);
        write_bytes(target, "anterior");
        const auto failure = generate(link);
        EXPECT_EQ(!failure, c.followed);
        if (!c.followed)
            expect_failure(failure, link, "el enlace simbólico es de otro usuario");
        EXPECT_EQ(read_bytes(target), c.followed ? expected : "anterior");
        std::filesystem::remove_all(shared);
    }

    const std::string mounted = folder_.file("montado.def");
    write_bytes(mounted, "anterior");
    if (::mount(target.c_str(), mounted.c_str(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "cannot mount here: " << std::strerror(errno);
    write_bytes(target, "anterior");
    const auto failure = generate(mounted);
    EXPECT_FALSE(failure) << failure->message;
    EXPECT_EQ(read_bytes(target), expected);
    ::umount2(mounted.c_str(), MNT_DETACH);
}

}  // namespace
}  // namespace tavrix
