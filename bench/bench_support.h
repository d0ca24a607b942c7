// What the benchmark programs share: a window on the real file system, a folder on a
// memory file system for the files they write, and a count of heap allocations.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/form1.h"

namespace tavrix::bench {

// A folder of this run in /dev/shm (or $TAVRIX_BENCH_DIR), removed when the program ends.
const std::string& scratch_directory();
std::string scratch_path(std::string_view name);

// A window whose "Generar!" writes real files, as tavrix-script's does.
std::unique_ptr<Form1> make_form();

std::string read_file(const std::string& path);

// A tavrix-script run as a whole process, from tavrix_peak_of in the scratch folder.
struct ProcessFigures {
    int exit_code = -1;
    double wall_seconds = 0;
    long peak_kib = 0;
};
std::optional<ProcessFigures> run_script(const std::string& script);

// Heap allocations made by the program so far (operator new is counted).
std::uint64_t allocation_count();

// Reports the allocations made since `before` as the counter `name`, per iteration divided
// by `per` (the frames of an iteration, say).
void report_allocations(benchmark::State& state, const char* name, std::uint64_t before,
                        double per = 1);

}  // namespace tavrix::bench
