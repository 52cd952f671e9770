#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "technology.h"

namespace modemsim {

enum class SimState { Ready, PinWanted, PukWanted, Absent, Failure };

struct PdpContext {
  std::string type = "IP";
  std::string apn;
  bool active = false;
};

// How the network's USSD text goes to the host: as it is (scheme 15), or as the hex digits of its
// GSM 7-bit packed form (scheme 15, as Huawei modems give it) or of UCS2 (scheme 72).
enum class UssdCoding { Plain, Gsm7, Ucs2 };

struct UssdAnswer {
  int status = 0;
  std::string text;
  bool has_text = true;  // false: the bare "+CUSD: <status>" form
  bool silent = false;   // the network never answers
  UssdCoding coding = UssdCoding::Plain;
  int delay_ms = -1;  // -1: `ussd_delay`
};

// What the modem and its network are. It survives a restart; scenarios and the control channel
// change it with `set`.
struct ModemConfig {
  int rssi = 17;
  int ber = 99;
  int registration = 1;  // the +CGREG stat the network grants while the radio is on
  unsigned lac = 0x00a1;
  unsigned ci = 0x01b2c3d4;            // a UTRAN cell: the RNC in the upper 16 bits
  Technology tech = Technology::Umts;  // in use while registered
  std::string operator_code = "65501";
  std::string operator_name = "Simnet ZA";
  std::string operator_short = "Simnet";

  // How the answers are shaped.
  bool location_quotes = true;          // LAC and cell in double quotes
  int ci_digits = 0;                    // 4 or 8; 0: 4 while the cell fits, else 8
  bool location_act = false;            // the location reports end with the <AcT>
  bool registration_blanks = false;     // +CREG/+CGREG fields separated by ", "
  bool csq_blank = true;                // "+CSQ: " rather than "+CSQ:"
  int operator_format = -1;             // the +COPS format the modem answers in; -1: the one asked
  std::string pdp_address = "0.0.0.0";  // the address +CGDCONT? shows

  SimState sim = SimState::Ready;
  bool pin_lock = false;  // the SIM asks for its PIN again after each restart
  std::string pin = "1234";
  std::string puk = "12345678";
  int pin_attempts = 3;
  int puk_attempts = 10;
  int sim_busy = 0;   // how many SIM queries still answer "SIM busy"
  int cnmi_busy = 0;  // how many writes of +CNMI still answer "+CMS ERROR: 500"

  std::string manufacturer = "Modemsim";
  std::string model = "MS-3G100";
  std::string revision = "11.608.02.00.00";
  std::string imei = "356938035643809";
  std::string imsi = "655011234567890";
  std::string iccid = "8927001234567890123";
  std::string serial = "MS3G1000051843";  // what the vendor commands give as the serial number
  std::string hardware = "MS-HW-A1";      // and as the hardware version

  std::map<int, PdpContext> contexts = {{1, {"IP", "internet", false}}};
  int data_cid = 1;   // the context the data connection runs on
  int sms_error = 0;  // 0: the network accepts messages; otherwise the +CMS ERROR code
  unsigned sms_delay_ms = 300;
  unsigned ussd_delay_ms = 300;
  std::map<std::string, UssdAnswer> ussd;
  bool apn_error = false;  // AT+CGDCONT= with an APN answers ERROR
  bool diag_only = false;  // the port ignores AT and speaks only the diagnostic protocol

  // The data connection: the network's pace each way in bytes per second, and how
  // often a modem that reports its traffic does so (0: never).
  unsigned tx_rate = 1500;
  unsigned rx_rate = 12000;
  unsigned flow_interval_ms = 2000;

  // A restart takes the USB device off the bus for this long, and a new port appears; 0: the
  // modem restarts in place, on the same port.
  unsigned reenumerate_ms = 3000;

  std::map<std::string, std::string> vendor;  // the keys a profile adds, with their values
};

// The traffic of the data connection as the modem counts it: since its context came up, or since
// the counters were last cleared.
struct DataCounters {
  std::uint64_t duration_ms = 0;
  std::uint64_t tx_bytes = 0;
  std::uint64_t rx_bytes = 0;
};

// What one report of the traffic tells: the counters, and the rates of the moment in bytes per
// second.
struct FlowSample {
  std::uint32_t duration = 0;  // seconds
  std::uint32_t tx_rate = 0;
  std::uint32_t rx_rate = 0;
  std::uint64_t tx_bytes = 0;
  std::uint64_t rx_bytes = 0;
};

// What a restart resets.
struct ModemSession {
  bool echo = true;
  int cmee = 0;
  int creg_n = 0;
  int cgreg_n = 0;
  int cops_format = 0;
  int cfun = 1;
  int cmgf = 0;
  std::string cnmi = "0,0,0,0,0";
  int cscb_mode = 0;
  std::string cscb_mids;
  std::string cscb_dcss;
  int cusd_n = 0;
  std::string ussd_path;  // the codes and replies of the open USSD session, joined by '>'
  int message_reference = 0;
  int sms_length = -1;                // >= 0 while the text after the SMS prompt is awaited
  std::map<std::string, int> vendor;  // the settings a profile adds
};

}  // namespace modemsim
