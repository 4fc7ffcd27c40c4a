# Memory images (*.bin) are files a user can hand in to the console.
orva_fuzz(fuzz_bin SOURCES BinFuzz.cpp DEPS console)
# The same files decoded to records only, fast enough to reach far.
orva_fuzz(fuzz_bin_records SOURCES BinRecordsFuzz.cpp DEPS console)
