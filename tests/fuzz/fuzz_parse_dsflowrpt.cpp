// parse_dsflowrpt on any text, in an exact-size buffer: it must not read outside it, and its
// result must equal the plain column-by-column reading over the first line (the parser has
// a faster path for the standard line; this checks the two agree).

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "link/flow_parser.h"
#include "link/number_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kivo;
  std::vector<char> text;
  if (size > 0 && (data[0] & 1)) {  // half of the inputs get the prefix, to reach the fields
    static const char kPrefix[] = "^DSFLOWRPT:";
    text.assign(kPrefix, kPrefix + sizeof kPrefix - 1);
  }
  if (size > 0) text.insert(text.end(), data + 1, data + size);
  const std::string_view view(text.data(), text.size());
  FlowReport report;
  if (!parse_dsflowrpt(view, report)) return 0;

  const std::string_view line = first_line(view);
  const auto at = [&](std::size_t column, std::size_t digits = kUnlimitedDigits) {
    return read_number(line, column, 16, digits).value;
  };
  KIVO_FUZZ_CHECK(report.duration == at(11));
  KIVO_FUZZ_CHECK(report.tx_rate == at(20));
  KIVO_FUZZ_CHECK(report.rx_rate == at(29));
  KIVO_FUZZ_CHECK(report.tx_bytes ==
                  static_cast<std::int64_t>(std::uint64_t{at(38, 8)} << 32 | at(46)));
  KIVO_FUZZ_CHECK(report.rx_bytes ==
                  static_cast<std::int64_t>(std::uint64_t{at(55, 8)} << 32 | at(63)));
  KIVO_FUZZ_CHECK(report.qos_tx == at(72));
  KIVO_FUZZ_CHECK(report.qos_rx == at(81));
  return 0;
}
