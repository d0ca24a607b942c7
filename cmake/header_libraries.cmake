# nlohmann/json, header-only, from the Debian package. The headers are reached through a
# folder in the build tree that holds only a link to them, so that a cross-compiler never
# gets the build machine's whole include folder on its path.
find_file(TAVRIX_JSON_HEADER nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
get_filename_component(tavrix_json_headers ${TAVRIX_JSON_HEADER} DIRECTORY)
set(tavrix_json_include ${CMAKE_BINARY_DIR}/third-party/json)
file(MAKE_DIRECTORY ${tavrix_json_include})
file(CREATE_LINK ${tavrix_json_headers} ${tavrix_json_include}/nlohmann SYMBOLIC)

add_library(tavrix_json INTERFACE)
target_include_directories(tavrix_json SYSTEM INTERFACE ${tavrix_json_include})
