#include "messaging/sms_pdu.h"

#include <gtest/gtest.h>

#include "messaging/gsm_alphabet.h"
#include "messaging/sms_dialogs.h"
#include "messaging/submit_decoder.h"

namespace kivo {
namespace {

using Septets = std::vector<std::uint8_t>;

TEST(GsmAlphabet, TranslatesToSeptetsAndReplacesWhatItLacks) {
  struct Row {
    std::u16string text;
    Septets septets;
    std::size_t replaced;
  };
  const Row rows[] = {
      {u"Hi@$_", {0x48, 0x69, 0x00, 0x02, 0x11}, 0},
      {u"\u00A3\u00E9\u00DF\u00E0\u03A9", {0x01, 0x05, 0x1E, 0x7F, 0x15}, 0},
      // The extension table: escape, then the code.
      {u"[\u20AC]", {0x1B, 0x3C, 0x1B, 0x65, 0x1B, 0x3E}, 0},
      {u"{|}~^\\", {0x1B, 0x28, 0x1B, 0x40, 0x1B, 0x29, 0x1B, 0x3D, 0x1B, 0x14, 0x1B, 0x2F}, 0},
      {u"a`b\t", {0x61, 0x3F, 0x62, 0x3F}, 2},
      // An escape typed by the user is no character; a surrogate pair is one.
      {u"\x1B\U0001F600\u0416", {0x3F, 0x3F, 0x3F}, 3},
  };
  for (const Row& row : rows) {
    const Gsm7Text gsm = to_gsm7(row.text);
    EXPECT_EQ(gsm.septets, row.septets);
    EXPECT_EQ(gsm.replaced, row.replaced);
  }
}

TEST(SmsNumber, DigitsAfterAnOptionalPlusOnly) {
  struct Row {
    std::u16string typed;
    bool valid;
    std::string digits;
    bool international;
  };
  const Row rows[] = {
      {u"+12345", true, "12345", true},
      {u"0821", true, "0821", false},
      {u"+12345678901234567890", true, "12345678901234567890", true},
      {u"123456789012345678901", false, "", false},
      {u"+", false, "", false},
      {u"0821 555", false, "", false},
      {u"12+3", false, "", false},
      {u"*100#", false, "", false},
      {u"\uFF11\uFF12", false, "", false},  // full-width digits
  };
  for (const Row& row : rows) {
    const std::optional<SmsAddress> address = parse_sms_number(row.typed);
    ASSERT_EQ(address.has_value(), row.valid);
    if (!address) continue;
    EXPECT_EQ(address->digits, row.digits);
    EXPECT_EQ(address->international, row.international);
  }
}

TEST(SmsPdu, Gsm7SubmitReadsBackWhole) {
  EXPECT_EQ(gsm7_submit_pdu({kFixedRecipient, true}, to_gsm7(u"Hello").septets),
            "0011000B912120550501F00000FF05C8329BFD06");
  struct Row {
    std::u16string text;
    unsigned length;
    std::size_t octets;
  };
  const Row rows[] = {
      {u"Hello", 5, 5},
      {u"12345678", 8, 7},  // eight septets fill seven octets exactly
      {std::u16string(160, u'x'), 0xA0, 140},
      {std::u16string(80, u'\u20AC'), 160, 140},
  };
  for (const Row& row : rows) {
    const Septets septets = to_gsm7(row.text).septets;
    const test::DecodedSubmit d = test::decode_submit(gsm7_submit_pdu({"12345", true}, septets));
    EXPECT_EQ(d.smsc_length, 0u);
    EXPECT_EQ(d.first_octet, 0x11u);
    EXPECT_EQ(d.address_digits, 5u);
    EXPECT_EQ(d.address_type, 0x91u);
    EXPECT_EQ(d.number, "12345");
    EXPECT_EQ(d.coding, 0x00u);
    EXPECT_EQ(d.validity, 0xFFu);
    EXPECT_EQ(d.user_data_length, row.length);
    EXPECT_EQ(d.user_data_octets, row.octets);
    EXPECT_EQ(d.septets, septets);
  }
}

TEST(SmsPdu, Ucs2SubmitReadsBackWhole) {
  EXPECT_EQ(ucs2_submit_pdu({"12345", true}, u"Hi"), "00110005912143F50018FF0400480069");
  EXPECT_EQ(ucs2_submit_pdu({"0821", false}, u"\u00E9"), "00110004A180120018FF0200E9");
  struct Row {
    SmsAddress to;
    std::u16string text;
    unsigned length;
  };
  const Row rows[] = {
      {{"0821", false}, u"\u041F\u0440\u0438\u0432\u0435\u0442", 12},
      {{"12025550100", true}, std::u16string(70, u'\u00FC'), 0x8C},
  };
  for (const Row& row : rows) {
    const test::DecodedSubmit d = test::decode_submit(ucs2_submit_pdu(row.to, row.text));
    EXPECT_EQ(d.address_digits, row.to.digits.size());
    EXPECT_EQ(d.address_type, row.to.international ? 0x91u : 0xA1u);
    EXPECT_EQ(d.number, row.to.digits);
    EXPECT_EQ(d.coding, 0x18u);
    EXPECT_EQ(d.user_data_length, row.length);
    EXPECT_EQ(d.user_data_octets, row.length);
    EXPECT_EQ(d.ucs2, row.text);
  }
}

}  // namespace
}  // namespace kivo
