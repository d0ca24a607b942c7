// The storyboard file on the real file system. A regular file (or a missing one) is replaced
// only by a complete new one: the run writes a temporary file beside it, flushes it to disk
// and then moves it over the old one, keeping the old file's permission bits; a symbolic
// link stays a link and the file it points to is the one replaced. A device or a FIFO at the
// path is written directly, never replaced. On Windows the paths are wide-character paths
// and the new file takes the old one's place with the system call that replaces a file.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "storyboard/output.h"

namespace tavrix {

#ifndef _WIN32

// The low-level calls the file output makes, so that a test can make any one of them fail.
// Each returns 0 or a byte count on success and -1 with errno set on failure, like the
// system calls they stand for. A call that fails with EINTR is made again.
class FileCalls {
  public:
    virtual ~FileCalls() = default;
    // Opens for writing: a new file (exclusive), or an existing device or FIFO, which is
    // never created; a FIFO that nobody reads fails at once instead of waiting.
    virtual int create(const char* path, bool exclusive, unsigned mode);
    virtual long write(int fd, const char* bytes, unsigned long size);
    virtual int flush(int fd);  // to disk
    virtual int close(int fd);
    virtual int replace(const char* from, const char* to);
    virtual int remove(const char* path);
    virtual int set_mode(int fd, unsigned mode);
    virtual int sync_directory(const char* path);  // makes a rename in it last

  private:
    // The new regular file that create() made, which no write can raise SIGPIPE on: its
    // writes need not hold the signal back, which costs two system calls a block.
    int new_file_ = -1;
};

// Spanish words for an errno value ("la carpeta no existe").
std::string describe_errno(int error);

std::unique_ptr<Output> make_file_output(std::shared_ptr<FileCalls> calls = nullptr);
#else
std::unique_ptr<Output> make_file_output();

// Spanish words for a Windows error code from GetLastError.
std::string describe_windows_error(unsigned long code);
#endif

}  // namespace tavrix
