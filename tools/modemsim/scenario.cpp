#include "scenario.h"

#include <cctype>
#include <cstdlib>

#include "broadcast_pages.h"
#include "escapes.h"

namespace modemsim {
namespace {

// Splits off the first blank-separated word of `rest`.
std::string_view next_word(std::string_view& rest) {
  std::size_t start = rest.find_first_not_of(" \t");
  if (start == std::string_view::npos) {
    rest = {};
    return {};
  }
  std::size_t end = rest.find_first_of(" \t", start);
  std::string_view word =
      rest.substr(start, end == std::string_view::npos ? rest.npos : end - start);
  rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
  return word;
}

std::string_view trim(std::string_view text) {
  std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(start, end - start + 1);
}

bool read_unsigned(std::string_view word, unsigned long& out) {
  if (word.empty()) return false;
  for (char c : word) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  out = std::strtoul(std::string(word).c_str(), nullptr, 10);
  return true;
}

bool read_rate(std::string_view word, std::uint32_t& out) {
  unsigned long n = 0;
  if (!read_unsigned(word, n) || n > 0xffffffffu) return false;
  out = static_cast<std::uint32_t>(n);
  return true;
}

std::string framed(std::string_view text) {
  return "\r\n" + unescape(text) + "\r\n";
}

bool parse_on_off(std::string_view word, bool& on) {
  if (word != "on" && word != "off") return false;
  on = word == "on";
  return true;
}

bool parse_step(std::string_view rest, Step& step, std::string& error) {
  std::string_view verb = next_word(rest);
  std::string_view tail = trim(rest);
  unsigned long n = 0;
  unsigned long seconds = 0;
  if (verb == "send" && !tail.empty()) {
    step.kind = StepKind::Send;
    step.text = framed(tail);
  } else if (verb == "raw" && !tail.empty()) {
    step.kind = StepKind::Raw;
    step.text = unescape(tail);
  } else if (verb == "set") {
    step.kind = StepKind::Set;
    step.text = std::string(next_word(rest));
    step.value = unescape(trim(rest));
    if (step.text.empty()) {
      error = "set needs a key and a value";
      return false;
    }
  } else if (verb == "cbm" && broadcast_page(tail)) {
    step.kind = StepKind::Cbm;
    step.text = std::string(*broadcast_page(tail));
  } else if (verb == "cbm") {
    error = "cbm needs one of: " + broadcast_page_names();
    return false;
  } else if (verb == "unplug" && tail.empty()) {
    step.kind = StepKind::Unplug;
  } else if (verb == "restart" && tail.empty()) {
    step.kind = StepKind::Restart;
  } else if (verb == "connect" && tail.empty()) {
    step.kind = StepKind::Connect;
  } else if (verb == "disconnect" && tail.empty()) {
    step.kind = StepKind::Disconnect;
  } else if (verb == "spike" && read_rate(next_word(rest), step.tx_rate) &&
             read_rate(trim(rest), step.rx_rate)) {
    step.kind = StepKind::Spike;
  } else if ((verb == "silence" || verb == "stall") && parse_on_off(tail, step.on)) {
    step.kind = verb == "silence" ? StepKind::Silence : StepKind::Stall;
  } else if (verb == "garbage" && read_unsigned(tail, n)) {
    step.kind = StepKind::Garbage;
    step.count = n;
  } else if (verb == "trickle" && parse_on_off(tail, step.on)) {
    step.kind = StepKind::Trickle;
  } else if (verb == "flood" && read_unsigned(next_word(rest), n) && n >= 1 && 1000 % n == 0 &&
             read_unsigned(trim(rest), seconds)) {
    step.kind = StepKind::Flood;
    step.count = n;
    step.seconds = static_cast<unsigned>(seconds);
  } else {
    error = "unknown step: " + std::string(verb) + (tail.empty() ? "" : " " + std::string(tail));
    return false;
  }
  return true;
}

bool parse_escape(std::string_view word, EscapedByte& escape) {
  if (word == "status") {
    escape = EscapedByte::Status;
  } else if (word == "crc-lo") {
    escape = EscapedByte::CrcLow;
  } else if (word == "crc-hi") {
    escape = EscapedByte::CrcHigh;
  } else {
    return false;
  }
  return true;
}

// Reads the modifiers of a rule and then its action; a rule without an action answers normally.
bool parse_rule(std::string_view rest, Rule& rule, std::string& error) {
  rule.pattern = std::string(next_word(rest));
  if (rule.pattern.empty()) {
    error = "on needs a command pattern";
    return false;
  }
  while (true) {
    std::string_view before = rest;
    std::string_view word = next_word(rest);
    if (word.empty()) return true;
    unsigned long n = 0;
    bool numeric = word == "times" || word == "delay" || word == "split" || word == "gap" ||
                   word == "status" || word == "garbage";
    std::string_view argument = numeric || word == "escape" ? next_word(rest) : std::string_view{};
    if (numeric && !read_unsigned(argument, n)) {
      error = std::string(word) + " needs a number";
      return false;
    }
    if (word == "times") {
      rule.remaining = static_cast<int>(n);
    } else if (word == "delay") {
      rule.delay_ms = static_cast<unsigned>(n);
    } else if (word == "split") {
      rule.split_at = n;
    } else if (word == "gap") {
      rule.gap_ms = static_cast<unsigned>(n);
    } else if (word == "status") {
      rule.status = static_cast<unsigned>(n & 0xff);
    } else if (word == "escape") {
      if (!parse_escape(argument, rule.escape)) {
        error = "escape takes status, crc-lo or crc-hi";
        return false;
      }
    } else if (word == "garbage") {
      rule.action = RuleAction::Garbage;
      rule.garbage = n;
    } else if (word == "silence" || word == "unplug") {
      rule.action = word == "silence" ? RuleAction::Silence : RuleAction::Unplug;
    } else if (word == "reply" || word == "raw") {
      std::string_view text = trim(rest);
      rule.action = word == "reply" ? RuleAction::Reply : RuleAction::Raw;
      rule.text = word == "reply" ? framed(text) : unescape(text);
      return true;
    } else {
      error = "unknown rule word: " + std::string(trim(before));
      return false;
    }
    if (rule.action != RuleAction::Answer && !trim(rest).empty()) {
      error = "nothing may follow " + std::string(word);
      return false;
    }
  }
}

// ussd [gsm7|ucs2] [delay MS] CODE STATUS|none [TEXT]
bool parse_ussd(std::string_view rest, ScenarioLine& out, std::string& error) {
  std::string_view word = next_word(rest);
  for (;; word = next_word(rest)) {
    if (word == "gsm7" || word == "ucs2") {
      out.ussd.coding = word == "gsm7" ? UssdCoding::Gsm7 : UssdCoding::Ucs2;
    } else if (word == "delay") {
      unsigned long ms = 0;
      if (!read_unsigned(next_word(rest), ms)) {
        error = "ussd delay needs a time in milliseconds";
        return false;
      }
      out.ussd.delay_ms = static_cast<int>(ms);
    } else {
      break;
    }
  }
  out.ussd_code = std::string(word);
  const std::string_view status_word = next_word(rest);
  unsigned long status = 0;
  out.ussd.silent = status_word == "none";
  if (out.ussd_code.empty() || (!out.ussd.silent && !read_unsigned(status_word, status))) {
    error = "ussd needs a code and a status (or none)";
    return false;
  }
  out.ussd.status = static_cast<int>(status);
  std::string_view text = trim(rest);
  out.ussd.has_text = !text.empty();
  out.ussd.text = unescape(text);
  return true;
}

}  // namespace

std::optional<ScenarioLine> parse_scenario_line(std::string_view line, std::string& error) {
  ScenarioLine out;
  std::string_view rest = trim(line);
  if (rest.empty() || rest[0] == '#') return out;
  std::string_view head = rest;
  std::string_view word = next_word(head);
  bool ok = true;
  if (word == "on") {
    out.kind = LineKind::Rule;
    ok = parse_rule(head, out.rule, error);
  } else if (word == "after" || word == "every") {
    unsigned long ms = 0;
    out.kind = word == "after" ? LineKind::After : LineKind::Every;
    ok = read_unsigned(next_word(head), ms) && (word == "after" || ms > 0);
    if (!ok) error = std::string(word) + " needs a time in milliseconds";
    out.ms = static_cast<unsigned>(ms);
    ok = ok && parse_step(head, out.step, error);
  } else if (word == "ussd") {
    out.kind = LineKind::Ussd;
    ok = parse_ussd(head, out, error);
  } else {
    out.kind = LineKind::Step;
    ok = parse_step(rest, out.step, error);
  }
  if (!ok) return std::nullopt;
  return out;
}

bool glob_match(std::string_view pattern, std::string_view text) {
  auto same = [](char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) ==
           std::toupper(static_cast<unsigned char>(b));
  };
  std::size_t p = 0;
  std::size_t t = 0;
  std::size_t star = std::string_view::npos;
  std::size_t resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '\\' && p + 1 < pattern.size() &&
               same(pattern[p + 1], text[t])) {
      p += 2;
      ++t;
    } else if (p < pattern.size() && pattern[p] != '\\' && same(pattern[p], text[t])) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace modemsim
