#include "ussd_coding.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace modemsim {

namespace {

// Latin-1 of the GSM 7-bit default alphabet; 0 where the character is not Latin-1 (Greek) and at
// the escape.
constexpr unsigned char kDefaultAlphabet[128] = {
    '@',  0xA3, '$', 0xA5, 0xE8, 0xE9, 0xF9, 0xEC, 0xF2, 0xC7, '\n', 0xD8, 0xF8, '\r', 0xC5, 0xE5,
    0,    '_',  0,   0,    0,    0,    0,    0,    0,    0,    0,    0,    0xC6, 0xE6, 0xDF, 0xC9,
    ' ',  '!',  '"', '#',  0xA4, '%',  '&',  '\'', '(',  ')',  '*',  '+',  ',',  '-',  '.',  '/',
    '0',  '1',  '2', '3',  '4',  '5',  '6',  '7',  '8',  '9',  ':',  ';',  '<',  '=',  '>',  '?',
    0xA1, 'A',  'B', 'C',  'D',  'E',  'F',  'G',  'H',  'I',  'J',  'K',  'L',  'M',  'N',  'O',
    'P',  'Q',  'R', 'S',  'T',  'U',  'V',  'W',  'X',  'Y',  'Z',  0xC4, 0xD6, 0xD1, 0xDC, 0xA7,
    0xBF, 'a',  'b', 'c',  'd',  'e',  'f',  'g',  'h',  'i',  'j',  'k',  'l',  'm',  'n',  'o',
    'p',  'q',  'r', 's',  't',  'u',  'v',  'w',  'x',  'y',  'z',  0xE4, 0xF6, 0xF1, 0xFC, 0xE0,
};

constexpr char kExtension[] = "^{}\\[~]|";
constexpr unsigned char kExtensionCodes[] = {0x14, 0x28, 0x29, 0x2F, 0x3C, 0x3D, 0x3E, 0x40};

std::vector<unsigned> septets_of(const std::string& text) {
  std::vector<unsigned> septets;
  for (unsigned char c : text) {
    if (const char* ext = c ? std::strchr(kExtension, c) : nullptr) {
      septets.push_back(0x1B);
      septets.push_back(kExtensionCodes[ext - kExtension]);
      continue;
    }
    unsigned code = '?';
    for (unsigned i = 0; i < 128; ++i)
      if (kDefaultAlphabet[i] == c && (c != 0 || i == 0)) {
        code = i;
        break;
      }
    septets.push_back(code);
  }
  return septets;
}

void put_octet(std::string& hex, unsigned octet) {
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02X", octet & 0xFF);
  hex += digits;
}

}  // namespace

std::string gsm7_packed_hex(const std::string& text) {
  std::vector<unsigned> septets = septets_of(text);
  if (septets.size() % 8 == 7) septets.push_back('\r');
  std::string hex;
  unsigned bits = 0;
  unsigned count = 0;
  for (unsigned septet : septets) {
    bits |= septet << count;
    count += 7;
    for (; count >= 8; count -= 8, bits >>= 8) put_octet(hex, bits);
  }
  if (count > 0) put_octet(hex, bits);
  return hex;
}

std::string ucs2_hex(const std::string& text) {
  std::string hex;
  for (unsigned char c : text) {
    put_octet(hex, 0);
    put_octet(hex, c);
  }
  return hex;
}

}  // namespace modemsim
