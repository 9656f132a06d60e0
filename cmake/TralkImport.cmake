# tralk_import_font(<name> FONT <file> [SIZE <px>] [BPP <n>] [FACE <n>]
#                   [RANGES <range>...] [SYMBOLS_FILE <file>...]
#                   [FALLBACK <file>...] [OPTIONS <tralk-import font options>...])
# tralk_import_picture(<name> PICTURE <file> [DEPTH <n>] [BACKGROUND <RRGGBB>]
#                      [OPTIONS <tralk-import picture options>...])
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
# text files whose displayed characters are imported. The import's target is
# tralk_import_<name>.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/TralkAddImage.cmake)
cmake_policy(VERSION 3.20...3.25)

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
    if(option MATCHES "^(-o|--cp|--no-cp|--depfile|--list)$")
      message(FATAL_ERROR "${caller}: ${option} cannot be given in OPTIONS; "
                          "the files written are named by the function")
    endif()
  endforeach()
endfunction()

# The custom command and target of one import: outputs in the inputs
# folder, the importer's dependency file beside them.
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
  foreach(output IN LISTS outputs)
    list(APPEND paths "${inputs}/${output}")
  endforeach()
  set(depfile "${inputs}/${name}.import.d")
  # As in tralk_add_image: Make cannot keep an unchanged file's time.
  set(touch "")
  if(NOT CMAKE_GENERATOR MATCHES "Ninja")
    set(touch COMMAND "${CMAKE_COMMAND}" -E touch_nocreate ${paths})
  endif()
  add_custom_command(
    OUTPUT ${paths}
    COMMAND tralk::tralk-import ${ARGN} --depfile "${depfile}"
    ${touch}
    DEPENDS ${sources} tralk::tralk-import
    DEPFILE "${depfile}"
    COMMENT "Importing ${name} with tralk-import"
    VERBATIM)
  add_custom_target(tralk_import_${name} DEPENDS ${paths})
  _tralk_register_inputs(tralk_import_${name} ${outputs})
endfunction()

function(tralk_import_font name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "FONT;SIZE;BPP;FACE"
                        "RANGES;SYMBOLS_FILE;FALLBACK;OPTIONS")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_FONT)
    message(FATAL_ERROR "usage: tralk_import_font(<name> FONT <file> [SIZE <px>] [BPP <n>] "
                        "[FACE <n>] [RANGES <range>...] [SYMBOLS_FILE <file>...] "
                        "[FALLBACK <file>...] [OPTIONS <option>...])")
  endif()
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
  tralk_inputs_dir(inputs)
  list(APPEND args ${arg_OPTIONS} -o "${inputs}/${name}.sym")
  _tralk_add_import(tralk_import_font ${name} "${font};${fallbacks};${symbols}"
                    "${name}.sym;${name}.cp" ${args})
endfunction()

function(tralk_import_picture name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "PICTURE;DEPTH;BACKGROUND" "OPTIONS")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_PICTURE)
    message(FATAL_ERROR "usage: tralk_import_picture(<name> PICTURE <file> [DEPTH <n>] "
                        "[BACKGROUND <RRGGBB>] [OPTIONS <option>...])")
  endif()
  _tralk_check_options(tralk_import_picture ${arg_OPTIONS})
  _tralk_absolute_sources(picture "${arg_PICTURE}")
  set(args picture "${picture}")
  if(DEFINED arg_DEPTH)
    list(APPEND args --depth "${arg_DEPTH}")
  endif()
  if(DEFINED arg_BACKGROUND)
    list(APPEND args --background "${arg_BACKGROUND}")
  endif()
  tralk_inputs_dir(inputs)
  list(APPEND args ${arg_OPTIONS} -o "${inputs}/${name}.bmp")
  _tralk_add_import(tralk_import_picture ${name} "${picture}" "${name}.bmp" ${args})
endfunction()
