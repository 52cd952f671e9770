#include "broadcast_pages.h"

#include <cstdlib>

namespace modemsim {
namespace {

struct NamedPage {
  const char* name;
  const char* hex;
};

// Built by the book (TS 23.041 page header, TS 23.038 coding), in the forms modems hand over.
constexpr NamedPage kPages[] = {
    // A whole 88-octet page on the cell-area channel 50, GSM 7-bit (DCS 01), page 1 of 1,
    // serial 4025: "Kenilworth @ Claremont, Cape Town 021", padded with CR.
    {"area",
     "402500320111CBB23BCDBEBFE5743408001AB2C3F272FBEDA6B340C330BC0CA2BEEF6E104C166B341A8D46A3D1"
     "68341A8D46A3D168341A8D46A3D168341A8D46A3D168341A8D46A3D168341A8D46A3D168341A8D46A3D100"},
    // An emergency alert (channel 4370, presidential level) as a modem passes it on: only the
    // 65 octets the text uses, 67 septets, no padding. "Presidential Alert: a test of the
    // national alert system. No action."
    {"alert",
     "1F40111201115079799E2697DDF474980D0AB2CB72BA0E1406D1CB733AE86D06D1D165903B4C4FBFDD613628"
     "CC2ECBE9A0797E4E2FB75D20E71B141ED3D36FB70B"},
    // UCS2 with a language prefix (DCS 11): "de" in two packed septets, then "Übung: Straße
    // gesperrt – Zivilschutz" in UCS2, padded with U+000D; channel 919, serial 0C81.
    {"ucs2",
     "0C8103971111E43200DC00620075006E0067003A0020005300740072006100DF0065002000670065007300700065"
     "007200720074002020130020005A006900760069006C00730063006800750074007A000D000D000D000D"},
};

// "0-65535", "50,60,250-300", quoted or not.
bool listed(std::string_view list, unsigned id) {
  std::size_t pos = 0;
  while (pos < list.size()) {
    std::size_t end = list.find(',', pos);
    if (end == std::string_view::npos) end = list.size();
    std::string item(list.substr(pos, end - pos));
    std::string digits;
    for (char c : item)
      if (c != '"' && c != ' ') digits += c;
    const std::size_t dash = digits.find('-');
    const unsigned low = static_cast<unsigned>(std::strtoul(digits.c_str(), nullptr, 10));
    const unsigned high =
        dash == std::string::npos
            ? low
            : static_cast<unsigned>(std::strtoul(digits.c_str() + dash + 1, nullptr, 10));
    if (!digits.empty() && id >= low && id <= high) return true;
    pos = end + 1;
  }
  return false;
}

}  // namespace

std::optional<std::string_view> broadcast_page(std::string_view name) {
  for (const NamedPage& page : kPages)
    if (name == page.name) return std::string_view(page.hex);
  return std::nullopt;
}

std::string broadcast_page_names() {
  std::string names;
  for (const NamedPage& page : kPages) names += std::string(names.empty() ? "" : ", ") + page.name;
  return names;
}

bool cscb_accepts(const ModemSession& session, std::uint16_t message_identifier) {
  return listed(session.cscb_mids, message_identifier) == (session.cscb_mode == 0);
}

std::string cbm_report(std::string_view page_hex) {
  return "\r\n+CBM: " + std::to_string(page_hex.size() / 2) + "\r\n" + std::string(page_hex) +
         "\r\n";
}

std::uint16_t page_message_identifier(std::string_view page_hex) {
  return static_cast<std::uint16_t>(
      std::strtoul(std::string(page_hex.substr(4, 4)).c_str(), nullptr, 16));
}

}  // namespace modemsim
