#pragma once

#include "base/registry.h"

namespace kivo {

// The Reg*A calls, keys opened for reading only.
class SystemRegistry : public Registry {
 public:
  bool read_value(RegistryRoot root, const char* key_path, const char* value_name, char* buffer,
                  std::size_t buffer_size) override;
  bool open_key(RegistryRoot root, const char* key_path, Key& key) override;
  bool open_subkey(Key parent, const char* name, Key& key) override;
  void close_key(Key key) override;
  EnumResult enum_subkey(Key key, unsigned index, char* name, std::size_t size) override;
  EnumResult enum_value_data(Key key, unsigned index, char* data, std::size_t size) override;
  bool query_value(Key key, const char* name, char* data, std::size_t size) override;
};

}  // namespace kivo
