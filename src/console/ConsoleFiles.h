#pragma once
// Whole-file reads and writes for the console's data files. Every failure
// raises EInOutError with the path and the system's reason, after closing
// what was opened.

#include <cstddef>
#include <string>
#include <string_view>

namespace logbridge {

// Makes Bytes the whole content of Path. The bytes go to a new file that
// replaces Path only once it is complete; a failure leaves Path as it was.
void WriteWholeFile(const std::string &Path, std::string_view Bytes);

// Reads Path, opened for reading only, up to Limit bytes. TooLarge tells
// whether the file held more; the bytes past Limit are not read.
std::string ReadWholeFile(const std::string &Path, std::size_t Limit, bool &TooLarge);

// Path without its folder.
std::string ExtractFileName(const std::string &Path);

} // namespace logbridge
