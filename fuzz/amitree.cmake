# The parameter-string parser and the typed readers on arbitrary text.
tessalune_add_fuzzer(fuzz_amitree SOURCES AmiTreeFuzz.cpp LIBS tess_amiparam)
