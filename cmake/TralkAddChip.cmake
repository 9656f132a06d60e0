# tralk_add_chip(<target> <name> SIZE <n> [ALIGN <n>] [BASE <address>]
#                [FILL <byte>] IMAGES <image>[@<offset>]... [HEX] [SREC]
#                [LAYOUT <file>] [OUTPUT_DIR <dir>])
#
# Lays images out in one storage chip at build time (tralk-pack) and builds
# its header into <target>:
#  - writes <name>.bin and <name>.h (each image's offset, size and CRC-32),
#    with HEX and SREC also <name>.hex (Intel HEX) and <name>.srec
#    (Motorola S3), into OUTPUT_DIR (relative to the current binary folder;
#    by default ${CMAKE_CURRENT_BINARY_DIR}/tralk/<name>), again only when an
#    image, the layout or tralk-pack changed;
#  - an image is a file name of an image of <target> (tralk_add_image), as
#    ui.bin, which the chip is then packed after; or a path, relative to the
#    current source folder. "@<offset>" places it there;
#  - the folder of <name>.h joins the include path of <target> (PUBLIC);
#  - appends the full paths of <name>.bin (and .hex, .srec) to the variable
#    <target>_TRALK_CHIPS (in the caller's scope) and to the target property
#    TRALK_CHIPS, for the step that programs the chip.
#
# SIZE, ALIGN, BASE and FILL are tralk-pack's --size, --align, --base and
# --fill (bytes, 0x..., KiB or MiB). LAYOUT names a layout file relative to
# the current source folder, read and written by every build (tralk-pack
# --layout): an image that still fits stays where the file says, so that a
# release's layout can be committed and an update writes only what changed.
# Without it the layout goes beside the chip and every build packs anew.
include_guard(GLOBAL)
cmake_policy(VERSION 3.20...3.25)

function(tralk_add_chip target name)
  cmake_parse_arguments(PARSE_ARGV 2 arg "HEX;SREC" "SIZE;ALIGN;BASE;FILL;LAYOUT;OUTPUT_DIR"
                        "IMAGES")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_SIZE OR NOT arg_IMAGES)
    message(FATAL_ERROR "usage: tralk_add_chip(<target> <name> SIZE <n> [ALIGN <n>] "
                        "[BASE <address>] [FILL <byte>] IMAGES <image>[@<offset>]... [HEX] [SREC] "
                        "[LAYOUT <file>] [OUTPUT_DIR <dir>])")
  endif()
  if(NOT TARGET ${target})
    message(FATAL_ERROR "tralk_add_chip: no target ${target}")
  endif()
  if(NOT TARGET tralk::tralk-pack)
    message(FATAL_ERROR "tralk_add_chip: no tralk::tralk-pack; use find_package(tralk) or "
                        "add_subdirectory of tralk's sources first")
  endif()
  if(NOT arg_OUTPUT_DIR)
    set(arg_OUTPUT_DIR "tralk/${name}")
  endif()
  cmake_path(ABSOLUTE_PATH arg_OUTPUT_DIR BASE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" NORMALIZE
             OUTPUT_VARIABLE outdir)
  file(MAKE_DIRECTORY "${outdir}")

  # Each image: an image of the target by its file name, or a path.
  get_property(target_images TARGET ${target} PROPERTY TRALK_IMAGES)
  set(operands "")
  set(depends "")
  foreach(item IN LISTS arg_IMAGES)
    set(offset "")
    if(item MATCHES "^(.+)@([^@/\\\\]+)$")
      set(item "${CMAKE_MATCH_1}")
      set(offset "@${CMAKE_MATCH_2}")
    endif()
    set(found "")
    if(NOT IS_ABSOLUTE "${item}")
      foreach(image IN LISTS target_images)
        cmake_path(GET image FILENAME image_name)
        if(image_name STREQUAL item)
          set(found "${image}")
        endif()
      endforeach()
    endif()
    if(NOT found)
      cmake_path(ABSOLUTE_PATH item BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE
                 OUTPUT_VARIABLE found)
    endif()
    list(APPEND operands "${found}${offset}")
    list(APPEND depends "${found}")
  endforeach()

  set(chip "${outdir}/${name}.bin")
  set(header "${outdir}/${name}.h")
  set(outputs "${chip}" "${header}")
  set(options -o "${chip}" --size "${arg_SIZE}" --header "${header}")
  foreach(option ALIGN BASE FILL)
    if(DEFINED arg_${option})
      string(TOLOWER "${option}" flag)
      list(APPEND options --${flag} "${arg_${option}}")
    endif()
  endforeach()
  set(flashed "${chip}")
  if(arg_HEX)
    list(APPEND outputs "${outdir}/${name}.hex")
    list(APPEND flashed "${outdir}/${name}.hex")
    list(APPEND options --hex "${outdir}/${name}.hex")
  endif()
  if(arg_SREC)
    list(APPEND outputs "${outdir}/${name}.srec")
    list(APPEND flashed "${outdir}/${name}.srec")
    list(APPEND options --srec "${outdir}/${name}.srec")
  endif()
  if(arg_LAYOUT)
    # Read and written by the run: an input of the next one (through the
    # dependency file), never an output of the rule.
    cmake_path(ABSOLUTE_PATH arg_LAYOUT BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE
               OUTPUT_VARIABLE layout)
    list(APPEND options --layout "${layout}")
  else()
    list(APPEND outputs "${outdir}/${name}.layout")
  endif()
  set(touch "")
  if(NOT CMAKE_GENERATOR MATCHES "Ninja")
    set(touch COMMAND "${CMAKE_COMMAND}" -E touch_nocreate ${outputs})
  endif()
  set(depfile "${outdir}/${name}.d")
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND tralk::tralk-pack --quiet ${options} --depfile "${depfile}" -- ${operands}
    ${touch}
    DEPENDS tralk::tralk-pack ${depends}
    DEPFILE "${depfile}"
    COMMENT "Packing chip ${name} with tralk-pack"
    VERBATIM)
  target_sources(${target} PRIVATE "${header}")
  target_include_directories(${target} PUBLIC "${outdir}")
  set_property(TARGET ${target} APPEND PROPERTY TRALK_CHIPS ${flashed})
  set(${target}_TRALK_CHIPS ${${target}_TRALK_CHIPS} ${flashed} PARENT_SCOPE)
endfunction()
