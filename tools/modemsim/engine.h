#pragma once

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "input_framer.h"
#include "modem_model.h"
#include "output_queue.h"
#include "scenario.h"
#include "transcript.h"

namespace modemsim {

// The simulated modem as its port sees it: bytes in, timed bytes out, shaped by the scenario's
// rules and steps. Knows nothing of the pseudo-terminal; the caller passes the time.
class Engine {
 public:
  // `transcript` may be null.
  Engine(const Profile& profile, Transcript* transcript);

  // Takes one scenario or control line. Timed steps of a scenario file (`from_file`) count
  // from the first byte the host sends; those of the control channel from now. Returns an
  // empty text, or what is wrong with the line.
  std::string apply(std::string_view line, Millis now, bool from_file);

  // Bytes the host wrote to the port.
  void receive(std::string_view bytes, Millis now);

  // Runs the timed steps that are due.
  void advance(Millis now);
  // When the next timed step is due.
  std::optional<Millis> next_step_time() const;

  // A restart with `reenumerate_ms` set takes the USB device off the bus, as a real one does:
  // the port goes half a second after the answer before the restart, and a new port is due
  // `reenumerate_ms` later. Until then the modem hears and says nothing. The caller closes and
  // opens the port; the engine says when (next_step_time() includes both).
  bool ready_to_leave(Millis now) const;
  void detach(Millis now);
  std::optional<Millis> reattach_time() const { return back_at_; }
  void reattach() { back_at_.reset(); }

  OutputQueue& output() { return output_; }
  bool unplugged() const { return unplugged_; }
  bool stalled() const { return stalled_; }

 private:
  struct Timed {
    Millis due = 0;
    bool waits_for_contact = false;  // due counts from the host's first byte, still to come
    unsigned delay_ms = 0;
    unsigned period_ms = 0;  // 0: once
    Step step;
  };

  // Returns an empty text, or what is wrong with the step.
  std::string run_step(const Step& step, Millis now);
  // Keeps the flow reports in step with the data connection: the first comes one interval after
  // it is up, none come while it is down.
  void follow_data_connection(Millis now);
  void send_flow_reports(Millis now);
  void send_flood(Millis now);
  void queue_garbage(std::size_t count, Millis now);
  void handle(const Unit& unit, Millis now);
  void handle_command(const Unit& unit, Millis now);
  void handle_frame(const Unit& unit, Millis now);
  void handle_diag(const Unit& unit, Millis now);
  void handle_sms(const Unit& unit, Millis now);
  // The first rule that matches the command, used up by one.
  const Rule* match(std::string_view command);
  // Queues an answer as the rule shapes it, then whatever the model has to say unasked.
  void send_answer(std::string echo, std::string answer, const Rule* rule, Millis now);
  void send_unsolicited(Millis now);
  // Notices a restart of the model; one that re-enumerates starts the device's leaving.
  void follow_restarts(Millis now);
  bool on_bus() const { return !leave_at_ && !back_at_; }
  // Sends back what the host wrote, as a modem with echo on does with every byte. The echo goes
  // out with the next answer of the same read, or on its own at the end of the read.
  void echo_back(const std::string& raw);
  void flush_echo(Millis now);
  std::string garbage(std::size_t count);
  void note(std::string_view shown);

  ModemModel model_;
  InputFramer framer_;
  OutputQueue output_;
  Transcript* transcript_;
  std::vector<Rule> rules_;
  std::vector<Timed> timed_;
  std::optional<Millis> first_contact_;
  std::optional<Millis> next_flow_;
  // Traffic reports far faster than the modem's interval, each moving the counters on by its
  // own share of a second, so that the last one still adds up.
  struct Flood {
    Millis next = 0;
    unsigned interval_ms = 1;
    std::size_t left = 0;
  };
  std::optional<Flood> flood_;
  std::string pending_echo_;
  std::optional<Millis> leave_at_;
  std::optional<Millis> back_at_;
  unsigned restarts_seen_ = 0;
  std::minstd_rand noise_;
  bool silenced_ = false;
  bool trickle_ = false;  // answers one byte per write
  bool stalled_ = false;
  bool unplugged_ = false;
};

}  // namespace modemsim
