// A restarting modem leaves the bus and comes back on a new port, as a USB modem does.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "modemsim_process.h"
#include "termios_serial_port.h"

namespace kivo {
namespace {

using integration::ModemsimProcess;

std::string link_target(const std::string& link) {
  char target[256];
  long n = readlink(link.c_str(), target, sizeof target);
  return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : "";
}

// Waits (10 s at most, as a guard) until the link is there or gone.
bool wait_for_link(const std::string& link, bool present) {
  for (int i = 0; i < 1000; ++i) {
    if ((access(link.c_str(), F_OK) == 0) == present) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

std::string exchange(SerialPort& port, const std::string& command) {
  EXPECT_TRUE(port.write(command.data(), command.size(), 1000));
  std::string all;
  std::uint8_t buffer[256];
  while (all.size() < 4 || all.compare(all.size() - 4, 4, "OK\r\n") != 0) {
    long n = port.read_burst(buffer, sizeof buffer);
    if (n <= 0) break;
    all.append(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(n));
  }
  return all;
}

TEST(ModemsimReenumeration, TheLinkVanishesAndComesBackToANewPortWithAFreshSession) {
  const std::string link = "/tmp/modemsim-reenumerated-" + std::to_string(getpid());
  ModemsimProcess modem("set reenumerate_ms 1000\n", {"--link", link});
  ASSERT_FALSE(modem.pty().empty());
  auto old_port = TermiosSerialPortOpener().open(link.c_str());
  ASSERT_TRUE(old_port);
  ASSERT_EQ(old_port->start_listening(), 0u);
  EXPECT_EQ(exchange(*old_port, "ATE0\r\n"), "ATE0\r\n\r\nOK\r\n");

  // The old port, still held open, gives its last answer and then the end of the device.
  EXPECT_EQ(exchange(*old_port, "AT+CFUN=6\r\n"), "\r\nOK\r\n");
  std::uint8_t buffer[64];
  EXPECT_EQ(old_port->read_burst(buffer, sizeof buffer), -1);
  EXPECT_TRUE(wait_for_link(link, false));
  ASSERT_TRUE(wait_for_link(link, true));
  EXPECT_NE(link_target(link), modem.pty());

  auto port = TermiosSerialPortOpener().open(link.c_str());
  ASSERT_TRUE(port);
  ASSERT_EQ(port->start_listening(), 0u);
  EXPECT_EQ(exchange(*port, "ATE0\r\n"), "ATE0\r\n\r\nOK\r\n");  // echo is on again
  modem.control("set rssi 5");
  EXPECT_EQ(exchange(*port, "AT+CSQ\r\n"), "\r\n+CSQ: 5,99\r\n\r\nOK\r\n");
  EXPECT_EQ(modem.transcript(), "ATE0\\r\\n\nAT+CFUN=6\\r\\n\nATE0\\r\\n\nAT+CSQ\\r\\n");
}

}  // namespace
}  // namespace kivo
