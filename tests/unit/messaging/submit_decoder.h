#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kivo::test {

// An SMS-SUBMIT TPDU read back field by field after 3GPP TS 23.040 9.2.2.2 and 9.1.2.5, with
// the user data unpacked after TS 23.038 6.1.2.1.1 (septets) or read as UCS2 (DCS bit 3).
// Written from the standards, not from the encoder, so the two check each other.
struct DecodedSubmit {
  unsigned smsc_length = 0, first_octet = 0, reference = 0;
  unsigned address_digits = 0, address_type = 0;
  std::string number;
  unsigned protocol = 0, coding = 0, validity = 0, user_data_length = 0;
  std::size_t user_data_octets = 0;
  std::vector<std::uint8_t> septets;  // DCS 00
  std::u16string ucs2;                // DCS with bit 3 set
};

inline DecodedSubmit decode_submit(const std::string& hex) {
  std::vector<unsigned> octets;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    octets.push_back(static_cast<unsigned>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  std::size_t at = 0;
  auto next = [&] { return octets.at(at++); };
  DecodedSubmit d;
  d.smsc_length = next();
  at += d.smsc_length;
  d.first_octet = next();
  d.reference = next();
  d.address_digits = next();
  d.address_type = next();
  for (unsigned i = 0; i < (d.address_digits + 1) / 2; ++i) {
    const unsigned octet = next();
    for (unsigned nibble : {octet & 0x0F, octet >> 4})
      if (nibble != 0x0F) d.number += static_cast<char>('0' + nibble);
  }
  d.protocol = next();
  d.coding = next();
  d.validity = next();
  d.user_data_length = next();
  const std::vector<unsigned> data(octets.begin() + static_cast<long>(at), octets.end());
  d.user_data_octets = data.size();
  if (d.coding & 0x08) {
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
      d.ucs2 += static_cast<char16_t>(data[i] << 8 | data[i + 1]);
    return d;
  }
  for (unsigned s = 0; s < d.user_data_length; ++s) {
    unsigned septet = 0;
    for (unsigned bit = 0; bit < 7; ++bit) {
      const unsigned position = s * 7 + bit;
      septet |= ((data.at(position / 8) >> (position % 8)) & 1u) << bit;
    }
    d.septets.push_back(static_cast<std::uint8_t>(septet));
  }
  return d;
}

}  // namespace kivo::test
