# Touchstone file content through the reader: the option line, continuation
# lines, version 2.0 keywords, noise data, under names that give 1 to 4 ports
# or none. The reader uses only the standard library, so its source is built
# into the target directly (the fuzz build leaves the tools out).
tessalune_add_fuzzer(fuzz_touchstone
  SOURCES TouchstoneFuzz.cpp ${CMAKE_SOURCE_DIR}/tools/linkbench/channel/Touchstone.cpp)
