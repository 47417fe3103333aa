// Replays fuzz inputs without libFuzzer, so that the normal and the sanitizer
// builds check every input that once crashed or hung: each file named on the
// command line, or each file in a folder named there, goes once through the
// target's entry function, as libFuzzer replays a corpus. Each input is named
// before it runs, so the last name printed is the input that crashed, tripped
// a sanitizer or hung until the test's time-out.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Only the targets that need a set-up define it, as libFuzzer expects.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

// The files to replay, in a fixed order, so that a failure repeats as it was.
std::vector<std::filesystem::path> Inputs(int argc, char** argv, bool& ok) {
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
                if (entry.is_regular_file()) files.push_back(entry.path());
            }
            std::sort(files.begin(), files.end());
            inputs.insert(inputs.end(), files.begin(), files.end());
        } else if (std::filesystem::is_regular_file(path, error)) {
            inputs.push_back(path);
        } else {
            std::fprintf(stderr, "fuzz replay: %s: %s\n", argv[i],
                         error ? error.message().c_str() : "neither a file nor a folder");
            ok = false;
            continue;
        }
        if (error) {
            std::fprintf(stderr, "fuzz replay: %s: %s\n", argv[i], error.message().c_str());
            ok = false;
        }
    }
    return inputs;
}

bool ReadInput(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream file(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s INPUT-OR-FOLDER...\n", argv[0]);
        return 2;
    }
    bool ok = true;
    const std::vector<std::filesystem::path> inputs = Inputs(argc, argv, ok);
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    std::vector<std::uint8_t> bytes;
    for (const auto& input : inputs) {
        std::fprintf(stderr, "fuzz replay: %s\n", input.c_str());
        std::fflush(stderr);
        if (!ReadInput(input, bytes)) {
            std::fprintf(stderr, "fuzz replay: %s could not be read\n", input.c_str());
            ok = false;
            continue;
        }
        // A copy of exactly the input's size, so that the sanitizers catch a
        // read past its end as libFuzzer's own copy would.
        const std::vector<std::uint8_t> data(bytes);
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "fuzz replay: no inputs\n");
        ok = false;
    }
    std::fprintf(stderr, "fuzz replay: %zu inputs replayed\n", inputs.size());
    return ok ? 0 : 1;
}
