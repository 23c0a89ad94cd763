# tessalune_add_ami_model(NAME SOURCES src... AMI file.ami IBS file.ibs [LIBS lib...])
#
# The shared library a channel simulator loads, built from a model's sources
# on the kit: it exports AMI_Init, AMI_GetWave (when the model defines it)
# and AMI_Close and nothing else (on Windows the functions marked dllexport,
# as NAME.dll without the "lib" prefix, the way .ibs files name it;
# elsewhere through the kit's version script, with every symbol resolved at
# link time so that a simulator's dlopen never fails on a missing one). The
# code is compiled without fused multiply-add or value-changing
# optimisations, so that a model gives the same bits wherever it is built.
#
# After each build the .ami file and the .ibs file (keeping only the
# Executable lines whose library is there) are written beside the library,
# as a simulator expects them; the target NAME_check runs `tessalune check`
# on them and fails on any error or warning.
#
# Used by the project's own models and shipped with the installed kit
# (find_package(tessalune) makes it available). It reads:
#   TESSALUNE_KIT_LIBRARY    the kit to link (tess_amiframe in the project's
#                            tree, tessalune::kit when installed)
#   TESSALUNE_EXPORTS_MAP    the version script of the three entry points
#   TESSALUNE_CHECK_PROGRAM  the `tessalune` program (empty: no NAME_check)
#   TESSALUNE_FUZZ           the fuzz build leaves symbols unresolved
set(TESSALUNE_AMI_MODEL_DIR "${CMAKE_CURRENT_LIST_DIR}")

function(tessalune_add_ami_model name)
  cmake_parse_arguments(ARG "" "AMI;IBS" "SOURCES;LIBS" ${ARGN})
  foreach(required SOURCES AMI IBS)
    if(NOT ARG_${required})
      message(FATAL_ERROR "tessalune_add_ami_model(${name}): ${required} is missing")
    endif()
  endforeach()
  foreach(file AMI IBS)
    get_filename_component(ARG_${file} "${ARG_${file}}" ABSOLUTE)
  endforeach()
  add_library(${name} SHARED ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${TESSALUNE_KIT_LIBRARY})
  target_compile_options(${name} PRIVATE -ffp-contract=off -fno-fast-math)
  set_target_properties(${name} PROPERTIES OUTPUT_NAME ${name} CXX_VISIBILITY_PRESET hidden
                                           C_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  if(WIN32)
    set_target_properties(${name} PROPERTIES PREFIX "")
    target_link_options(${name} PRIVATE "LINKER:--exclude-all-symbols")
    if(MINGW)
      # The C and C++ runtimes linked in: the DLL needs only the Windows
      # system DLLs. Aligned vector moves become unaligned ones, which the
      # MinGW stack (16-byte aligned) needs.
      target_compile_options(${name} PRIVATE -Wa,-muse-unaligned-vector-move)
      target_link_options(${name} PRIVATE -static-libgcc -static-libstdc++ -static $<$<NOT:$<CONFIG:Debug>>:-s>)
    endif()
  else()
    target_link_options(${name} PRIVATE "LINKER:--version-script=${TESSALUNE_EXPORTS_MAP}")
    if(NOT TESSALUNE_FUZZ)
      target_link_options(${name} PRIVATE "LINKER:--no-undefined")
    endif()
    set_target_properties(${name} PROPERTIES LINK_DEPENDS "${TESSALUNE_EXPORTS_MAP}")
  endif()
  _tessalune_model_files_beside(${name} "${ARG_AMI}" "${ARG_IBS}")
endfunction()

# The .ami and .ibs beside the built library, and the NAME_check target.
function(_tessalune_model_files_beside name ami ibs)
  get_filename_component(ibsName "${ibs}" NAME)
  add_custom_command(
    TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${ami}" "$<TARGET_FILE_DIR:${name}>"
    COMMAND ${CMAKE_COMMAND} -DIBS_FILE=${ibs} -DPACKAGE_DIR=$<TARGET_FILE_DIR:${name}> -P
            "${TESSALUNE_AMI_MODEL_DIR}/PackageIbis.cmake"
    VERBATIM)
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS "${ami}" "${ibs}")
  if(TESSALUNE_CHECK_PROGRAM)
    add_custom_target(
      ${name}_check
      COMMAND ${CMAKE_COMMAND} -DCHECK_PROGRAM=${TESSALUNE_CHECK_PROGRAM} -DIBS=$<TARGET_FILE_DIR:${name}>/${ibsName}
              -P "${TESSALUNE_AMI_MODEL_DIR}/TessaluneCheck.cmake"
      DEPENDS ${name}
      COMMENT "Checking ${ibsName} and its .ami beside the built ${name}"
      VERBATIM)
  endif()
endfunction()
