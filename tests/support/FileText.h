#pragma once
// The bytes of a file as they are on the disk; empty when it cannot be read.

#include <fstream>
#include <iterator>
#include <string>

inline std::string FileText(const std::string &Path)
{
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
