#include "status/technology.h"

#include "app/control_ids.h"
#include "status/network_fixture.h"
#include "status/text_cut.h"

namespace kivo {
namespace {

using test::Entries;
using TechnologyTest = test::NetworkTest;

TEST_F(TechnologyTest, HuaweiModeAndSubModeNameTheTechnology) {
  const struct {
    std::uint32_t sys_mode;
    std::uint32_t sub_mode;
    const char* text;
  } modes[] = {{0, 0, ""},
               {0, 1, "GSM"},
               {3, 2, "GPRS"},
               {3, 3, "EDGE"},
               {5, 4, "3G"},
               {5, 5, "HSDPA"},
               {5, 6, "HSUPA"},
               {5, 7, "HSD+UPA"},
               {3, 1, "Unknown (3,1)"},
               {5, 0, "Unknown (5,0)"},
               {0, 2, "Unknown (0,2)"}};
  for (const auto& m : modes) {
    show_mode(context, m.sys_mode, m.sub_mode);
    EXPECT_EQ(journal.take(), Entries{"text 1012 \"" + std::string(m.text) + "\""});
    EXPECT_STREQ(state.network.rat_text, m.text);
  }
}

TEST_F(TechnologyTest, TheSameTechnologyIsShownAgainEachTime) {
  show_mode(context, 5, 7);
  show_mode(context, 5, 7);
  EXPECT_EQ(journal.take().size(), 2u);
}

struct OptionCase {
  const char* octi;
  const char* owcti;
  const char* ohcip;  // nullptr: not asked
  const char* text;
};

TEST_F(TechnologyTest, OptionCombinesTheGsmAndWcdmaSides) {
  const OptionCase cases[] = {
      {"_OCTI: 1,1\r\n\r\nOK\r\n", "_OWCTI: 0\r\n\r\nOK\r\n", nullptr, "GSM"},
      {"_OCTI: 1,2\r\n\r\nOK\r\n", "_OWCTI: 0\r\n\r\nOK\r\n", nullptr, "GPRS"},
      {"_OCTI: 1,3\r\n\r\nOK\r\n", "_OWCTI: 0\r\n\r\nOK\r\n", nullptr, "EDGE"},
      {"_OCTI: 1,0\r\n\r\nOK\r\n", "_OWCTI: 0\r\n\r\nOK\r\n", nullptr, "Unknown"},
      {"_OCTI: 1,0\r\n\r\nOK\r\n", "_OWCTI: 1\r\n\r\nOK\r\n", "_OHCIP: 0\r\n\r\nOK\r\n", "3G"},
      {"_OCTI: 1,0\r\n\r\nOK\r\n", "_OWCTI: 1\r\n\r\nOK\r\n", "_OHCIP: 1\r\n\r\nOK\r\n", "HSDPA"},
      {"_OCTI: 1,0\r\n\r\nOK\r\n", "_OWCTI: 1\r\n\r\nOK\r\n", "_OHCIP: 2\r\n\r\nOK\r\n", "Unknown"},
      {"_OCTI: 1,0\r\n\r\nOK\r\n", "_OWCTI: 1\r\n\r\nOK\r\n", "ERROR\r\n", "Unknown"},
      {"_OCTI: 1,3\r\n\r\nOK\r\n", "_OWCTI: 2\r\n\r\nOK\r\n", nullptr, "HSDPA"},
      {"_OCTI: 1,3\r\n\r\nOK\r\n", "_OWCTI: 3\r\n\r\nOK\r\n", nullptr, "Unknown"},
      {"ERROR\r\n", "ERROR\r\n", nullptr, "Unknown"},
  };
  for (const OptionCase& c : cases) {
    modem.clear_script();
    modem.answer("AT_OCTI?", c.octi);
    modem.answer("AT_OWCTI?", c.owcti);
    if (c.ohcip) modem.answer("AT_OHCIP?", c.ohcip);
    query_rat_option(context);
    Entries expected{"at AT_OCTI?\r\n", "at AT_OWCTI?\r\n"};
    if (c.ohcip) expected.push_back("at AT_OHCIP?\r\n");
    expected.push_back("text 1012 \"" + std::string(c.text) + "\"");
    EXPECT_EQ(journal.take(), expected) << c.octi << c.owcti;
    EXPECT_STREQ(state.network.rat_text, c.text);
  }
}

TEST_F(TechnologyTest, NovatelNamesTheNetworkValue) {
  const struct {
    const char* answer;
    const char* text;
  } cases[] = {
      {"$NWRAT: 0,2,0\r\n\r\nOK\r\n", "No Signal"}, {"$NWRAT: 0,2,2\r\n\r\nOK\r\n", "3G"},
      {"$NWRAT: 0,2,3\r\n\r\nOK\r\n", "HSDPA"},     {"$NWRAT: 1,2,5\r\n\r\nOK\r\n", "GPRS"},
      {"$NWRAT: 1,2,6\r\n\r\nOK\r\n", "EDGE"},      {"$NWRAT: 0,2,4\r\n\r\nOK\r\n", "Unknown 4"},
      {"$NWRAT: 0,2,1\r\n\r\nOK\r\n", "Unknown 1"}};
  for (const auto& c : cases) {
    modem.clear_script();
    modem.answer("AT$NWRAT?", c.answer);
    query_rat_novatel(context);
    EXPECT_EQ(view.text(IDC_TECHNOLOGY), c.text);
    EXPECT_STREQ(state.network.rat_text, c.text);
  }
}

TEST_F(TechnologyTest, AnUnreadableNovatelAnswerChangesNothing) {
  show_mode(context, 5, 5);
  journal.take();
  modem.answer("AT$NWRAT?", "ERROR\r\n");
  query_rat_novatel(context);
  EXPECT_EQ(journal.take(), Entries{"at AT$NWRAT?\r\n"});
  EXPECT_STREQ(state.network.rat_text, "HSDPA");
}

TEST_F(TechnologyTest, SierraWordsInTheProgramsNamesOrAsTheModemWroteThem) {
  const struct {
    const char* answer;
    const char* text;
  } cases[] = {{"*CNTI: 0,GSM\r\n\r\nOK\r\n", "GSM"},
               {"*CNTI: 0,gprs\r\n\r\nOK\r\n", "GPRS"},
               {"*CNTI: 0,Edge\r\n\r\nOK\r\n", "EDGE"},
               {"*CNTI: 0,umts\r\n\r\nOK\r\n", "3G"},
               {"*CNTI: 0,HSDPA\r\n\r\nOK\r\n", "HSDPA"},
               {"*CNTI: 0,HSUPA\r\n\r\nOK\r\n", "HSUPA"},
               {"*CNTI: 0,None\r\n\r\nOK\r\n", "None"},
               {"*CNTI: 0,UMTS", "3G"},
               {"ERROR\r\n", "Unknown"},
               {"*CNTI:0,UMTS\r\n", "Unknown"}};
  for (const auto& c : cases) {
    modem.clear_script();
    modem.answer("AT*CNTI=0", c.answer);
    query_rat_sierra(context);
    EXPECT_EQ(view.text(IDC_TECHNOLOGY), c.text) << c.answer;
    EXPECT_STREQ(state.network.rat_text, c.text);
  }
}

TEST_F(TechnologyTest, ALongSierraWordIsCutToNinetyFiveBytes) {
  modem.answer("AT*CNTI=0", "*CNTI: 0," + std::string(120, 'W') + "\r\n\r\nOK\r\n");
  query_rat_sierra(context);
  EXPECT_EQ(std::string(state.network.rat_text), std::string(95, 'W'));
  EXPECT_EQ(view.text(IDC_TECHNOLOGY), std::string(95, 'W'));
}

TEST(CutAtCharacterBoundary, NeverEndsInsideAUtf8Sequence) {
  EXPECT_EQ(cut_at_character_boundary("abcdef", 4), "abcd");
  EXPECT_EQ(cut_at_character_boundary("abc", 4), "abc");
  // Two-, three- and four-byte characters split at every inner position.
  EXPECT_EQ(cut_at_character_boundary("ab\xC3\xA9", 3), "ab");
  EXPECT_EQ(cut_at_character_boundary("ab\xE2\x82\xAC", 3), "ab");
  EXPECT_EQ(cut_at_character_boundary("ab\xE2\x82\xAC", 4), "ab");
  EXPECT_EQ(cut_at_character_boundary("ab\xF0\x9F\x93\xB6", 5), "ab");
  EXPECT_EQ(cut_at_character_boundary("ab\xF0\x9F\x93\xB6x", 6), "ab\xF0\x9F\x93\xB6");
  // A whole character right before the cut stays.
  EXPECT_EQ(cut_at_character_boundary("a\xC3\xA9xyz", 3), "a\xC3\xA9");
  EXPECT_EQ(cut_at_character_boundary("a\xC3\xA9\xA9z", 3), "a\xC3\xA9");  // then a stray byte
}

TEST(CutAtCharacterBoundary, SingleByteCharacterSetsAreCutAtTheLimit) {
  // Latin-1 "é" then a byte that looks like a UTF-8 continuation: not one sequence of two.
  EXPECT_EQ(cut_at_character_boundary("ab\xE9\xA9z", 3), "ab\xE9");
  EXPECT_EQ(cut_at_character_boundary("ab\xA9\xA9\xA9\xA9z", 4), "ab\xA9\xA9");
}

}  // namespace
}  // namespace kivo
