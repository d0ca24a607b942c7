// Runs a fuzz target without libFuzzer, as a test: on every file of its seed corpus, on
// variants of each (cut short, or one byte changed, at places drawn from a fixed seed), then
// on pseudo-random inputs from the same seed, so that a failure repeats. A broken property
// aborts, as under the fuzzer.
//   replay_TARGET CORPUS_FOLDER INPUTS [VARIANTS_PER_FILE]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

void run(const std::vector<std::uint8_t>& bytes) {
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER INPUTS [VARIANTS_PER_FILE]\n", argv[0]);
        return 2;
    }
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    std::mt19937 random(1);
    const long variants = argc == 4 ? std::atol(argv[3]) : 0;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        run(bytes);
        // Every other variant is a beginning of the file, the others one changed byte (a
        // bit of a letter's case, the lowest bit, or any value).
        for (long i = 0; i < variants && !bytes.empty(); ++i) {
            const std::size_t at = random() % bytes.size();
            std::vector<std::uint8_t> variant = bytes;
            if (i % 2 == 0) {
                variant.resize(at);
            } else {
                const unsigned kind = random() % 3;
                variant[at] = static_cast<std::uint8_t>(kind == 0   ? variant[at] ^ 0x20
                                                        : kind == 1 ? variant[at] ^ 0x01
                                                                    : random());
            }
            run(variant);
        }
    }
    for (long i = 0; i < std::atol(argv[2]); ++i) {
        std::vector<std::uint8_t> bytes(random() % 512);
        for (std::uint8_t& byte : bytes)
            byte = static_cast<std::uint8_t>(random());
        run(bytes);
    }
    return 0;
}
