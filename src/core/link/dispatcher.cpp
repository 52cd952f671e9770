#include "link/dispatcher.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <string_view>

#include "link/boot_parser.h"
#include "link/cbm_parser.h"
#include "link/flow_parser.h"
#include "link/link_profile.h"
#include "link/mode_parser.h"
#include "link/novatel.h"
#include "link/number_reader.h"
#include "link/pin_mask.h"
#include "link/registration_parser.h"
#include "link/ussd_parser.h"

namespace kivo {

namespace {

// The first four characters of a text as one number, so that a line is tested against a row
// by one comparison before the rest of the prefix is compared.
constexpr std::uint32_t head_of(const char* s) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[0])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[3])) << 24;
}

// What a row's handler decided about its line.
enum class Outcome {
  GoOn,        // handled: the next line is looked for at `next` (none left: the chunk is done)
  Done,        // handled: the rest of the chunk is dropped, no response event
  EndOfChunk,  // handled: the chunk ends as a Novatel exchange waits for
  NotHandled,  // a response line: the rest of the chunk is the response
};

struct Decision {
  Outcome outcome;
  std::size_t next = 0;  // for Outcome::GoOn, relative to the line start
};

// The next line begins two characters behind the line's CR; without a CR the chunk is done.
Decision past_line_end(std::string_view line) {
  const void* cr = std::memchr(line.data(), '\r', line.size());
  if (!cr) return {Outcome::Done};
  return {Outcome::GoOn, static_cast<std::size_t>(static_cast<const char*>(cr) - line.data()) + 2};
}

inline bool is_line_end(char c) {
  return c == '\r' || c == '\n';
}

constexpr char kEscape = '\x1b';

std::size_t past_echo(const char* chunk, std::size_t p, std::size_t n) {
  while (p < n && !is_line_end(chunk[p])) ++p;
  while (p < n && is_line_end(chunk[p])) ++p;
  return p;
}

// Where the next line begins, from `p` on: past blank lines, past the echo of the escape line
// sent before the first command (a modem left with echo on sends it back, maybe only after the
// next command went out, and it must not pass for that command's answer), and past the echo of
// a command (the line behind an echo is not tested for "AT" again). `n` when nothing is left.
std::size_t next_line(const char* chunk, std::size_t p, std::size_t n) {
  while (p < n && is_line_end(chunk[p])) ++p;
  while (p < n && chunk[p] == kEscape) p = past_echo(chunk, p, n);
  if (n - p >= 2 && chunk[p] == 'A' && chunk[p + 1] == 'T') p = past_echo(chunk, p, n);
  return p;
}

}  // namespace

// The handlers of the prefix table. Each gets the line (from its start to the chunk's end) and
// the length of the prefix it matched.
struct DispatchRows {
  static Decision boot(Dispatcher& d, std::string_view line, std::size_t);
  static Decision signal(Dispatcher& d, std::string_view line, std::size_t prefix_length);
  static Decision mode(Dispatcher& d, std::string_view line, std::size_t);
  static Decision ignored(Dispatcher&, std::string_view line, std::size_t);
  static Decision cbm(Dispatcher& d, std::string_view line, std::size_t);
  static Decision cmti(Dispatcher& d, std::string_view line, std::size_t);
  static Decision cmgs(Dispatcher& d, std::string_view line, std::size_t);
  static Decision cms_error(Dispatcher& d, std::string_view line, std::size_t);
  static Decision creg(Dispatcher&, std::string_view line, std::size_t);
  static Decision cgreg(Dispatcher& d, std::string_view line, std::size_t);
  static Decision cusd(Dispatcher& d, std::string_view line, std::size_t);
  static Decision dsflowrpt(Dispatcher& d, std::string_view line, std::size_t);
};

namespace {

using Handler = Decision (*)(Dispatcher&, std::string_view line, std::size_t prefix_length);

struct PrefixRow {
  constexpr PrefixRow(std::string_view p, Handler h)
      : prefix(p), head(head_of(p.data())), handle(h) {}
  std::string_view prefix;  // at least kMinPrefixLength characters
  std::uint32_t head;
  Handler handle;
};

constexpr std::size_t kMinPrefixLength = 5;

// The prefix table, in its order: the first match decides.
constexpr PrefixRow kPrefixTable[] = {
    {"^BOOT:", DispatchRows::boot},     {"^RSSI:", DispatchRows::signal},
    {"_OSIGQ:", DispatchRows::signal},  {"^MODE:", DispatchRows::mode},
    {"^SRVST:", DispatchRows::ignored}, {"^SIMST:", DispatchRows::ignored},
    {"_OEANT:", DispatchRows::ignored}, {"_OSSYSI:", DispatchRows::ignored},
    {"+CBM:", DispatchRows::cbm},       {"+CMTI:", DispatchRows::cmti},
    {"+CMGS:", DispatchRows::cmgs},     {"+CMS ERROR:", DispatchRows::cms_error},
    {"+CREG:", DispatchRows::creg},     {"+CGREG:", DispatchRows::cgreg},
    {"+CUSD:", DispatchRows::cusd},     {"^DSFLOWRPT:", DispatchRows::dsflowrpt},
};

// The row whose prefix begins with `head`, or null. The heads of the rows are all different and
// no prefix begins another, so at most one row can match a line: finding it by its head gives
// what testing the rows in their order gives.
constexpr bool heads_are_distinct() {
  for (std::size_t i = 0; i < std::size(kPrefixTable); ++i)
    for (std::size_t j = i + 1; j < std::size(kPrefixTable); ++j)
      if (kPrefixTable[i].head == kPrefixTable[j].head) return false;
  return true;
}
static_assert(heads_are_distinct(), "two prefixes share their first four characters");

constexpr const PrefixRow* row_for_head(std::uint32_t head) {
  switch (head) {
#define KIVO_ROW(index)          \
  case kPrefixTable[index].head: \
    return &kPrefixTable[index];
    KIVO_ROW(0)
    KIVO_ROW(1)
    KIVO_ROW(2)
    KIVO_ROW(3)
    KIVO_ROW(4)
    KIVO_ROW(5)
    KIVO_ROW(6)
    KIVO_ROW(7)
    KIVO_ROW(8)
    KIVO_ROW(9)
    KIVO_ROW(10)
    KIVO_ROW(11)
    KIVO_ROW(12)
    KIVO_ROW(13)
    KIVO_ROW(14)
    KIVO_ROW(15)
#undef KIVO_ROW
    default:
      return nullptr;
  }
}
static_assert(std::size(kPrefixTable) == 16, "row_for_head lists every row");

// An exact, case-sensitive comparison of the prefix's length (the heads are known to match).
inline bool has_prefix(std::string_view line, const PrefixRow& row) {
  if (line.size() < row.prefix.size()) return false;
  for (std::size_t i = 4; i < row.prefix.size(); ++i)
    if (line[i] != row.prefix[i]) return false;
  return true;
}

}  // namespace

Decision DispatchRows::boot(Dispatcher& d, std::string_view line, std::size_t) {
  BootReport report;
  parse_boot(line, report);
  d.post_report(NoticeId::Boot, report);
  return past_line_end(line);
}

Decision DispatchRows::signal(Dispatcher& d, std::string_view line, std::size_t prefix_length) {
  const NumberReading value = read_number(line, prefix_length);
  d.post(NoticeId::Signal, value.value);
  // More on the line ("_OSIGQ: 7,99" carries the bit error rate) is part of the report, not the
  // start of a response.
  if (value.end < line.size() && line[value.end] != '\r') return past_line_end(line);
  // Two characters behind the number's last digit (past its CR LF).
  return {Outcome::GoOn, value.end + 2};
}

Decision DispatchRows::mode(Dispatcher& d, std::string_view line, std::size_t) {
  ModeReport report;
  if (parse_mode(line, report))
    d.post_report(NoticeId::Mode, report);
  else
    d.trace_line("malformed ^MODE received: ", line.data(), line.size());
  return past_line_end(line);
}

// Reports nothing here uses: skipped.
Decision DispatchRows::ignored(Dispatcher&, std::string_view line, std::size_t) {
  return past_line_end(line);
}

Decision DispatchRows::cbm(Dispatcher& d, std::string_view line, std::size_t) {
  CellBroadcastPage page;
  if (const std::optional<std::size_t> end = parse_cbm(line, page)) {
    d.post_report(NoticeId::CellBroadcast, page);
    return {Outcome::GoOn, *end};
  }
  d.trace_line("malformed CBM received: ", line.data(), line.size());
  return {Outcome::Done};
}

Decision DispatchRows::cmti(Dispatcher& d, std::string_view line, std::size_t) {
  d.post(NoticeId::SmsReceived);
  return past_line_end(line);
}

Decision DispatchRows::cmgs(Dispatcher& d, std::string_view line, std::size_t) {
  d.sms_send_pending_.store(false);
  d.post(NoticeId::SmsSent);
  return past_line_end(line);
}

// Only the answer to an SMS being sent is a report; any other is a response.
Decision DispatchRows::cms_error(Dispatcher& d, std::string_view line, std::size_t) {
  if (!d.sms_send_pending_.exchange(false)) return {Outcome::NotHandled};
  d.post(NoticeId::SmsFailed);
  return past_line_end(line);
}

// "+CREG:" ends the chunk as a Novatel exchange waits for when nothing follows its line.
Decision DispatchRows::creg(Dispatcher&, std::string_view line, std::size_t) {
  const Decision next = past_line_end(line);
  if (next.outcome == Outcome::GoOn && next.next < line.size()) return next;
  return {Outcome::EndOfChunk};
}

// Only a location report is a report; the answer to a query ("+CGREG: 2,1,...") is a response.
Decision DispatchRows::cgreg(Dispatcher& d, std::string_view line, std::size_t) {
  RegistrationReport report;
  if (!parse_cgreg_report(line, report)) return {Outcome::NotHandled};
  d.post_report(NoticeId::Registration, report);
  return past_line_end(line);
}

Decision DispatchRows::cusd(Dispatcher& d, std::string_view line, std::size_t) {
  UssdResponse response;
  if (const std::optional<std::size_t> end = parse_cusd(line, response)) {
    d.post_report(NoticeId::Ussd, response);
    return {Outcome::GoOn, *end};
  }
  response.status = UssdResponse::kMalformed;
  d.trace_line("malformed USSD received: ", line.data(), line.size());
  d.post_report(NoticeId::Ussd, response);
  return {Outcome::Done};
}

Decision DispatchRows::dsflowrpt(Dispatcher& d, std::string_view line, std::size_t) {
  FlowReport report;
  if (parse_dsflowrpt(line, report))
    d.post_report(NoticeId::FlowReport, report);
  else
    d.trace_line("malformed ^DSFLOWRPT received: ", line.data(), line.size());
  return past_line_end(line);
}

void Dispatcher::end_of_chunk() {
  if (link_profile(context_.command_set.load(std::memory_order_relaxed)).diagnostic_framing)
    context_.responses.set_response_event();
}

void Dispatcher::post(NoticeId id, std::uint32_t value) {
  Notice notice;
  notice.id = id;
  notice.value = value;
  context_.notices.post(notice);
}

template <typename Report>
void Dispatcher::post_report(NoticeId id, const Report& report) {
  Notice notice;
  notice.id = id;
  notice.report = report;
  context_.notices.post(notice);
}

// Traces `label` with the line alone (without its line end).
void Dispatcher::trace_line(const char* label, const char* line, std::size_t line_length) {
  if (!context_.trace) return;
  context_.trace->labelled(label, line, first_line(std::string_view(line, line_length)).size());
}

// Every chunk is traced, with the SIM codes of an echoed PIN command masked.
void Dispatcher::trace_received(const char* chunk, std::size_t length) {
  if (!pin_echo_expected_.load(std::memory_order_relaxed)) {
    context_.trace->labelled("received data: ", chunk, length);
    return;
  }
  char masked[kPinMaskBufferSize];
  const std::string_view shown = mask_pin_codes({chunk, length}, masked);
  context_.trace->labelled("received data: ", shown.data(), shown.size());
}

// Replaces a Novatel diagnostic reply in place by the text it carries.
void Dispatcher::unwrap_novatel(std::uint8_t* chunk, std::size_t length) {
  std::uint8_t status = novatel_status_.load();
  novatel_rx_unwrap(chunk, length, status, context_.trace, context_.boxes);
  novatel_status_.store(status);
}

void Dispatcher::rx_dispatch(char* chunk, std::size_t length) {
  chunk[length] = '\0';
  auto* bytes = reinterpret_cast<std::uint8_t*>(chunk);
  if (is_novatel_reply(bytes, length)) unwrap_novatel(bytes, length);
  // The chunk is text: it ends at its first NUL.
  const void* nul = std::memchr(chunk, '\0', length);
  const std::size_t n =
      nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - chunk) : length;
  if (context_.trace) trace_received(chunk, n);
  std::size_t p = 0;
  for (;;) {
    p = next_line(chunk, p, n);
    if (p == n) return end_of_chunk();
    const std::string_view line(chunk + p, n - p);
    const PrefixRow* row =
        line.size() >= kMinPrefixLength ? row_for_head(head_of(line.data())) : nullptr;
    const Decision decision = row && has_prefix(line, *row)
                                  ? row->handle(*this, line, row->prefix.size())
                                  : Decision{Outcome::NotHandled};
    switch (decision.outcome) {
      case Outcome::GoOn:
        if (decision.next >= line.size()) return;
        p += decision.next;
        break;
      case Outcome::Done:
        return;
      case Outcome::EndOfChunk:
        return end_of_chunk();
      case Outcome::NotHandled:
        return context_.responses.capture_response(line.data(),
                                                   std::min(line.size(), kResponseBufferSize));
    }
  }
}

}  // namespace kivo
