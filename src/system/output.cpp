#include "system/output.h"

namespace tavrix {

IoStatus write_whole(Output& output, std::string_view path, std::string_view bytes) {
    IoStatus status = output.open(path);
    if (status.ok())
        status = output.write(bytes);
    if (status.ok())
        status = output.commit();
    if (!status.ok())
        output.abandon();
    return status;
}

}  // namespace tavrix
