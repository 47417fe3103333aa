// Writes the demo track to the path given: `make_demo_track OUT.trk`.
#include <cstdio>

#include "demo_track.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_demo_track OUT.trk\n", stderr);
        return 1;
    }
    return trackgen::SaveFile(argv[1], trackgen::WriteTrack(gui_test::DemoTrack())) ? 0 : 1;
}
