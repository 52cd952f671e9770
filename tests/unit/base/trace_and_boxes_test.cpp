#include <gtest/gtest.h>

#include <string>

#include "base/message_boxes.h"
#include "base/trace.h"
#include "support/fake_message_boxes.h"
#include "support/recording_trace.h"

namespace kivo {
namespace {

TEST(Trace, PrefixesEveryLineAndAddsNoLineEnd) {
  test::RecordingTraceSink sink;
  Trace trace(sink);
  EXPECT_EQ(trace("sent data: %s", "AT\r\n"), 1);
  EXPECT_EQ(trace("value %d", 17), 1);
  ASSERT_EQ(sink.lines().size(), 2u);
  EXPECT_EQ(sink.lines()[0], "KIVO: sent data: AT\r\n");
  EXPECT_EQ(sink.lines()[1], "KIVO: value 17");
}

TEST(Trace, LongTextIsCutToTheLineBuffer) {
  test::RecordingTraceSink sink;
  Trace trace(sink);
  std::string exact(2041, 'a');
  std::string longer(5000, 'b');
  trace("%s", exact.c_str());
  trace("%s", longer.c_str());
  EXPECT_EQ(sink.lines()[0].size(), 2047u);
  EXPECT_EQ(sink.lines()[0], "KIVO: " + exact);
  EXPECT_EQ(sink.lines()[1], "KIVO: " + std::string(2041, 'b'));
}

TEST(Trace, LabelledTextMatchesTheFormattedLineAndIsCutTheSameWay) {
  test::RecordingTraceSink sink;
  Trace trace(sink);
  std::string longer(5000, 'c');
  trace.labelled("received data: ", "OK\r\nrest", 4);
  trace.labelled("received data: ", longer.data(), longer.size());
  trace("received data: %s", longer.c_str());
  EXPECT_EQ(sink.lines()[0], "KIVO: received data: OK\r\n");
  EXPECT_EQ(sink.lines()[1].size(), 2047u);
  EXPECT_EQ(sink.lines()[1], sink.lines()[2]);
}

TEST(ErrorBox, ShowsAnUnownedErrorBoxCaptionedKivo) {
  test::FakeMessageBoxes boxes;
  EXPECT_EQ(error_box(boxes, "SetCommMask failed with error %d.\n", 5), 1);
  ASSERT_EQ(boxes.shown().size(), 1u);
  const auto box = boxes.shown()[0];
  EXPECT_EQ(box.text, "SetCommMask failed with error 5.\n");
  EXPECT_EQ(box.caption, "KIVO");
  EXPECT_EQ(box.icon, BoxIcon::Error);
  EXPECT_EQ(box.owner, BoxOwner::None);
  EXPECT_EQ(box.buttons, BoxButtons::Ok);
}

TEST(ErrorBox, LongTextIsCutWithItsTerminator) {
  test::FakeMessageBoxes boxes;
  std::string longer(3000, 'x');
  error_box(boxes, "%s", longer.c_str());
  EXPECT_EQ(boxes.shown()[0].text.size(), 2047u);
}

}  // namespace
}  // namespace kivo
