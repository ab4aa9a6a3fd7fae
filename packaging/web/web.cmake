# SPDX-License-Identifier: GPL-3.0-or-later
# The browser's program (scripts/web.sh): kt520.js and kt520.wasm in the build root, beside the
# page and its script, the language files and the default sysini.ini.
# ASYNCIFY lets the link's waits (a nested event loop) and the port's open suspend the program
# while the browser runs; FS is for the page, which puts the served files in place.
target_link_options(kt520 PRIVATE
  "SHELL:-s ASYNCIFY"
  "SHELL:-s ASYNCIFY_STACK_SIZE=65536"
  "SHELL:-s EXPORTED_RUNTIME_METHODS=UTF16ToString,stringToUTF16,FS")
foreach(page index.html kt520-web.js)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${page}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/packaging/web/${page} ${CMAKE_BINARY_DIR}/${page}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/web/${page})
  list(APPEND web_pages ${CMAKE_BINARY_DIR}/${page})
endforeach()
add_custom_target(kt520_web_page ALL DEPENDS ${web_pages})
