# The three entry points as a simulator calls them, on arbitrary parameter
# strings and timing: AMI_Init, AMI_GetWave in two pieces and with a negative
# count, AMI_Close.
tessalune_add_fuzzer(fuzz_ami SOURCES AmiFuzz.cpp LIBS tess_ami)
