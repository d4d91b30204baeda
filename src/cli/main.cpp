// Batch front end: runs experiments without a window.
#include <cstdio>

int main() {
    std::puts("zentorix-cli: batch runs are not available yet");
    return 2;
}
