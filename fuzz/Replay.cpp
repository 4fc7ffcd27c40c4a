// Runs a fuzz target without libFuzzer: over the files named on the command
// line, or over a fixed number of pseudo-random inputs grown from a few
// seeds by byte flips, insertions and truncations.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size);

int main(int argc, char **argv)
{
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) {
            std::ifstream in(argv[i], std::ios::binary);
            std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(data.data(), data.size());
        }
        return 0;
    }
    std::mt19937 rng(20071029);
    std::vector<uint8_t> input;
    const int runs = 5000;
    for (int run = 0; run < runs; ++run) {
        switch (rng() % 4) {
        case 0:
            input.clear();
            for (size_t n = rng() % 200; n > 0; --n)
                input.push_back(uint8_t(rng()));
            break;
        case 1:
            if (!input.empty())
                input[rng() % input.size()] ^= uint8_t(1u << (rng() % 8));
            break;
        case 2:
            input.insert(input.begin() + long(input.empty() ? 0 : rng() % input.size()),
                         uint8_t(rng()));
            break;
        default:
            if (!input.empty())
                input.resize(rng() % input.size());
            break;
        }
        // Text-like inputs reach deeper into text parsers.
        static const std::string alphabet = "[]=\n;#0x19 abAB-\r\t\"'";
        if (rng() % 2)
            for (auto &b : input)
                b = uint8_t(alphabet[b % alphabet.size()]);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%d inputs\n", runs);
    return 0;
}
