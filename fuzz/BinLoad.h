#pragma once
// Loads the fuzz input as a memory image: false for one longer than any
// image (refused as it must be); every other input loads whole.
#include "FuzzFile.h"
#include "MemoryImage.h"

inline bool LoadFuzzImage(logbridge::TConsoleState &State, const uint8_t *Data, size_t Size)
{
    using namespace logbridge;
    try {
        LoadMemoryImage(State, TFuzzFile(Data, Size).Path());
    } catch (const EMemoryImageTooLarge &) {
        if (Size <= ImageBufferSize)
            std::abort();
        return false;
    }
    if (State.ByteCount != int32_t(Size) || !State.WorkImageLoaded)
        std::abort();
    return true;
}
