#pragma once

#include <cstring>
#include <map>
#include <string>
#include <tuple>

#include "base/registry.h"

namespace kivo::test {

// An in-memory registry: (root, key, value name) -> bytes.
class FakeRegistry : public Registry {
 public:
  void set(RegistryRoot root, const std::string& key, const std::string& name,
           const std::string& data) {
    values_[{root, key, name}] = data;
  }
  bool read_value(RegistryRoot root, const char* key_path, const char* value_name, char* buffer,
                  std::size_t buffer_size) override {
    auto it = values_.find({root, key_path, value_name});
    if (it == values_.end() || it->second.size() + 1 > buffer_size) return false;
    std::memcpy(buffer, it->second.c_str(), it->second.size() + 1);
    return true;
  }

 private:
  std::map<std::tuple<RegistryRoot, std::string, std::string>, std::string> values_;
};

}  // namespace kivo::test
