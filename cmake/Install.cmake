# The model package: what an engineer hands to a channel simulator, with the
# libraries, their IBIS file and the .ami parameter file side by side (the
# .ibs names the others by file name), plus the project's program:
#   <prefix>/tessalune_tx/libtessalune_tx.so   (Linux build)
#   <prefix>/tessalune_tx/tessalune_tx.dll     (Windows build)
#   <prefix>/tessalune_tx/tessalune_tx.ibs
#   <prefix>/tessalune_tx/tessalune_tx.ami
#   <prefix>/bin/tessalune                     (Linux build)
# An installed tessalune finds the package beside its bin/ folder and loads
# that model by default. The installed .ibs names the libraries that are in
# the folder once this build's is there: install the Linux and the Windows
# build into one prefix for the two-platform package.
set(TESSALUNE_PACKAGE_DIR tessalune_tx)
set(library_permissions OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(TARGET tessalune_tx)
  if(WIN32)
    # The DLL alone: a simulator finds the entry points by name and needs no
    # import library.
    install(PROGRAMS $<TARGET_FILE:tessalune_tx> DESTINATION ${TESSALUNE_PACKAGE_DIR})
  else()
    install(TARGETS tessalune_tx LIBRARY DESTINATION ${TESSALUNE_PACKAGE_DIR} PERMISSIONS ${library_permissions})
  endif()
endif()
install(FILES ibis/tessalune_tx.ami DESTINATION ${TESSALUNE_PACKAGE_DIR})
install(CODE "set(IBS_FILE \"${CMAKE_SOURCE_DIR}/ibis/tessalune_tx.ibs\")
  set(PACKAGE_DIR \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TESSALUNE_PACKAGE_DIR}\")
  message(STATUS \"Writing: \${PACKAGE_DIR}/tessalune_tx.ibs\")
  include(\"${CMAKE_SOURCE_DIR}/cmake/PackageIbis.cmake\")")
if(TARGET tessalune)
  install(TARGETS tessalune RUNTIME DESTINATION bin)
endif()
