# SPDX-License-Identifier: GPL-3.0-or-later
# One static library per layer folder, made of every .cpp in it (a new file needs no change
# here), linking exactly the layers the folder includes. The folder's place among the layers is
# checked over the #include lines by scripts/check-layers.sh.
function(kt520_layer target)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main(_[^/]*)?\\.cpp$")
  # A piece the two systems do differently lives in NAME_posix.cpp and NAME_win.cpp beside the
  # portable NAME.cpp; the build takes the one for its system.
  # In the browser (Emscripten, a POSIX-like C library) NAME_wasm.cpp takes the place of
  # NAME_posix.cpp where there is one, and of NAME_desktop.cpp, which both desktops build.
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
  endif()
  if(EMSCRIPTEN)
    foreach(source ${sources})
      if(source MATCHES "^(.*)_wasm\\.cpp$")
        list(REMOVE_ITEM sources "${CMAKE_MATCH_1}_posix.cpp" "${CMAKE_MATCH_1}_desktop.cpp")
      endif()
    endforeach()
  else()
    list(FILTER sources EXCLUDE REGEX "_wasm\\.cpp$")
  endif()
  add_library(${target} STATIC ${sources})
  target_link_libraries(${target} PUBLIC ${ARGN})
endfunction()
