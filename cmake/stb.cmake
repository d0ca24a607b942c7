# stb's single-file image headers (the PNG reader, and the PNG writer of the tests), from the
# Debian package libstb-dev. As with nlohmann/json, a folder in the build tree holds only a
# link to them, so that a cross-compiler gets them without the whole /usr/include.
find_file(TAVRIX_STB_IMAGE_HEADER stb/stb_image.h PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
get_filename_component(tavrix_stb_headers ${TAVRIX_STB_IMAGE_HEADER} DIRECTORY)
set(tavrix_stb_include ${CMAKE_BINARY_DIR}/third-party/stb)
file(MAKE_DIRECTORY ${tavrix_stb_include})
file(CREATE_LINK ${tavrix_stb_headers} ${tavrix_stb_include}/stb SYMBOLIC)

add_library(tavrix_stb INTERFACE)
target_include_directories(tavrix_stb SYSTEM INTERFACE ${tavrix_stb_include})
