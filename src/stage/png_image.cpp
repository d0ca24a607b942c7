#include "stage/png_image.h"

#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace tavrix {

std::string encode_png(std::span<const std::uint8_t, kStageBytes> image) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(kStageBytes / 4 * 3);
    for (std::size_t at = 0; at < image.size(); at += 4)
        rgb.insert(rgb.end(), image.begin() + at, image.begin() + at + 3);
    std::string bytes;
    const auto append = [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                   static_cast<std::size_t>(size));
    };
    stbi_write_png_to_func(append, &bytes, kStageWidth, kStageHeight, 3, rgb.data(),
                           kStageWidth * 3);
    return bytes;
}

}  // namespace tavrix
