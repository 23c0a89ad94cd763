# The model package: what an engineer hands to a channel simulator, with the
# library, its IBIS file and its .ami parameter file side by side (the .ibs
# names the other two by file name), plus the project's program:
#   <prefix>/tessalune_tx/libtessalune_tx.so
#   <prefix>/tessalune_tx/tessalune_tx.ibs
#   <prefix>/tessalune_tx/tessalune_tx.ami
#   <prefix>/bin/tessalune
# An installed tessalune finds the package beside its bin/ folder and loads
# that model by default.
set(TESSALUNE_PACKAGE_DIR tessalune_tx)

if(TARGET tessalune_tx)
  install(TARGETS tessalune_tx
          LIBRARY DESTINATION ${TESSALUNE_PACKAGE_DIR}
          PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                      WORLD_READ WORLD_EXECUTE)
endif()
install(FILES ibis/tessalune_tx.ibs ibis/tessalune_tx.ami DESTINATION ${TESSALUNE_PACKAGE_DIR})
if(TARGET tessalune)
  install(TARGETS tessalune RUNTIME DESTINATION bin)
endif()
