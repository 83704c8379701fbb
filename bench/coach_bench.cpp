// Speed and memory of the coach: the whole value table, and one answer once it exists.
//
// Targets: the table in at most 250 ms on one core and at most 16 MiB resident for it; one
// answer (a hold or a row) in at most 1 ms.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <vector>

#include "coach/Coach.h"
#include "coach/CoachTables.h"

namespace quintaro {
namespace {

// Resident memory of the process in bytes, from /proc/self/statm.
double residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long long size = 0;
    long long resident = 0;
    statm >> size >> resident;
    return double(resident) * 4096.0;
}

// Resident memory that the first table of the process adds, the dice tables included: later
// tables reuse memory the allocator keeps.
double firstTableGrowth() {
    static const double growth = [] {
        const double before = residentBytes();
        const CoachValueTable table = CoachValueTable::compute();
        benchmark::DoNotOptimize(table.rest(0, 0));
        return residentBytes() - before;
    }();
    return growth;
}

void valueTable(benchmark::State& state) {
    const double growth = firstTableGrowth();
    std::size_t bytes = 0;
    double expected = 0;
    for (auto _ : state) {
        CoachValueTable table = CoachValueTable::compute();
        bytes = table.bytes();
        benchmark::DoNotOptimize(table.rest(0, 0));
        expected = table.rest(0, 0);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["table_MiB"] = double(bytes) / (1024.0 * 1024.0);
    state.counters["resident_growth_MiB"] = growth / (1024.0 * 1024.0);
    state.counters["peak_resident_MiB"] = double(usage.ru_maxrss) / 1024.0;
    state.counters["expected_total"] = expected;
}
BENCHMARK(valueTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The table through the coach's own thread, as the game starts it.
void coachReady(benchmark::State& state) {
    for (auto _ : state) {
        Coach coach;
        coach.startComputing();
        coach.wait();
        benchmark::DoNotOptimize(coach.ready());
    }
}
BENCHMARK(coachReady)->Unit(benchmark::kMillisecond);

// Positions spread over the game: random rows booked with random upper points, random dice.
struct Question {
    CoachPosition position;
    CoachDice dice;
};

std::vector<Question> questions() {
    std::mt19937 rng(2024);
    std::vector<Question> out;
    for (int i = 0; i < 1000; ++i) {
        Question q;
        int upper = 0;
        for (int row = 0; row <= 13; ++row) {
            if (row != 6 && rng() % 2 == 0 && q.position.bookedRows != 0x3FBF - (1u << row)) {
                q.position.bookedRows = std::uint16_t(q.position.bookedRows | (1u << row));
                if (row < 6) {
                    upper += int(rng() % 6);
                }
            }
        }
        if (q.position.bookedRows == 0x3FBF) {
            q.position.bookedRows = 0;
        }
        q.position.upperSum = upper;
        q.position.total = upper;
        for (int& face : q.dice) {
            face = int(rng() % 6);
        }
        out.push_back(q);
    }
    return out;
}

Coach& readyCoach() {
    static Coach coach;
    coach.wait();
    return coach;
}

void holdAnswer(benchmark::State& state) {
    const Coach& coach = readyCoach();
    const std::vector<Question> all = questions();
    std::size_t i = 0;
    for (auto _ : state) {
        const Question& q = all[i++ % all.size()];
        benchmark::DoNotOptimize(coach.adviseHold(q.position, q.dice));
    }
}
BENCHMARK(holdAnswer)->Unit(benchmark::kMicrosecond);

void rowAnswer(benchmark::State& state) {
    const Coach& coach = readyCoach();
    const std::vector<Question> all = questions();
    std::size_t i = 0;
    for (auto _ : state) {
        const Question& q = all[i++ % all.size()];
        benchmark::DoNotOptimize(coach.adviseRow(q.position, q.dice));
    }
}
BENCHMARK(rowAnswer)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quintaro

BENCHMARK_MAIN();
