if(TARGET tess_tools)
  tessalune_add_benchmark(bench_host SOURCES HostStreamBench.cpp LIBS tess_tools)
endif()
