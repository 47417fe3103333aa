// trackgen: writes a demo track of our own.
//   trackgen --seed N --name X [--driver D] -o file.trk
// Tracks of one seed share the map; each driver drives another lap on it.
#include <cstdlib>
#include <iostream>
#include <string>

#include "trackgen/scene.h"
#include "trackgen/track_writer.h"

int main(int argc, char** argv) {
    std::uint64_t seed = 1;
    std::uint64_t driver = 0;
    std::string name = "demo";
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if ((arg == "--seed" || arg == "--driver") && hasValue) {
            char* end = nullptr;
            const std::uint64_t value = std::strtoull(argv[++i], &end, 10);
            if (*end != '\0') {
                std::cerr << "trackgen: " << arg << " takes a number\n";
                return 1;
            }
            (arg == "--seed" ? seed : driver) = value;
        } else if (arg == "--name" && hasValue) {
            name = argv[++i];
        } else if ((arg == "-o" || arg == "--output") && hasValue) {
            output = argv[++i];
        } else {
            std::cerr << "usage: trackgen [--seed N] [--name X] [--driver D] [-o FILE.trk]\n";
            return arg == "-h" || arg == "--help" ? 0 : 1;
        }
    }
    if (output.empty()) output = name + ".trk";
    const auto bytes = trackgen::WriteTrack(trackgen::GenerateScene(seed, name, driver));
    if (!trackgen::SaveFile(output, bytes)) {
        std::cerr << "trackgen: " << output << ": cannot write\n";
        return 1;
    }
    std::cerr << output << ": " << bytes.size() << " bytes\n";
    return 0;
}
