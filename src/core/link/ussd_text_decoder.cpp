#include "link/ussd_text_decoder.h"

#include "link/number_reader.h"

namespace kivo {

namespace {

enum class Alphabet { AsReceived, Gsm7, Ucs2 };

struct Coding {
  Alphabet alphabet = Alphabet::AsReceived;
  std::size_t skip = 0;  // leading septets (GSM 7-bit) or octets (UCS2) naming the language
};

// The CBS data coding schemes of 3GPP TS 23.038, section 5.
Coding coding_of(std::uint32_t dcs) {
  if (dcs > 0xFF) return {};
  const std::uint32_t group = dcs >> 4;
  const std::uint32_t low = dcs & 0x0F;
  switch (group) {
    case 0x0:  // languages in the GSM 7-bit default alphabet
    case 0x2:
    case 0x3:
      return {Alphabet::Gsm7};
    case 0x1:  // preceded by the language: two characters and a CR, or two packed octets
      if (low == 0) return {Alphabet::Gsm7, 3};
      if (low == 1) return {Alphabet::Ucs2, 2};
      return {};
    case 0x4:  // general data coding; bit 5 means compressed, bits 3 and 2 the alphabet
    case 0x5:
    case 0x6:
    case 0x7:
      if (dcs & 0x20) return {};
      if (((dcs >> 2) & 3) == 0) return {Alphabet::Gsm7};
      if (((dcs >> 2) & 3) == 2) return {Alphabet::Ucs2};
      return {};
    case 0xF:  // message class; bit 2 means 8-bit data
      return (dcs & 0x04) ? Coding{} : Coding{Alphabet::Gsm7};
    default:  // user-data header, reserved, WAP
      return {};
  }
}

// The GSM 7-bit default alphabet in Unicode.
constexpr std::uint16_t kGsmDefault[128] = {
    0x40,  0xA3, 0x24, 0xA5,  0xE8, 0xE9,  0xF9,  0xEC,  0xF2,  0xC7,  0x0A,  0xD8,  0xF8,
    0x0D,  0xC5, 0xE5, 0x394, 0x5F, 0x3A6, 0x393, 0x39B, 0x3A9, 0x3A0, 0x3A8, 0x3A3, 0x398,
    0x39E, 0x1B, 0xC6, 0xE6,  0xDF, 0xC9,  0x20,  0x21,  0x22,  0x23,  0xA4,  0x25,  0x26,
    0x27,  0x28, 0x29, 0x2A,  0x2B, 0x2C,  0x2D,  0x2E,  0x2F,  0x30,  0x31,  0x32,  0x33,
    0x34,  0x35, 0x36, 0x37,  0x38, 0x39,  0x3A,  0x3B,  0x3C,  0x3D,  0x3E,  0x3F,  0xA1,
    0x41,  0x42, 0x43, 0x44,  0x45, 0x46,  0x47,  0x48,  0x49,  0x4A,  0x4B,  0x4C,  0x4D,
    0x4E,  0x4F, 0x50, 0x51,  0x52, 0x53,  0x54,  0x55,  0x56,  0x57,  0x58,  0x59,  0x5A,
    0xC4,  0xD6, 0xD1, 0xDC,  0xA7, 0xBF,  0x61,  0x62,  0x63,  0x64,  0x65,  0x66,  0x67,
    0x68,  0x69, 0x6A, 0x6B,  0x6C, 0x6D,  0x6E,  0x6F,  0x70,  0x71,  0x72,  0x73,  0x74,
    0x75,  0x76, 0x77, 0x78,  0x79, 0x7A,  0xE4,  0xF6,  0xF1,  0xFC,  0xE0,
};

constexpr std::uint8_t kEscape = 0x1B;

// The extension table behind the escape; a code without an entry shows as its default character.
std::uint16_t gsm_extension(std::uint8_t septet) {
  switch (septet) {
    case 0x0A:
      return 0x0A;  // page break
    case 0x14:
      return '^';
    case 0x28:
      return '{';
    case 0x29:
      return '}';
    case 0x2F:
      return '\\';
    case 0x3C:
      return '[';
    case 0x3D:
      return '~';
    case 0x3E:
      return ']';
    case 0x40:
      return '|';
    case 0x65:
      return 0x20AC;  // euro sign
    default:
      return kGsmDefault[septet & 0x7F];
  }
}

// Windows-1252 for a Unicode character; 0 when it has none or is a control other than CR, LF.
char to_window_code_page(std::uint16_t c) {
  constexpr std::uint16_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
  };
  if (c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF))
    return static_cast<char>(c);
  for (unsigned i = 0; i < 32; ++i)
    if (kHigh[i] != 0 && kHigh[i] == c) return static_cast<char>(0x80 + i);
  return 0;
}

bool is_letter_or_digit(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 0xC0;
}

unsigned octet_at(std::string_view hex, std::size_t index) {
  return static_cast<unsigned>(hex_digit_value(hex[2 * index]) * 16 +
                               hex_digit_value(hex[2 * index + 1]));
}

// Writes characters while they can be shown; false at the first that cannot.
class Output {
 public:
  Output(char* out, std::size_t capacity) : out_(out), capacity_(capacity) {}
  bool full() const { return length_ == capacity_; }
  bool put(std::uint16_t unicode) {
    const char c = to_window_code_page(unicode);
    if (c == 0) return false;
    seen_letter_or_digit_ = seen_letter_or_digit_ || is_letter_or_digit(c);
    out_[length_++] = c;
    return true;
  }
  std::size_t result() const { return seen_letter_or_digit_ ? length_ : 0; }

 private:
  char* out_;
  std::size_t capacity_;
  std::size_t length_ = 0;
  bool seen_letter_or_digit_ = false;
};

std::size_t decode_gsm7(std::string_view hex, std::size_t skip, Output& output) {
  const std::size_t octets = hex.size() / 2;
  std::size_t septets = octets * 8 / 7;
  // Seven spare bits at the end are padding: a CR (TS 23.038 for USSD) or zero bits.
  if (octets % 7 == 0 && septets > 0) {
    const unsigned last = octet_at(hex, octets - 1) >> 1;
    if (last == 0x0D || last == 0) --septets;
  }
  bool escaped = false;
  for (std::size_t n = skip; n < septets && !output.full(); ++n) {
    const std::size_t bit = n * 7;
    const std::size_t index = bit / 8;
    unsigned value = octet_at(hex, index) >> (bit % 8);
    if (bit % 8 > 1) value |= octet_at(hex, index + 1) << (8 - bit % 8);
    const auto septet = static_cast<std::uint8_t>(value & 0x7F);
    if (escaped) {
      escaped = false;
      if (!output.put(gsm_extension(septet))) return 0;
    } else if (septet == kEscape) {
      escaped = true;
    } else if (!output.put(kGsmDefault[septet])) {
      return 0;
    }
  }
  return output.result();
}

std::size_t decode_ucs2(std::string_view hex, std::size_t skip, Output& output) {
  const std::size_t octets = hex.size() / 2;
  if (octets < skip || (octets - skip) % 2 != 0) return 0;
  for (std::size_t i = skip; i + 1 < octets && !output.full(); i += 2) {
    if (!output.put(static_cast<std::uint16_t>(octet_at(hex, i) << 8 | octet_at(hex, i + 1))))
      return 0;
  }
  return output.result();
}

}  // namespace

std::size_t decode_ussd_hex(std::string_view hex, std::uint32_t dcs, char* out,
                            std::size_t capacity) {
  const Coding coding = coding_of(dcs);
  if (coding.alphabet == Alphabet::AsReceived || hex.empty() || hex.size() % 2 != 0) return 0;
  for (char c : hex)
    if (hex_digit_value(c) < 0) return 0;
  Output output(out, capacity);
  if (coding.alphabet == Alphabet::Gsm7) return decode_gsm7(hex, coding.skip, output);
  return decode_ucs2(hex, coding.skip, output);
}

}  // namespace kivo
