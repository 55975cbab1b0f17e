// Microbenchmarks of the list and record operations a large registry leans on:
// appending, copying and assigning a union member with works, listing, deleting
// from the front, and one run of the entry dialog. They run in-process with the
// standard streams swapped: output goes to a buffer that keeps nothing (or to
// /dev/null, where each flush is a write call), and the listing's key wait
// reads its byte from a string.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>

#include "records/partia.h"
#include "records/proiz.h"
#include "records/teacher.h"
#include "registry/spisok.h"

namespace {

// Takes every byte and keeps none; a flush only empties its buffer.
class NullBuf : public std::streambuf {
  public:
    NullBuf() { reset(); }

  protected:
    int_type overflow(int_type c) override {
        reset();
        return traits_type::not_eof(c);
    }
    int sync() override {
        reset();
        return 0;
    }

  private:
    void reset() { setp(area, area + sizeof area); }
    char area[4096];
};

// Standard input from a string and standard output to out, for its lifetime.
class Streams {
  public:
    explicit Streams(std::streambuf* out)
        : oldIn(std::cin.rdbuf(in.rdbuf())), oldOut(std::cout.rdbuf(out)) {}
    ~Streams() {
        std::cin.rdbuf(oldIn);
        std::cout.rdbuf(oldOut);
        std::cin.clear();
    }
    Streams(const Streams&) = delete;
    Streams& operator=(const Streams&) = delete;

    void input(const std::string& text) {
        in.str(text);
        in.clear();
        std::cin.clear();
    }

  private:
    std::istringstream in;
    std::streambuf* oldIn;
    std::streambuf* oldOut;
};

void fillPerson(men& m, long i) {
    m.name = "n" + std::to_string(i);
    m.surname = "s" + std::to_string(i);
    m.lastname = "l" + std::to_string(i);
    m.date = static_cast<std::uint16_t>(i);
}

void fillPost(teacher& t) {
    t.position = "docent";
    t.stepen = "phd";
    t.speciality = "math";
}

void fillParty(partia& p, long i) {
    p.party = "p1";
    p.year = 1990;
    p.number = static_cast<int>(i);
    p.biography = "b" + std::to_string(i);
}

template <class T>
T sample(long i);

template <>
teacher sample<teacher>(long i) {
    teacher t;
    fillPerson(t, i);
    fillPost(t);
    return t;
}

template <>
partia sample<partia>(long i) {
    partia p;
    fillPerson(p, i);
    fillParty(p, i);
    return p;
}

template <>
proiz sample<proiz>(long i) {
    proiz u;
    fillPerson(u, i);
    fillParty(u, i);
    fillPost(u);
    u.adress = {"wa" + std::to_string(i), "wb" + std::to_string(i), "wc" + std::to_string(i)};
    u.works = 3;
    return u;
}

// What one record's entry types after the dialog's "1": the fields, the save
// answer 1, then 4 to leave the dialog.
template <class T>
std::string typed(long i);

template <>
std::string typed<teacher>(long i) {
    const std::string id = std::to_string(i);
    return "1 n" + id + " s" + id + " l" + id + " 500 docent phd math 1 4\n";
}

template <>
std::string typed<proiz>(long i) {
    const std::string id = std::to_string(i);
    return "1 n" + id + " s" + id + " l" + id + " 500 p1 1990 " + id + " b" + id +
           " docent phd math 3 wa" + id + " wb" + id + " wc" + id + " 1 4\n";
}

template <class T>
std::unique_ptr<spisok<T>> filled(long n) {
    auto list = std::make_unique<spisok<T>>();
    for (long i = 0; i < n; ++i) {
        list->dobavit(sample<T>(i));
    }
    return list;
}

constexpr long kBatch = 1 << 16;  // appends before the list is started afresh

template <class T>
void BM_Dobavit(benchmark::State& state) {
    const T rec = sample<T>(123456);
    auto list = std::make_unique<spisok<T>>();
    long held = 0;
    for (auto _ : state) {
        list->dobavit(rec);
        if (++held == kBatch) {
            state.PauseTiming();
            list = std::make_unique<spisok<T>>();
            held = 0;
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["node_bytes"] = sizeof(uzel<T>);
}
BENCHMARK(BM_Dobavit<teacher>);
BENCHMARK(BM_Dobavit<partia>);
BENCHMARK(BM_Dobavit<proiz>);

template <class T>
void BM_Copy(benchmark::State& state) {
    const T src = sample<T>(123456);
    for (auto _ : state) {
        T copy(src);
        benchmark::DoNotOptimize(copy);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Copy<teacher>);
BENCHMARK(BM_Copy<proiz>);

// Assignment between two records of the same shape, as the undo holder does.
template <class T>
void BM_Assign(benchmark::State& state) {
    const T a = sample<T>(123456);
    const T b = sample<T>(654321);
    T dst;
    bool flip = false;
    for (auto _ : state) {
        dst = flip ? a : b;
        flip = !flip;
        benchmark::DoNotOptimize(dst);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Assign<teacher>);
BENCHMARK(BM_Assign<proiz>);

// Listing to a buffer that keeps nothing: formatting and walking the list.
template <class T>
void BM_VivodAll(benchmark::State& state) {
    const auto list = filled<T>(state.range(0));
    NullBuf sink;
    Streams streams(&sink);
    for (auto _ : state) {
        streams.input("\n");
        list->vivodAll();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_VivodAll<teacher>)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VivodAll<proiz>)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Listing to /dev/null through a file buffer: every line end is a write call.
template <class T>
void BM_VivodAllDevNull(benchmark::State& state) {
    const auto list = filled<T>(state.range(0));
    std::ofstream devnull("/dev/null");
    Streams streams(devnull.rdbuf());
    for (auto _ : state) {
        streams.input("\n");
        list->vivodAll();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_VivodAllDevNull<teacher>)->Arg(1000)->Unit(benchmark::kMillisecond);

// Deleting a whole list from the front, one record at a time.
template <class T>
void BM_Delet(benchmark::State& state) {
    const long n = state.range(0);
    NullBuf sink;
    Streams streams(&sink);
    for (auto _ : state) {
        state.PauseTiming();
        auto list = filled<T>(n);
        state.ResumeTiming();
        for (long i = 0; i < n; ++i) {
            list->delet();
        }
        benchmark::DoNotOptimize(list->first());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_Delet<teacher>)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Delet<proiz>)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// One run of the entry dialog: type a record, keep it, append it.
template <class T>
void BM_VvodInf(benchmark::State& state) {
    NullBuf sink;
    Streams streams(&sink);
    const std::string input = typed<T>(4242);
    auto list = std::make_unique<spisok<T>>();
    long held = 0;
    for (auto _ : state) {
        streams.input(input);
        list->vvodInf();
        if (++held == kBatch) {
            state.PauseTiming();
            list = std::make_unique<spisok<T>>();
            held = 0;
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VvodInf<teacher>);
BENCHMARK(BM_VvodInf<proiz>);

}  // namespace

BENCHMARK_MAIN();
