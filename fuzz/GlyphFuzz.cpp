// A glyph file is taken whole or not at all, and what is taken is in range.
#include "LCD_Lab.h"

#include <unistd.h>

#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    static const std::string path = "/tmp/orva-fuzz-glyphs-" + std::to_string(getpid()) + ".fnt";
    if (FILE *f = std::fopen(path.c_str(), "wb")) {
        if (Size > 0)
            std::fwrite(Data, 1, Size, f);
        std::fclose(f);
    }
    TGlyphFile glyphs;
    glyphs.Cols = -7;
    if (ReadGlyphFile(path, glyphs)) {
        const bool sane = glyphs.Cols >= 1 && glyphs.Rows >= 1 && glyphs.First >= 0 &&
                          glyphs.Last <= 255 && glyphs.First <= glyphs.Last &&
                          glyphs.Dots.size() == size_t(glyphs.Last - glyphs.First + 1) *
                                                    size_t(glyphs.Cols) * size_t(glyphs.Rows) &&
                          glyphs.Dots.size() + 16 <= Size;
        if (!sane)
            __builtin_trap();
    } else if (glyphs.Cols != -7) {
        __builtin_trap(); // a refused file must leave the result untouched
    }
    std::remove(path.c_str());
    return 0;
}
