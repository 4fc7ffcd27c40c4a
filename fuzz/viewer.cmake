# Recordings (*.dts) are files a user can hand in to the viewer.
orva_fuzz(fuzz_dts SOURCES DtsFuzz.cpp DEPS viewer Qt6::Gui)
# The same files loaded to points only, fast enough to reach far.
orva_fuzz(fuzz_dts_points SOURCES DtsPointsFuzz.cpp DEPS viewer)
