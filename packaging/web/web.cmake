# SPDX-License-Identifier: GPL-3.0-or-later
# The browser's program (scripts/web.sh): kt520.js and kt520.wasm in the build root, beside the
# page and its script, the language files and the default sysini.ini.
# ASYNCIFY lets the link's waits and the port's open (nested event loops) suspend the program
# while the browser runs; FS is for the page, which puts the served files in place.
# ASYNCIFY instruments every function that might be on the stack when the program suspends,
# which is every function that makes an indirect call: asyncify-remove.json names the code that
# never reaches a wait (painting, styles, layouts, fonts, text, images, file names, PDF), about
# 3 MB of the .wasm. A function named there must never lead to an event loop.
# The image format plugins are left out: the program shows only its own PNG icons.
qt_import_plugins(kt520 EXCLUDE_BY_TYPE imageformats)
set_property(TARGET kt520 APPEND PROPERTY LINK_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/asyncify-remove.json)
target_link_options(kt520 PRIVATE
  "SHELL:-s ASYNCIFY"
  "SHELL:-s ASYNCIFY_STACK_SIZE=65536"
  "SHELL:-s ASYNCIFY_REMOVE=@${CMAKE_CURRENT_LIST_DIR}/asyncify-remove.json"
  # The whole program optimised for size at the link; it waits on the line, not on its code.
  "-Os"
  "SHELL:-s EXPORTED_RUNTIME_METHODS=UTF16ToString,stringToUTF16,FS,ENV")
foreach(page index.html kt520-web.js)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${page}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/packaging/web/${page} ${CMAKE_BINARY_DIR}/${page}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/web/${page})
  list(APPEND web_pages ${CMAKE_BINARY_DIR}/${page})
endforeach()
# Chinese texts need a font of their own in the browser (app/webpage_wasm.cpp): Debian's
# WenQuanYi Micro Hei, served beside the page, not kept in the repository.
set(cjk_font /usr/share/fonts/truetype/wqy/wqy-microhei.ttc)
if(EXISTS ${cjk_font})
  file(COPY ${cjk_font} DESTINATION ${CMAKE_BINARY_DIR}/fonts)
else()
  message(WARNING "${cjk_font} is missing (package fonts-wqy-microhei): Chinese texts will show as boxes")
endif()
set(icon ${CMAKE_BINARY_DIR}/kt520.png)
add_custom_command(OUTPUT ${icon}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/packaging/icons/kt520.png ${icon}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/icons/kt520.png)
add_custom_target(kt520_web_page ALL DEPENDS ${web_pages} ${icon})
