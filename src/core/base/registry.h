#pragma once

#include <cstddef>

namespace kivo {

enum class RegistryRoot { LocalMachine, CurrentUser };

// Read-only view of the Windows registry (an in-memory tree in tests).
class Registry {
 public:
  virtual ~Registry() = default;
  // Copies the value's bytes as stored (type unchecked) into `buffer` and NUL-terminates them.
  // False when the key or value is missing or the value does not fit in `buffer_size`
  // together with its terminator.
  virtual bool read_value(RegistryRoot root, const char* key_path, const char* value_name,
                          char* buffer, std::size_t buffer_size) = 0;
};

}  // namespace kivo
