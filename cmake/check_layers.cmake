# Fails when a folder of src/ includes a folder above it.
#   protocol/, storage/ and the page framework hosts/ sit at the bottom;
#   the feature folders (programming, modules, operation, diagnostics, backup) sit on
#   them; app/ assembles the features; ui/ is the Qt shell over everything.
# Usage: cmake -DROOT=<folder holding src/> -P check_layers.cmake
if(NOT ROOT)
  message(FATAL_ERROR "ROOT is not set")
endif()

set(features programming modules operation diagnostics backup)
set(above_features app ui)
set(bottom protocol storage hosts)

set(forbidden_protocol ${features} ${above_features} hosts)
set(forbidden_storage ${features} ${above_features} hosts)
set(forbidden_hosts ${features} ${above_features})
foreach(feature ${features})
  set(forbidden_${feature} ${above_features})
endforeach()
set(forbidden_app ui)

set(violations "")
set(checked 0)
foreach(folder ${bottom} ${features} app)
  file(GLOB_RECURSE sources ${ROOT}/src/${folder}/*.h ${ROOT}/src/${folder}/*.cpp)
  foreach(source ${sources})
    math(EXPR checked "${checked} + 1")
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*$" "\\1" target "${line}")
      foreach(upper ${forbidden_${folder}})
        if(target MATCHES "^${upper}/")
          file(RELATIVE_PATH where ${ROOT} ${source})
          list(APPEND violations "${where} includes ${target}")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "no sources found under ${ROOT}/src")
endif()
if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "layering violations:\n  ${text}")
endif()
message(STATUS "layering: ${checked} files include nothing from above their layer")
