#include "system/system_error.h"

#include <cerrno>

#include "system/windows_codes.h"

namespace tavrix {
namespace {

// What went wrong, whichever system said it.
enum class Cause : std::uint8_t {
    NoCode,
    Missing,  // a name on the path is not there (the C library cannot tell which)
    FileMissing,
    FolderMissing,
    DriveMissing,
    NotAFolder,
    IsAFolder,
    NoPermission,
    DiskFull,
    QuotaExceeded,
    NameTooLong,
    InvalidName,
    ReadOnlyFileSystem,
    WriteProtected,
    TooManyLinks,
    InputOutput,
    TooLarge,
    InUse,
    TooManyOpen,
    NameTaken,
    NotReplaced,
    NoReader,
    ReaderLeft,
    Closed,
    NoMemory,
    Terminated,
    NotReady,
    NoNetworkPath,
    Other,
};

Cause errno_cause(std::uint32_t code) {
    switch (static_cast<int>(code)) {
        case 0:
            return Cause::NoCode;
        case ENOENT:
            return Cause::Missing;
        case ENOTDIR:
            return Cause::NotAFolder;
        case EISDIR:
            return Cause::IsAFolder;
        case EACCES:
        case EPERM:
            return Cause::NoPermission;
        case ENOSPC:
            return Cause::DiskFull;
#ifdef EDQUOT
        case EDQUOT:
            return Cause::QuotaExceeded;
#endif
        case ENAMETOOLONG:
            return Cause::NameTooLong;
        case EROFS:
            return Cause::ReadOnlyFileSystem;
#ifdef ELOOP
        case ELOOP:
            return Cause::TooManyLinks;
#endif
        case EIO:
            return Cause::InputOutput;
        case EFBIG:
            return Cause::TooLarge;
#ifdef ETXTBSY
        case ETXTBSY:
#endif
        case EBUSY:
            return Cause::InUse;
        case EMFILE:
        case ENFILE:
            return Cause::TooManyOpen;
        case EEXIST:
            return Cause::NameTaken;
        case ENXIO:
            return Cause::NoReader;
        case EPIPE:
            return Cause::ReaderLeft;
        case EBADF:
            return Cause::Closed;
        case ENOMEM:
            return Cause::NoMemory;
        case EINTR:
            return Cause::Terminated;
        default:
            return Cause::Other;
    }
}

Cause windows_cause(std::uint32_t code) {
    namespace w = windows_code;
    switch (code) {
        case 0:
            return Cause::NoCode;
        case w::kFileNotFound:
            return Cause::FileMissing;
        case w::kPathNotFound:
            return Cause::FolderMissing;
        case w::kInvalidDrive:
            return Cause::DriveMissing;
        case w::kAccessDenied:
            return Cause::NoPermission;
        case w::kDiskFull:
        case w::kHandleDiskFull:
            return Cause::DiskFull;
        case w::kInvalidName:
        case w::kBadPathname:
        case w::kDirectory:
            return Cause::InvalidName;
        case w::kFilenameExcedRange:
            return Cause::NameTooLong;
        case w::kSharingViolation:
        case w::kLockViolation:
        case w::kUserMappedFile:
            return Cause::InUse;
        case w::kWriteProtect:
            return Cause::WriteProtected;
        case w::kNotReady:
            return Cause::NotReady;
        case w::kBadNetPath:
        case w::kBadNetName:
            return Cause::NoNetworkPath;
        case w::kFileExists:
        case w::kAlreadyExists:
            return Cause::NameTaken;
        case w::kUnableToRemoveReplaced:
        case w::kUnableToMoveReplacement:
        case w::kUnableToMoveReplacement2:
            return Cause::NotReplaced;
        case w::kCrc:
        case w::kIoDevice:
            return Cause::InputOutput;
        case w::kTooManyOpenFiles:
            return Cause::TooManyOpen;
        default:
            return Cause::Other;
    }
}

bool reads(SystemCall call) {
    return call == SystemCall::OpenForReading || call == SystemCall::ReadStatus ||
           call == SystemCall::Read;
}

// The words for a cause; empty when it has none, and the code is given instead.
const char* cause_words(Cause cause, SystemCall call) {
    const bool standard_output = call == SystemCall::WriteStandardOutput;
    switch (cause) {
        case Cause::NoCode:
            return "error del sistema";
        case Cause::Missing:
            return reads(call) ? "el archivo no existe" : "la carpeta no existe";
        case Cause::FileMissing:
            return "el archivo no existe";
        case Cause::FolderMissing:
            return "la carpeta no existe";
        case Cause::DriveMissing:
            return "la unidad no existe";
        case Cause::NotAFolder:
            return "una parte de la ruta no es una carpeta";
        case Cause::IsAFolder:
            return kIsAFolder;
        case Cause::NoPermission:
            return reads(call) ? "no hay permiso para leerlo" : "no hay permiso para escribir ahí";
        case Cause::DiskFull:
            return "no queda espacio en el disco";
        case Cause::QuotaExceeded:
            return "se superó la cuota de disco";
        case Cause::NameTooLong:
            return "la ruta es demasiado larga";
        case Cause::InvalidName:
            return "el nombre del archivo no es válido";
        case Cause::ReadOnlyFileSystem:
            return "el sistema de archivos es de solo lectura";
        case Cause::WriteProtected:
            return "el disco está protegido contra escritura";
        case Cause::TooManyLinks:
            return "hay demasiados enlaces simbólicos en la ruta";
        case Cause::InputOutput:
            return "error de entrada/salida del disco";
        case Cause::TooLarge:
            return "el archivo es demasiado grande";
        case Cause::InUse:
            return "el archivo está en uso por otro programa";
        case Cause::TooManyOpen:
            return "hay demasiados archivos abiertos";
        case Cause::NameTaken:
            return "no se pudo crear un archivo temporal";
        case Cause::NotReplaced:
            return "no se pudo reemplazar el archivo anterior";
        case Cause::NoReader:
            return "ningún programa lee de la tubería o el dispositivo no responde";
        case Cause::ReaderLeft:
            return standard_output ? "el programa que la leía dejó de leer"
                                   : "el programa que leía el archivo dejó de leer";
        case Cause::Closed:
            return standard_output ? "está cerrada" : "";
        case Cause::NoMemory:
            return "no queda memoria";
        case Cause::Terminated:
            return "el programa recibió la orden de terminar";
        case Cause::NotReady:
            return "la unidad no está lista";
        case Cause::NoNetworkPath:
            return "la ruta de red no existe";
        case Cause::Other:
            break;
    }
    return "";
}

}  // namespace

std::string system_error_words(const SystemError& error) {
    const Cause cause =
        error.codes == ErrorCodes::Errno ? errno_cause(error.code) : windows_cause(error.code);
    std::string words = cause_words(cause, error.call);
    if (words.empty())
        words = "error del sistema número " + std::to_string(error.code);
    return words;
}

}  // namespace tavrix
