// "Generar!" with the file layer failing at each of its operations in turn: whatever fails,
// the earlier file stays byte for byte, no temporary file is left and the result boxes keep
// what they showed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/form1.h"
#include "common/encoding.h"
#include "files.h"
#include "support/memory_output.h"
#include "system/file_output.h"

namespace tavrix {
namespace {

using C = ControlId;
using testing::read_bytes;
using testing::run_failure;
using testing::TempFolder;

enum class Op : std::uint8_t { Create, Write, Flush, Close, Link, Replace, Remove, SetMode, Sync };

// Each operation's name, and the error it is made to fail with (0: none) with what the
// message says of it: each different.
struct OpDef {
    const char* name;
    int error;
    const char* reason;
};
constexpr OpDef kOps[] = {
    {"create", EACCES, "no hay permiso para escribir ahí"},
    {"write", ENOSPC, "no queda espacio en el disco"},
    {"flush", EIO, "error de entrada/salida del disco"},
    {"close", EDQUOT, "se superó la cuota de disco"},
    {"link", EMLINK, "error del sistema número 31"},
    {"replace", EBUSY, "el archivo está en uso"},
    {"remove", 0, ""},
    {"set_mode", EROFS, "el sistema de archivos es de solo lectura"},
    {"sync_directory", 0, ""},
};
const OpDef& op_def(Op op) {
    return kOps[static_cast<int>(op)];
}
bool can_fail(Op op) {
    return op_def(op).error != 0;
}

// The real calls, logged; the n-th call that can fail (counting from 0) fails instead.
// Writes may also be cut short and any call interrupted once, as signals and pipes do.
class FaultyCalls final : public FileCalls {
  public:
    std::vector<Op> log;
    std::optional<std::size_t> fail_at;
    std::optional<Op> failed;        // the call that fail_at made fail
    unsigned long short_writes = 0;  // when not 0, no write takes more than this
    bool interrupt_each_once = false;

    std::size_t failure_points() const {
        return static_cast<std::size_t>(std::count_if(log.begin(), log.end(), can_fail));
    }

    int create(const char* path, Creation how, unsigned mode) override {
        return call(Op::Create, [&] { return FileCalls::create(path, how, mode); });
    }
    long write(int fd, const char* bytes, unsigned long size) override {
        if (short_writes != 0)
            size = std::min(size, short_writes);
        return call(Op::Write, [&] { return FileCalls::write(fd, bytes, size); });
    }
    int flush(int fd) override {
        return call(Op::Flush, [&] { return FileCalls::flush(fd); });
    }
    int close(int fd) override {
        // The descriptor goes in any case, as with the real call.
        if (fails_now(Op::Close)) {
            const int error = errno;
            FileCalls::close(fd);
            errno = error;
            return -1;
        }
        return FileCalls::close(fd);
    }
    int link(int fd, const char* path) override {
        return call(Op::Link, [&] { return FileCalls::link(fd, path); });
    }
    int replace(const char* from, const char* to) override {
        return call(Op::Replace, [&] { return FileCalls::replace(from, to); });
    }
    int remove(const char* path) override {
        return call(Op::Remove, [&] { return FileCalls::remove(path); });
    }
    int set_mode(int fd, unsigned mode) override {
        return call(Op::SetMode, [&] { return FileCalls::set_mode(fd, mode); });
    }
    int sync_directory(const char* path) override {
        if (refuse_sync) {
            errno = EIO;
            return -1;
        }
        return call(Op::Sync, [&] { return FileCalls::sync_directory(path); });
    }
    // As for a person other than root: another user's file cannot be handed back to them.
    bool refuse_owner = false;
    bool refuse_sync = false;  // a folder that cannot be synced, always
    int set_owner(int fd, unsigned owner, unsigned group) override {
        if (!refuse_owner)
            return FileCalls::set_owner(fd, owner, group);
        errno = EPERM;
        return -1;
    }

  private:
    template <typename Real>
    auto call(Op op, Real real) -> decltype(real()) {
        if (fails_now(op))
            return -1;
        return real();
    }

    bool fails_now(Op op) {
        if (interrupt_each_once && interrupted_.insert(op).second) {
            errno = EINTR;
            return true;
        }
        log.push_back(op);
        if (can_fail(op) && fail_at && failure_points() - 1 == *fail_at) {
            errno = op_def(op).error;
            failed = op;
            return true;
        }
        return false;
    }

    std::set<Op> interrupted_;
};

struct Results {
    std::string tics;
    std::string tiempo;
    std::int32_t ticks;
    bool operator==(const Results&) const = default;
};

class InjectedFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.ok());
        // A range long enough for several 64 KiB blocks; speed 1 so the totals show it.
        type(C::Text11, path_);
        type(C::Text8, "1");
        type(C::Text3, "0");
        type(C::Text6, "20000");
    }

    void type(ControlId id, const std::string& text) {
        ASSERT_EQ(form_.type_text(id, text), ActionStatus::Done) << control_def(id).name;
    }
    std::optional<RunFailure> generate() {
        EXPECT_EQ(form_.click(C::Command1), ActionStatus::Done);
        return run_failure(form_);
    }
    Results results() const {
        return {form_.window().text(C::ticsI), form_.window().text(C::tiempoI), form_.tick_total()};
    }
    // The run made to fail at each of its first `points` failure points in turn; `check` gets
    // the point, the call that failed and what the run said (nothing: it went through).
    template <typename Check>
    void fail_at_each(std::size_t points, Check check) {
        for (std::size_t point = 0; point < points; ++point) {
            calls_->log.clear();
            calls_->failed.reset();
            calls_->fail_at = point;
            const std::optional<RunFailure> failure = generate();
            calls_->fail_at.reset();
            ASSERT_TRUE(calls_->failed) << point;
            SCOPED_TRACE(std::string("failure in ") + op_def(*calls_->failed).name + " (point " +
                         std::to_string(point) + ")");
            check(point, *calls_->failed, failure);
        }
    }

    TempFolder folder_;
    std::string path_ = folder_.file("intro.def");
    std::shared_ptr<FaultyCalls> calls_ = std::make_shared<FaultyCalls>();
    Form1 form_{Platform{[c = calls_] { return make_file_output(c); }, append_windows_1252}};
};

TEST_F(InjectedFaults, EveryFailurePointLeavesTheEarlierFileAlone) {
    ASSERT_FALSE(generate());
    const std::optional<std::string> earlier = read_bytes(path_);
    ASSERT_TRUE(earlier);
    const Results shown = results();
    ASSERT_EQ(shown.ticks, 20001);

    // Counts the operations of the run that is going to fail, on a copy of the file so that
    // the old file's permission bits are kept there too.
    type(C::Text6, "20001");
    const std::string copy = folder_.file("copy.def");
    testing::write_bytes(copy, *earlier);
    type(C::Text11, copy);
    calls_->log.clear();
    ASSERT_FALSE(generate());
    const std::size_t points = calls_->failure_points();
    const auto writes = std::count(calls_->log.begin(), calls_->log.end(), Op::Write);
    EXPECT_GE(writes, 3) << "the storyboard should take several blocks";
    RecordProperty("failure_points", static_cast<int>(points));

    // Back to the earlier file and totals, then a failure at each point in turn.
    type(C::Text6, "20000");
    type(C::Text11, path_);
    ASSERT_FALSE(generate());
    ASSERT_EQ(read_bytes(path_), earlier);
    type(C::Text6, "20001");

    std::set<Op> failed_ops;
    fail_at_each(points, [&](std::size_t, Op op, const std::optional<RunFailure>& failure) {
        failed_ops.insert(op);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->cause, FailureCause::File);
        EXPECT_NE(failure->message.find("\"" + path_ + "\""), std::string::npos)
            << failure->message;
        EXPECT_NE(failure->message.find(op_def(op).reason), std::string::npos) << failure->message;
        EXPECT_EQ(read_bytes(path_), earlier);
        EXPECT_EQ(folder_.entries(), (std::set<std::string>{"intro.def", "copy.def"}));
        EXPECT_EQ(results(), shown);
    });
    EXPECT_EQ(failed_ops, (std::set<Op>{Op::Create, Op::SetMode, Op::Write, Op::Flush, Op::Link,
                                        Op::Close, Op::Replace}));

    // With nothing failing, the same run goes through.
    ASSERT_FALSE(generate());
    EXPECT_NE(read_bytes(path_), earlier);
    EXPECT_EQ(form_.tick_total(), 20002);
}

// Another user's file that cannot be replaced keeping its owner is written in place: a
// failure at any step there is told, the close of the rewritten file included, and the file
// stays that user's.
TEST_F(InjectedFaults, AFileWrittenInPlaceTellsEveryFailure) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root, to give the file to another user";
    constexpr uid_t kNobody = 65534;
    ASSERT_FALSE(generate());
    ASSERT_EQ(::chown(path_.c_str(), kNobody, kNobody), 0);
    calls_->refuse_owner = true;
    calls_->log.clear();
    ASSERT_FALSE(generate());
    std::vector<Op> points;  // the calls that can fail, in order
    std::copy_if(calls_->log.begin(), calls_->log.end(), std::back_inserter(points), can_fail);
    // The first close is that of the replacement given up on, whose failure changes nothing.
    const auto given_up = std::find(points.begin(), points.end(), Op::Close) - points.begin();
    EXPECT_EQ(std::count(points.begin(), points.end(), Op::Close), 3)
        << "the replacement given up on, the rewritten file and the copy it was made from";
    fail_at_each(points.size(), [&](std::size_t point, Op op, const auto& failure) {
        EXPECT_EQ(!failure, static_cast<std::ptrdiff_t>(point) == given_up);
        if (failure) {
            EXPECT_NE(failure->message.find(op_def(op).reason), std::string::npos)
                << failure->message;
        }
        EXPECT_EQ(folder_.entries(), std::set<std::string>{"intro.def"});
    });
    struct stat after {};
    ASSERT_EQ(::stat(path_.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, kNobody);
}

// A power cut must find the old file or the whole new one: the new file reaches the disk
// before it takes the old one's place, and the folder is synced after.
TEST_F(InjectedFaults, FlushesBeforeReplacingAndSyncsTheFolderAfter) {
    for (const bool existed : {false, true}) {
        SCOPED_TRACE(existed ? "the file existed" : "a new file");
        calls_->log.clear();
        ASSERT_FALSE(generate());
        const std::vector<Op>& log = calls_->log;
        const auto first = [&](Op op) { return std::find(log.begin(), log.end(), op); };
        const auto last = [&](Op op) { return std::find(log.rbegin(), log.rend(), op).base() - 1; };
        ASSERT_EQ(log.front(), Op::Create);
        EXPECT_EQ(first(Op::SetMode) != log.end(), existed) << "keeps the old permission bits";
        if (existed) {
            EXPECT_LT(first(Op::SetMode), first(Op::Write));
        }
        EXPECT_LT(last(Op::Write), first(Op::Flush));
        EXPECT_LT(first(Op::Flush), first(Op::Close));
        EXPECT_LT(first(Op::Close), first(Op::Replace));
        EXPECT_LT(first(Op::Replace), first(Op::Sync));
        EXPECT_NE(first(Op::Sync), log.end());
        EXPECT_EQ(first(Op::Remove), log.end());
    }
}

// Interrupted calls are made again and short writes go on where they stopped; the file is
// the same as from a run that met neither.
TEST_F(InjectedFaults, InterruptionsAndShortWritesGiveTheSameFile) {
    ASSERT_FALSE(generate());
    const std::optional<std::string> plain = read_bytes(path_);
    ASSERT_TRUE(plain);
    ASSERT_EQ(::unlink(path_.c_str()), 0);

    calls_->interrupt_each_once = true;
    calls_->short_writes = 1000;
    ASSERT_FALSE(generate());
    EXPECT_EQ(read_bytes(path_), plain);
    EXPECT_EQ(folder_.entries(), std::set<std::string>{"intro.def"});
}

// Once the new file has taken the old one's place nothing is lost, so a folder that cannot
// be synced does not turn the run into a failure.
TEST_F(InjectedFaults, AFolderThatCannotBeSyncedLosesNothing) {
    calls_->refuse_sync = true;
    EXPECT_FALSE(generate());
    EXPECT_TRUE(read_bytes(path_));
    EXPECT_EQ(folder_.entries(), std::set<std::string>{"intro.def"});
}

}  // namespace
}  // namespace tavrix
