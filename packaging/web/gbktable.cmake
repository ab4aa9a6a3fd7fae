# SPDX-License-Identifier: GPL-3.0-or-later
# kt520_gbk_table(TARGET): the tables of core/base/gbk_wasm.cpp, made in the current build folder
# by packaging/web/gbk-table.py from Python's own codecs, for the browser's kt520_base and for the
# desktop test that holds them against the desktop's converter.
function(kt520_gbk_table target)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(table ${CMAKE_CURRENT_BINARY_DIR}/gbktable.inc)
  add_custom_command(OUTPUT ${table}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/packaging/web/gbk-table.py ${table}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/web/gbk-table.py VERBATIM)
  target_sources(${target} PRIVATE ${table})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
  set_source_files_properties(${CMAKE_SOURCE_DIR}/core/base/gbk_wasm.cpp TARGET_DIRECTORY ${target}
                              PROPERTIES OBJECT_DEPENDS ${table})
endfunction()
