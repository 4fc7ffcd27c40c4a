# Glyph files of the LCD label are files a user can hand in.
orva_fuzz(fuzz_glyphs SOURCES GlyphFuzz.cpp DEPS controls)
