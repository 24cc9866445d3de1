#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("qn470 3.0.0");
        return 0;
    }
    std::fputs("usage: qn470 COMMAND ...\n", stderr);
    return 2;
}
