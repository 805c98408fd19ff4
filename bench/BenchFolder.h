#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace tess::bench {

// Where benchmarks write their files on disk: TESSARYN_BENCH_DIR, or the benchmark program's
// own folder.
inline std::string benchFolder() {
    if (const char* folder = std::getenv("TESSARYN_BENCH_DIR"))
        return folder;
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path().string() : program.parent_path().string();
}

}  // namespace tess::bench
