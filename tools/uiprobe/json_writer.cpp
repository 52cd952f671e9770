#include "json_writer.h"

#include <cstdio>

namespace uiprobe {

std::string json_string(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string json_array(const std::vector<std::string>& items) {
  std::string out = "[";
  for (const std::string& item : items) {
    if (out.size() > 1) out += ",";
    out += item;
  }
  return out + "]";
}

void JsonObject::add_name(const char* name) {
  if (!body_.empty()) body_ += ",";
  body_ += json_string(name) + ":";
}

JsonObject& JsonObject::add(const char* name, const std::string& text) {
  add_name(name);
  body_ += json_string(text);
  return *this;
}

JsonObject& JsonObject::add(const char* name, bool value) {
  add_name(name);
  body_ += value ? "true" : "false";
  return *this;
}

JsonObject& JsonObject::add(const char* name, long value) {
  add_name(name);
  body_ += std::to_string(value);
  return *this;
}

JsonObject& JsonObject::add_raw(const char* name, const std::string& json) {
  add_name(name);
  body_ += json;
  return *this;
}

}  // namespace uiprobe
