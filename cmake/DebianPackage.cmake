# The Debian packages, made with CPack from a release build:
#   cd build/release && cpack -G DEB
#   tessalune_<version>_amd64.deb      the tessalune program and the two model
#                                      packages (under /usr/lib/tessalune/)
#   tessalune-dev_<version>_amd64.deb  the kit for model makers: headers,
#                                      static libraries, CMake package,
#                                      pkg-config files
# The kit is split off because a simulation user needs none of it, and a
# model maker needs the program too (the NAME_check targets run it), so the
# -dev package depends on the exact same version of the other.
if(WIN32 OR NOT UNIX)
  return()
endif()

set(TESSALUNE_DOC_DIR "share/doc/tessalune")
set(deb_doc "${CMAKE_BINARY_DIR}/debian-doc")
# Each package's copyright and changelog, the program's manual page, the changelog compressed as Debian
# asks (gzip -9n: no name, no time stamp, so the same every build).
file(MAKE_DIRECTORY "${deb_doc}")
configure_file(cmake/debian/changelog.in "${deb_doc}/changelog" @ONLY)
find_program(GZIP_PROGRAM gzip)
if(GZIP_PROGRAM)
  add_custom_command(
    OUTPUT "${deb_doc}/changelog.gz"
    COMMAND ${GZIP_PROGRAM} -9nkf "${deb_doc}/changelog"
    DEPENDS "${deb_doc}/changelog"
    VERBATIM)
  add_custom_command(
    OUTPUT "${deb_doc}/tessalune.1.gz"
    COMMAND ${GZIP_PROGRAM} -9nc "${CMAKE_SOURCE_DIR}/cmake/debian/tessalune.1" > "${deb_doc}/tessalune.1.gz"
    DEPENDS cmake/debian/tessalune.1)
  add_custom_target(tessalune_debian_doc ALL DEPENDS "${deb_doc}/changelog.gz" "${deb_doc}/tessalune.1.gz")
  install(FILES "${deb_doc}/tessalune.1.gz" DESTINATION share/man/man1 COMPONENT runtime EXCLUDE_FROM_ALL)
  foreach(component runtime dev)
    set(package tessalune)
    if(component STREQUAL dev)
      set(package tessalune-dev)
    endif()
    install(FILES cmake/debian/copyright "${deb_doc}/changelog.gz" DESTINATION share/doc/${package}
            COMPONENT ${component} EXCLUDE_FROM_ALL)
  endforeach()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessalune)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "tessalune")
set(CPACK_PACKAGE_CONTACT "tessalune maintainers <maintainers@tessalune.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tessalune.invalid/")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME tessalune)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
string(CONCAT CPACK_COMPONENT_RUNTIME_DESCRIPTION
       "IBIS-AMI transmitter and receiver models with a link simulator\n"
       "The tessalune program checks IBIS files, simulates a serial link (eye,\n"
       "BER, sweeps) and loads IBIS-AMI models. The package also holds the\n"
       "tessalune_tx transmitter and tessalune_rx receiver model packages\n"
       "(library, .ibs, .ami) under /usr/lib/tessalune.")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME tessalune-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "tessalune (= ${PROJECT_VERSION}), g++, cmake (>= 3.25)")
set(CPACK_DEBIAN_DEV_PACKAGE_RECOMMENDS "ninja-build, pkgconf")
string(CONCAT CPACK_COMPONENT_DEV_DESCRIPTION
       "kit for building IBIS-AMI models with tessalune\n"
       "Headers, static libraries, a CMake package (find_package(tessalune))\n"
       "and pkg-config files of the dataflow kit the tessalune models are\n"
       "built from: blocks, AMI parameter parsing, the entry-point frame and\n"
       "the IBIS checker. tessalune new-model writes a model project that\n"
       "builds against it.")
include(CPack)
