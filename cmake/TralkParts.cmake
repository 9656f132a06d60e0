# The program's parts, as layers.txt names them: each is one static library,
# tralk_<part> ("-" becomes "_"), made of the .cpp files that belong to the
# part and linked to exactly the parts it may use. layers.txt is read here and
# by the layering test, and nowhere else.
include_guard(GLOBAL)

file(STRINGS ${PROJECT_SOURCE_DIR}/layers.txt _tralk_layer_lines REGEX "^[a-z]")
set(TRALK_PARTS)
foreach(_line IN LISTS _tralk_layer_lines)
  string(REGEX REPLACE "[ \t]*#.*" "" _line "${_line}")
  string(REGEX REPLACE "[ \t]+" ";" _fields "${_line}")
  list(POP_FRONT _fields _part _prefix)
  list(REMOVE_ITEM _fields "-")
  set(TRALK_PART_PREFIX_${_part} ${_prefix})
  set(TRALK_PART_USES_${_part} ${_fields})
  list(APPEND TRALK_PARTS ${_part})
endforeach()

function(tralk_part_target part out)
  string(REPLACE "-" "_" name "tralk_${part}")
  set(${out} ${name} PARENT_SCOPE)
endfunction()

# tralk_add_part(<part> [EXCLUDE <file>...]): the part's library. Files of a
# part with a longer prefix, main.cpp and the EXCLUDE files (relative to the
# source folder) are left out.
function(tralk_add_part part)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  set(prefix ${TRALK_PART_PREFIX_${part}})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${prefix}*)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  foreach(other IN LISTS TRALK_PARTS)
    set(other_prefix ${TRALK_PART_PREFIX_${other}})
    string(LENGTH "${prefix}" len)
    string(LENGTH "${other_prefix}" other_len)
    string(FIND "${other_prefix}" "${prefix}" at)
    if(at EQUAL 0 AND other_len GREATER len)
      list(FILTER sources EXCLUDE REGEX "^${PROJECT_SOURCE_DIR}/${other_prefix}")
    endif()
  endforeach()
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  foreach(file IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/${file})
  endforeach()
  tralk_part_target(${part} target)
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${target} PRIVATE ${TRALK_WARNINGS})
  foreach(use IN LISTS TRALK_PART_USES_${part})
    tralk_part_target(${use} used)
    target_link_libraries(${target} PUBLIC ${used})
  endforeach()
endfunction()
