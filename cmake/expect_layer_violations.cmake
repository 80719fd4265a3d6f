# Runs the layering check on a tree made to break it and fails unless the
# check fails naming every line of the tree's expected.txt, and names no
# file called fine.h (includes that are allowed).
# Usage: cmake -DROOT=<tree> -P expect_layer_violations.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${ROOT} -P ${CMAKE_CURRENT_LIST_DIR}/check_layers.cmake
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(status EQUAL 0)
  message(FATAL_ERROR "the layering check passed a tree that breaks it:\n${output}")
endif()
file(STRINGS ${ROOT}/expected.txt expected)
set(missing "")
foreach(line ${expected})
  string(FIND "${output}" "${line}" at)
  if(at EQUAL -1)
    list(APPEND missing "${line}")
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n  " text)
  message(FATAL_ERROR "the layering check did not name:\n  ${text}\nit said:\n${output}")
endif()
if(output MATCHES "fine\\.h")
  message(FATAL_ERROR "the layering check refused an allowed include:\n${output}")
endif()
list(LENGTH expected count)
message(STATUS "the layering check named all ${count} violations of ${ROOT}")
