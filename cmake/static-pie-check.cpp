// Started by CMake at configure time: a static PIE built with the build's
// flags that prints this has started.
#include <iostream>

int main() {
    std::cout << "started\n";
}
