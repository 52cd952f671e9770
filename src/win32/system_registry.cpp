#include "system_registry.h"

#include <windows.h>

namespace kivo {

namespace {

HKEY handle(Registry::Key key) {
  return reinterpret_cast<HKEY>(key);
}

bool open(HKEY parent, const char* path, Registry::Key& key) {
  HKEY opened;
  if (RegOpenKeyExA(parent, path, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  key = reinterpret_cast<Registry::Key>(opened);
  return true;
}

EnumResult enum_result(LONG result) {
  if (result == ERROR_SUCCESS) return EnumResult::Found;
  return result == ERROR_NO_MORE_ITEMS ? EnumResult::NoMoreItems : EnumResult::Failed;
}

}  // namespace

bool SystemRegistry::read_value(RegistryRoot root, const char* key_path, const char* value_name,
                                char* buffer, std::size_t buffer_size) {
  Key key;
  if (!open_key(root, key_path, key)) return false;
  const bool read = query_value(key, value_name, buffer, buffer_size);
  close_key(key);
  return read;
}

bool SystemRegistry::open_key(RegistryRoot root, const char* key_path, Key& key) {
  return open(root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, key_path,
              key);
}

bool SystemRegistry::open_subkey(Key parent, const char* name, Key& key) {
  return open(handle(parent), name, key);
}

void SystemRegistry::close_key(Key key) {
  RegCloseKey(handle(key));
}

EnumResult SystemRegistry::enum_subkey(Key key, unsigned index, char* name, std::size_t size) {
  if (size == 0) return EnumResult::Failed;
  DWORD length = static_cast<DWORD>(size);
  return enum_result(
      RegEnumKeyExA(handle(key), index, name, &length, nullptr, nullptr, nullptr, nullptr));
}

EnumResult SystemRegistry::enum_value_data(Key key, unsigned index, char* data, std::size_t size) {
  if (size == 0) return EnumResult::Failed;
  char name[kRegistryTextSize];
  DWORD name_length = sizeof(name);
  // One byte is kept back for the terminator, which a stored string may lack.
  DWORD data_size = static_cast<DWORD>(size - 1);
  const EnumResult result =
      enum_result(RegEnumValueA(handle(key), index, name, &name_length, nullptr, nullptr,
                                reinterpret_cast<BYTE*>(data), &data_size));
  if (result == EnumResult::Found) data[data_size] = '\0';
  return result;
}

bool SystemRegistry::query_value(Key key, const char* name, char* data, std::size_t size) {
  if (size == 0) return false;
  DWORD data_size = static_cast<DWORD>(size - 1);
  if (RegQueryValueExA(handle(key), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                       &data_size) != ERROR_SUCCESS)
    return false;
  data[data_size] = '\0';
  return true;
}

}  // namespace kivo
