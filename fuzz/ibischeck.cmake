# IBIS file content through the per-file check: version detection, line and
# keyword rules, the file header, components with their package parasitics,
# models with their [Algorithmic Model] blocks, and the other sections.
tessalune_add_fuzzer(fuzz_ibischeck
  SOURCES IbisCheckFuzz.cpp
  LIBS tess_ibis tess_amiparam)
