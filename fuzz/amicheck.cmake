# .ami parameter files through the .ami mode of the file check, the parser and
# the tree check; every line also goes through the [Algorithmic Model] block.
tessalune_add_fuzzer(fuzz_amicheck
  SOURCES AmiCheckFuzz.cpp
  LIBS tess_ibis tess_amiparam)
