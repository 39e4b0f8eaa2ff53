// A failed check aborts: libFuzzer reports the input that made it fail.
#ifndef CVQ9_FUZZ_CHECK_H
#define CVQ9_FUZZ_CHECK_H

#include <cstdlib>

inline void Check(bool ok)
{
    if (!ok)
        std::abort();
}

#endif
