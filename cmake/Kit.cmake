# The kit for model makers, installed (component "dev"):
#   <prefix>/include/tessalune/{dataflow,blocks,amiparam,amiframe,IbisParser}/*.h
#   <prefix>/<libdir>/libtessalune_{dataflow,blocks,amiparam,amiframe,ibis}.a
#   <prefix>/<libdir>/cmake/tessalune/   the CMake package: tessalune::kit,
#       tessalune::ibis (and each library alone), tessalune_add_ami_model,
#       the exports' version script, the MinGW toolchain file
#   <prefix>/<libdir>/pkgconfig/tessalune.pc, tessalune-ibis.pc
# The libraries are static and position independent: a model is one
# self-contained shared object that needs nothing of the kit at run time.
# Only the headers a model maker includes are public (docs/ARCHITECTURE.md
# lists them); the rest of the checker and the parameter layer stay inside.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TESSALUNE_KIT_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}/tessalune")
set(TESSALUNE_KIT_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/tessalune")

# Each library: its installed name (libtessalune_NAME.a, which collides with
# nothing), its name in the package (tessalune::NAME), its headers.
set(kit_libraries dataflow tess_dataflow blocks tess_blocks amiparam tess_amiparam amiframe tess_amiframe ibis
                  tess_ibis)
set(kit_headers_dataflow dataflow/*.h)
set(kit_headers_blocks blocks/*.h)
set(kit_headers_amiparam amiparam/AmiParameters.h amiparam/AmiTree.h amiparam/AmiValue.h)
set(kit_headers_amiframe amiframe/AmiFrame.h amiframe/AmiExports.h)
set(kit_headers_ibis IbisParser/IbisCheck.h)

set(kit_targets "")
while(kit_libraries)
  list(POP_FRONT kit_libraries short target)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME tessalune_${short} EXPORT_NAME ${short})
  target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:${TESSALUNE_KIT_INCLUDEDIR}>)
  list(APPEND kit_targets ${target})
  set(headers "")
  foreach(pattern IN LISTS kit_headers_${short})
    file(GLOB found RELATIVE "${CMAKE_SOURCE_DIR}" CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${pattern}")
    list(APPEND headers ${found})
  endforeach()
  foreach(header IN LISTS headers)
    get_filename_component(folder "${header}" DIRECTORY)
    install(FILES ${header} DESTINATION ${TESSALUNE_KIT_INCLUDEDIR}/${folder} COMPONENT dev)
  endforeach()
endwhile()

# The floating-point rules travel with the kit: code that includes its
# templates is compiled without contraction too.
target_compile_options(tess_dataflow INTERFACE $<INSTALL_INTERFACE:-ffp-contract=off> $<INSTALL_INTERFACE:-fno-fast-math>)

# tessalune::kit, everything a model links.
add_library(tess_kit INTERFACE)
target_link_libraries(tess_kit INTERFACE tess_amiframe tess_blocks tess_amiparam tess_dataflow)
set_target_properties(tess_kit PROPERTIES EXPORT_NAME kit)

install(TARGETS ${kit_targets} tess_kit EXPORT tessaluneTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
                                                                COMPONENT dev)
install(EXPORT tessaluneTargets NAMESPACE tessalune:: DESTINATION ${TESSALUNE_KIT_CMAKEDIR} COMPONENT dev)

configure_package_config_file(cmake/tessaluneConfig.cmake.in "${CMAKE_BINARY_DIR}/kit/tessaluneConfig.cmake"
                              INSTALL_DESTINATION ${TESSALUNE_KIT_CMAKEDIR})
# 0.x releases change the kit between minor versions: a model asks for the
# minor version it was written against.
write_basic_package_version_file("${CMAKE_BINARY_DIR}/kit/tessaluneConfigVersion.cmake"
                                 COMPATIBILITY SameMinorVersion)
install(FILES "${CMAKE_BINARY_DIR}/kit/tessaluneConfig.cmake" "${CMAKE_BINARY_DIR}/kit/tessaluneConfigVersion.cmake"
              cmake/TessaluneAmiModel.cmake cmake/TessaluneCheck.cmake cmake/PackageIbis.cmake
              cmake/mingw-w64-x86_64.cmake amiframe/AmiExports.map
        DESTINATION ${TESSALUNE_KIT_CMAKEDIR} COMPONENT dev)

# The .pc files name the prefix relative to their own folder, so that the
# kit works wherever its tree is unpacked.
file(RELATIVE_PATH pc_prefix "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
foreach(pc tessalune tessalune-ibis)
  configure_file(cmake/${pc}.pc.in "${CMAKE_BINARY_DIR}/kit/${pc}.pc" @ONLY)
  install(FILES "${CMAKE_BINARY_DIR}/kit/${pc}.pc" DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
endforeach()
