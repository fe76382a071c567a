#pragma once
#include <cstdio>
#include <cstdlib>

// A broken promise of the code under test: reported and turned into a crash, which libFuzzer
// keeps as a reproducer.
#define FUZZ_REQUIRE(condition)                                                                  \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);         \
            std::abort();                                                                        \
        }                                                                                        \
    } while (0)
