#pragma once

#include <string>
#include <vector>

namespace uiprobe {

// Builds one JSON object, fields in the order they are added.
class JsonObject {
 public:
  JsonObject& add(const char* name, const std::string& text);
  JsonObject& add(const char* name, const char* text) { return add(name, std::string(text)); }
  JsonObject& add(const char* name, bool value);
  JsonObject& add(const char* name, long value);
  JsonObject& add(const char* name, int value) { return add(name, static_cast<long>(value)); }
  // `json` is inserted as it is (an array or object already encoded).
  JsonObject& add_raw(const char* name, const std::string& json);
  std::string str() const { return "{" + body_ + "}"; }

 private:
  void add_name(const char* name);
  std::string body_;
};

// A JSON string literal. Window texts are ANSI; bytes above 0x7F are written as the code points
// of the same number (Latin-1), which is exact for the texts the program shows.
std::string json_string(const std::string& text);

// A JSON array of items that are already encoded.
std::string json_array(const std::vector<std::string>& items);

}  // namespace uiprobe
