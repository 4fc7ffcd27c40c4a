# Recordings (*.dts) are files a user can hand in to the viewer.
orva_fuzz(fuzz_dts SOURCES DtsFuzz.cpp DEPS viewer Qt6::Gui)
