#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "modemsim_process.h"
#include "termios_serial_port.h"

namespace kivo {
namespace {

using integration::ModemsimProcess;

// Failure guard only: every wait below normally ends in milliseconds.
constexpr auto kGuard = std::chrono::seconds(10);

std::string read_one(SerialPort& port) {
  std::uint8_t buffer[2048];
  long n = port.read_burst(buffer, sizeof buffer);
  return n > 0 ? std::string(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(n)) : "";
}

// Reads bursts until the text read so far ends with `end`; the bursts as they came.
std::vector<std::string> read_until(SerialPort& port, const std::string& end) {
  std::vector<std::string> bursts;
  std::string all;
  while (all.size() < end.size() || all.compare(all.size() - end.size(), end.size(), end) != 0) {
    std::string burst = read_one(port);
    if (burst.empty()) break;
    bursts.push_back(burst);
    all += burst;
  }
  return bursts;
}

std::string exchange(SerialPort& port, const std::string& command) {
  EXPECT_TRUE(port.write(command.data(), command.size(), 1000));
  std::string all;
  for (const std::string& burst : read_until(port, "\r\n")) all += burst;
  return all;
}

class TermiosPortTest : public ::testing::Test {
 protected:
  void start(const std::string& scenario = "", std::vector<std::string> arguments = {}) {
    modem = std::make_unique<ModemsimProcess>(scenario, arguments);
    ASSERT_FALSE(modem->pty().empty());
    port = TermiosSerialPortOpener().open(modem->pty().c_str());
    ASSERT_TRUE(port);
    ASSERT_EQ(port->start_listening(), 0u);
  }

  std::unique_ptr<ModemsimProcess> modem;
  std::unique_ptr<SerialPort> port;
};

TEST_F(TermiosPortTest, ExchangesCommandsWithEchoOnAndThenOff) {
  start();
  // Every byte comes back, the line feed behind the command too.
  EXPECT_EQ(exchange(*port, "AT\r\n"), "AT\r\n\r\nOK\r\n");
  EXPECT_EQ(exchange(*port, "ATE0\r\n"), "ATE0\r\n\r\nOK\r\n");
  EXPECT_EQ(exchange(*port, "AT+CSQ\r\n"), "\r\n+CSQ: 17,99\r\n\r\nOK\r\n");
  EXPECT_EQ(modem->transcript(), "AT\\r\\n\nATE0\\r\\n\nAT+CSQ\\r\\n");
}

TEST_F(TermiosPortTest, AnAnswerSentInTwoPartsIsReadAsTwoBursts) {
  start("on AT+CSQ split 5 gap 50\n");
  exchange(*port, "ATE0\r\n");
  const std::string command = "AT+CSQ\r\n";
  ASSERT_TRUE(port->write(command.data(), command.size(), 1000));
  EXPECT_EQ(read_until(*port, "OK\r\n"),
            (std::vector<std::string>{"\r\n+CS", "Q: 17,99\r\n\r\nOK\r\n"}));
}

TEST_F(TermiosPortTest, AnUnplugSeenWhileReadingGivesMinusOneAndRemovesTheLink) {
  start("", {"--link", "/tmp/modemsim-link-" + std::to_string(getpid())});
  std::string link = "/tmp/modemsim-link-" + std::to_string(getpid());
  ASSERT_TRUE(TermiosSerialPortOpener().open(link.c_str()));
  auto reading = std::async(std::launch::async, [&] {
    std::uint8_t buffer[64];
    return port->read_burst(buffer, sizeof buffer);
  });
  modem->control("unplug");
  ASSERT_EQ(reading.wait_for(kGuard), std::future_status::ready);
  EXPECT_EQ(reading.get(), -1);
  EXPECT_EQ(modem->wait_for_exit(10000), 0);
  EXPECT_NE(access(link.c_str(), F_OK), 0);
}

TEST_F(TermiosPortTest, StopListeningWakesAWaitingReadAndEveryLaterOne) {
  start();
  auto reading = std::async(std::launch::async, [&] {
    std::uint8_t buffer[64];
    return port->read_burst(buffer, sizeof buffer);
  });
  port->stop_listening();
  ASSERT_EQ(reading.wait_for(kGuard), std::future_status::ready);
  EXPECT_EQ(reading.get(), 0);
  std::uint8_t buffer[64];
  EXPECT_EQ(port->read_burst(buffer, sizeof buffer), 0);
}

TEST_F(TermiosPortTest, AWriteTheModemDoesNotTakeTimesOutAndIsDropped) {
  start();
  // Without echo: what of the flood reached the modem is a line it ignores.
  exchange(*port, "ATE0\r\n");
  modem->control("stall on");
  // Far more than a pseudo-terminal buffers.
  std::string flood(4 << 20, 'x');
  EXPECT_FALSE(port->write(flood.data(), flood.size(), 100));
  modem->control("stall off");
  port->purge();
  EXPECT_EQ(exchange(*port, "\r\nAT\r\n"), "\r\nOK\r\n");
}

TEST_F(TermiosPortTest, OpeningAMissingDeviceFails) {
  EXPECT_FALSE(TermiosSerialPortOpener().open("/dev/modemsim-none"));
}

TEST_F(TermiosPortTest, TheModemKeepsItsStateWhileThePortIsClosedAndOpenedAgain) {
  start();
  exchange(*port, "ATE0\r\n");
  port.reset();
  modem->control("set rssi 9");
  port = TermiosSerialPortOpener().open(modem->pty().c_str());
  ASSERT_TRUE(port);
  EXPECT_EQ(exchange(*port, "AT+CSQ\r\n"), "\r\n+CSQ: 9,99\r\n\r\nOK\r\n");
}

}  // namespace
}  // namespace kivo
