# tralk_add_image(<target> CONFIG <file.vfg> [OUTPUT_DIR <dir>])
#
# Generates the images of a tralk configuration at build time and builds them
# into <target>:
#  - runs tralk::tralk --depfile ... --output-dir <dir> <file.vfg>, again only
#    when the configuration, a file it reads (.sym, .cp, .pal, .bmp) or tralk
#    itself changed;
#  - adds every image's NAME.c to the sources of <target> and the folder of
#    its NAME.h to the include path of <target> (PUBLIC);
#  - appends the full paths of the NAME.bin images to the variable
#    <target>_TRALK_IMAGES (in the caller's scope) and to the target property
#    TRALK_IMAGES, for a step that programs them into the storage chip.
#
# CONFIG is relative to the current source folder; OUTPUT_DIR to the current
# binary folder, by default ${CMAKE_CURRENT_BINARY_DIR}/tralk/<config name>.
# The image names come from the configuration, read when the build is
# configured (see TralkConfigImages.cmake); the configuration is a configure
# dependency, so editing it configures the build again.
include_guard(GLOBAL)
if(CMAKE_VERSION VERSION_LESS 3.20)
  message(FATAL_ERROR "tralk_add_image needs CMake 3.20 or later (DEPFILE with Makefiles)")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/TralkConfigImages.cmake)

# Functions keep the policies in force where they are defined, whatever the
# project that includes this file asks for (among them CMP0116: Ninja reads
# the dependency file's paths as written, here full paths).
cmake_policy(VERSION 3.20...3.25)

# The files of the images named in config: full paths of every output, the
# .c files, the .bin files and the folders that hold them.
function(_tralk_image_files config outdir prefix)
  tralk_config_images("${config}" images)
  if(NOT images)
    message(FATAL_ERROR "tralk_add_image: ${config} defines no image with a font or picture")
  endif()
  set(outputs "")
  set(sources "")
  set(bins "")
  set(folders "${outdir}")
  foreach(image IN LISTS images)
    cmake_path(ABSOLUTE_PATH image BASE_DIRECTORY "${outdir}" NORMALIZE OUTPUT_VARIABLE bin)
    cmake_path(REPLACE_EXTENSION bin LAST_ONLY ".c" OUTPUT_VARIABLE source)
    cmake_path(REPLACE_EXTENSION bin LAST_ONLY ".h" OUTPUT_VARIABLE header)
    cmake_path(GET bin PARENT_PATH folder)
    list(APPEND outputs "${source}" "${header}" "${bin}")
    list(APPEND sources "${source}")
    list(APPEND bins "${bin}")
    list(APPEND folders "${folder}")
  endforeach()
  foreach(list outputs sources bins folders)
    list(REMOVE_DUPLICATES ${list})
    set(${prefix}_${list} "${${list}}" PARENT_SCOPE)
  endforeach()
endfunction()

function(tralk_add_image target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "CONFIG;OUTPUT_DIR" "")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_CONFIG)
    message(FATAL_ERROR "usage: tralk_add_image(<target> CONFIG <file.vfg> [OUTPUT_DIR <dir>])")
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

  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${config}")
  _tralk_image_files("${config}" "${outdir}" image)
  set(depfile "${outdir}/${stem}.d")
  add_custom_command(
    OUTPUT ${image_outputs}
    COMMAND "${CMAKE_COMMAND}" -E make_directory ${image_folders}
    COMMAND tralk::tralk --depfile "${depfile}" --output-dir "${outdir}" "${config}"
    DEPENDS "${config}" tralk::tralk
    DEPFILE "${depfile}"
    COMMENT "Generating the font images of ${arg_CONFIG} with tralk"
    VERBATIM)
  target_sources(${target} PRIVATE ${image_sources})
  set(include_folders "")
  foreach(source IN LISTS image_sources)
    cmake_path(GET source PARENT_PATH folder)
    list(APPEND include_folders "${folder}")
  endforeach()
  list(REMOVE_DUPLICATES include_folders)
  target_include_directories(${target} PUBLIC ${include_folders})
  set_property(TARGET ${target} APPEND PROPERTY TRALK_IMAGES ${image_bins})
  set(${target}_TRALK_IMAGES ${${target}_TRALK_IMAGES} ${image_bins} PARENT_SCOPE)
endfunction()
