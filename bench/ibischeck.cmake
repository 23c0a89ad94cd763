tessalune_add_benchmark(bench_ibischeck SOURCES IbisCheckBench.cpp LIBS tess_ibis)
target_compile_definitions(bench_ibischeck PRIVATE TESSALUNE_CORPUS_DIR="${TESSALUNE_CORPUS_DIR}")
