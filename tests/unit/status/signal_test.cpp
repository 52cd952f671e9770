#include "status/signal.h"

#include <climits>

#include "status/network_fixture.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using test::Entries;
using SignalTest = test::NetworkTest;

TEST(ParseCsq, ReadsRssiAndBerBehindThePrefixOnly) {
  std::uint32_t rssi = 7;
  std::uint32_t ber = 7;
  for (const char* text : {"", "OK\r\n", "ERROR\r\n", "+CSQ", " +CSQ: 17,99"})
    EXPECT_FALSE(parse_csq(text, rssi, ber)) << text;
  const struct {
    const char* text;
    std::uint32_t rssi, ber;
  } rows[] = {
      {"+CSQ: 17,99\r\n\r\nOK\r\n", 17, 99},
      {"+CSQ:4,0\r\n\r\nOK\r\n", 4, 0},  // no blank behind the colon
      {"+CSQ:31,99", 31, 99},
  };
  for (const auto& row : rows) {
    ASSERT_TRUE(parse_csq(row.text, rssi, ber)) << row.text;
    EXPECT_EQ(rssi, row.rssi) << row.text;
    EXPECT_EQ(ber, row.ber) << row.text;
  }
}

TEST_F(SignalTest, EachValueHasItsTextColourAndBarPosition) {
  const struct {
    std::int32_t value;
    const char* text;
    const char* colour;  // 0x00BBGGRR
    int position;
  } rows[] = {
      {0, "<=-113dBm", "0000FF", 0},  {1, "-111dBm", "0000FF", 1},   {9, "-95dBm", "0000FF", 9},
      {10, "-93dBm", "00CCFF", 10},   {14, "-85dBm", "00CCFF", 14},  {15, "-83dBm", "00FF00", 15},
      {19, "-75dBm", "00FF00", 19},   {20, "-73dBm", "FF0000", 20},  {30, "-53dBm", "FF0000", 30},
      {31, ">=-51dBm", "FF0000", 31}, {32, "-49dBm", "FF0000", 32},  {100, "87dBm", "FF0000", 100},
      {99, "", "0000FF", 0},          {-1, "-115dBm", "0000FF", -1},
  };
  for (const auto& row : rows) {
    network.snapshot.rssi = 50;
    show_signal(context, row.value);
    EXPECT_EQ(journal.take(), (Entries{"text 1009 \"" + std::string(row.text) + "\"",
                                       "bar colour 1011 " + std::string(row.colour),
                                       "bar position 1011 " + std::to_string(row.position)}))
        << row.value;
    EXPECT_EQ(network.snapshot.rssi, row.value);
  }
}

TEST_F(SignalTest, AValueFarOutOfScaleIsShownWithoutOverflow) {
  show_signal(context, INT_MIN);
  EXPECT_EQ(view.text(IDC_SIGNAL_VALUE), "-4294967409dBm");
}

TEST_F(SignalTest, AnUnchangedValueChangesNothing) {
  show_signal(context, 99);  // the first reading equals the initial one
  EXPECT_TRUE(journal.take().empty());
  show_signal(context, 17);
  journal.take();
  show_signal(context, 17);
  EXPECT_TRUE(journal.take().empty());
}

TEST_F(SignalTest, PollShowsTheModemsReadingAndIgnoresOtherAnswers) {
  modem.answer("AT+CSQ", "ERROR\r\n");
  modem.answer("AT+CSQ", "+CSQ: 17,99\r\n\r\nOK\r\n");
  poll_signal(context);
  EXPECT_EQ(journal.take(), Entries{"at AT+CSQ\r\n"});
  poll_signal(context);
  EXPECT_EQ(journal.take(), (Entries{"at AT+CSQ\r\n", "text 1009 \"-79dBm\"",
                                     "bar colour 1011 00FF00", "bar position 1011 17"}));
}

}  // namespace
}  // namespace kivo
