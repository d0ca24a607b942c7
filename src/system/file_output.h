// The storyboard file on the real file system. A regular file (or a missing one) is replaced
// only by a complete new one. On Linux the new file is written as an unnamed file in the
// target folder that gets a name only at the moment it replaces the old one, so a killed
// program leaves nothing behind; where the file system lacks unnamed files, a hidden
// temporary file stands in. The replacement keeps the old file's owner, group and permission
// bits. A file that cannot be replaced keeping them (a folder where the person cannot create
// files, another user's file, a mount point) is written in place, and only once the complete
// new content stands ready elsewhere. A read-only file is refused. A symbolic link stays a
// link and the file it points to is the one replaced, unless the link is another user's in a
// shared sticky folder. A device, FIFO or pipe at the path is written directly. On Windows
// the paths are wide-character paths, the new file takes the old one's place with the system
// call that replaces a file, and a run removes the temporary files that runs of processes
// now gone left in that folder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "system/output.h"

namespace tavrix {

#ifndef _WIN32

// How the file output opens a file.
enum class Creation : std::uint8_t {
    Unnamed,    // an unnamed file in the folder `path`, for reading and writing
    Exclusive,  // a new file at `path`, never an existing one
    Existing,   // an existing file, device or FIFO, never created or truncated
};

// The low-level calls the file output makes, so that a test can make any one of them fail.
// Each returns 0 or a byte count on success and -1 with errno set on failure, like the
// system calls they stand for. A call that fails with EINTR is made again.
class FileCalls {
  public:
    virtual ~FileCalls() = default;
    // Existing files are opened without waiting: a FIFO that nobody reads fails at once, and
    // writes that would wait report EAGAIN, so that the run can wait for them in slices.
    virtual int create(const char* path, Creation how, unsigned mode);
    virtual long write(int fd, const char* bytes, unsigned long size);
    virtual int flush(int fd);  // to disk
    virtual int close(int fd);
    virtual int link(int fd, const char* path);  // gives an unnamed file a name
    virtual int replace(const char* from, const char* to);
    virtual int remove(const char* path);
    virtual int set_mode(int fd, unsigned mode);
    virtual int set_owner(int fd, unsigned owner, unsigned group);
    virtual int resize(int fd, long long size);
    virtual int sync_directory(const char* path);  // makes a rename in it last
};

std::unique_ptr<Output> make_file_output(std::shared_ptr<FileCalls> calls = nullptr);
#else
std::unique_ptr<Output> make_file_output();
#endif

// What the programs do at start-up. A write past the file size limit or into a pipe whose
// reader left reports EFBIG or EPIPE instead of ending the program; a closed standard
// descriptor (POSIX) is taken by a read-only stand-in, so that no file the program opens
// gets its number and writes to it keep failing.
void prepare_process_for_files();

// tavrix-script: SIGINT, SIGTERM and SIGHUP are recorded instead of ending the program; a
// run that is writing then stops and leaves the earlier file as it was.
void stop_writing_on_termination_signals();
// The signal recorded, or 0.
[[nodiscard]] int termination_signal() noexcept;

}  // namespace tavrix
