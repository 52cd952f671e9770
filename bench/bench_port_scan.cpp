// One registry search for the modem's port, as discovery runs it every 100 ms while no modem is
// plugged in, over an in-memory registry the size of a well-used machine's: a few hundred
// serial-port and modem class entries, drivers left behind by sticks no longer plugged in, and a
// handful of active ports. The counter "calls" is the registry calls one scan makes (each a
// system call in the program).

#include <benchmark/benchmark.h>

#include <string>

#include "setup/port_scan.h"
#include "support/modem_registry.h"

namespace {

using namespace kivo;
using test::FakeRegistry;
using test::kHklm;

constexpr int kPortEntries = 300;
constexpr int kModemEntries = 200;

// Forwards to the tree and counts the calls.
class CountingRegistry : public Registry {
 public:
  explicit CountingRegistry(Registry& tree) : tree_(tree) {}
  long calls = 0;

  bool read_value(RegistryRoot root, const char* path, const char* name, char* buffer,
                  std::size_t size) override {
    ++calls;
    return tree_.read_value(root, path, name, buffer, size);
  }
  bool open_key(RegistryRoot root, const char* path, Key& key) override {
    ++calls;
    return tree_.open_key(root, path, key);
  }
  bool open_subkey(Key parent, const char* name, Key& key) override {
    ++calls;
    return tree_.open_subkey(parent, name, key);
  }
  void close_key(Key key) override {
    ++calls;
    tree_.close_key(key);
  }
  EnumResult enum_subkey(Key key, unsigned index, char* name, std::size_t size) override {
    ++calls;
    return tree_.enum_subkey(key, index, name, size);
  }
  EnumResult enum_value_data(Key key, unsigned index, char* data, std::size_t size) override {
    ++calls;
    return tree_.enum_value_data(key, index, data, size);
  }
  bool query_value(Key key, const char* name, char* data, std::size_t size) override {
    ++calls;
    return tree_.query_value(key, name, data, size);
  }

 private:
  Registry& tree_;
};

std::string entry_name(int index) {
  char name[8];
  std::snprintf(name, sizeof(name), "%04d", index);
  return name;
}

// Every tenth serial-port entry is a vendor port of a stick no longer plugged in, with its
// instances left in the Enum tree; the others are ports of other kinds. Every twentieth modem
// entry is a Nokia phone not attached now.
void build_machine(FakeRegistry& registry) {
  for (int i = 0; i < 8; ++i)
    add_active_port(registry, "\\Device\\Serial" + std::to_string(i),
                    "COM" + std::to_string(i + 1));
  for (int i = 0; i < kPortEntries; ++i) {
    const std::string entry = entry_name(i);
    if (i % 10 != 0) {
      add_port_entry(registry, entry, "USB Serial Port", "FTDIBUS\\COMPORT&VID_0403&PID_6001");
      continue;
    }
    const std::string id = "USB\\VID_12D1&PID_14AC&MI_0" + std::to_string(i / 10 % 10);
    add_port_entry(registry, entry, "HUAWEI Mobile Connect - 3G PC UI Interface", id);
    for (int n = 0; n < 3; ++n)
      add_device_instance(registry, id, entry + "&" + std::to_string(n),
                          "HUAWEI Mobile Connect - 3G PC UI Interface",
                          "COM" + std::to_string(40 + i));
  }
  for (int i = 0; i < kModemEntries; ++i) {
    const bool nokia = i % 20 == 0;
    add_modem_entry(registry, entry_name(i),
                    nokia ? "Nokia 6230i USB Modem" : "Standard 33600 bps Modem",
                    "COM" + std::to_string(100 + i));
  }
}

void run_scans(benchmark::State& state, FakeRegistry& tree, bool expect_found) {
  CountingRegistry registry(tree);
  char port_name[kMaxPortNameLength + 1] = {};
  CommandSet command_set = CommandSet::Standard;
  for (auto _ : state) {
    const bool found = scan_for_modem_port(registry, port_name, command_set);
    if (found != expect_found) state.SkipWithError("unexpected scan result");
    benchmark::DoNotOptimize(port_name);
  }
  state.counters["calls"] =
      benchmark::Counter(static_cast<double>(registry.calls), benchmark::Counter::kAvgIterations);
}

void BM_ScanNoModem(benchmark::State& state) {
  FakeRegistry tree;
  build_machine(tree);
  run_scans(state, tree, false);
}
BENCHMARK(BM_ScanNoModem)->Unit(benchmark::kMicrosecond);

// The modem is the last entry the search reaches: the last modem class entry.
void BM_ScanModemLast(benchmark::State& state) {
  FakeRegistry tree;
  build_machine(tree);
  add_modem_entry(tree, entry_name(kModemEntries), "Nokia N95 USB Modem", "COM20");
  add_active_port(tree, "\\Device\\NokiaModem", "COM20");
  run_scans(state, tree, true);
}
BENCHMARK(BM_ScanModemLast)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
