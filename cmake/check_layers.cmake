# Fails when a source file includes a folder above its own, or when the
# feature folders include each other in a cycle.
#   src/: protocol/, storage/ and the page framework hosts/ sit at the bottom;
#   the feature folders (programming, modules, operation, diagnostics, backup)
#   sit on them; app/ assembles the features; ui/ is the Qt shell over everything.
#   tools/common/ holds what the programs beside the tool share (the lab guard,
#   the operator port without a window) and knows only the core below app/;
#   tools/hostsim/ plays the device and knows the protocol alone;
#   tools/cli/ and bench/ use the core and tools/common/, not each other, nor
#   the simulator, nor ui/.
# An include is read as written: relative to the including file when it starts
# with "." or names no folder, else by its first folder ("ui/...", "common/...").
# Usage: cmake -DROOT=<folder holding src/> -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT ROOT)
  message(FATAL_ERROR "ROOT is not set")
endif()

set(features programming modules operation diagnostics backup)
set(src_folders protocol storage hosts ${features} app ui)
set(tools_folders common cli hostsim)

set(core_below_app src/protocol src/storage src/hosts)
foreach(feature ${features})
  list(APPEND core_below_app src/${feature})
endforeach()

# What each layer may not include.
set(forbidden_src/protocol src/hosts)
set(forbidden_src/storage src/hosts)
set(forbidden_src/hosts)
foreach(feature ${features})
  list(APPEND forbidden_src/protocol src/${feature})
  list(APPEND forbidden_src/storage src/${feature})
  list(APPEND forbidden_src/hosts src/${feature})
endforeach()
set(programs tools/common tools/cli tools/hostsim bench)
foreach(layer ${core_below_app})
  list(APPEND forbidden_${layer} src/app src/ui ${programs})
endforeach()
set(forbidden_src/app src/ui ${programs})
set(forbidden_src/ui ${programs})
set(forbidden_tools/common src/app src/ui tools/cli tools/hostsim bench)
set(forbidden_tools/hostsim src/storage src/hosts src/app src/ui tools/cli bench)
foreach(feature ${features})
  list(APPEND forbidden_tools/hostsim src/${feature})
endforeach()
set(forbidden_tools/cli src/ui tools/hostsim bench)
set(forbidden_bench src/ui tools/cli tools/hostsim)

# The layer of a path relative to ROOT: src/<folder>, tools/<folder>, bench,
# or empty for anything else.
function(layer_of path out)
  set(layer "")
  if(path MATCHES "^src/([^/]+)/")
    set(layer "src/${CMAKE_MATCH_1}")
  elseif(path MATCHES "^tools/([^/]+)/")
    set(layer "tools/${CMAKE_MATCH_1}")
  elseif(path MATCHES "^bench/")
    set(layer "bench")
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# The layer an include written as `target` in `source` (relative to ROOT) reaches.
function(included_layer source target out)
  set(layer "")
  if(target MATCHES "^([^/]+)/")
    set(first "${CMAKE_MATCH_1}")
  else()
    set(first "")
  endif()
  if(first STREQUAL "" OR first STREQUAL "." OR first STREQUAL "..")
    get_filename_component(folder "${source}" DIRECTORY)
    cmake_path(SET resolved NORMALIZE "${folder}/${target}")
    layer_of("${resolved}" layer)
  elseif(first IN_LIST src_folders)
    set(layer "src/${first}")
  elseif(first IN_LIST tools_folders)
    set(layer "tools/${first}")
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

set(violations "")
set(checked 0)
set(edges "")
file(GLOB_RECURSE sources RELATIVE ${ROOT}
     ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/tools/*.h ${ROOT}/tools/*.cpp
     ${ROOT}/bench/*.h ${ROOT}/bench/*.cpp)
list(SORT sources)
foreach(source ${sources})
  layer_of("${source}" own)
  if(own STREQUAL "")
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  file(STRINGS ${ROOT}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*$" "\\1" target "${line}")
    included_layer("${source}" "${target}" reached)
    if(reached STREQUAL "" OR reached STREQUAL own)
      continue()
    endif()
    if(reached IN_LIST forbidden_${own})
      list(APPEND violations "${source} includes ${target}")
    endif()
    # Feature to feature: kept for the cycle check, the first file naming it.
    string(REGEX REPLACE "^src/" "" from "${own}")
    string(REGEX REPLACE "^src/" "" to "${reached}")
    if(from IN_LIST features AND to IN_LIST features AND NOT DEFINED edge_${from}_${to})
      set(edge_${from}_${to} "${source} includes ${target}")
      list(APPEND edges "${from}>${to}")
    endif()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "no sources found under ${ROOT}")
endif()

# Peel off every feature that includes no feature left; whatever remains
# includes another that remains: the folders of a cycle.
set(remaining ${features})
set(peeled TRUE)
while(peeled)
  set(peeled FALSE)
  foreach(from ${remaining})
    set(leaf TRUE)
    foreach(to ${remaining})
      if(DEFINED edge_${from}_${to})
        set(leaf FALSE)
      endif()
    endforeach()
    if(leaf)
      list(REMOVE_ITEM remaining ${from})
      set(peeled TRUE)
    endif()
  endforeach()
endwhile()
foreach(from ${remaining})
  foreach(to ${remaining})
    if(DEFINED edge_${from}_${to})
      list(APPEND violations "include cycle: ${edge_${from}_${to}}")
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "layering violations:\n  ${text}")
endif()
list(TRANSFORM edges REPLACE ">" " -> ")
list(JOIN edges ", " edge_text)
message(STATUS "layering: ${checked} files include nothing from above their layer; "
               "the features include each other without a cycle (${edge_text})")
