// The storyboard file on the real file system. A regular file (or a missing one) is replaced
// only by a complete new one: the run writes a temporary file beside it, flushes it to disk
// and then moves it over the old one, keeping the old file's permission bits; a symbolic
// link stays a link and the file it points to is the one replaced. A device or a FIFO at the
// path is written directly, never replaced.
#pragma once

#include <memory>

#include "storyboard/output.h"

namespace tavrix {

// The low-level calls the file output makes, so that a test can make any one of them fail.
// Each returns 0 or a byte count on success and -1 with errno set on failure, like the
// system calls they stand for.
class FileCalls {
  public:
    virtual ~FileCalls() = default;
    virtual int create(const char* path, bool exclusive, unsigned mode);  // open for writing
    virtual long write(int fd, const char* bytes, unsigned long size);
    virtual int flush(int fd);  // to disk
    virtual int close(int fd);
    virtual int replace(const char* from, const char* to);
    virtual int remove(const char* path);
    virtual int set_mode(int fd, unsigned mode);
};

// Spanish words for an errno value ("la carpeta no existe").
std::string describe_errno(int error);

std::unique_ptr<Output> make_file_output(std::shared_ptr<FileCalls> calls = nullptr);
OutputFactory system_output_factory();

}  // namespace tavrix
