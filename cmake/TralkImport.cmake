# tralk_import_font(<name> FONT <file> [SIZE <px>] [BPP <n>] [FACE <n>]
#                   [RANGES <range>...] [SYMBOLS_FILE <file>...]
#                   [NAMES <glyph name>...] [NAMES_FILE <file>...]
#                   [NAMES_HEADER <file.h>]
#                   [FALLBACK <file>...] [OPTIONS <tralk-import font options>...])
# tralk_import_picture(<name> PICTURE <file> [DEPTH <n>] [BACKGROUND <RRGGBB>]
#                      [PALETTE <palette name>]
#                      [OPTIONS <tralk-import picture options>...])
# tralk_import_palette(<name> PICTURES <file>... COLOURS <n> [BACKGROUND <RRGGBB>]
#                      [OPTIONS <tralk-import palette options>...])
#
# Imports a font (TrueType, OpenType, BDF, PCF) as <name>.sym and <name>.cp,
# or a PNG or BMP picture as <name>.bmp, at build time, into the project's
# folder of generated inputs (tralk_inputs_dir). A configuration given to
# tralk_add_image that names <name>.sym or <name>.bmp (or a wildcard that
# matches it) finds it there, and its images are made after the import.
#
# The font, its fallbacks, the symbol files and the picture are relative to
# the current source folder; each is a dependency: touching one imports
# again, and what uses the import is made again only where the imported
# bytes changed (Ninja). RANGES are tralk-import's -r lists; SYMBOLS_FILE
# names translation catalogues (.po, .mo, .ts, XLIFF, JSON, ARB) or UTF-8
# text files whose displayed characters are imported. NAMES are glyph
# names of the font and NAMES_FILE files of "name" or "name code" lines
# (an icon set's codepoints file), the glyphs imported by name; NAMES_HEADER
# writes the C header of their texts and codes (ICON_WIFI, ICON_WIFI_CODE)
# at build time, relative to ${CMAKE_CURRENT_BINARY_DIR}/tralk-names/<name>,
# and makes the interface library tralk_names_<name>: a target linked to it
# includes that folder and is built after the import. The imports print
# only warnings and errors (tralk-import --quiet). The import's target is
# tralk_import_<name>.
#
# tralk_import_palette writes <name>.pal there, one palette for the
# pictures; PALETTE <name> of tralk_import_picture writes the picture in
# it, and a --palette FILE in OPTIONS reads a palette of the project's own:
# either way the picture is imported after the palette is made, and again
# when it changes. A name holds letters, digits and _ . + - only. A file
# that does not exist and that no custom command of the project makes
# (GENERATED) fails the configuration, naming the call.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/TralkAddImage.cmake)
cmake_policy(VERSION 3.20...3.25)

# A name makes a target (tralk_import_<name>) and files (<name>.sym): it
# must suit both, on every host.
function(_tralk_check_name caller name)
  if(NOT name MATCHES "^[A-Za-z0-9_.+-]+$")
    message(FATAL_ERROR "${caller}: \"${name}\" cannot be a name: it names the target "
                        "tralk_import_<name> and the files written, and may hold letters, "
                        "digits and the characters _ . + - only")
  endif()
endfunction()

# The files an import reads (full paths) must exist or be made by the
# build. One that is neither yet is looked at again when the whole project
# has been read, for a custom command declared later or elsewhere.
function(_tralk_check_sources call keyword)
  foreach(file IN LISTS ARGN)
    get_source_file_property(generated "${file}" GENERATED)
    if(NOT EXISTS "${file}" AND NOT generated)
      set_property(GLOBAL APPEND PROPERTY _TRALK_UNSEEN_SOURCES
                   "${call}|${keyword}|${file}|${CMAKE_CURRENT_LIST_FILE}")
      _tralk_defer_import_checks()
    endif()
  endforeach()
endfunction()

# Once: the checks that need every import of the project, at its end.
function(_tralk_defer_import_checks)
  _tralk_defer_once(_tralk_check_imports)
endfunction()

function(_tralk_check_imports)
  get_property(unseen GLOBAL PROPERTY _TRALK_UNSEEN_SOURCES)
  foreach(entry IN LISTS unseen)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 call)
    list(GET entry 1 keyword)
    list(GET entry 2 file)
    list(GET entry 3 listfile)
    _tralk_is_generated("${file}" generated)
    if(NOT EXISTS "${file}" AND NOT generated)
      message(SEND_ERROR "${call} in ${listfile}: ${keyword} ${file} does not exist, and no "
                         "custom command of the project makes it")
    endif()
  endforeach()
  # A picture's PALETTE is a palette of the project (it waits for it below).
  get_property(palettes GLOBAL PROPERTY _TRALK_PALETTES)
  get_property(users GLOBAL PROPERTY _TRALK_PALETTE_USERS)
  foreach(entry IN LISTS users)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 call)
    list(GET entry 1 palette)
    list(GET entry 2 listfile)
    if(NOT palette IN_LIST palettes)
      message(SEND_ERROR "${call} in ${listfile}: PALETTE ${palette} names no palette; make it "
                         "with tralk_import_palette(${palette} PICTURES <file>... COLOURS <n>)")
    endif()
  endforeach()
  # An import that reads what another import writes (a PALETTE, a
  # --palette of the inputs folder) waits for it.
  tralk_inputs_dir(inputs)
  get_property(generated GLOBAL PROPERTY _TRALK_GENERATED_INPUTS)
  get_property(reads GLOBAL PROPERTY _TRALK_IMPORT_READS)
  foreach(entry IN LISTS reads)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 target)
    list(GET entry 1 file)
    foreach(pair IN LISTS generated)
      string(REPLACE "|" ";" pair "${pair}")
      list(GET pair 0 name)
      list(GET pair 1 maker)
      if(file STREQUAL "${inputs}/${name}" AND NOT maker STREQUAL target)
        add_dependencies(${target} ${maker})
      endif()
    endforeach()
  endforeach()
endfunction()

function(_tralk_absolute_sources out_var)
  set(files "")
  foreach(file IN LISTS ARGN)
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE
               OUTPUT_VARIABLE file)
    list(APPEND files "${file}")
  endforeach()
  set(${out_var} "${files}" PARENT_SCOPE)
endfunction()

# The options that name the files written belong to these functions.
function(_tralk_check_options caller)
  foreach(option IN LISTS ARGN)
    if(option MATCHES "^(-o|--cp|--no-cp|--depfile|--list|--names-header)$")
      message(FATAL_ERROR "${caller}: ${option} cannot be given in OPTIONS; "
                          "the files written are named by the function")
    endif()
  endforeach()
endfunction()

# The custom command and target of one import: outputs in the inputs
# folder (a full path, such as a names header, where it says), the
# importer's dependency file beside them.
function(_tralk_add_import caller name sources outputs)
  if(NOT TARGET tralk::tralk-import)
    message(FATAL_ERROR "${caller}: no tralk::tralk-import; it is built where FreeType and "
                        "libpng are found (Debian: libfreetype-dev, libpng-dev)")
  endif()
  if(TARGET tralk_import_${name})
    message(FATAL_ERROR "${caller}: ${name} is imported twice")
  endif()
  tralk_inputs_dir(inputs)
  set(paths "")
  set(inputs_made "")
  foreach(output IN LISTS outputs)
    if(IS_ABSOLUTE "${output}")
      list(APPEND paths "${output}")
    else()
      list(APPEND paths "${inputs}/${output}")
      list(APPEND inputs_made "${output}")
    endif()
  endforeach()
  # tralk-import palette reads only the pictures it is given, which are
  # the dependencies already: it writes no dependency file.
  set(depfile "${inputs}/${name}.import.d")
  set(depfile_args --depfile "${depfile}")
  set(depfile_option DEPFILE "${depfile}")
  if(caller STREQUAL "tralk_import_palette")
    set(depfile_args "")
    set(depfile_option "")
  endif()
  # As in tralk_add_image: Make cannot keep an unchanged file's time.
  set(touch "")
  if(NOT CMAKE_GENERATOR MATCHES "Ninja")
    set(touch COMMAND "${CMAKE_COMMAND}" -E touch_nocreate ${paths})
  endif()
  # The importer refuses an option given twice: a --quiet in OPTIONS is the
  # one the imports give.
  set(quiet --quiet)
  if("--quiet" IN_LIST ARGN)
    set(quiet "")
  endif()
  add_custom_command(
    OUTPUT ${paths}
    COMMAND tralk::tralk-import ${ARGN} ${quiet} ${depfile_args}
    ${touch}
    DEPENDS ${sources} tralk::tralk-import
    ${depfile_option}
    COMMENT "Importing ${name} with tralk-import"
    VERBATIM)
  add_custom_target(tralk_import_${name} DEPENDS ${paths})
  _tralk_register_inputs(tralk_import_${name} ${inputs_made})
  foreach(file IN LISTS sources)
    string(FIND "${file}" "${inputs}/" at)
    if(at EQUAL 0)
      set_property(GLOBAL APPEND PROPERTY _TRALK_IMPORT_READS "tralk_import_${name}|${file}")
      _tralk_defer_import_checks()
    endif()
  endforeach()
endfunction()

function(tralk_import_font name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "FONT;SIZE;BPP;FACE;NAMES_HEADER"
                        "RANGES;SYMBOLS_FILE;NAMES;NAMES_FILE;FALLBACK;OPTIONS")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_FONT)
    message(FATAL_ERROR "usage: tralk_import_font(<name> FONT <file> [SIZE <px>] [BPP <n>] "
                        "[FACE <n>] [RANGES <range>...] [SYMBOLS_FILE <file>...] "
                        "[NAMES <glyph name>...] [NAMES_FILE <file>...] [NAMES_HEADER <file.h>] "
                        "[FALLBACK <file>...] [OPTIONS <option>...])")
  endif()
  _tralk_check_name(tralk_import_font "${name}")
  _tralk_check_options(tralk_import_font ${arg_OPTIONS})
  _tralk_absolute_sources(font "${arg_FONT}")
  # FALLBACK FILE:FACE names a face of a collection, as tralk-import reads it
  # (a name that is a file as a whole stays a file): FILE is the dependency.
  set(fallbacks "")
  set(fallback_args "")
  foreach(entry IN LISTS arg_FALLBACK)
    set(face "")
    _tralk_absolute_sources(whole "${entry}")
    if(entry MATCHES "^(.+):([0-9]+)$" AND NOT EXISTS "${whole}")
      set(entry "${CMAKE_MATCH_1}")
      set(face ":${CMAKE_MATCH_2}")
    endif()
    _tralk_absolute_sources(file "${entry}")
    list(APPEND fallbacks "${file}")
    list(APPEND fallback_args "${file}${face}")
  endforeach()
  _tralk_absolute_sources(symbols ${arg_SYMBOLS_FILE})
  set(call "tralk_import_font(${name})")
  _tralk_check_sources("${call}" FONT "${font}")
  _tralk_check_sources("${call}" FALLBACK ${fallbacks})
  _tralk_check_sources("${call}" SYMBOLS_FILE ${symbols})
  set(args font "${font}")
  foreach(key IN ITEMS SIZE BPP FACE)
    if(DEFINED arg_${key})
      string(TOLOWER "--${key}" option)
      list(APPEND args ${option} "${arg_${key}}")
    endif()
  endforeach()
  foreach(range IN LISTS arg_RANGES)
    list(APPEND args -r "${range}")
  endforeach()
  foreach(file IN LISTS symbols)
    list(APPEND args --symbols-file "${file}")
  endforeach()
  foreach(file IN LISTS fallback_args)
    list(APPEND args --fallback "${file}")
  endforeach()
  _tralk_icon_names(${name} names_files names_header names_args)
  tralk_inputs_dir(inputs)
  list(APPEND args ${names_args} ${arg_OPTIONS} -o "${inputs}/${name}.sym")
  set(outputs "${name}.sym" "${name}.cp" ${names_header})
  _tralk_add_import(tralk_import_font ${name} "${font};${fallbacks};${symbols};${names_files}"
                    "${outputs}" ${args})
  if(names_header)
    _tralk_names_library(${name} "${names_header}")
  endif()
endfunction()

# The arguments of tralk_import_font's NAMES, NAMES_FILE and NAMES_HEADER
# (the caller's arg_ variables): the names files and the header's full
# path, and the options of tralk-import.
macro(_tralk_icon_names name files_var header_var args_var)
  set(${args_var} "")
  set(${header_var} "")
  if(arg_NAMES)
    list(JOIN arg_NAMES "," joined)
    list(APPEND ${args_var} --names "${joined}")
  endif()
  _tralk_absolute_sources(${files_var} ${arg_NAMES_FILE})
  foreach(file IN LISTS ${files_var})
    list(APPEND ${args_var} --names-file "${file}")
  endforeach()
  if(DEFINED arg_NAMES_HEADER)
    if(NOT arg_NAMES AND NOT arg_NAMES_FILE)
      message(FATAL_ERROR "tralk_import_font: NAMES_HEADER needs NAMES or NAMES_FILE")
    endif()
    cmake_path(ABSOLUTE_PATH arg_NAMES_HEADER
               BASE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/tralk-names/${name}" NORMALIZE
               OUTPUT_VARIABLE ${header_var})
    list(APPEND ${args_var} --names-header "${${header_var}}")
  endif()
endmacro()

# The interface library tralk_names_<name> of an import's names header:
# it includes the folder that NAMES_HEADER counts from (the header's own
# where it lies outside), and is made after the import.
function(_tralk_names_library name header)
  cmake_path(GET header PARENT_PATH folder)
  file(MAKE_DIRECTORY "${folder}")
  set(base "${CMAKE_CURRENT_BINARY_DIR}/tralk-names/${name}")
  cmake_path(IS_PREFIX base "${header}" NORMALIZE inside)
  if(NOT inside)
    set(base "${folder}")
  endif()
  add_library(tralk_names_${name} INTERFACE)
  target_include_directories(tralk_names_${name} INTERFACE "${base}")
  add_dependencies(tralk_names_${name} tralk_import_${name})
endfunction()

function(tralk_import_picture name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "PICTURE;DEPTH;BACKGROUND;PALETTE" "OPTIONS")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_PICTURE)
    message(FATAL_ERROR "usage: tralk_import_picture(<name> PICTURE <file> [DEPTH <n>] "
                        "[BACKGROUND <RRGGBB>] [PALETTE <palette name>] [OPTIONS <option>...])")
  endif()
  _tralk_check_name(tralk_import_picture "${name}")
  _tralk_check_options(tralk_import_picture ${arg_OPTIONS})
  set(call "tralk_import_picture(${name})")
  _tralk_absolute_sources(picture "${arg_PICTURE}")
  _tralk_check_sources("${call}" PICTURE "${picture}")
  set(sources "${picture}")
  set(args picture "${picture}")
  if(DEFINED arg_DEPTH)
    list(APPEND args --depth "${arg_DEPTH}")
  endif()
  if(DEFINED arg_BACKGROUND)
    list(APPEND args --background "${arg_BACKGROUND}")
  endif()
  tralk_inputs_dir(inputs)
  # A palette of the project's (--palette FILE, counted from the current
  # binary folder, where the import runs) is read as PALETTE's is.
  set(given_palette "")
  list(FIND arg_OPTIONS --palette at)
  if(at GREATER_EQUAL 0)
    math(EXPR at "${at} + 1")
    list(LENGTH arg_OPTIONS count)
    if(at LESS count)
      list(GET arg_OPTIONS ${at} given_palette)
      cmake_path(ABSOLUTE_PATH given_palette BASE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}"
                 NORMALIZE)
      _tralk_check_sources("${call}" "OPTIONS --palette" "${given_palette}")
      list(APPEND sources "${given_palette}")
    endif()
  endif()
  if(DEFINED arg_PALETTE)
    if(given_palette)
      message(FATAL_ERROR "tralk_import_picture: PALETTE and a --palette in OPTIONS cannot "
                          "both be given")
    endif()
    _tralk_check_name(tralk_import_picture "${arg_PALETTE}")
    list(APPEND sources "${inputs}/${arg_PALETTE}.pal")
    list(APPEND args --palette "${inputs}/${arg_PALETTE}.pal")
    set_property(GLOBAL APPEND PROPERTY _TRALK_PALETTE_USERS
                 "${call}|${arg_PALETTE}|${CMAKE_CURRENT_LIST_FILE}")
    _tralk_defer_import_checks()
  endif()
  list(APPEND args ${arg_OPTIONS} -o "${inputs}/${name}.bmp")
  _tralk_add_import(tralk_import_picture ${name} "${sources}" "${name}.bmp" ${args})
endfunction()

function(tralk_import_palette name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "COLOURS;BACKGROUND" "PICTURES;OPTIONS")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_PICTURES OR NOT DEFINED arg_COLOURS)
    message(FATAL_ERROR "usage: tralk_import_palette(<name> PICTURES <file>... COLOURS <n> "
                        "[BACKGROUND <RRGGBB>] [OPTIONS <option>...])")
  endif()
  _tralk_check_name(tralk_import_palette "${name}")
  _tralk_check_options(tralk_import_palette ${arg_OPTIONS})
  _tralk_absolute_sources(pictures ${arg_PICTURES})
  _tralk_check_sources("tralk_import_palette(${name})" PICTURES ${pictures})
  set(args palette ${pictures} --colours "${arg_COLOURS}")
  if(DEFINED arg_BACKGROUND)
    list(APPEND args --background "${arg_BACKGROUND}")
  endif()
  tralk_inputs_dir(inputs)
  list(APPEND args ${arg_OPTIONS} -o "${inputs}/${name}.pal")
  _tralk_add_import(tralk_import_palette ${name} "${pictures}" "${name}.pal" ${args})
  set_property(GLOBAL APPEND PROPERTY _TRALK_PALETTES "${name}")
endfunction()
