# Rich text files are files a user can hand in to the report view.
orva_fuzz(fuzz_rtf SOURCES RtfFuzz.cpp DEPS ui)
