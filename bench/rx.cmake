tessalune_add_benchmark(bench_rx SOURCES RxBench.cpp LIBS tess_rxami)
