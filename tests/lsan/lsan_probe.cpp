// Checks the leak suppressions: memory that GLib keeps is not reported, memory
// that our code loses is. Run as "lsan_probe system" (must pass) and
// "lsan_probe ours" (must fail) under LeakSanitizer with tests/lsan.supp.
#include <cstddef>
#include <cstring>

// GLib's allocator, from the runtime library the toolkit uses.
extern "C" void *g_malloc(std::size_t size);

namespace {

void *volatile kept = nullptr;

__attribute__((noinline)) void LoseOurs()
{
    kept = new char[4096];
    kept = nullptr;
}

__attribute__((noinline)) void LoseGlibs()
{
    kept = g_malloc(16384);
    kept = nullptr;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], "ours") == 0)
        LoseOurs();
    else
        LoseGlibs();
    return 0;
}
