#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "modem_model.h"

namespace modemsim {

// A modem of one profile, driven command by command.
class ModelFixture : public ::testing::Test {
 protected:
  explicit ModelFixture(const Profile& profile) : model(profile) {}

  std::string at(std::string_view line) { return model.execute(line); }
  void set(std::string_view key, std::string_view value) {
    ASSERT_EQ(model.set(key, value), "") << key << " " << value;
  }
  // The lines of the unsolicited output collected since the last call, without their framing.
  std::vector<std::string> reports() {
    std::vector<std::string> out;
    for (Unsolicited& u : model.take_unsolicited()) {
      EXPECT_EQ(u.bytes.substr(0, 2), "\r\n");
      out.push_back(u.bytes.substr(2, u.bytes.size() - 4));
    }
    return out;
  }

  ModemModel model;
};

// The framed answer of information lines followed by OK.
inline std::string ok(std::initializer_list<std::string_view> lines = {}) {
  std::string out;
  for (std::string_view line : lines) out += "\r\n" + std::string(line) + "\r\n";
  return out + "\r\nOK\r\n";
}

using Lines = std::vector<std::string>;

}  // namespace modemsim
