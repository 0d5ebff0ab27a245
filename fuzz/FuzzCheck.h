// Invariant checks for the fuzz targets: a broken invariant prints what was
// expected and aborts, which both libFuzzer and the replay runner report.
#ifndef CHARSETKIT_FUZZ_FUZZCHECK_H
#define CHARSETKIT_FUZZ_FUZZCHECK_H

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

#endif
