#pragma once

#include "base/registry.h"

namespace kivo {

// Reads values with RegOpenKeyExA / RegQueryValueExA, keys opened for reading only.
class SystemRegistry : public Registry {
 public:
  bool read_value(RegistryRoot root, const char* key_path, const char* value_name, char* buffer,
                  std::size_t buffer_size) override;
};

}  // namespace kivo
