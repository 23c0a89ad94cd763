# The model packages: what an engineer hands to a channel simulator, one
# folder per model with its libraries, its IBIS file and its .ami parameter
# file side by side (the .ibs names the others by file name), plus the
# project's program:
#   <prefix>/tessalune_tx/libtessalune_tx.so   (Linux build)
#   <prefix>/tessalune_tx/tessalune_tx.dll     (Windows build)
#   <prefix>/tessalune_tx/tessalune_tx.ibs
#   <prefix>/tessalune_tx/tessalune_tx.ami
#   <prefix>/tessalune_rx/...                  (the reference receiver, alike)
#   <prefix>/bin/tessalune                     (Linux build)
# An installed tessalune finds the transmitter package beside its bin/
# folder and loads that model by default. The installed .ibs names the
# libraries that are in the folder once this build's is there: install the
# Linux and the Windows build into one prefix for the two-platform package.
set(library_permissions OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# tessalune_install_model(NAME): the folder NAME/ with the library NAME, and
# ibis/NAME.ibs and ibis/NAME.ami.
function(tessalune_install_model name)
  if(TARGET ${name})
    if(WIN32)
      # The DLL alone: a simulator finds the entry points by name and needs
      # no import library.
      install(PROGRAMS $<TARGET_FILE:${name}> DESTINATION ${name})
    else()
      install(TARGETS ${name} LIBRARY DESTINATION ${name} PERMISSIONS ${library_permissions})
    endif()
  endif()
  install(FILES ibis/${name}.ami DESTINATION ${name})
  install(CODE "set(IBS_FILE \"${CMAKE_SOURCE_DIR}/ibis/${name}.ibs\")
    set(PACKAGE_DIR \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${name}\")
    message(STATUS \"Writing: \${PACKAGE_DIR}/${name}.ibs\")
    include(\"${CMAKE_SOURCE_DIR}/cmake/PackageIbis.cmake\")")
endfunction()

tessalune_install_model(tessalune_tx)
tessalune_install_model(tessalune_rx)
if(TARGET tessalune)
  install(TARGETS tessalune RUNTIME DESTINATION bin)
endif()
