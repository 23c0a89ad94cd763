if(TARGET tess_tools)
  tessalune_add_benchmark(bench_host SOURCES HostStreamBench.cpp LIBS tess_tools)
endif()
if(TARGET tess_tools AND TARGET tessalune_rx)
  tessalune_add_benchmark(bench_link SOURCES LinkRunBench.cpp LIBS tess_tools)
  target_compile_definitions(bench_link PRIVATE TESSALUNE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                             TESSALUNE_TX_LIBRARY="$<TARGET_FILE:tessalune_tx>"
                             TESSALUNE_RX_LIBRARY="$<TARGET_FILE:tessalune_rx>")
  add_dependencies(bench_link tessalune_tx tessalune_rx)
endif()
