// modemsim: a 3G modem on a pseudo-terminal. See README.md.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "control_fifo.h"
#include "engine.h"
#include "pty_host.h"

namespace {

using modemsim::Millis;

int signal_pipe[2] = {-1, -1};

void on_signal(int) {
  char byte = 0;
  ssize_t ignored = write(signal_pipe[1], &byte, 1);
  (void)ignored;
}

Millis now_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

struct Options {
  std::string link;
  std::string transcript;
  std::string scenario;
  std::string control;
  std::string profile = "standard";
};

int usage() {
  std::fprintf(stderr,
               "usage: modemsim [--link PATH] [--transcript FILE] [--scenario FILE]\n"
               "                [--control PATH]\n"
               "                [--profile standard|huawei|option|novatel|sierra|nokia]\n");
  return 2;
}

bool parse_options(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    std::string* target = name == "--link"         ? &options.link
                          : name == "--transcript" ? &options.transcript
                          : name == "--scenario"   ? &options.scenario
                          : name == "--control"    ? &options.control
                          : name == "--profile"    ? &options.profile
                                                   : nullptr;
    if (target == nullptr || i + 1 == argc) return false;
    *target = argv[++i];
  }
  return true;
}

bool load_scenario(const std::string& path, modemsim::Engine& engine) {
  std::ifstream file(path);
  if (!file) {
    std::fprintf(stderr, "modemsim: cannot read %s\n", path.c_str());
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    std::string error = engine.apply(line, now_ms(), true);
    if (!error.empty()) {
      std::fprintf(stderr, "modemsim: %s:%d: %s\n", path.c_str(), number, error.c_str());
      return false;
    }
  }
  return true;
}

std::optional<Millis> earliest(std::optional<Millis> a, std::optional<Millis> b) {
  if (!a) return b;
  if (!b) return a;
  return std::min(*a, *b);
}

void apply_control(modemsim::Engine& engine, modemsim::ControlFifo& control, Millis now) {
  for (const std::string& line : control.read_lines()) {
    std::string error = engine.apply(line, now, false);
    if (!error.empty()) std::fprintf(stderr, "modemsim: control: %s\n", error.c_str());
  }
}

void announce(const modemsim::PtyHost& pty) {
  std::printf("pty: %s\n", pty.slave_path().c_str());
  std::fflush(stdout);
}

// Takes the device off the bus and brings it back on a new port when the engine says so. False
// when no new port can be opened.
bool follow_bus(modemsim::Engine& engine, modemsim::PtyHost& pty, const std::string& link,
                Millis now) {
  if (engine.ready_to_leave(now)) {
    pty.close();
    engine.detach(now);
  }
  auto back = engine.reattach_time();
  if (!back || now < *back) return true;
  std::string error;
  if (!pty.open(error) || (!link.empty() && !pty.link(link, error))) {
    std::fprintf(stderr, "modemsim: %s\n", error.c_str());
    return false;
  }
  engine.reattach();
  announce(pty);
  return true;
}

void write_output(modemsim::Engine& engine, modemsim::PtyHost& pty, Millis now) {
  // After the reads: a host's open is noted before anything it writes reaches the master.
  pty.update_host_count();
  while (auto bytes = engine.output().pop(now, pty.host_drained())) {
    // Nobody has the port open, or there is none: what the modem sends is lost, as on a closed
    // serial port.
    if (!pty.is_open() || !pty.host_present()) continue;
    std::size_t written = pty.write(*bytes);
    if (written < bytes->size()) {
      std::fprintf(stderr, "modemsim: host not reading, %zu bytes lost\n", bytes->size() - written);
    }
  }
}

void run(modemsim::Engine& engine, modemsim::PtyHost& pty, modemsim::ControlFifo* control,
         const std::string& link) {
  char buffer[4096];
  while (!engine.unplugged()) {
    Millis now = now_ms();
    auto wake = earliest(engine.next_step_time(), engine.output().wakeup(now));
    int timeout = wake ? static_cast<int>(std::max<Millis>(0, *wake - now)) : -1;
    pollfd fds[] = {
        {signal_pipe[0], POLLIN, 0},
        {control ? control->fd() : -1, POLLIN, 0},
        {pty.watch_fd(), POLLIN, 0},
        {pty.master_fd(), static_cast<short>(engine.stalled() ? 0 : POLLIN), 0},
    };
    if (poll(fds, 4, timeout) < 0 && errno != EINTR) break;
    if (fds[0].revents != 0) break;
    now = now_ms();
    // Control lines are read after the port, and applied before what came from it: a line that
    // a test wrote to the pipe before writing to the port is then always applied first.
    while (true) {
      long n = engine.stalled() ? 0 : pty.read(buffer, sizeof buffer);
      if (control) apply_control(engine, *control, now);
      if (n <= 0) break;
      engine.receive(std::string_view(buffer, static_cast<std::size_t>(n)), now);
    }
    engine.advance(now);
    write_output(engine, pty, now);
    if (!follow_bus(engine, pty, link, now)) break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse_options(argc, argv, options)) return usage();
  const modemsim::Profile* profile = modemsim::find_profile(options.profile);
  if (profile == nullptr) return usage();

  std::ofstream transcript_text;
  std::ofstream transcript_raw;
  std::unique_ptr<modemsim::Transcript> transcript;
  if (!options.transcript.empty()) {
    transcript_text.open(options.transcript, std::ios::binary | std::ios::trunc);
    transcript_raw.open(options.transcript + ".raw", std::ios::binary | std::ios::trunc);
    if (!transcript_text || !transcript_raw) {
      std::fprintf(stderr, "modemsim: cannot write %s\n", options.transcript.c_str());
      return 1;
    }
    transcript = std::make_unique<modemsim::Transcript>(transcript_text, transcript_raw);
  }

  modemsim::Engine engine(*profile, transcript.get());
  if (!options.scenario.empty() && !load_scenario(options.scenario, engine)) return 2;

  if (pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return 1;
  struct sigaction action {};
  action.sa_handler = on_signal;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::string error;
  modemsim::PtyHost pty;
  std::unique_ptr<modemsim::ControlFifo> control;
  if (!options.control.empty()) {
    control = std::make_unique<modemsim::ControlFifo>();
    if (!control->open(options.control, error)) {
      std::fprintf(stderr, "modemsim: %s\n", error.c_str());
      return 1;
    }
  }
  if (!pty.open(error) || (!options.link.empty() && !pty.link(options.link, error))) {
    std::fprintf(stderr, "modemsim: %s\n", error.c_str());
    return 1;
  }
  announce(pty);

  run(engine, pty, control.get(), options.link);
  pty.close();
  return 0;
}
