#include <cstdio>

int main() {
    std::puts("Zemra is built. Playback arrives with the desktop shell; until then, run the tests.");
    return 0;
}
