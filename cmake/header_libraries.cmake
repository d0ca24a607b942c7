# Header-only libraries from Debian's packages. Each is reached through a folder in the build
# tree that holds only a link to its headers, so that a cross-compiler never gets the build
# machine's whole include folder on its path.

# Makes the INTERFACE library `target` whose headers are the folder `folder` of
# /usr/include, found by one of its files, `header` (relative to /usr/include).
function(tavrix_header_library target folder header)
  string(TOUPPER ${target} variable)
  find_file(${variable}_HEADER ${header} PATHS /usr/include NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  get_filename_component(headers ${${variable}_HEADER} DIRECTORY)
  set(include ${CMAKE_BINARY_DIR}/third-party/${target})
  file(MAKE_DIRECTORY ${include})
  file(CREATE_LINK ${headers} ${include}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${include})
endfunction()

# nlohmann/json, for the session file.
tavrix_header_library(tavrix_json nlohmann nlohmann/json.hpp)
# stb's single-file image headers (the PNG reader of the sprite archives, the PNG writer of
# the preview and the tests), from libstb-dev.
tavrix_header_library(tavrix_stb stb stb/stb_image.h)
