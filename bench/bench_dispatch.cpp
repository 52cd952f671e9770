// The line dispatcher on a realistic two-hour Huawei stream (bench/data/huawei-mix.bursts: the
// bytes cut into the bursts one serial read returns; 13,676 bursts, 20,001 lines).
//
//   bench_dispatch [benchmark flags]      Google Benchmark: ns per line, allocations per chunk
//   bench_dispatch --check-allocations    exit 1 when a chunk allocates (after a warm-up pass)
//   bench_dispatch --one-pass [--trace]   one pass, for valgrind --tool=callgrind
//   bench_dispatch --bursts FILE ...      another stream of the same format
//
// The global operator new is replaced here to count heap allocations.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "link/dispatcher.h"

namespace {

std::atomic<unsigned long long> g_allocations{0};

void* counted_alloc(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

void* counted_aligned_alloc(std::size_t size, std::size_t alignment) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  void* p = nullptr;
  if (posix_memalign(&p, alignment < sizeof(void*) ? sizeof(void*) : alignment, size ? size : 1))
    throw std::bad_alloc();
  return p;
}

}  // namespace

void* operator new(std::size_t size) {
  return counted_alloc(size);
}
void* operator new[](std::size_t size) {
  return counted_alloc(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size ? size : 1);
}
void* operator new(std::size_t size, std::align_val_t al) {
  return counted_aligned_alloc(size, static_cast<std::size_t>(al));
}
void* operator new[](std::size_t size, std::align_val_t al) {
  return counted_aligned_alloc(size, static_cast<std::size_t>(al));
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
  std::free(p);
}

namespace {

using namespace kivo;

std::string g_bursts_path = KIVO_BENCH_BURSTS;

struct Stream {
  std::vector<std::string> bursts;
  std::size_t lines = 0;  // non-empty text between CR/LF characters
};

const Stream& stream() {
  static const Stream s = [] {
    Stream st;
    std::ifstream in(g_bursts_path, std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t i = 0;
    while (i + 4 <= data.size()) {
      const auto* b = reinterpret_cast<const unsigned char*>(data.data() + i);
      const std::size_t n =
          b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::size_t>(b[3]) << 24);
      st.bursts.push_back(data.substr(i + 4, n));
      i += 4 + n;
    }
    std::string joined;
    for (const auto& burst : st.bursts) joined += burst;
    bool in_line = false;
    for (char c : joined) {
      const bool end = c == '\r' || c == '\n';
      if (!end && !in_line) ++st.lines;
      in_line = !end;
    }
    if (st.bursts.empty()) {
      std::fprintf(stderr, "bench_dispatch: no bursts in %s\n", g_bursts_path.c_str());
      std::exit(2);
    }
    return st;
  }();
  return s;
}

class CountingNoticeSink : public NoticeSink {
 public:
  void post(const Notice& notice) override {
    ++count;
    benchmark::DoNotOptimize(&notice);
  }
  unsigned long long count = 0;
};

// Copies a response as the modem link does: into a fixed ResponseBuffer.
class BufferResponseSink : public ResponseSink {
 public:
  void capture_response(const char* text, std::size_t length) override {
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    ++captures;
  }
  void set_response_event() override { ++events; }
  char buffer[kResponseBufferSize + 1];
  unsigned long long captures = 0;
  unsigned long long events = 0;
};

class NullTraceSink : public TraceSink {
 public:
  void write_line(const char* line) override { benchmark::DoNotOptimize(line); }
};

class NullMessageBoxes : public MessageBoxes {
 public:
  BoxAnswer show(const BoxRequest&) override { return BoxAnswer::Ok; }
};

// One receive path: the RxBuffer, a dispatcher and its sinks.
struct Receiver {
  explicit Receiver(bool with_trace)
      : dispatcher({notices, with_trace ? &trace : nullptr, boxes, command_set, responses}) {}

  void pass(const Stream& s) {
    for (const std::string& burst : s.bursts) {
      // As a serial read leaves it: the burst in RxBuffer.
      std::memcpy(rx_buffer, burst.data(), burst.size());
      dispatcher.rx_dispatch(rx_buffer, burst.size());
    }
  }

  CountingNoticeSink notices;
  BufferResponseSink responses;
  NullTraceSink trace_sink;
  Trace trace{trace_sink};
  NullMessageBoxes boxes;
  std::atomic<CommandSet> command_set{CommandSet::Huawei};
  Dispatcher dispatcher;
  char rx_buffer[kRxBufferSize + 1];
};

void run_benchmark(benchmark::State& state, bool with_trace) {
  const Stream& s = stream();
  Receiver receiver(with_trace);
  receiver.pass(s);  // warm-up
  const unsigned long long allocations_before = g_allocations.load();
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) receiver.pass(s);
  const double elapsed_ns =
      std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
  const unsigned long long allocations = g_allocations.load() - allocations_before;
  const double chunks = static_cast<double>(s.bursts.size()) * state.iterations();
  // Wall time of the whole loop over every line it dispatched.
  state.counters["ns_per_line"] =
      benchmark::Counter(elapsed_ns / (static_cast<double>(s.lines) * state.iterations()));
  state.counters["allocs_per_chunk"] = benchmark::Counter(allocations / chunks);
  state.counters["lines"] = benchmark::Counter(static_cast<double>(s.lines));
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(s.lines));  // lines/s
}

void BM_Dispatch_NoTrace(benchmark::State& state) {
  run_benchmark(state, false);
}
void BM_Dispatch_TraceToNullSink(benchmark::State& state) {
  run_benchmark(state, true);
}

BENCHMARK(BM_Dispatch_NoTrace)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Dispatch_TraceToNullSink)->Unit(benchmark::kMicrosecond);

int check_allocations() {
  const Stream& s = stream();
  int status = 0;
  for (bool with_trace : {false, true}) {
    Receiver receiver(with_trace);
    receiver.pass(s);  // warm-up
    const unsigned long long before = g_allocations.load();
    receiver.pass(s);
    const unsigned long long allocations = g_allocations.load() - before;
    std::printf("%s: %zu chunks, %zu lines, %llu notices, %llu responses, %llu allocations\n",
                with_trace ? "trace to a sink that does nothing" : "no trace", s.bursts.size(),
                s.lines, receiver.notices.count / 2, receiver.responses.captures / 2, allocations);
    if (allocations != 0) status = 1;
  }
  if (status) std::printf("FAILED: the receive path allocated\n");
  return status;
}

int one_pass(bool with_trace) {
  const Stream& s = stream();
  Receiver receiver(with_trace);
  receiver.pass(s);
  std::printf("%zu chunks, %zu lines, %llu notices, %llu responses\n", s.bursts.size(), s.lines,
              receiver.notices.count, receiver.responses.captures);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> rest{argv[0]};
  enum class Mode { Benchmark, CheckAllocations, OnePass } mode = Mode::Benchmark;
  bool with_trace = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--check-allocations") == 0)
      mode = Mode::CheckAllocations;
    else if (std::strcmp(argv[i], "--one-pass") == 0)
      mode = Mode::OnePass;
    else if (std::strcmp(argv[i], "--trace") == 0)
      with_trace = true;
    else if (std::strcmp(argv[i], "--bursts") == 0 && i + 1 < argc)
      g_bursts_path = argv[++i];
    else
      rest.push_back(argv[i]);
  }
  if (mode == Mode::CheckAllocations) return check_allocations();
  if (mode == Mode::OnePass) return one_pass(with_trace);
  int count = static_cast<int>(rest.size());
  benchmark::Initialize(&count, rest.data());
  if (benchmark::ReportUnrecognizedArguments(count, rest.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
