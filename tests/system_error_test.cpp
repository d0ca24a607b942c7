// The words for a system error, made in one place for the C library's codes and Windows'
// alike: the call decides between reading and writing words, the same cause reads the same
// on either system, and a code without words of its own is given by its number.
#include <gtest/gtest.h>

#include <cerrno>

#include "system/file_input.h"
#include "system/output.h"
#include "system/windows_codes.h"

namespace tavrix {
namespace {

using Call = SystemCall;
constexpr ErrorCodes kErrno = ErrorCodes::Errno;
constexpr ErrorCodes kWindows = ErrorCodes::Windows;

struct WordsCase {
    Call call;
    ErrorCodes codes;
    std::uint32_t code;
    const char* words;
};

TEST(SystemError, HasOneWordingForEitherSystem) {
    namespace w = windows_code;
    const WordsCase cases[] = {
        {Call::OpenForReading, kErrno, ENOENT, "el archivo no existe"},
        {Call::Create, kErrno, ENOENT, "la carpeta no existe"},
        {Call::Read, kErrno, EACCES, "no hay permiso para leerlo"},
        {Call::Create, kErrno, EPERM, "no hay permiso para escribir ahí"},
        {Call::OpenForReading, kWindows, w::kAccessDenied, "no hay permiso para leerlo"},
        {Call::Create, kWindows, w::kAccessDenied, "no hay permiso para escribir ahí"},
        {Call::Create, kWindows, w::kFileNotFound, "el archivo no existe"},
        {Call::Create, kWindows, w::kPathNotFound, "la carpeta no existe"},
        {Call::Replace, kErrno, EBUSY, "el archivo está en uso por otro programa"},
        {Call::Replace, kWindows, w::kSharingViolation, "el archivo está en uso por otro programa"},
        {Call::Write, kErrno, ENOSPC, "no queda espacio en el disco"},
        {Call::Write, kWindows, w::kHandleDiskFull, "no queda espacio en el disco"},
        {Call::Flush, kWindows, w::kIoDevice, "error de entrada/salida del disco"},
        {Call::WriteStandardOutput, kErrno, EIO, "error de entrada/salida del disco"},
        {Call::OpenForReading, kErrno, ELOOP, "hay demasiados enlaces simbólicos en la ruta"},
        {Call::Write, kErrno, EPIPE, "el programa que leía el archivo dejó de leer"},
        {Call::WriteStandardOutput, kErrno, EPIPE, "el programa que la leía dejó de leer"},
        {Call::WriteStandardOutput, kErrno, EBADF, "está cerrada"},
        {Call::Write, kErrno, EBADF, "error del sistema número 9"},
        {Call::Name, kErrno, EMLINK, "error del sistema número 31"},
        {Call::Create, kWindows, 1455, "error del sistema número 1455"},
        {Call::Read, kErrno, 0, "error del sistema"},
    };
    for (const WordsCase& c : cases) {
        const SystemError error{c.call, c.codes, c.code, "a"};
        EXPECT_EQ(system_error_words(error), c.words) << c.code;
        const IoStatus status = IoStatus::failure(error);
        EXPECT_EQ(status.reason(), c.words);
        EXPECT_EQ(status.system_error(), error);
    }
}

TEST(SystemError, TellsTheCallAndThePathOfAFileRead) {
    const std::string path = "/no/such/folder/intro.def";
    const FileContents contents = read_system_file(path, 16);
    ASSERT_FALSE(contents.ok());
    EXPECT_EQ(contents.error().system_error, errno_error(Call::OpenForReading, ENOENT, path));
    EXPECT_EQ(contents.error().reason, "el archivo no existe");
}

}  // namespace
}  // namespace tavrix
