# Memory images (*.bin) are files a user can hand in to the console.
orva_fuzz(fuzz_bin SOURCES BinFuzz.cpp DEPS console)
