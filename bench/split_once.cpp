// One split, then its peak resident memory: the run that bench/speed_goals.sh times beside
// `split -l` as a whole process. It links only the core, so that its start costs what a small
// program's does and the time measured is the split's.
//
//   analisis-tracks-split-once SOURCE N
#include <sys/resource.h>

#include <cstdio>

#include "formats/splitter.h"
#include "platform/runtime_error.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SOURCE N\n", argv[0]);
        return 2;
    }
    try {
        at::splitTrack(argv[1], argv[2]);
    } catch (const at::RuntimeError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak_rss_kib %ld\n", usage.ru_maxrss);
    return 0;
}
