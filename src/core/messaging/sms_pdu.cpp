#include "messaging/sms_pdu.h"

namespace kivo {
namespace {

constexpr std::size_t kMaxNumberDigits = 20;

constexpr std::uint8_t kSubmitRelativeValidity = 0x11;
constexpr std::uint8_t kInternationalNumber = 0x91;
constexpr std::uint8_t kNationalNumber = 0xA1;
constexpr std::uint8_t kGsm7Coding = 0x00;
constexpr std::uint8_t kUcs2Class0Coding = 0x18;
constexpr std::uint8_t kLongestValidity = 0xFF;

void append_octet(std::string& hex, std::uint8_t octet) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  hex += kDigits[octet >> 4];
  hex += kDigits[octet & 0x0F];
}

// Every field before the user data length.
std::string submit_header(const SmsAddress& to, std::uint8_t coding) {
  std::string hex;
  append_octet(hex, 0x00);  // the modem's stored service centre
  append_octet(hex, kSubmitRelativeValidity);
  append_octet(hex, 0x00);  // message reference: the modem sets it
  append_octet(hex, static_cast<std::uint8_t>(to.digits.size()));
  append_octet(hex, to.international ? kInternationalNumber : kNationalNumber);
  // Swapped semi-octets, an F filling the last octet of an odd count.
  for (std::size_t i = 0; i < to.digits.size(); i += 2) {
    hex += i + 1 < to.digits.size() ? to.digits[i + 1] : 'F';
    hex += to.digits[i];
  }
  append_octet(hex, 0x00);  // protocol identifier
  append_octet(hex, coding);
  append_octet(hex, kLongestValidity);
  return hex;
}

}  // namespace

std::optional<SmsAddress> parse_sms_number(std::u16string_view typed) {
  SmsAddress address;
  address.international = !typed.empty() && typed.front() == u'+';
  if (address.international) typed.remove_prefix(1);
  if (typed.empty() || typed.size() > kMaxNumberDigits) return std::nullopt;
  for (char16_t c : typed) {
    if (c < u'0' || c > u'9') return std::nullopt;
    address.digits += static_cast<char>(c);
  }
  return address;
}

std::vector<std::uint8_t> pack_septets(const std::vector<std::uint8_t>& septets) {
  std::vector<std::uint8_t> octets((septets.size() * 7 + 7) / 8, 0);
  std::size_t bit = 0;
  for (std::uint8_t septet : septets) {
    const unsigned value = septet & 0x7Fu;
    const std::size_t index = bit / 8;
    const unsigned shift = bit % 8;
    octets[index] = static_cast<std::uint8_t>(octets[index] | (value << shift));
    if (shift > 1) octets[index + 1] = static_cast<std::uint8_t>(value >> (8 - shift));
    bit += 7;
  }
  return octets;
}

std::string gsm7_submit_pdu(const SmsAddress& to, const std::vector<std::uint8_t>& septets) {
  std::string hex = submit_header(to, kGsm7Coding);
  append_octet(hex, static_cast<std::uint8_t>(septets.size()));
  for (std::uint8_t octet : pack_septets(septets)) append_octet(hex, octet);
  return hex;
}

std::string ucs2_submit_pdu(const SmsAddress& to, std::u16string_view text) {
  std::string hex = submit_header(to, kUcs2Class0Coding);
  append_octet(hex, static_cast<std::uint8_t>(text.size() * 2));
  for (char16_t unit : text) {
    append_octet(hex, static_cast<std::uint8_t>(unit >> 8));
    append_octet(hex, static_cast<std::uint8_t>(unit & 0xFF));
  }
  return hex;
}

}  // namespace kivo
