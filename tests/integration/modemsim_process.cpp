#include "modemsim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace kivo::integration {
namespace {

constexpr int kStartTimeoutMs = 10000;

// Reads the child's first line of output, waiting at most kStartTimeoutMs.
std::string first_line(int fd) {
  std::string line;
  pollfd p = {fd, POLLIN, 0};
  char c;
  while (poll(&p, 1, kStartTimeoutMs) > 0 && read(fd, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

}  // namespace

ModemsimProcess::ModemsimProcess(const std::string& scenario, std::vector<std::string> arguments) {
  char pattern[] = "/tmp/modemsim-test-XXXXXX";
  folder_ = mkdtemp(pattern);
  std::vector<std::string> argv = {MODEMSIM_PATH, "--control", folder_ + "/control", "--transcript",
                                   folder_ + "/transcript"};
  if (!scenario.empty()) {
    std::ofstream(folder_ + "/scenario") << scenario;
    argv.insert(argv.end(), {"--scenario", folder_ + "/scenario"});
  }
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> args;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);

  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  if (posix_spawn(&pid_, MODEMSIM_PATH, &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string line = pid_ > 0 ? first_line(out[0]) : "";
  close(out[0]);
  if (line.rfind("pty: ", 0) == 0) pty_ = line.substr(5);
}

ModemsimProcess::~ModemsimProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  std::filesystem::remove_all(folder_);
}

void ModemsimProcess::control(const std::string& line) const {
  std::ofstream(folder_ + "/control") << line << '\n';
}

std::string ModemsimProcess::transcript() const {
  std::ostringstream text;
  text << std::ifstream(folder_ + "/transcript").rdbuf();
  return text.str();
}

int ModemsimProcess::wait_for_exit(int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (pid_ > 0) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    }
    if (std::chrono::steady_clock::now() > deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return -1;
}

}  // namespace kivo::integration
