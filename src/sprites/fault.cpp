#include "sprites/fault.h"

#include "common/numbers.h"
#include "sprites/limits.h"

namespace tavrix {
namespace {

using K = SpriteFaultKind;

std::string subject(const SpriteFault& fault) {
    const std::string key =
        std::to_string(fault.key.group) + "," + std::to_string(fault.key.number);
    switch (fault.place) {
        case FaultPlace::Sprite:
            return "el sprite " + key;
        case FaultPlace::Palette:
            return "la paleta " + key;
        case FaultPlace::Archive:
            break;
    }
    return fault.kind == K::NotAnArchive ? "el archivo" : "el archivo de sprites";
}

std::string size_refused(const SpriteFault& fault) {
    return "es demasiado grande (" + grouped_number(fault.width) + " x " +
           grouped_number(fault.height) + " píxeles; se admiten hasta " +
           grouped_number(kMaxSpriteSide) + " de lado y " + grouped_number(kMaxSpritePixels) +
           " en total)";
}

// What follows the subject; a palette is feminine.
std::string predicate(const SpriteFault& fault) {
    const bool palette = fault.place == FaultPlace::Palette;
    switch (fault.kind) {
        case K::NotAnArchive:
            return "no es un archivo de sprites";
        case K::UnknownVersion:
            return "es de una versión que no se conoce";
        case K::Truncated:
            return fault.place == FaultPlace::Archive ? "se acaba antes de tiempo"
                                                      : "se sale del final del archivo";
        case K::OutsideFile:
            return fault.place == FaultPlace::Archive
                       ? "tiene un índice que apunta fuera del archivo"
                       : "apunta fuera del archivo";
        case K::CountTooLarge:
            return "dice tener más de " + grouped_number(kMaxSprites) + " sprites o paletas";
        case K::LinkLoop:
            return palette ? "enlaza en círculo consigo misma" : "enlaza en círculo consigo mismo";
        case K::LinkToNowhere:
            return palette ? "enlaza con una paleta que no existe"
                           : "enlaza con un sprite que no existe";
        case K::SizeTooLarge:
            return size_refused(fault);
        case K::SizeMismatch:
            return "no tiene el tamaño que dicen sus datos";
        case K::BadPixelData:
            return "tiene los píxeles dañados";
        case K::BadPalette:
            return palette ? "está dañada" : "no tiene una paleta válida";
        case K::PngRefused:
            return "tiene un PNG que no se puede leer";
        case K::NoSuchSprite:
            return "no está en el archivo";
        case K::FileNotFound:
            return "no existe";
        case K::FileUnreadable:
            break;
    }
    return "no se puede leer: " + fault.system_reason;
}

}  // namespace

std::string sprite_fault_text(const SpriteFault& fault) {
    std::string line = subject(fault) + " " + predicate(fault);
    if (fault.offset)
        line += " (byte " + grouped_number(*fault.offset) + ")";
    return line;
}

}  // namespace tavrix
