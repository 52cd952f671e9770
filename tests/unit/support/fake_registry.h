#pragma once

#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/registry.h"

namespace kivo::test {

// An in-memory registry tree. Key paths and value names ignore letter case, as the registry
// does; subkeys and values enumerate in the order they were created. It counts the opens and
// closes of each key and can be told to fail one open, query or enumeration index.
class FakeRegistry : public Registry {
 public:
  // Creates the key (and the keys above it) when needed and sets the value.
  void set(RegistryRoot root, const std::string& key, const std::string& name,
           const std::string& data) {
    Node& node = make_key(root, key);
    for (auto& value : node.values)
      if (same(value.first, name)) {
        value.second = data;
        return;
      }
    node.values.emplace_back(name, data);
  }
  void add_key(RegistryRoot root, const std::string& key) { make_key(root, key); }
  void remove_value(RegistryRoot root, const std::string& key, const std::string& name) {
    auto& values = nodes_.at(id(root, key)).values;
    for (auto it = values.begin(); it != values.end(); ++it)
      if (same(it->first, name)) {
        values.erase(it);
        return;
      }
  }

  // Faults, by key path under HKEY_LOCAL_MACHINE.
  void fail_open(const std::string& key) { failing_opens_.insert(id(kLm, key)); }
  void fail_query(const std::string& key, const std::string& name) {
    failing_queries_.insert(id(kLm, key) + "|" + lower(name));
  }
  // Both the subkey and the value enumeration fail at `index`.
  void fail_enum(const std::string& key, unsigned index) {
    failing_enums_.insert({id(kLm, key), index});
  }
  // Every index fails and none reports the end, as for a key deleted while it is read.
  void fail_every_enum(const std::string& key) { broken_keys_.insert(id(kLm, key)); }

  int opens(const std::string& key) const { return count(opens_, key); }
  int closes(const std::string& key) const { return count(closes_, key); }
  int total_opens() const {
    int total = 0;
    for (const auto& entry : opens_) total += entry.second;
    return total;
  }
  // Every key opened so far has been closed exactly once, and nothing else was closed.
  bool all_closed_once() const { return open_.empty() && opens_ == closes_ && stray_closes_ == 0; }

  bool read_value(RegistryRoot root, const char* key_path, const char* value_name, char* buffer,
                  std::size_t buffer_size) override {
    auto it = nodes_.find(id(root, key_path));
    return it != nodes_.end() && read(it->second, value_name, buffer, buffer_size);
  }
  bool open_key(RegistryRoot root, const char* key_path, Key& key) override {
    return open(id(root, key_path), key);
  }
  bool open_subkey(Key parent, const char* name, Key& key) override {
    return open(open_.at(parent) + "\\" + lower(name), key);
  }
  void close_key(Key key) override {
    auto it = open_.find(key);
    if (it == open_.end()) {
      ++stray_closes_;
      return;
    }
    ++closes_[it->second];
    open_.erase(it);
  }
  EnumResult enum_subkey(Key key, unsigned index, char* name, std::size_t size) override {
    const std::string& node_id = open_.at(key);
    const Node& node = nodes_.at(node_id);
    if (broken_keys_.count(node_id)) return EnumResult::Failed;
    if (index >= node.subkeys.size()) return EnumResult::NoMoreItems;
    return copy(node_id, index, node.subkeys[index], name, size);
  }
  EnumResult enum_value_data(Key key, unsigned index, char* data, std::size_t size) override {
    const std::string& node_id = open_.at(key);
    const Node& node = nodes_.at(node_id);
    if (broken_keys_.count(node_id)) return EnumResult::Failed;
    if (index >= node.values.size()) return EnumResult::NoMoreItems;
    return copy(node_id, index, node.values[index].second, data, size);
  }
  bool query_value(Key key, const char* name, char* data, std::size_t size) override {
    const std::string& node_id = open_.at(key);
    if (failing_queries_.count(node_id + "|" + lower(name))) return false;
    return read(nodes_.at(node_id), name, data, size);
  }

 private:
  static constexpr RegistryRoot kLm = RegistryRoot::LocalMachine;

  struct Node {
    std::vector<std::string> subkeys;
    std::vector<std::pair<std::string, std::string>> values;
  };

  static std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  }
  static bool same(const std::string& a, const std::string& b) { return lower(a) == lower(b); }
  static std::string id(RegistryRoot root, const std::string& key) {
    return (root == kLm ? "hklm\\" : "hkcu\\") + lower(key);
  }

  Node& make_key(RegistryRoot root, const std::string& key) {
    std::string node_id = id(root, "");
    node_id.pop_back();
    std::size_t start = 0;
    for (;;) {
      const std::size_t end = key.find('\\', start);
      const std::string name = key.substr(start, end - start);
      const std::string child = node_id + "\\" + lower(name);
      if (!nodes_.count(child)) nodes_[node_id].subkeys.push_back(name);
      node_id = child;
      nodes_[node_id];
      if (end == std::string::npos) return nodes_[node_id];
      start = end + 1;
    }
  }
  bool open(const std::string& node_id, Key& key) {
    if (!nodes_.count(node_id) || failing_opens_.count(node_id)) return false;
    key = ++last_key_;
    open_[key] = node_id;
    ++opens_[node_id];
    return true;
  }
  static bool read(const Node& node, const char* name, char* data, std::size_t size) {
    for (const auto& value : node.values)
      if (same(value.first, name)) return fits_into(value.second, data, size);
    return false;
  }
  EnumResult copy(const std::string& node_id, unsigned index, const std::string& text, char* out,
                  std::size_t size) const {
    if (failing_enums_.count({node_id, index}) || !fits_into(text, out, size))
      return EnumResult::Failed;
    return EnumResult::Found;
  }
  static bool fits_into(const std::string& text, char* out, std::size_t size) {
    if (text.size() + 1 > size) return false;
    std::memcpy(out, text.c_str(), text.size() + 1);
    return true;
  }
  int count(const std::map<std::string, int>& counts, const std::string& key) const {
    auto it = counts.find(id(kLm, key));
    return it == counts.end() ? 0 : it->second;
  }

  std::map<std::string, Node> nodes_;
  std::map<Key, std::string> open_;
  std::map<std::string, int> opens_;
  std::map<std::string, int> closes_;
  std::set<std::string> failing_opens_;
  std::set<std::string> failing_queries_;
  std::set<std::pair<std::string, unsigned>> failing_enums_;
  std::set<std::string> broken_keys_;
  Key last_key_ = 0;
  int stray_closes_ = 0;
};

}  // namespace kivo::test
