# The reference receiver's entry points as a simulator calls them, on
# arbitrary parameter strings, timing and impulse shapes: AMI_Init, AMI_GetWave
# in pieces (clock-times arrays exactly as long as each piece) and with a
# negative count, AMI_Close.
tessalune_add_fuzzer(fuzz_rx SOURCES RxFuzz.cpp LIBS tess_rxami)
