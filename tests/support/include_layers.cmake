# Includes run downwards only. Run as a script:
#   cmake -DSOURCE_DIR=<src folder> -P include_layers.cmake
# Every quoted include of every file under SOURCE_DIR is checked against the
# layers below; each include that reaches up (or sideways where that is not
# allowed) is printed and the script fails.
#   cmake -DSELF_TEST_DIR=<scratch folder> -P include_layers.cmake
# builds a small tree there with one include of each kind and fails unless
# exactly the wrong ones are reported (so a broken check cannot pass quietly).
#
# Layers, lowest first; a file may include its own folder, any lower layer, and
# the neighbours of its own layer listed in LAYER_SIDEWAYS:
#   1  core, platform           (each may include the other)
#   2  state                    (program state, settings files, service interfaces)
#   3  storage, sheet, calc     (sideways only as LAYER_SIDEWAYS allows)
#   4  app, editor, print, classify, reference   (each may include the others)
#   5  every windows/ and qt/ folder (the Qt side), and main.cpp
cmake_minimum_required(VERSION 3.25)

set(LAYER_core 1)
set(LAYER_platform 1)
set(LAYER_state 2)
set(LAYER_storage 3)
set(LAYER_sheet 3)
set(LAYER_calc 3)
set(LAYER_app 4)
set(LAYER_editor 4)
set(LAYER_print 4)
set(LAYER_classify 4)
set(LAYER_reference 4)
set(LAYER_ui 5)
set(LAYER_main 5)

# Layers whose folders include each other freely.
set(LAYER_OPEN 1 4 5)
# Sideways includes allowed within layer 3, as "from>to".
set(LAYER_SIDEWAYS "sheet>storage" "sheet>calc" "storage>sheet")

# The layer part of a path below src/: "ui" for anything in a windows/ or qt/
# folder, "main" for main.cpp, else its first folder.
function(layer_part path out)
  if(path MATCHES "(^|/)(windows|qt)/")
    set(${out} ui PARENT_SCOPE)
  elseif(path STREQUAL "main.cpp")
    set(${out} main PARENT_SCOPE)
  elseif(path MATCHES "^([^/]+)/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

# Sets `out` to the list of offending includes of the tree, one
# "file: includes \"x\" (from may not include to)" each.
function(check_tree root out)
  set(offences)
  file(GLOB_RECURSE files RELATIVE ${root} ${root}/*.h ${root}/*.cpp)
  list(SORT files)
  foreach(rel IN LISTS files)
    layer_part(${rel} from)
    if(NOT DEFINED LAYER_${from})
      list(APPEND offences "${rel}: in no layer (add its folder to include_layers.cmake)")
      continue()
    endif()
    file(STRINGS ${root}/${rel} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
        continue()
      endif()
      set(target ${CMAKE_MATCH_1})
      layer_part(${target} to)
      # Includes that are not a src/ folder (a file beside it, a test file).
      if(NOT DEFINED LAYER_${to})
        continue()
      endif()
      if(from STREQUAL to)
        continue()
      endif()
      set(a ${LAYER_${from}})
      set(b ${LAYER_${to}})
      if(b LESS a)
        continue()
      endif()
      if(b EQUAL a)
        if(a IN_LIST LAYER_OPEN OR "${from}>${to}" IN_LIST LAYER_SIDEWAYS)
          continue()
        endif()
      endif()
      list(APPEND offences "${rel}: includes \"${target}\" (${from} may not include ${to})")
    endforeach()
  endforeach()
  set(${out} "${offences}" PARENT_SCOPE)
endfunction()

if(DEFINED SELF_TEST_DIR)
  get_filename_component(t ${SELF_TEST_DIR}/src ABSOLUTE)
  file(REMOVE_RECURSE ${t})
  file(WRITE ${t}/core/a.cpp "#include \"core/b.h\"\n#include \"platform/ui.h\"\n#include \"state/program_state.h\"\n")
  file(WRITE ${t}/state/s.h "#include <string>\n#include \"core/a.h\"\n#include \"sheet/x.h\"\n")
  file(WRITE ${t}/sheet/x.cpp "#include \"storage/y.h\"\n#include \"calc/z.h\"\n")
  file(WRITE ${t}/calc/z.cpp "#include \"sheet/x.h\"\n#include \"state/s.h\"\n")
  file(WRITE ${t}/storage/y.cpp "#include \"storage/windows/w.h\"\n  #  include \"app/e.h\"\n")
  file(WRITE ${t}/editor/e.cpp "#include \"app/p.h\"\n#include \"editor/windows/v.h\"\n")
  file(WRITE ${t}/editor/windows/v.cpp "#include \"app/windows/q.h\"\n#include \"storage/y.h\"\n")
  file(WRITE ${t}/main.cpp "#include \"app/windows/q.h\"\n")
  check_tree(${t} got)
  set(want
      "calc/z.cpp: includes \"sheet/x.h\" (calc may not include sheet)"
      "core/a.cpp: includes \"state/program_state.h\" (core may not include state)"
      "editor/e.cpp: includes \"editor/windows/v.h\" (editor may not include ui)"
      "state/s.h: includes \"sheet/x.h\" (state may not include sheet)"
      "storage/y.cpp: includes \"storage/windows/w.h\" (storage may not include ui)"
      "storage/y.cpp: includes \"app/e.h\" (storage may not include app)")
  if(NOT got STREQUAL want)
    string(REPLACE ";" "\n  " g "${got}")
    string(REPLACE ";" "\n  " w "${want}")
    message(FATAL_ERROR "The include check reported:\n  ${g}\nexpected:\n  ${w}")
  endif()
  file(REMOVE_RECURSE ${t})
  return()
endif()

if(NOT DEFINED SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<src folder> -P include_layers.cmake")
endif()
get_filename_component(root ${SOURCE_DIR} ABSOLUTE)
file(GLOB_RECURSE any ${root}/*.cpp)
if(NOT any)
  message(FATAL_ERROR "no sources under ${root}")
endif()
check_tree(${root} offences)
if(offences)
  list(LENGTH offences n)
  string(REPLACE ";" "\n  " text "${offences}")
  message(FATAL_ERROR "${n} include(s) run against the layers:\n  ${text}")
endif()
