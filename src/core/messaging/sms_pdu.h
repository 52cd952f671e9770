#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivo {

// A destination number: its digits, and whether it was written in international form.
struct SmsAddress {
  std::string digits;
  bool international = false;
};

// The number as the user typed it: digits after an optional '+', at most 20 of them (what an
// address field holds). Anything else is no number.
std::optional<SmsAddress> parse_sms_number(std::u16string_view typed);

// SMS-SUBMIT PDUs in hex text (upper case) for AT+CMGS in PDU mode, with the modem's stored
// service centre and the longest relative validity.
// GSM 7-bit default alphabet: user data length in septets (at most 160), the septets packed.
std::string gsm7_submit_pdu(const SmsAddress& to, const std::vector<std::uint8_t>& septets);
// UCS2, message class 0: each UTF-16 unit (at most 70) as two octets, high first.
std::string ucs2_submit_pdu(const SmsAddress& to, std::u16string_view text);

// Septets packed into octets, least significant bits first (3GPP TS 23.038).
std::vector<std::uint8_t> pack_septets(const std::vector<std::uint8_t>& septets);

}  // namespace kivo
