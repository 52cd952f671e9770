#include "link/dispatcher.h"

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
#include "link/registration_parser.h"
#include "link/ussd_parser.h"

namespace kivo {

namespace {

// The prefix table, in its order: the first match decides.
enum class Row {
  Boot,
  Rssi,
  Osigq,
  Mode,
  Srvst,
  Simst,
  Oeant,
  Ossysi,
  Cbm,
  Cmti,
  Cmgs,
  CmsError,
  Creg,
  Cgreg,
  Cusd,
  Dsflowrpt,
};

// The first four characters of a text as one number, so that a line is tested against a row
// by one comparison before the rest of the prefix is compared.
constexpr std::uint32_t head_of(const char* s) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[0])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[3])) << 24;
}

struct PrefixRow {
  constexpr PrefixRow(std::string_view p, Row r) : prefix(p), head(head_of(p.data())), row(r) {}
  std::string_view prefix;  // at least kMinPrefixLength characters
  std::uint32_t head;
  Row row;
};

constexpr std::size_t kMinPrefixLength = 5;

constexpr PrefixRow kPrefixTable[] = {
    {"^BOOT:", Row::Boot},           {"^RSSI:", Row::Rssi},     {"_OSIGQ:", Row::Osigq},
    {"^MODE:", Row::Mode},           {"^SRVST:", Row::Srvst},   {"^SIMST:", Row::Simst},
    {"_OEANT:", Row::Oeant},         {"_OSSYSI:", Row::Ossysi}, {"+CBM:", Row::Cbm},
    {"+CMTI:", Row::Cmti},           {"+CMGS:", Row::Cmgs},     {"+CMS ERROR:", Row::CmsError},
    {"+CREG:", Row::Creg},           {"+CGREG:", Row::Cgreg},   {"+CUSD:", Row::Cusd},
    {"^DSFLOWRPT:", Row::Dsflowrpt},
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

inline bool is_line_end(char c) {
  return c == '\r' || c == '\n';
}

// What a table row decided about the line.
enum class Outcome {
  NextLine,    // handled: the next line begins two characters behind the next CR
  At,          // handled: go on at a given position (chunk done when it is the end)
  Done,        // handled: the chunk is done, no response event
  EndOfChunk,  // handled: the chunk ends as a Novatel exchange waits for
  NotHandled,  // the line goes on to the next rows
};

}  // namespace

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

void Dispatcher::rx_dispatch(char* chunk, std::size_t length) {
  chunk[length] = '\0';
  auto* bytes = reinterpret_cast<std::uint8_t*>(chunk);
  // A Novatel diagnostic reply is replaced in place by the text it carries.
  if (is_novatel_reply(bytes, length)) {
    std::uint8_t status = novatel_status_.load();
    novatel_rx_unwrap(bytes, length, status, context_.trace, context_.boxes);
    novatel_status_.store(status);
  }
  // The chunk is text: it ends at its first NUL.
  const void* nul = std::memchr(chunk, '\0', length);
  const std::size_t n =
      nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - chunk) : length;
  if (context_.trace) context_.trace->labelled("received data: ", chunk, n);

  std::size_t p = 0;
  for (;;) {
    // Blank lines between reports are skipped.
    while (p < n && is_line_end(chunk[p])) ++p;
    if (p == n) return end_of_chunk();
    // The echo of a command; the line behind it is not tested for "AT" again.
    if (n - p >= 2 && chunk[p] == 'A' && chunk[p + 1] == 'T') {
      while (p < n && !is_line_end(chunk[p])) ++p;
      while (p < n && is_line_end(chunk[p])) ++p;
      if (p == n) return end_of_chunk();
    }
    // The prefix table, in order; the first match decides.
    const char* line_start = chunk + p;
    const std::string_view line(line_start, n - p);
    Outcome outcome = Outcome::NotHandled;
    std::size_t next = 0;  // for Outcome::At, relative to the line start
    const PrefixRow* match =
        line.size() >= kMinPrefixLength ? row_for_head(head_of(line_start)) : nullptr;
    if (match && has_prefix(line, *match)) {
      const PrefixRow& row = *match;
      switch (row.row) {
        case Row::Boot: {
          BootReport report;
          parse_boot(line, report);
          post_report(NoticeId::Boot, report);
          outcome = Outcome::NextLine;
          break;
        }
        case Row::Rssi:
        case Row::Osigq: {
          const NumberReading value = read_number(line, row.prefix.size());
          post(NoticeId::Signal, value.value);
          if (value.end < line.size() && line[value.end] != '\r') {
            // More follows on the line ("_OSIGQ: 7,99" carries the bit error rate): it is part
            // of the report, not the start of a response.
            outcome = Outcome::NextLine;
            break;
          }
          // Two characters behind the number's last digit (past its CR LF).
          next = value.end + 2;
          outcome = next < line.size() ? Outcome::At : Outcome::Done;
          break;
        }
        case Row::Mode: {
          ModeReport report;
          if (parse_mode(line, report))
            post_report(NoticeId::Mode, report);
          else
            trace_line("malformed ^MODE received: ", line_start, line.size());
          outcome = Outcome::NextLine;
          break;
        }
        case Row::Srvst:
        case Row::Simst:
        case Row::Oeant:
        case Row::Ossysi:
          outcome = Outcome::NextLine;
          break;
        case Row::Cbm: {
          CellBroadcastPage page;
          if (const std::optional<std::size_t> end = parse_cbm(line, page)) {
            post_report(NoticeId::CellBroadcast, page);
            next = *end;
            outcome = Outcome::At;
          } else {
            trace_line("malformed CBM received: ", line_start, line.size());
            outcome = Outcome::Done;  // the rest of the chunk is dropped
          }
          break;
        }
        case Row::Cmti:
          post(NoticeId::SmsReceived);
          outcome = Outcome::NextLine;
          break;
        case Row::Cmgs:
          sms_send_pending_.store(false);
          post(NoticeId::SmsSent);
          outcome = Outcome::NextLine;
          break;
        case Row::CmsError:
          if (sms_send_pending_.exchange(false)) {
            post(NoticeId::SmsFailed);
            outcome = Outcome::NextLine;
          }
          break;
        case Row::Creg: {
          const void* cr = std::memchr(line_start, '\r', line.size());
          if (cr) {
            next = static_cast<std::size_t>(static_cast<const char*>(cr) - line_start) + 2;
            outcome = next < line.size() ? Outcome::At : Outcome::EndOfChunk;
          } else {
            outcome = Outcome::EndOfChunk;
          }
          break;
        }
        case Row::Cgreg: {
          RegistrationReport report;
          if (parse_cgreg_report(line, report)) {
            post_report(NoticeId::Registration, report);
            outcome = Outcome::NextLine;
          }
          break;
        }
        case Row::Cusd: {
          UssdResponse response;
          if (const std::optional<std::size_t> end = parse_cusd(line, response)) {
            post_report(NoticeId::Ussd, response);
            next = *end;
            outcome = Outcome::At;
          } else {
            response.status = UssdResponse::kMalformed;
            trace_line("malformed USSD received: ", line_start, line.size());
            post_report(NoticeId::Ussd, response);
            outcome = Outcome::Done;  // the rest of the chunk is dropped
          }
          break;
        }
        case Row::Dsflowrpt: {
          FlowReport report;
          if (parse_dsflowrpt(line, report))
            post_report(NoticeId::FlowReport, report);
          else
            trace_line("malformed ^DSFLOWRPT received: ", line_start, line.size());
          outcome = Outcome::NextLine;
          break;
        }
      }
    }

    switch (outcome) {
      case Outcome::NotHandled: {
        // A response line: the rest of the chunk is the response.
        std::size_t size = line.size();
        if (size > kResponseBufferSize) size = kResponseBufferSize;
        context_.responses.capture_response(line_start, size);
        return;
      }
      case Outcome::NextLine: {
        const void* cr = std::memchr(line_start, '\r', line.size());
        if (!cr) return;
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(cr) - chunk);
        if (at + 2 >= n) return;  // the CR is last, or nothing follows the pair
        p = at + 2;
        break;
      }
      case Outcome::At:
        if (next >= line.size()) return;  // the chunk is done
        p += next;
        break;
      case Outcome::Done:
        return;
      case Outcome::EndOfChunk:
        return end_of_chunk();
    }
  }
}

}  // namespace kivo
