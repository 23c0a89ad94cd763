tessalune_add_benchmark(bench_ami SOURCES AmiBench.cpp LIBS tess_ami)
