#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "modem_state.h"
#include "profile.h"

namespace modemsim {

// An unsolicited output: bytes to send on their own, `delay_ms` after the exchange that made it.
struct Unsolicited {
  unsigned delay_ms = 0;
  std::string bytes;
};

// The modem without its port: command lines in, answer bytes out, and the state in between.
class ModemModel {
 public:
  explicit ModemModel(const Profile& profile);

  // Runs one command line (without its line end) and returns the answer, framed as V.25ter
  // wants ("\r\n<line>\r\n" per line, then the final result). A line that does not begin
  // with "AT" gets no answer.
  std::string execute(std::string_view line);

  // True after the SMS prompt, until finish_sms().
  bool awaiting_sms_body() const { return session_.sms_length >= 0; }
  // The text typed after the prompt, ended by ctrl-Z (sent) or ESC (`cancelled`). Returns the
  // immediate answer; the network's verdict follows as unsolicited output.
  std::string finish_sms(std::string_view body, bool cancelled);

  // Changes the modem or its network ("rssi", "registration", ...). An empty result on
  // success, otherwise what is wrong.
  std::string set(std::string_view key, std::string_view value);
  void define_ussd(std::string code, UssdAnswer answer);

  // Power cycle: the session settings return to their start values; the configuration stays.
  // The profile may then have something to say.
  void restart();
  // How many restarts there have been.
  unsigned restarts() const { return restarts_; }

  // The unsolicited output collected since the last call.
  std::vector<Unsolicited> take_unsolicited();

  // The data connection is its context (`data_cid`, 1 unless set) being active. `connect` brings it
  // up as a dialer does, which needs a registration (an empty result, or what is wrong);
  // `disconnect` drops it without a word, as a network that lets the connection go. A connection
  // that comes up, by these or by a command, counts its traffic from zero.
  std::string connect();
  void disconnect();
  bool data_connected() const;
  // One flow interval of the connection: the counters move on by the interval's worth of each
  // rate, and the profile's report of them comes back framed (empty when it reports nothing).
  std::string flow_tick(std::uint64_t interval_ms);
  std::string flow_tick() { return flow_tick(config_.flow_interval_ms); }
  // The next report shows these rates instead of the network's; the counters keep their pace.
  void spike(std::uint32_t tx_rate, std::uint32_t rx_rate);
  DataCounters& counters() { return counters_; }

  bool echo() const { return session_.echo; }
  bool diag_only() const { return config_.diag_only; }
  const Profile& profile() const { return profile_; }

  // For command handlers and reports.
  ModemConfig& config() { return config_; }
  ModemSession& session() { return session_; }
  // The session settings of a freshly started modem of this profile.
  ModemSession start_session() const;
  Registration registration() const;
  bool registered() const;  // home or roaming
  // The technology in use; None while not registered.
  Technology technology() const;
  // Moves to a technology that a new network-mode setting allows.
  void follow_radio_mode();
  NetworkView view() const;
  // The +CME error of a SIM that cannot serve a request, or 0 when it is ready.
  int sim_error() const;
  // Queues "\r\n<line>\r\n" as unsolicited output.
  void queue_line(unsigned delay_ms, std::string line);
  // Restarts the modem once the current answer has been sent.
  void restart_after_answer() { restart_pending_ = true; }

 private:
  Reply run(const Command& command);
  std::string final_text(const Reply& reply) const;
  // Lets the reports speak about what changed since the last time.
  void report_changes();
  // Starts the counters from zero when the data connection has just come up.
  void follow_data_connection();

  const Profile& profile_;
  ModemConfig config_;
  ModemSession session_;
  NetworkView reported_;
  bool restart_pending_ = false;
  unsigned restarts_ = 0;
  std::vector<Unsolicited> unsolicited_;
  bool data_was_connected_ = false;
  DataCounters counters_;
  std::optional<FlowSample> spike_;  // only its rates count
};

}  // namespace modemsim
