// The program the sample installers install: it only has to exist and run.
#include <cstdio>

int main() {
    std::puts("Tarnwick sample program");
    return 0;
}
