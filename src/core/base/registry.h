#pragma once

#include <cstddef>
#include <cstdint>

namespace kivo {

enum class RegistryRoot { LocalMachine, CurrentUser };

// Names, descriptions, device ids and port names are read into buffers of this size.
constexpr std::size_t kRegistryTextSize = 256;
using RegistryText = char[kRegistryTextSize];

enum class EnumResult { Found, NoMoreItems, Failed };

// Read-only view of the Windows registry (an in-memory tree in tests).
class Registry {
 public:
  // An open key, meaningful only to the registry that opened it.
  using Key = std::uintptr_t;

  virtual ~Registry() = default;
  // Copies the value's bytes as stored (type unchecked) into `buffer` and NUL-terminates them.
  // False when the key or value is missing or the value does not fit in `buffer_size`
  // together with its terminator.
  virtual bool read_value(RegistryRoot root, const char* key_path, const char* value_name,
                          char* buffer, std::size_t buffer_size) = 0;

  // Opens for reading; each key opened must be closed with close_key (OpenKey does it).
  virtual bool open_key(RegistryRoot root, const char* key_path, Key& key) = 0;
  virtual bool open_subkey(Key parent, const char* name, Key& key) = 0;
  virtual void close_key(Key key) = 0;
  // The name of subkey `index`. Failed (an index that cannot be read) does not end the
  // enumeration; NoMoreItems does.
  virtual EnumResult enum_subkey(Key key, unsigned index, char* name, std::size_t size) = 0;
  // The data of value `index`, NUL-terminated as read_value does.
  virtual EnumResult enum_value_data(Key key, unsigned index, char* data, std::size_t size) = 0;
  // One value of an open key, as read_value reads it.
  virtual bool query_value(Key key, const char* name, char* data, std::size_t size) = 0;
};

// A key that is closed when it goes out of scope, so every key opened is closed exactly once.
// A key that did not open reads nothing.
class OpenKey {
 public:
  OpenKey(Registry& registry, RegistryRoot root, const char* path) : registry_(registry) {
    open_ = registry.open_key(root, path, key_);
  }
  OpenKey(const OpenKey& parent, const char* name) : registry_(parent.registry_) {
    open_ = parent.open_ && registry_.open_subkey(parent.key_, name, key_);
  }
  ~OpenKey() {
    if (open_) registry_.close_key(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  bool is_open() const { return open_; }
  bool read(const char* name, RegistryText& data) const {
    return open_ && registry_.query_value(key_, name, data, sizeof(data));
  }
  EnumResult subkey_name(unsigned index, RegistryText& name) const {
    return open_ ? registry_.enum_subkey(key_, index, name, sizeof(name)) : EnumResult::NoMoreItems;
  }
  EnumResult value_data(unsigned index, RegistryText& data) const {
    return open_ ? registry_.enum_value_data(key_, index, data, sizeof(data))
                 : EnumResult::NoMoreItems;
  }

 private:
  Registry& registry_;
  Registry::Key key_ = 0;
  bool open_ = false;
};

}  // namespace kivo
