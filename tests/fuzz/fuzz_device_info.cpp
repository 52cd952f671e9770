// The device-information queries against a modem that answers with arbitrary texts: the first
// byte picks the command set, the rest are the answers in the order the queries ask, separated
// by NUL bytes (the last one again for every further query). No query may read outside its
// answer, so every field shown is a piece of some answer (or the port name or the default).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "link/at_channel.h"
#include "setup/device_info.h"

namespace {

class ScriptedChannel : public kivo::AtChannel {
 public:
  explicit ScriptedChannel(const std::vector<std::string>& answers) : answers_(answers) {}
  kivo::Reply tx_at_command(const char*) override {
    const std::string& answer = answers_[next_];
    if (next_ + 1 < answers_.size()) ++next_;
    return {1, answer};
  }
  int tx_data(const void*, std::size_t) override { return 1; }
  kivo::Reply tx_data_and_get_response(const void*, std::size_t) override { return {0, {}}; }

 private:
  const std::vector<std::string>& answers_;
  std::size_t next_ = 0;
};

class CheckingView : public kivo::DeviceInfoView {
 public:
  explicit CheckingView(const std::vector<std::string>& answers) : answers_(answers) {}
  void set_field(int, const char* text) override {
    const std::string shown(text);
    bool found = shown == "COM7" || shown == "Not Available";
    for (const std::string& answer : answers_) found = found || answer.find(shown) != answer.npos;
    KIVO_FUZZ_CHECK(found);
  }

 private:
  const std::vector<std::string>& answers_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::vector<std::string> answers(1);
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] == 0) {
      answers.emplace_back();
    } else {
      answers.back() += static_cast<char>(data[i]);
    }
  }
  ScriptedChannel channel(answers);
  CheckingView view(answers);
  kivo::fill_device_info(channel, static_cast<kivo::CommandSet>(data[0] % 6), "COM7", view);
  return 0;
}
