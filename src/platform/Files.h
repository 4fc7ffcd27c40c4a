#pragma once
// Whole files for the programs' data and settings. Nothing here waits on a
// file that is not a regular one (a FIFO with nobody at its other end, a
// device): such files are refused, as folders are. Failures return false
// (or -1) with the reason in errno: EISDIR for a folder, ENXIO for a FIFO,
// socket or device, else the system's own.

#include <cstddef>
#include <string>
#include <string_view>

// Opens Path with the open(2) Flags (O_CLOEXEC and O_NOCTTY are added)
// only if it is, or becomes, a regular file; the descriptor blocks as usual.
// Returns -1 with errno on failure.
int OpenRegularFile(const std::string &Path, int Flags, unsigned Mode = 0666);

// Reads the whole regular file Path, at most Limit bytes; TooLarge, when
// given, tells whether it held more (the rest is not read). Opened, when
// given, tells on failure whether the file was open when reading failed.
bool ReadRegularFile(const std::string &Path, std::string &Bytes,
                     std::size_t Limit = std::string::npos, bool *TooLarge = nullptr,
                     bool *Opened = nullptr);

// Makes Bytes the whole content of Path: they go to a new file in the same
// folder, which is flushed to the disk and then takes Path's place with
// Path's mode (a link is followed, the link stays). A failure part way
// leaves Path as it was. A folder that takes no new file may still hold a
// writable Path: that one is written in place, once the disk has room for
// the new content. Begun, when given, tells on
// failure whether writing had begun (the new file was made).
bool ReplaceFile(const std::string &Path, std::string_view Bytes, bool *Begun = nullptr);
