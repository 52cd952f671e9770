#include "status/signal_log.h"

#include "status/cell_broadcast.h"
#include "status/network_fixture.h"
#include "status/network_mode.h"
#include "status/registration.h"
#include "status/signal.h"
#include "status/technology.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using test::Entries;

constexpr char kPath[] = "C:\\logs\\radio.csv";

struct SignalLogTest : test::NetworkTest {
  SignalLogTest() {
    reset_network_state(network);
    clock.set(2009, 3, 7, 14, 5, 9);
  }
  // A row with the readings at their start values but for the signal and technology.
  static std::string row(const char* message, int rssi = 99, const char* rat = "") {
    return "\"2009/03/07\",\"14:05:09\",0,\"" + std::string(message) + "\"," +
           std::to_string(rssi) + ",\"" + rat + "\",0,0000,00000000,0\r\n";
  }
  std::string& log() { return files.files[kPath]; }
  void start_logging() {
    network.signal_log_path.set(kPath);
    network.signal_log_active = true;
  }
};

TEST_F(SignalLogTest, HeaderAndRowsByteForByte) {
  EXPECT_EQ(kSignalLogHeader.size(), 103u);
  EXPECT_EQ(std::string(kSignalLogHeader),
            "\"DATE\",\"TIME\",\"MESSAGEID\",\"MESSAGE\",\"RSSI\",\"RAT\",\"MCC/MNC\",\"LAC(HEX)\","
            "\"RNC/CELLID(HEX)\",\"CELLID(DEC)\"\r\n");
  const struct {
    std::int32_t id;
    const char* message;
    std::int32_t rssi;
    const char* rat;
    std::uint32_t operator_code, lac, cell_id;
    const char* row;
  } rows[] = {
      {0, "LOGGING STARTED", 99, "", 0, 0, 0,
       "\"2009/03/07\",\"14:05:09\",0,\"LOGGING STARTED\",99,\"\",0,0000,00000000,0\r\n"},
      {50, "Area 021", 17, "HSDPA", 65501, 0xA1, 0x1B2C3D4,
       "\"2009/03/07\",\"14:05:09\",50,\"Area 021\",17,\"HSDPA\",65501,00A1,01B2C3D4,50132\r\n"},
      // Quotes inside the texts are doubled, so the row stays one CSV record.
      {0, "say \"hi\"", 5, "U\"MTS", 310410, 0x12345, 0x1234,
       "\"2009/03/07\",\"14:05:09\",0,\"say \"\"hi\"\"\",5,\"U\"\"MTS\",310410,12345,00001234,"
       "4660\r\n"},
  };
  for (const auto& r : rows) {
    network.snapshot.rssi = r.rssi;
    network.snapshot.rat_text.set(r.rat);
    network.snapshot.operator_code = r.operator_code;
    network.snapshot.lac = r.lac;
    network.snapshot.cell_id = r.cell_id;
    EXPECT_EQ(format_signal_log_row(clock.now, r.id, r.message, network.snapshot), r.row);
  }
}

TEST_F(SignalLogTest, ALongMessageIsCutAndTheRowStillEndsInItsQuoteAndLineEnd) {
  const std::string tail = "\",99,\"\",0,0000,00000000,0\r\n";
  for (char filler : {'x', '"'}) {
    const std::string row =
        format_signal_log_row(clock.now, 0, std::string(2000, filler), network.snapshot);
    EXPECT_GE(row.size(), kSignalLogRowLimit - 1);
    EXPECT_LE(row.size(), kSignalLogRowLimit);
    ASSERT_EQ(row.substr(row.size() - tail.size()), tail);
    // A doubled quote is never split: the message keeps an even number of them.
    const std::size_t start = row.find(",0,\"") + 4;
    const std::string message = row.substr(start, row.size() - tail.size() - start);
    if (filler == '"') {
      EXPECT_EQ(message.size() % 2, 0u);
    }
  }
}

TEST_F(SignalLogTest, StartingAndStoppingWritesTheFileAndTheButton) {
  // Cancelled: nothing changes, and the worker still reports that it is done.
  toggle_signal_log(context);
  EXPECT_EQ(journal.take(),
            (Entries{"save file Create New Or Choose Existing Log File|Comma Separated Values "
                     "Files|*.csv|CSV|kivo_log.csv",
                     "post 1"}));
  EXPECT_TRUE(files.files.empty());

  // A new file gets the header, then the start row.
  view.save_file_choice = kPath;
  toggle_signal_log(context);
  EXPECT_TRUE(network.signal_log_active);
  EXPECT_EQ(log(), std::string(kSignalLogHeader) + row("LOGGING STARTED"));
  EXPECT_EQ(journal.take().back(), "post 1");
  EXPECT_EQ(view.texts[IDC_SIGNAL_LOG], "Stop Logging");

  toggle_signal_log(context);
  EXPECT_FALSE(network.signal_log_active);
  EXPECT_EQ(view.texts[IDC_SIGNAL_LOG], "Start Logging");
  EXPECT_EQ(journal.take(), (Entries{"text 1024 \"Start Logging\"", "post 1"}));

  // An existing file is appended to without a header; known area information follows the start.
  network.cell_info_text.set("Claremont");
  log() = "old\r\n";
  toggle_signal_log(context);
  EXPECT_EQ(journal.take().front(),
            "save file Create New Or Choose Existing Log File|Comma Separated Values "
            "Files|*.csv|CSV|" +
                std::string(kPath));
  EXPECT_EQ(log(), "old\r\n" + row("LOGGING STARTED") + row("Claremont"));
  toggle_signal_log(context);
  EXPECT_EQ(log(), "old\r\n" + row("LOGGING STARTED") + row("Claremont") + row("LOGGING STOPPED"));

  // A file that can be neither opened nor created leaves logging off and the button as it was.
  journal.take();
  files.files.clear();
  files.uncreatable.insert(kPath);
  view.texts.clear();
  toggle_signal_log(context);
  EXPECT_FALSE(network.signal_log_active);
  EXPECT_EQ(journal.take(),
            (Entries{"save file Create New Or Choose Existing Log File|Comma Separated Values "
                     "Files|*.csv|CSV|" +
                         std::string(kPath),
                     "box Unable to create log file.", "post 1"}));
}

TEST_F(SignalLogTest, ReadingsWriteTheirRowsOnlyWhileLogging) {
  show_signal(context, 5);
  EXPECT_TRUE(files.files.empty());
  start_logging();
  show_signal(context, 17);
  show_signal(context, 17);  // unchanged: no row
  // Every technology report writes a row, the same one twice included, from either way out of
  // the mode table; the Novatel mode read sets the technology without one.
  show_mode(context, 5, 5);
  show_mode(context, 5, 5);
  show_mode(context, 3, 1);
  modem.answer("AT$NWRAT?", "$NWRAT: 0,2,6\r\n\r\nOK\r\n");
  read_mode_novatel(context);
  query_rat_novatel(context);
  RegistrationReport cell;
  cell.stat = 1;
  cell.lac = 0xA1;
  show_registration(context, cell);
  EXPECT_EQ(log(),
            row("RSSI", 17) + row("RAT", 17, "HSDPA") + row("RAT", 17, "HSDPA") +
                row("RAT", 17, "Unknown (3,1)") + row("RAT", 17, "EDGE") +
                "\"2009/03/07\",\"14:05:09\",0,\"CELLID\",17,\"EDGE\",0,00A1,00000000,0\r\n");
}

TEST_F(SignalLogTest, BroadcastPagesAreShownKeptAndLogged) {
  CellBroadcastPage page;
  page.serial_number = 0x4025;
  page.message_identifier = 60;
  page.dcs = 1;
  page.page = 1;
  page.pages = 2;
  std::snprintf(page.text, sizeof page.text, "Claremont");
  network.snapshot.operator_code = 65501;
  start_logging();
  on_cell_broadcast(context, page);
  page.message_identifier = 50;  // not the area channel on this network
  std::snprintf(page.text, sizeof page.text, "News");
  on_cell_broadcast(context, page);
  EXPECT_EQ(journal.take(),
            (Entries{"append 1021 2009/03/07 14:05:09, Serial Number: 16421,\r\nMessage "
                     "Identifier: 60, DCS: 1, Page 1/2\r\nClaremont",
                     "text 1028 \"Claremont\"", "enable 1023 1", "enable 1022 1",
                     "append 1021 \r\n\r\n2009/03/07 14:05:09, Serial Number: 16421,\r\nMessage "
                     "Identifier: 50, DCS: 1, Page 1/2\r\nNews",
                     "enable 1023 1", "enable 1022 1"}));
  EXPECT_EQ(network.cell_info_text.get(), "Claremont");
  EXPECT_EQ(log(),
            "\"2009/03/07\",\"14:05:09\",60,\"Claremont\",99,\"\",65501,0000,00000000,0\r\n"
            "\"2009/03/07\",\"14:05:09\",50,\"News\",99,\"\",65501,0000,00000000,0\r\n");
  // After Clear the next page starts at the top again.
  clear_broadcast_box(context);
  on_cell_broadcast(context, page);
  EXPECT_EQ(journal.take()[3].substr(0, 22), "append 1021 2009/03/07");
}

TEST(AreaInformation, TheChannelDependsOnTheNetwork) {
  const struct {
    std::uint16_t channel;
    std::uint32_t operator_code;
    bool area;
  } cases[] = {{50, 0, true},       {50, 65507, true},   {50, 65501, false}, {50, 65510, false},
               {60, 65501, true},   {60, 65510, false},  {60, 1, false},     {250, 65510, true},
               {250, 65501, false}, {250, 65507, false}, {51, 65507, false}};
  for (const auto& c : cases)
    EXPECT_EQ(is_area_information(c.channel, c.operator_code), c.area)
        << c.channel << " on " << c.operator_code;
}

}  // namespace
}  // namespace kivo
