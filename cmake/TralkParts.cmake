# The program's parts, as layers.txt names them: each is one static library,
# tralk_<part> ("-" becomes "_"), made of the .cpp files that belong to the
# part and linked to exactly the parts it may use. layers.txt is read here and
# by the layering test, and nowhere else.
#
# A part is compiled against a folder of its own in the build tree that holds
# only its headers and those of the parts it may use (links to the sources,
# at their paths): a header of any other part is not found, even where it is
# reached through an allowed part's header, so that a part cannot use a name
# of a part it may not use without the compiler saying so. Where the host
# cannot make links, the source folder stands in and only the layering test
# holds the includes.
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

# The files of part whose names match regex, without those of the parts
# inside its folder.
function(tralk_part_files part regex out)
  set(prefix ${TRALK_PART_PREFIX_${part}})
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${prefix}*)
  list(FILTER files INCLUDE REGEX "${regex}")
  foreach(other IN LISTS TRALK_PARTS)
    set(other_prefix ${TRALK_PART_PREFIX_${other}})
    string(LENGTH "${prefix}" len)
    string(LENGTH "${other_prefix}" other_len)
    string(FIND "${other_prefix}" "${prefix}" at)
    if(at EQUAL 0 AND other_len GREATER len)
      list(FILTER files EXCLUDE REGEX "^${PROJECT_SOURCE_DIR}/${other_prefix}")
    endif()
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# The include folder of part (made on first use): its headers and those of
# the parts it may use.
function(tralk_part_include_dir part out)
  set(dir ${PROJECT_BINARY_DIR}/tralk-parts/${part})
  get_property(done GLOBAL PROPERTY TRALK_PART_INCLUDES_${part})
  if(done)
    set(${out} ${done} PARENT_SCOPE)
    return()
  endif()
  # Made anew at each configuration: a header that moved or a use that went
  # leaves no link behind.
  file(REMOVE_RECURSE ${dir})
  set(parts ${part} ${TRALK_PART_USES_${part}})
  set(made ON)
  foreach(p IN LISTS parts)
    tralk_part_files(${p} "\\.h$" headers)
    foreach(header IN LISTS headers)
      file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${header})
      get_filename_component(folder ${dir}/${rel} DIRECTORY)
      file(MAKE_DIRECTORY ${folder})
      if(NOT EXISTS ${dir}/${rel})
        file(CREATE_LINK ${header} ${dir}/${rel} RESULT failed SYMBOLIC)
        if(failed)
          set(made OFF)
        endif()
      endif()
    endforeach()
  endforeach()
  if(NOT made)
    set(dir ${PROJECT_SOURCE_DIR})
  endif()
  set_property(GLOBAL PROPERTY TRALK_PART_INCLUDES_${part} ${dir})
  set(${out} ${dir} PARENT_SCOPE)
endfunction()

# tralk_add_part(<part> [EXCLUDE <file>...] [ALONE <file>...]): the part's
# library. Files of a part with a longer prefix, main.cpp and the EXCLUDE
# files (relative to the source folder) are left out.
#
# In a unity build (TRALK_UNITY_BUILD) the part's files are compiled together,
# TRALK_UNITY_BATCH_SIZE to a unit, but for the ALONE files and the Win32
# host files, whose <windows.h> macros stay out of the others. Each file
# still compiles on its own, as a build with the option off shows.
function(tralk_add_part part)
  cmake_parse_arguments(ARG "" "" "EXCLUDE;ALONE" ${ARGN})
  tralk_part_files(${part} "\\.cpp$" sources)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  foreach(file IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/${file})
  endforeach()
  tralk_part_target(${part} target)
  add_library(${target} STATIC ${sources})
  # A static library is compiled without waiting for the parts it uses: only
  # the programs' links wait for the libraries.
  set_target_properties(${target} PROPERTIES UNITY_BUILD ${TRALK_UNITY_BUILD}
    UNITY_BUILD_BATCH_SIZE ${TRALK_UNITY_BATCH_SIZE} OPTIMIZE_DEPENDENCIES ON)
  set(alone ${sources})
  list(FILTER alone INCLUDE REGEX "_win32\\.cpp$")
  foreach(file IN LISTS ARG_ALONE)
    list(APPEND alone ${PROJECT_SOURCE_DIR}/${file})
  endforeach()
  if(alone)
    set_source_files_properties(${alone} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
  endif()
  tralk_part_include_dir(${part} includes)
  target_include_directories(${target} PRIVATE ${includes})
  target_compile_options(${target} PRIVATE ${TRALK_WARNINGS})
  foreach(use IN LISTS TRALK_PART_USES_${part})
    tralk_part_target(${use} used)
    target_link_libraries(${target} PRIVATE ${used})
  endforeach()
endfunction()

# A program of part (its main.cpp): compiled as the part is, linked to it.
function(tralk_part_program target part)
  tralk_part_include_dir(${part} includes)
  target_include_directories(${target} PRIVATE ${includes})
  tralk_part_target(${part} library)
  target_link_libraries(${target} PRIVATE ${library})
endfunction()
