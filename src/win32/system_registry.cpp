#include "system_registry.h"

#include <windows.h>

namespace kivo {

bool SystemRegistry::read_value(RegistryRoot root, const char* key_path, const char* value_name,
                                char* buffer, std::size_t buffer_size) {
  if (buffer_size == 0) return false;
  HKEY root_key = root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  HKEY key;
  if (RegOpenKeyExA(root_key, key_path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  // One byte is kept back for the terminator, which a stored string may lack.
  DWORD size = static_cast<DWORD>(buffer_size - 1);
  const LONG result =
      RegQueryValueExA(key, value_name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return false;
  buffer[size] = '\0';
  return true;
}

}  // namespace kivo
