// The benchmark program, run under Wine by bench/run.sh:
//   ferrolet_bench fill MEBIBYTES REPEATS
//   ferrolet_bench overwrite METHOD FILE [FILL-PATH] [unbuffered]
//   ferrolet_bench shredfiles METHOD FOLDER [profile]
//   ferrolet_bench count FOLDER REPEATS
//   ferrolet_bench job METHOD FILE
// METHOD is zeros, random, dod3, dod7 or gutmann; FILL-PATH forces scalar, sse2, avx2 or avx512;
// unbuffered opens the file with FILE_FLAG_NO_BUFFERING | FILE_FLAG_WRITE_THROUGH and takes the
// chunk from VirtualAlloc, page-aligned, as writes past the cache need (an experiment; the file's
// size must be a whole number of 4 KiB sectors).
#include "bench_measures.h"
#include "bench_methods.h"
#include "engine/random_fill.h"

#include <cstdio>
#include <cwchar>
#include <exception>
#include <string>

namespace {

bool ForceFillPath(const wchar_t* name) {
    for (RandomFillPath path : AllRandomFillPaths) {
        const std::string narrow = RandomFillPathName(path);
        if (std::wstring(narrow.begin(), narrow.end()) == name) {
            return SetRandomFillPath(path);
        }
    }
    return false;
}

int Usage() {
    std::fprintf(stderr, "usage: ferrolet_bench fill MEBIBYTES REPEATS | overwrite METHOD FILE "
                         "[FILL-PATH] [unbuffered] | shredfiles METHOD FOLDER [profile] | count "
                         "FOLDER REPEATS | job "
                         "METHOD FILE | wipe METHOD VOLUME-ROOT\n");
    return 2;
}

int Run(int argc, wchar_t** argv) {
    if (argc < 3) {
        return Usage();
    }
    const std::wstring command = argv[1];
    if (command == L"fill" && argc == 4) {
        return MeasureFill(std::wcstoul(argv[2], nullptr, 10), _wtoi(argv[3]));
    }
    if (command == L"count" && argc == 4) {
        return MeasureCount(argv[2], _wtoi(argv[3]));
    }
    const int method = BenchMethodIndex(argv[2]);
    if (method < 0 || argc < 4) {
        return Usage();
    }
    if (command == L"overwrite") {
        bool unbuffered = false;
        for (int i = 4; i < argc; ++i) {
            if (std::wstring(argv[i]) == L"unbuffered") {
                UsePageAlignedChunks();
                unbuffered = true;
            } else if (!ForceFillPath(argv[i])) {
                std::fprintf(stderr, "option %ls is unknown or unsupported here\n", argv[i]);
                return 2;
            }
        }
        return MeasureOverwrite(ShredMethods[method], BenchMethods[method].passes, argv[3],
                                unbuffered);
    }
    if (command == L"shredfiles" &&
        (argc == 4 || (argc == 5 && std::wstring(argv[4]) == L"profile"))) {
        return MeasureShredFiles(ShredMethods[method], argv[3], argc == 5);
    }
    if (command == L"wipe" && argc == 4) {
        return MeasureWipe(ShredMethods[method], argv[3]);
    }
    if (command == L"job" && argc == 4) {
        return MeasureFileJob(ShredMethods[method], argv[3]);
    }
    return Usage();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ferrolet_bench: %s\n", error.what());
        return 1;
    }
}
