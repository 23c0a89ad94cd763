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
# Into a system prefix (/usr, /usr/local: a Debian package, a system-wide
# install) the model folders go under lib/tessalune/ instead of the prefix's
# top level, where a file system has no place for them; the choice is made
# when installing, so the Debian package (made with the prefix /usr) and a
# package folder come from the same build. An installed tessalune finds the
# transmitter package beside its bin/ folder, or under ../lib/tessalune/,
# and loads that model by default. The installed .ibs names the
# libraries that are in the folder once this build's is there: install the
# Linux and the Windows build into one prefix for the two-platform package.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME runtime)
install(CODE [[
  set(TESSALUNE_MODEL_ROOT "")
  if(CMAKE_INSTALL_PREFIX MATCHES "^/usr(/local)?/?$")
    set(TESSALUNE_MODEL_ROOT "lib/tessalune/")
  endif()
]])
set(library_permissions OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# tessalune_install_model(NAME): the folder NAME/ with the library NAME, and
# ibis/NAME.ibs and ibis/NAME.ami. The destination's variable is read when
# installing.
function(tessalune_install_model name)
  if(TARGET ${name})
    if(WIN32)
      # The DLL alone: a simulator finds the entry points by name and needs
      # no import library.
      install(PROGRAMS $<TARGET_FILE:${name}> DESTINATION \${TESSALUNE_MODEL_ROOT}${name})
    else()
      install(TARGETS ${name} LIBRARY DESTINATION \${TESSALUNE_MODEL_ROOT}${name} PERMISSIONS ${library_permissions})
    endif()
  endif()
  install(FILES ibis/${name}.ami DESTINATION \${TESSALUNE_MODEL_ROOT}${name})
  install(CODE "set(IBS_FILE \"${CMAKE_SOURCE_DIR}/ibis/${name}.ibs\")
    set(PACKAGE_DIR \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${TESSALUNE_MODEL_ROOT}${name}\")
    message(STATUS \"Writing: \${PACKAGE_DIR}/${name}.ibs\")
    include(\"${CMAKE_SOURCE_DIR}/cmake/PackageIbis.cmake\")
    # A system's shared libraries are not executable files.
    if(TESSALUNE_MODEL_ROOT AND EXISTS \"\${PACKAGE_DIR}/lib${name}.so\")
      file(CHMOD \"\${PACKAGE_DIR}/lib${name}.so\" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endif()")
endfunction()

tessalune_install_model(tessalune_tx)
tessalune_install_model(tessalune_rx)
if(TARGET tessalune)
  install(TARGETS tessalune RUNTIME DESTINATION bin)
endif()
