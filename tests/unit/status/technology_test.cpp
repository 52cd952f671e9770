#include "status/technology.h"

#include "status/network_fixture.h"
#include "status/text_cut.h"
#include "view/control_ids.h"

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
               {5, 0, "Unknown (5,0)"}};
  for (const auto& m : modes) {
    show_mode(context, m.sys_mode, m.sub_mode);
    EXPECT_EQ(journal.take(), Entries{"text 1012 \"" + std::string(m.text) + "\""});
    EXPECT_EQ(network.snapshot.rat_text.get(), m.text);
  }
}

TEST_F(TechnologyTest, HuaweiSystemInformationGivesModeAndSubMode) {
  const struct {
    const char* answer;
    const char* text;
  } answers[] = {
      {"^SYSINFO:2,3,0,5,1,,4\r\n\r\nOK\r\n", "3G"},
      {"^SYSINFO:2,3,0,3,1,1,3\r\n\r\nOK\r\n", "EDGE"},
      {"^SYSINFO:2,3,0,5\r\n\r\nOK\r\n", "Unknown (5,0)"},  // without a sub-mode
  };
  for (const auto& a : answers) {
    EXPECT_TRUE(show_sysinfo(context, a.answer));
    EXPECT_EQ(journal.take(), (Entries{"text 1012 \"" + std::string(a.text) + "\""}));
  }
  EXPECT_FALSE(show_sysinfo(context, "ERROR\r\n"));
  EXPECT_TRUE(journal.take().empty());
  EXPECT_EQ(network.snapshot.rat_text.get(), "Unknown (5,0)");
}

TEST_F(TechnologyTest, OptionCombinesTheGsmAndWcdmaSides) {
  const struct {
    const char* octi;
    const char* owcti;
    const char* ohcip;  // nullptr: not asked
    const char* text;
  } cases[] = {
      {"_OCTI: 1,1", "_OWCTI: 0", nullptr, "GSM"},
      {"_OCTI: 1,2", "_OWCTI: 0", nullptr, "GPRS"},
      {"_OCTI: 1,3", "_OWCTI: 0", nullptr, "EDGE"},
      {"_OCTI: 1,0", "_OWCTI: 0", nullptr, "Unknown"},
      {"_OCTI: 1,0", "_OWCTI: 1", "_OHCIP: 0", "3G"},
      {"_OCTI: 1,0", "_OWCTI: 1", "_OHCIP: 1", "HSDPA"},
      {"_OCTI: 1,0", "_OWCTI: 1", "_OHCIP: 2", "Unknown"},
      {"_OCTI: 1,0", "_OWCTI: 1", "ERROR", "Unknown"},
      {"_OCTI: 1,3", "_OWCTI: 2", nullptr, "HSDPA"},
      {"_OCTI: 1,3", "_OWCTI: 3", nullptr, "Unknown"},
      {"ERROR", "ERROR", nullptr, "Unknown"},
  };
  const auto answer = [](const char* line) { return std::string(line) + "\r\n\r\nOK\r\n"; };
  for (const auto& c : cases) {
    modem.clear_script();
    modem.answer("AT_OCTI?", answer(c.octi));
    modem.answer("AT_OWCTI?", answer(c.owcti));
    if (c.ohcip) modem.answer("AT_OHCIP?", answer(c.ohcip));
    query_rat_option(context);
    Entries expected{"at AT_OCTI?\r\n", "at AT_OWCTI?\r\n"};
    if (c.ohcip) expected.push_back("at AT_OHCIP?\r\n");
    expected.push_back("text 1012 \"" + std::string(c.text) + "\"");
    EXPECT_EQ(journal.take(), expected) << c.octi << " " << c.owcti;
    EXPECT_EQ(network.snapshot.rat_text.get(), c.text);
  }
}

TEST_F(TechnologyTest, NovatelNamesTheNetworkValueAndIgnoresOtherAnswers) {
  for (auto [answer, text] :
       {std::pair{"$NWRAT: 0,2,0\r\n", "No Signal"}, std::pair{"$NWRAT: 1,2,6\r\n", "EDGE"},
        std::pair{"$NWRAT: 0,2,4\r\n", "Unknown 4"}}) {
    modem.clear_script();
    modem.answer("AT$NWRAT?", answer);
    query_rat_novatel(context);
    EXPECT_EQ(view.text(IDC_TECHNOLOGY), text);
    EXPECT_EQ(network.snapshot.rat_text.get(), text);
  }
  journal.take();
  modem.clear_script();
  modem.answer("AT$NWRAT?", "ERROR\r\n");
  query_rat_novatel(context);
  EXPECT_EQ(journal.take(), Entries{"at AT$NWRAT?\r\n"});
  EXPECT_EQ(network.snapshot.rat_text.get(), "Unknown 4");
}

TEST_F(TechnologyTest, SierraWordsInTheProgramsNamesOrAsTheModemWroteThem) {
  for (auto [answer, text] : {std::pair{"*CNTI: 0,GSM\r\n\r\nOK\r\n", "GSM"},
                              std::pair{"*CNTI: 0,Edge\r\n\r\nOK\r\n", "EDGE"},
                              std::pair{"*CNTI: 0,umts\r\n\r\nOK\r\n", "3G"},
                              std::pair{"*CNTI: 0,HSUPA\r\n\r\nOK\r\n", "HSUPA"},
                              std::pair{"*CNTI: 0,UMTS", "3G"},  // no line end
                              std::pair{"ERROR\r\n", "Unknown"}}) {
    modem.clear_script();
    modem.answer("AT*CNTI=0", answer);
    query_rat_sierra(context);
    EXPECT_EQ(view.text(IDC_TECHNOLOGY), text) << answer;
    EXPECT_EQ(network.snapshot.rat_text.get(), text);
  }
}

TEST_F(TechnologyTest, ALongSierraWordIsCutToNinetyFiveBytes) {
  modem.answer("AT*CNTI=0", "*CNTI: 0," + std::string(120, 'W') + "\r\n\r\nOK\r\n");
  query_rat_sierra(context);
  EXPECT_EQ(network.snapshot.rat_text.get(), std::string(95, 'W'));
  EXPECT_EQ(view.text(IDC_TECHNOLOGY), std::string(95, 'W'));
}

TEST(CutAtCharacterBoundary, NeverEndsInsideAUtf8Sequence) {
  EXPECT_EQ(cut_at_character_boundary("abcdef", 4), "abcd");
  EXPECT_EQ(cut_at_character_boundary("abc", 4), "abc");
  EXPECT_EQ(cut_at_character_boundary("ab\xC3\xA9", 3), "ab");
  EXPECT_EQ(cut_at_character_boundary("ab\xE2\x82\xAC", 4), "ab");
  EXPECT_EQ(cut_at_character_boundary("ab\xF0\x9F\x93\xB6", 5), "ab");
  EXPECT_EQ(cut_at_character_boundary("ab\xF0\x9F\x93\xB6x", 6), "ab\xF0\x9F\x93\xB6");
  EXPECT_EQ(cut_at_character_boundary("a\xC3\xA9\xA9z", 3), "a\xC3\xA9");  // then a stray byte
  // Single-byte character sets: Latin-1 "é" then a byte that merely looks like a continuation.
  EXPECT_EQ(cut_at_character_boundary("ab\xE9\xA9z", 3), "ab\xE9");
  EXPECT_EQ(cut_at_character_boundary("ab\xA9\xA9\xA9\xA9z", 4), "ab\xA9\xA9");
}

}  // namespace
}  // namespace kivo
