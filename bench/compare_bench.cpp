// Native benchmark of the search compare over 1 GiB, chunk by chunk as the
// search does it, next to the C library's memchr and memmem on the same data.
#include "bench/compare_cases.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

struct Data {
    std::unique_ptr<uint8_t[]> bytes{new uint8_t[BENCH_SIZE]};
    bool zeros = false;
    bool filled = false;
};

Data& Prepared(const CompareCase& c)
{
    static Data data;
    if (!data.filled || data.zeros != c.zeros) {
        FillData(data.bytes.get(), BENCH_SIZE, c.zeros);
        data.zeros = c.zeros;
        data.filled = true;
    }
    return data;
}

// Puts the pattern into the last bytes when the case asks for it, and
// takes it out again afterwards.
struct Placed {
    Placed(Data& data, const CompareCase& c) : data_(data), size_(c.atTheEnd ? c.pattern.size() : 0)
    {
        uint8_t* end = data_.bytes.get() + BENCH_SIZE - size_;
        std::memcpy(saved_, end, size_);
        std::memcpy(end, c.pattern.data(), size_);
    }
    ~Placed() { std::memcpy(data_.bytes.get() + BENCH_SIZE - size_, saved_, size_); }
    Data& data_;
    size_t size_;
    uint8_t saved_[64];
};

void Run(benchmark::State& state, const CompareCase& c, int method)
{
    Data& data = Prepared(c);
    Placed placed(data, c);
    const uint8_t* bytes = data.bytes.get();
    const size_t expected = c.atTheEnd ? BENCH_SIZE - c.pattern.size() : BENCH_SIZE;
    for (auto _ : state) {
        size_t found = BENCH_SIZE;
        if (method == 0) {
            found = ScanLikeTheSearch(bytes, BENCH_SIZE, c.pattern);
        } else if (method == 1) {
            const void* at = std::memchr(bytes, static_cast<uint8_t>(c.pattern[0]), BENCH_SIZE);
            found = at ? static_cast<size_t>(static_cast<const uint8_t*>(at) - bytes) : BENCH_SIZE;
        } else {
            const void* at = memmem(bytes, BENCH_SIZE, c.pattern.data(), c.pattern.size());
            found = at ? static_cast<size_t>(static_cast<const uint8_t*>(at) - bytes) : BENCH_SIZE;
        }
        benchmark::DoNotOptimize(found);
        if (method != 1 && found != expected)
            state.SkipWithError("wrong result");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(BENCH_SIZE));
}

const int registered = [] {
    for (const CompareCase& c : CompareCases()) {
        benchmark::RegisterBenchmark((std::string("FindPattern/") + c.name).c_str(),
                                     [&c](benchmark::State& s) { Run(s, c, 0); })
            ->Unit(benchmark::kMillisecond)->MinTime(1.0);
        if (c.pattern.size() == 1)
            benchmark::RegisterBenchmark((std::string("memchr/") + c.name).c_str(),
                                         [&c](benchmark::State& s) { Run(s, c, 1); })
                ->Unit(benchmark::kMillisecond)->MinTime(1.0);
        benchmark::RegisterBenchmark((std::string("memmem/") + c.name).c_str(),
                                     [&c](benchmark::State& s) { Run(s, c, 2); })
            ->Unit(benchmark::kMillisecond)->MinTime(1.0);
    }
    return 0;
}();

} // namespace

BENCHMARK_MAIN();
