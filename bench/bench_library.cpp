// Save plus load of a full library through a real file in /tmp: the mean
// time of one save (temporary file, flush to disk, rename) followed by one
// load, over many runs; and the same for building and parsing the image alone.
// Then the search of the whole configuration for the controls that send a
// message, and for the clashes of every group.
#include <chrono>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "control_search.h"
#include "library_file.h"
#include "record_access.h"

int main()
{
    ResetConfiguration(1);
    const std::string path = "/tmp/cvq9_bench_library_" + std::to_string(getpid()) + ".cvq";
    using Clock = std::chrono::steady_clock;

    const int runs = 200;
    unsigned failures = 0;
    double save_ms = 0, load_ms = 0;
    for (int i = 0; i < runs; ++i) {
        mytransport[0].ctrl_value_max = static_cast<uint8_t>(i & 0x7F);
        const Clock::time_point t0 = Clock::now();
        if (SaveLibraryFile(path).status != LibraryFileStatus::Ok)
            ++failures;
        const Clock::time_point t1 = Clock::now();
        if (LoadLibraryFile(path).status != LibraryFileStatus::Ok)
            ++failures;
        const Clock::time_point t2 = Clock::now();
        save_ms += std::chrono::duration<double, std::milli>(t1 - t0).count();
        load_ms += std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    save_ms /= runs;
    load_ms /= runs;
    std::remove(path.c_str());

    const int image_runs = 2000;
    const Clock::time_point image_start = Clock::now();
    for (int i = 0; i < image_runs; ++i) {
        const std::vector<uint8_t> image = BuildLibraryImage();
        ParseLibraryImage(image.data(), image.size());
    }
    const double image_ms = std::chrono::duration<double, std::milli>(Clock::now() - image_start).count() / image_runs;

    std::printf("library save + load (file in /tmp, %d runs): %.3f ms mean\n", runs, save_ms + load_ms);
    std::printf("  of which save (temporary file, fsync, rename): %.3f ms, load: %.3f ms\n", save_ms, load_ms);
    std::printf("library image build + parse (%d runs): %.3f ms mean\n", image_runs, image_ms);

    const int search_runs = 200;
    size_t found = 0;
    ControlQuery query;
    query.kind = 0xB0;
    query.number = 74;
    Clock::time_point search_start = Clock::now();
    for (int i = 0; i < search_runs; ++i)
        found += SearchControls(query).size();
    const double search_ms =
        std::chrono::duration<double, std::milli>(Clock::now() - search_start).count() / search_runs;
    search_start = Clock::now();
    for (int i = 0; i < search_runs; ++i)
        found += SearchConflicts().size();
    const double conflicts_ms =
        std::chrono::duration<double, std::milli>(Clock::now() - search_start).count() / search_runs;
    std::printf("find controls over the whole configuration: %.3f ms, conflicts of every group: %.3f ms (%zu found)\n",
                search_ms, conflicts_ms, found / search_runs);
    if (failures)
        std::printf("%u save or load failures\n", failures);
    return failures ? 1 : 0;
}
