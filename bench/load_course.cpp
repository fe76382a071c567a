// Times ContentStore::loadCourseText over a program folder's course.
//
//   bench_load_course <programDir> [runs]
//
// Prints the median and the worst of the runs (default 200) in milliseconds, and the first run on
// its own: a start of the program loads once, with nothing of the work in the processor's caches.
#include "content/content_store.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: bench_load_course <programDir> [runs]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const int runs = argc == 3 ? std::atoi(argv[2]) : 200;
    if (runs < 1) {
        std::fprintf(stderr, "bench_load_course: runs must be a positive number\n");
        return 2;
    }

    std::vector<double> ms;
    ms.reserve(static_cast<size_t>(runs));
    content::ContentStore store;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        store.loadCourseText(dir);
        const auto stop = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }

    // A folder without its course loads in no time: that figure would mean nothing.
    const auto& titles = store.chapterLines();
    const auto present = std::count_if(titles.begin(), titles.end(),
                                       [](const std::string& line) { return !line.empty(); });
    if (present == 0) {
        std::fprintf(stderr, "bench_load_course: no course files under %s/text\n", dir.c_str());
        return 1;
    }

    const double first = ms.front();
    std::sort(ms.begin(), ms.end());
    const double median = runs % 2 ? ms[runs / 2] : (ms[runs / 2 - 1] + ms[runs / 2]) / 2;
    std::printf("course load: %d runs over %ld of %d chapter files\n", runs,
                static_cast<long>(present), content::chapterCount);
    std::printf("course load median: %.3f ms\n", median);
    std::printf("course load worst: %.3f ms\n", ms.back());
    std::printf("course load first: %.3f ms\n", first);
    return 0;
}
