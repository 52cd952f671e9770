#include "command_line.h"

#include <cctype>

namespace modemsim {
namespace {

bool is_extended_prefix(char c) {
  return c == '+' || c == '^' || c == '$' || c == '_' || c == '*' || c == '%' || c == '!';
}

char upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}
bool is_alpha(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool is_alnum(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0;
}
bool is_digit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Reads what follows a command's name: "?", "=?", "=args" up to an unquoted ';', or nothing.
void read_suffix(std::string_view line, std::size_t& i, Command& command) {
  if (i < line.size() && line[i] == '?') {
    command.kind = CommandKind::Read;
    ++i;
    return;
  }
  if (i >= line.size() || line[i] != '=') return;
  ++i;
  if (i < line.size() && line[i] == '?') {
    command.kind = CommandKind::Test;
    ++i;
    return;
  }
  command.kind = CommandKind::Set;
  bool quoted = false;
  std::size_t start = i;
  while (i < line.size() && (quoted || line[i] != ';')) {
    if (line[i] == '"') quoted = !quoted;
    ++i;
  }
  command.args = std::string(line.substr(start, i - start));
}

}  // namespace

std::optional<std::vector<Command>> parse_command_line(std::string_view line) {
  if (line.size() < 2 || upper(line[0]) != 'A' || upper(line[1]) != 'T') return std::nullopt;
  std::vector<Command> commands;
  std::size_t i = 2;
  while (i < line.size()) {
    char c = line[i];
    if (c == ';' || c == ' ') {
      ++i;
      continue;
    }
    Command command;
    if (is_extended_prefix(c)) {
      std::size_t start = i++;
      while (i < line.size() && is_alnum(line[i])) ++i;
      if (i == start + 1) return std::nullopt;
      for (std::size_t k = start; k < i; ++k) command.name += upper(line[k]);
      read_suffix(line, i, command);
    } else if (c == '&' || is_alpha(c)) {
      if (c == '&') {
        if (++i >= line.size() || !is_alpha(line[i])) return std::nullopt;
        command.name = "&";
      }
      command.name += upper(line[i++]);
      std::size_t start = i;
      while (i < line.size() && is_digit(line[i])) ++i;
      command.args = std::string(line.substr(start, i - start));
      read_suffix(line, i, command);
    } else {
      return std::nullopt;
    }
    commands.push_back(std::move(command));
  }
  return commands;
}

std::vector<std::string> split_args(std::string_view args) {
  std::vector<std::string> out;
  std::string current;
  bool quoted = false;
  auto finish = [&] {
    std::size_t first = current.find_first_not_of(' ');
    std::size_t last = current.find_last_not_of(' ');
    out.push_back(first == std::string::npos ? "" : current.substr(first, last - first + 1));
    current.clear();
  };
  for (char c : args) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      finish();
    } else {
      current += c;
    }
  }
  finish();
  return out;
}

std::optional<unsigned long long> parse_number(std::string_view text, int base) {
  if (text.empty() || text.size() > 16) return std::nullopt;
  unsigned long long value = 0;
  for (char c : text) {
    int digit = is_digit(c)                                                  ? c - '0'
                : base == 16 && std::isxdigit(static_cast<unsigned char>(c)) ? upper(c) - 'A' + 10
                                                                             : -1;
    if (digit < 0) return std::nullopt;
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
  }
  return value;
}

}  // namespace modemsim
