# The channel convolver and the impulse response build, as the streaming host
# runs them (the tools library, with FFTW).
if(TARGET tess_tools)
  tessalune_add_benchmark(bench_channel SOURCES ChannelBench.cpp LIBS tess_tools)
  target_compile_definitions(bench_channel PRIVATE TESSALUNE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()
