# tralk_add_image(<target> CONFIG <file.vfg> [OUTPUT_DIR <dir>] [MAX_SIZE <n>] [NO_STRICT]
#                 [CHECKSUM <ON|OFF>]
#                 [STRINGS <file>... [MAX_WIDTH <px>] [FONT <name>...]])
#
# Generates the images of a tralk configuration at build time and builds them
# into <target>:
#  - runs tralk::tralk --quiet --strict --depfile ... --output-dir <dir>
#    --input-dir <inputs> <file.vfg>, again only when the configuration, a
#    file it reads (.sym, .cp, .pal, .bmp) or tralk itself changed;
#  - an input that the configuration names and that is not beside it is
#    looked for in the project's folder of generated inputs (see
#    tralk_inputs_dir), where tralk_import_font, tralk_import_picture and
#    custom commands of the project put files; the image is made after them;
#  - adds every image's NAME.c to the sources of <target> and the folder of
#    its NAME.h to the include path of <target> (PUBLIC);
#  - appends the full paths of the NAME.bin images to the variable
#    <target>_TRALK_IMAGES (in the caller's scope) and to the target property
#    TRALK_IMAGES, for a step that programs them into the storage chip.
#
# MAX_SIZE fails the build when an image is larger (bytes, or with KiB or
# MiB: 2MiB). Warnings fail the build too (tralk --strict), unless NO_STRICT
# is given. Each header defines NAME_CRC32, the CRC-32 of its image (tralk
# --checksum), unless CHECKSUM OFF is given. CONFIG is relative to the
# current source folder; OUTPUT_DIR to the current binary folder, by default
# ${CMAKE_CURRENT_BINARY_DIR}/tralk/<config name>.
#
# STRINGS checks the application's strings (one file a language) against
# the images as part of the build, with tralk::tralk-inspect --quiet
# --strings <file>... [--max-width <px>] [--font <name>...]: a character a
# font lacks or a string that does not fit fails the build, each named on a
# line of its own (FILE:LINE: error: ...). It runs again when an image, a
# file of STRINGS or tralk-inspect changed. FONT names fonts by their C
# names; each image is checked against those it holds (without FONT,
# against every font with a codepage).
#
# The files an image writes are asked of tralk itself when the build is
# configured (tralk --list-outputs); the configuration is a configure
# dependency, so editing it configures the build again. Two images of one
# name in one target (their headers would share a name) are refused then,
# and so is one font name in two images of a target (tralk --list-fonts:
# the link would hold two definitions of it). An entry that a custom command
# of the project makes beside the configuration (GENERATED) is depended on
# there; one found nowhere, and made by no import or custom command, fails
# the configuration when the whole project has been read.
#
# tralk_inputs_dir(<var>)
#
# Sets <var> to the project's folder of generated inputs, by default
# ${CMAKE_BINARY_DIR}/tralk-inputs; set TRALK_INPUTS_DIR before the first
# call of any tralk function to choose another. A custom command that writes
# an input there (OUTPUT ${dir}/glyphs.sym) is run before an image that names
# it when it is in the same folder's CMakeLists.txt as tralk_add_image, or
# anywhere with Ninja.
include_guard(GLOBAL)
if(CMAKE_VERSION VERSION_LESS 3.20)
  message(FATAL_ERROR "tralk_add_image needs CMake 3.20 or later (DEPFILE with Makefiles)")
endif()

# Functions keep the policies in force where they are defined, whatever the
# project that includes this file asks for (among them CMP0116: Ninja reads
# the dependency file's paths as written, here full paths).
cmake_policy(VERSION 3.20...3.25)

function(tralk_inputs_dir out_var)
  get_property(dir GLOBAL PROPERTY _TRALK_INPUTS_DIR)
  if(NOT dir)
    if(TRALK_INPUTS_DIR)
      cmake_path(ABSOLUTE_PATH TRALK_INPUTS_DIR BASE_DIRECTORY "${CMAKE_BINARY_DIR}" NORMALIZE
                 OUTPUT_VARIABLE dir)
    else()
      set(dir "${CMAKE_BINARY_DIR}/tralk-inputs")
    endif()
    file(MAKE_DIRECTORY "${dir}")
    set_property(GLOBAL PROPERTY _TRALK_INPUTS_DIR "${dir}")
  endif()
  set(${out_var} "${dir}" PARENT_SCOPE)
endfunction()

# Every directory of the project, from the top.
function(_tralk_all_directories out_var)
  set(dirs "${CMAKE_SOURCE_DIR}")
  set(i 0)
  list(LENGTH dirs count)
  while(i LESS count)
    list(GET dirs ${i} dir)
    get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
    list(LENGTH dirs count)
    math(EXPR i "${i} + 1")
  endwhile()
  set(${out_var} "${dirs}" PARENT_SCOPE)
endfunction()

# Whether a custom command somewhere in the project makes file (its
# GENERATED property, in whichever directory declared it).
function(_tralk_is_generated file out_var)
  _tralk_all_directories(dirs)
  foreach(dir IN LISTS dirs)
    get_source_file_property(generated "${file}" DIRECTORY "${dir}" GENERATED)
    if(generated)
      set(${out_var} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out_var} FALSE PARENT_SCOPE)
endfunction()

# Calls function once, with no arguments, when the whole project has been
# read, however often it is asked for.
function(_tralk_defer_once function)
  get_property(deferred GLOBAL PROPERTY _TRALK_DEFERRED)
  if(NOT function IN_LIST deferred)
    set_property(GLOBAL APPEND PROPERTY _TRALK_DEFERRED ${function})
    cmake_language(EVAL CODE "
      cmake_language(DEFER DIRECTORY \"${CMAKE_SOURCE_DIR}\" CALL ${function})")
  endif()
endfunction()

# Records that target makes the files (names in the inputs folder), so that
# images naming them are made after it.
function(_tralk_register_inputs target)
  foreach(name IN LISTS ARGN)
    set_property(GLOBAL APPEND PROPERTY _TRALK_GENERATED_INPUTS "${name}|${target}")
  endforeach()
endfunction()

# A tralk that runs while the build is configured: the installed program,
# or, where tralk is built as part of this project, a copy built now for
# the host (once per configuration of the project).
function(_tralk_program_now out_var)
  get_target_property(imported tralk::tralk IMPORTED)
  if(imported)
    get_target_property(location tralk::tralk LOCATION)
    set(${out_var} "${location}" PARENT_SCOPE)
    return()
  endif()
  get_property(program GLOBAL PROPERTY _TRALK_HOST_PROGRAM)
  if(program)
    set(${out_var} "${program}" PARENT_SCOPE)
    return()
  endif()
  set(host "${CMAKE_BINARY_DIR}/tralk-host")
  message(STATUS "Building tralk for the host in ${host}, to read configurations with")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -S "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/.." -B "${host}" -G "${CMAKE_GENERATOR}"
            "-DCMAKE_MAKE_PROGRAM=${CMAKE_MAKE_PROGRAM}" -DCMAKE_BUILD_TYPE=Release
            "-DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${host}/bin"
            -DTRALK_INSPECT=OFF -DTRALK_IMPORT=OFF -DTRALK_TESTS=OFF -DTRALK_INSTALL=OFF
    RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(NOT failed)
    execute_process(COMMAND "${CMAKE_COMMAND}" --build "${host}" --target tralk
                    RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
  endif()
  if(failed)
    message(FATAL_ERROR "tralk_add_image: building tralk for the host failed:\n${log}")
  endif()
  set(program "${host}/bin/tralk")
  if(CMAKE_HOST_WIN32)
    string(APPEND program ".exe")
  endif()
  set_property(GLOBAL PROPERTY _TRALK_HOST_PROGRAM "${program}")
  set(${out_var} "${program}" PARENT_SCOPE)
endfunction()

# Runs a listing of tralk's (--list-outputs or --list-inputs, with the
# options given) and sets out_var to its lines; the configuration's error,
# as tralk words it, fails the configuration of the build.
function(_tralk_list out_var config)
  _tralk_program_now(program)
  execute_process(COMMAND "${program}" ${ARGN} "${config}"
                  RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(failed)
    message(FATAL_ERROR "tralk_add_image: tralk cannot read ${config}:${out}")
  endif()
  string(REGEX REPLACE "\n$" "" out "${out}")
  if(out MATCHES ";")
    message(FATAL_ERROR "tralk_add_image: a name holding \";\" cannot be used from CMake:\n${out}")
  endif()
  string(REPLACE "\n" ";" lines "${out}")
  set(${out_var} "${lines}" PARENT_SCOPE)
endfunction()

# A wildcard name as a regular expression over whole names.
function(_tralk_wildcard_regex name out_var)
  string(REGEX REPLACE "([][+.^$(){}|\\\\])" "\\\\\\1" regex "${name}")
  string(REPLACE "*" "[^/]*" regex "${regex}")
  string(REPLACE "?" "[^/]" regex "${regex}")
  set(${out_var} "^${regex}$" PARENT_SCOPE)
endfunction()

# The input entries of a configuration that are not beside it (as written,
# "\" as "/"): those tralk looks for in the inputs folder.
function(_tralk_entries_elsewhere config entries out_var)
  cmake_path(GET config PARENT_PATH config_dir)
  set(elsewhere "")
  foreach(entry IN LISTS entries)
    string(REPLACE "\\" "/" entry "${entry}")
    if(IS_ABSOLUTE "${entry}")
      continue()
    endif()
    file(GLOB beside LIST_DIRECTORIES false "${config_dir}/${entry}")
    if(NOT beside)
      list(APPEND elsewhere "${entry}")
    endif()
  endforeach()
  set(${out_var} "${elsewhere}" PARENT_SCOPE)
endfunction()

# The generated inputs registered so far that the entries name: the files
# (in the inputs folder) and the targets that make them.
function(_tralk_generated_matches entries files_var targets_var)
  tralk_inputs_dir(inputs)
  get_property(generated GLOBAL PROPERTY _TRALK_GENERATED_INPUTS)
  set(files "")
  set(targets "")
  foreach(entry IN LISTS entries)
    _tralk_wildcard_regex("${entry}" regex)
    foreach(pair IN LISTS generated)
      string(REPLACE "|" ";" pair "${pair}")
      list(GET pair 0 name)
      list(GET pair 1 maker)
      if(name MATCHES "${regex}")
        list(APPEND files "${inputs}/${name}")
        list(APPEND targets "${maker}")
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES files)
  list(REMOVE_DUPLICATES targets)
  set(${files_var} "${files}" PARENT_SCOPE)
  set(${targets_var} "${targets}" PARENT_SCOPE)
endfunction()

# At the end of the project: the target is made after every import that
# the configuration's entries name, wherever the import was declared.
function(_tralk_order_after_imports target entries)
  _tralk_generated_matches("${entries}" files makers)
  if(makers)
    add_dependencies(${target} ${makers})
  endif()
endfunction()

# At the end of the folder of tralk_add_image, when the custom commands of
# the folder and of the folders it added are known: each entry of the
# configuration without wildcards is depended on where tralk will find it.
# One that a custom command makes beside the configuration is depended on
# there; one that is neither beside it nor made there, in the inputs folder,
# where an import or a custom command of the project writes it (checked at
# the project's end).
function(_tralk_depend_on_entries call output config_dir entries)
  tralk_inputs_dir(inputs)
  foreach(entry IN LISTS entries)
    string(REPLACE "\\" "/" entry "${entry}")
    if(entry MATCHES "[*?]" OR IS_ABSOLUTE "${entry}")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH entry BASE_DIRECTORY "${config_dir}" NORMALIZE OUTPUT_VARIABLE beside)
    cmake_path(ABSOLUTE_PATH entry BASE_DIRECTORY "${inputs}" NORMALIZE OUTPUT_VARIABLE there)
    _tralk_is_generated("${beside}" generated)
    if(generated)
      add_custom_command(OUTPUT "${output}" APPEND DEPENDS "${beside}")
    elseif(NOT EXISTS "${beside}")
      add_custom_command(OUTPUT "${output}" APPEND DEPENDS "${there}")
      set_property(GLOBAL APPEND PROPERTY _TRALK_ENTRIES_ELSEWHERE
                   "${call}|${entry}|${there}|${CMAKE_CURRENT_LIST_FILE}")
      _tralk_defer_once(_tralk_check_entries)
    endif()
  endforeach()
endfunction()

# At the project's end: an entry found nowhere fails the configuration, not
# the build with the build tool's "no rule to make it".
function(_tralk_check_entries)
  get_property(records GLOBAL PROPERTY _TRALK_ENTRIES_ELSEWHERE)
  foreach(record IN LISTS records)
    string(REPLACE "|" ";" record "${record}")
    list(GET record 0 call)
    list(GET record 1 entry)
    list(GET record 2 file)
    list(GET record 3 listfile)
    _tralk_is_generated("${file}" generated)
    if(NOT EXISTS "${file}" AND NOT generated)
      message(SEND_ERROR "${call} in ${listfile}: the configuration names ${entry}, which is "
                         "not beside it, and no import or custom command of the project makes "
                         "it there or in the folder of generated inputs (${file})")
    endif()
  endforeach()
endfunction()

# Refuses a font name that another image of the target defines: the
# program would link two definitions of it. fonts are tralk --list-fonts
# lines, "NAME IMAGE".
function(_tralk_claim_font_names target config fonts)
  get_property(claims TARGET ${target} PROPERTY _TRALK_FONT_NAMES)
  foreach(line IN LISTS fonts)
    if(NOT line MATCHES "^([^ ]+) (.+)$")
      continue()
    endif()
    set(name "${CMAKE_MATCH_1}")
    cmake_path(GET CMAKE_MATCH_2 FILENAME image)
    foreach(claim IN LISTS claims)
      string(REPLACE "|" ";" claim "${claim}")
      list(GET claim 0 other_name)
      list(GET claim 1 other_image)
      list(GET claim 2 other_config)
      if(other_name STREQUAL name AND NOT other_image STREQUAL image)
        message(FATAL_ERROR "tralk_add_image: two fonts named ${name} in target ${target}, "
                            "one in ${other_image} from ${other_config} and one in ${image} "
                            "from ${config}")
      endif()
    endforeach()
    list(APPEND claims "${name}|${image}|${config}")
  endforeach()
  set_property(TARGET ${target} PROPERTY _TRALK_FONT_NAMES "${claims}")
endfunction()

# Refuses an image whose file name another image of the target has: the
# program would include one header for both.
function(_tralk_claim_image_name target bin config)
  cmake_path(GET bin FILENAME name)
  string(TOLOWER "${name}" key)
  get_property(claims TARGET ${target} PROPERTY _TRALK_IMAGE_NAMES)
  foreach(claim IN LISTS claims)
    string(REPLACE "|" ";" claim "${claim}")
    list(GET claim 0 other_key)
    list(GET claim 1 other_config)
    if(other_key STREQUAL key)
      message(FATAL_ERROR "tralk_add_image: two images named ${name} in target ${target}, "
                          "one from ${other_config} and one from ${config}")
    endif()
  endforeach()
  set_property(TARGET ${target} APPEND PROPERTY _TRALK_IMAGE_NAMES "${key}|${config}")
endfunction()

# The check of STRINGS: a step that runs tralk-inspect on each image and
# leaves a stamp, which the target is made after. fonts are tralk
# --list-fonts lines, "NAME IMAGE": with FONT, each image is checked against
# the fonts named that it holds, and an image that holds none is not.
function(_tralk_check_strings target config stem outdir bins fonts)
  cmake_parse_arguments(PARSE_ARGV 6 arg "" "MAX_WIDTH" "STRINGS;FONT")
  if(NOT TARGET tralk::tralk-inspect)
    message(FATAL_ERROR "tralk_add_image: STRINGS needs tralk::tralk-inspect, which is not "
                        "built here (tralk's configuration names the library it lacks)")
  endif()
  set(names "")
  foreach(line IN LISTS fonts)
    if(line MATCHES "^([^ ]+) (.+)$")
      list(APPEND names "${CMAKE_MATCH_1}")
      set(image_of_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
    endif()
  endforeach()
  foreach(font IN LISTS arg_FONT)
    if(NOT font IN_LIST names)
      list(JOIN names ", " names)
      message(FATAL_ERROR "tralk_add_image: FONT ${font} is no font of ${config}, which has "
                          "${names}")
    endif()
  endforeach()
  set(strings "")
  set(options --quiet)
  foreach(file IN LISTS arg_STRINGS)
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE
               OUTPUT_VARIABLE file)
    list(APPEND strings "${file}")
    list(APPEND options --strings "${file}")
  endforeach()
  if(DEFINED arg_MAX_WIDTH)
    list(APPEND options --max-width "${arg_MAX_WIDTH}")
  endif()
  set(checks "")
  foreach(bin IN LISTS bins)
    set(chosen "")
    foreach(font IN LISTS arg_FONT)
      cmake_path(COMPARE "${image_of_${font}}" EQUAL "${bin}" here)
      if(here)
        list(APPEND chosen --font "${font}")
      endif()
    endforeach()
    if(NOT arg_FONT OR chosen)
      list(APPEND checks COMMAND tralk::tralk-inspect "${bin}" ${options} ${chosen})
    endif()
  endforeach()
  set(stamp "${outdir}/${stem}.strings-checked")
  add_custom_command(
    OUTPUT "${stamp}"
    ${checks}
    COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
    DEPENDS ${bins} ${strings} tralk::tralk-inspect
    COMMENT "Checking the strings of ${config} with tralk-inspect"
    VERBATIM)
  target_sources(${target} PRIVATE "${stamp}")
endfunction()

function(tralk_add_image target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "NO_STRICT" "CONFIG;OUTPUT_DIR;MAX_SIZE;CHECKSUM;MAX_WIDTH"
                        "STRINGS;FONT")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_CONFIG)
    message(FATAL_ERROR "usage: tralk_add_image(<target> CONFIG <file.vfg> [OUTPUT_DIR <dir>] "
                        "[MAX_SIZE <n>] [NO_STRICT] [CHECKSUM <ON|OFF>] [STRINGS <file>... "
                        "[MAX_WIDTH <px>] [FONT <name>...]])")
  endif()
  if((DEFINED arg_MAX_WIDTH OR arg_FONT) AND NOT arg_STRINGS)
    message(FATAL_ERROR "tralk_add_image: MAX_WIDTH and FONT need STRINGS, the files of the "
                        "strings to check")
  endif()
  if(NOT TARGET ${target})
    message(FATAL_ERROR "tralk_add_image: no target ${target}")
  endif()
  if(NOT TARGET tralk::tralk)
    message(FATAL_ERROR "tralk_add_image: no tralk::tralk; use find_package(tralk) or "
                        "add_subdirectory of tralk's sources first")
  endif()
  cmake_path(ABSOLUTE_PATH arg_CONFIG BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE
             OUTPUT_VARIABLE config)
  if(NOT EXISTS "${config}")
    message(FATAL_ERROR "tralk_add_image: no configuration ${config}")
  endif()
  cmake_path(GET config STEM LAST_ONLY stem)
  if(NOT arg_OUTPUT_DIR)
    set(arg_OUTPUT_DIR "tralk/${stem}")
  endif()
  cmake_path(ABSOLUTE_PATH arg_OUTPUT_DIR BASE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" NORMALIZE
             OUTPUT_VARIABLE outdir)
  # Two configurations writing into one folder could write the same files.
  get_property(taken GLOBAL PROPERTY _TRALK_OUTPUT_DIRS)
  if("${outdir}" IN_LIST taken)
    message(FATAL_ERROR "tralk_add_image: ${outdir} already holds the images of another "
                        "configuration; give ${arg_CONFIG} its own OUTPUT_DIR")
  endif()
  set_property(GLOBAL APPEND PROPERTY _TRALK_OUTPUT_DIRS "${outdir}")
  file(MAKE_DIRECTORY "${outdir}")

  set(options --output-dir "${outdir}")
  if(DEFINED arg_MAX_SIZE)
    list(APPEND options --max-size "${arg_MAX_SIZE}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${config}")
  _tralk_list(outputs "${config}" --list-outputs ${options})
  if(NOT outputs)
    message(FATAL_ERROR "tralk_add_image: ${config} defines no image with a font or picture")
  endif()
  set(sources "")
  set(bins "")
  set(folders "")
  foreach(file IN LISTS outputs)
    cmake_path(GET file PARENT_PATH folder)
    list(APPEND folders "${folder}")
    cmake_path(GET file EXTENSION LAST_ONLY ext)
    string(TOLOWER "${ext}" ext)
    if(ext STREQUAL ".c")
      list(APPEND sources "${file}")
    elseif(ext STREQUAL ".bin")
      list(APPEND bins "${file}")
      _tralk_claim_image_name(${target} "${file}" "${arg_CONFIG}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES folders)

  # The fonts' C names, against those of the target's other images.
  tralk_inputs_dir(inputs)
  _tralk_list(fonts "${config}" --list-fonts ${options} --input-dir "${inputs}")
  _tralk_claim_font_names(${target} "${arg_CONFIG}" "${fonts}")

  # Inputs made by the build: the files an import registered so far now,
  # those of custom commands at the end of this folder, and the targets of
  # the imports at the project's end, when every import has been declared.
  _tralk_list(entries "${config}" --list-inputs)
  _tralk_entries_elsewhere("${config}" "${entries}" elsewhere)
  _tralk_generated_matches("${elsewhere}" generated unused)
  list(GET outputs 0 first_output)
  cmake_path(GET config PARENT_PATH config_dir)
  cmake_language(EVAL CODE "
    cmake_language(DEFER CALL _tralk_depend_on_entries [[tralk_add_image(${target})]]
                   [[${first_output}]] [[${config_dir}]] [[${entries}]])")
  if(elsewhere)
    cmake_language(EVAL CODE "
      cmake_language(DEFER DIRECTORY \"${CMAKE_SOURCE_DIR}\"
                     CALL _tralk_order_after_imports [[${target}]] [[${elsewhere}]])")
  endif()

  set(strict --strict)
  if(arg_NO_STRICT)
    set(strict "")
  endif()
  set(checksum --checksum)
  if(DEFINED arg_CHECKSUM AND NOT arg_CHECKSUM)
    set(checksum "")
  endif()
  # Make has no way to keep a file's time when its bytes did not change:
  # there every output is touched, or an unchanged one would be remade on
  # every build. Ninja looks again at the times (restat) instead.
  set(touch "")
  if(NOT CMAKE_GENERATOR MATCHES "Ninja")
    set(touch COMMAND "${CMAKE_COMMAND}" -E touch_nocreate ${outputs})
  endif()
  set(depfile "${outdir}/${stem}.d")
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND "${CMAKE_COMMAND}" -E make_directory ${folders}
    COMMAND tralk::tralk --quiet ${strict} ${checksum} --depfile "${depfile}" ${options}
            --input-dir "${inputs}" "${config}"
    ${touch}
    DEPENDS "${config}" tralk::tralk ${generated}
    DEPFILE "${depfile}"
    COMMENT "Generating the font images of ${arg_CONFIG} with tralk"
    VERBATIM)
  target_sources(${target} PRIVATE ${sources})
  set(include_folders "")
  foreach(source IN LISTS sources)
    cmake_path(GET source PARENT_PATH folder)
    list(APPEND include_folders "${folder}")
  endforeach()
  list(REMOVE_DUPLICATES include_folders)
  target_include_directories(${target} PUBLIC ${include_folders})
  if(arg_STRINGS)
    set(check STRINGS ${arg_STRINGS} FONT ${arg_FONT})
    if(DEFINED arg_MAX_WIDTH)
      list(APPEND check MAX_WIDTH "${arg_MAX_WIDTH}")
    endif()
    _tralk_check_strings(${target} "${arg_CONFIG}" "${stem}" "${outdir}" "${bins}" "${fonts}"
                         ${check})
  endif()
  set_property(TARGET ${target} APPEND PROPERTY TRALK_IMAGES ${bins})
  set(${target}_TRALK_IMAGES ${${target}_TRALK_IMAGES} ${bins} PARENT_SCOPE)
endfunction()
