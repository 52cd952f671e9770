#include "engine.h"

#include <algorithm>
#include <cstdio>

#include "broadcast_pages.h"
#include "diag_frames.h"
#include "escapes.h"

namespace modemsim {
namespace {

// How long a restarting modem stays on the bus after its answer: long enough for the host to
// read the answer whole, as the reset of a real one takes a moment.
constexpr Millis kLeaveAfterMs = 500;

}  // namespace

Engine::Engine(const Profile& profile, Transcript* transcript)
    : model_(profile), transcript_(transcript), noise_(1) {}

std::string Engine::apply(std::string_view line, Millis now, bool from_file) {
  std::string error;
  auto parsed = parse_scenario_line(line, error);
  if (!parsed) return error;
  switch (parsed->kind) {
    case LineKind::Nothing:
      break;
    case LineKind::Rule:
      rules_.push_back(parsed->rule);
      break;
    case LineKind::Ussd:
      model_.define_ussd(parsed->ussd_code, parsed->ussd);
      break;
    case LineKind::Step:
      return run_step(parsed->step, now);
    case LineKind::After:
    case LineKind::Every: {
      if (parsed->step.kind == StepKind::Set) {
        // Tried on a copy, so that a bad key or value shows when the line is read.
        ModemModel trial = model_;
        std::string problem = trial.set(parsed->step.text, parsed->step.value);
        if (!problem.empty()) return problem;
      }
      Timed timed;
      timed.delay_ms = parsed->ms;
      timed.period_ms = parsed->kind == LineKind::Every ? parsed->ms : 0;
      timed.step = parsed->step;
      timed.waits_for_contact = from_file && !first_contact_;
      if (!timed.waits_for_contact) timed.due = (from_file ? *first_contact_ : now) + parsed->ms;
      timed_.push_back(timed);
      break;
    }
  }
  return {};
}

std::string Engine::run_step(const Step& step, Millis now) {
  std::string problem;
  switch (step.kind) {
    case StepKind::Send:
    case StepKind::Raw:
      output_.push({step.text, now, kBurstGapMs});
      break;
    case StepKind::Set:
      problem = model_.set(step.text, step.value);
      break;
    case StepKind::Unplug:
      unplugged_ = true;
      break;
    case StepKind::Silence:
      silenced_ = step.on;
      break;
    case StepKind::Stall:
      stalled_ = step.on;
      break;
    case StepKind::Garbage:
      queue_garbage(step.count, now);
      break;
    case StepKind::Trickle:
      trickle_ = step.on;
      break;
    case StepKind::Flood:
      if (model_.data_connected()) {
        flood_ = Flood{now, static_cast<unsigned>(1000 / step.count), step.count * step.seconds};
      } else {
        problem = "flood needs a data connection";
      }
      break;
    case StepKind::Restart:
      model_.restart();
      break;
    case StepKind::Connect:
      problem = model_.connect();
      break;
    case StepKind::Disconnect:
      model_.disconnect();
      break;
    case StepKind::Spike:
      model_.spike(step.tx_rate, step.rx_rate);
      break;
    case StepKind::Cbm:
      // The network's page reaches the host only through the channels it asked for.
      if (cscb_accepts(model_.session(), page_message_identifier(step.text)))
        output_.push({cbm_report(step.text), now, kBurstGapMs});
      break;
  }
  send_unsolicited(now);
  follow_data_connection(now);
  return problem;
}

void Engine::follow_data_connection(Millis now) {
  if (!model_.data_connected() || model_.config().flow_interval_ms == 0) {
    next_flow_.reset();
  } else if (!next_flow_) {
    next_flow_ = now + model_.config().flow_interval_ms;
  }
}

void Engine::send_flow_reports(Millis now) {
  while (next_flow_ && *next_flow_ <= now) {
    std::string report = model_.flow_tick();
    // A modem that has stopped answering reports nothing either; its counters go on.
    if (!silenced_ && !report.empty()) output_.push({std::move(report), now, kBurstGapMs});
    *next_flow_ += model_.config().flow_interval_ms;
  }
  send_flood(now);
}

void Engine::send_flood(Millis now) {
  while (flood_ && flood_->next <= now) {
    if (!model_.data_connected() || flood_->left == 0) {
      flood_.reset();
      break;
    }
    std::string report = model_.flow_tick(flood_->interval_ms);
    // No gap: at this pace reports run together in the host's reads, as they do on a real port.
    if (!silenced_ && !report.empty()) output_.push({std::move(report), now, 0});
    flood_->next += flood_->interval_ms;
    --flood_->left;
  }
}

// Much noise goes in bursts, each once the host has read the one before: the port's buffer
// would drop the rest of one big write.
void Engine::queue_garbage(std::size_t count, Millis now) {
  constexpr std::size_t kBurst = 1024;
  for (std::size_t sent = 0; sent < count; sent += kBurst) {
    output_.push(
        {garbage(std::min(kBurst, count - sent)), now, sent == 0 ? kBurstGapMs : kMinGapMs});
  }
}

void Engine::advance(Millis now) {
  for (std::size_t i = 0; i < timed_.size();) {
    Timed& timed = timed_[i];
    if (timed.waits_for_contact || timed.due > now) {
      ++i;
      continue;
    }
    run_step(timed.step, now);
    if (timed.period_ms == 0) {
      timed_.erase(timed_.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      timed.due += timed.period_ms;
    }
  }
  send_flow_reports(now);
}

std::optional<Millis> Engine::next_step_time() const {
  std::optional<Millis> next = next_flow_;
  if (flood_ && (!next || flood_->next < *next)) next = flood_->next;
  for (const auto& bus_change : {leave_at_, back_at_}) {
    if (bus_change && (!next || *bus_change < *next)) next = bus_change;
  }
  for (const Timed& timed : timed_) {
    if (!timed.waits_for_contact && (!next || timed.due < *next)) next = timed.due;
  }
  return next;
}

void Engine::receive(std::string_view bytes, Millis now) {
  if (bytes.empty()) return;
  if (!first_contact_) {
    first_contact_ = now;
    for (Timed& timed : timed_) {
      if (!timed.waits_for_contact) continue;
      timed.waits_for_contact = false;
      timed.due = now + timed.delay_ms;
    }
  }
  if (transcript_) transcript_->bytes(bytes);
  framer_.feed(bytes);
  while (true) {
    framer_.set_diag(model_.profile().diag_frames || model_.diag_only());
    auto unit = framer_.next();
    if (!unit) break;
    handle(*unit, now);
  }
  flush_echo(now);
  follow_data_connection(now);
  if (transcript_) transcript_->flush();
}

void Engine::handle(const Unit& unit, Millis now) {
  // A modem on its way off the bus takes in nothing more; the transcript still shows it.
  if (!on_bus()) {
    if (unit.kind != UnitKind::Filler) {
      note(escape(unit.raw));
    } else if (transcript_) {
      transcript_->append(escape(unit.raw));
    }
    return;
  }
  switch (unit.kind) {
    case UnitKind::Filler:
      if (transcript_) transcript_->append(escape(unit.raw));
      echo_back(unit.raw);
      break;
    case UnitKind::Noise:
      note(escape(unit.raw));
      echo_back(unit.raw);
      break;
    case UnitKind::DiagNoise:
      note(escape(unit.raw));
      break;
    case UnitKind::CommandLine:
      note(escape(unit.raw));
      handle_command(unit, now);
      break;
    case UnitKind::SmsBody:
      note(escape(unit.raw));
      handle_sms(unit, now);
      break;
    case UnitKind::AtFrame:
      handle_frame(unit, now);
      break;
    case UnitKind::DiagPacket:
      note(escape(unit.raw));
      handle_diag(unit, now);
      break;
  }
}

void Engine::note(std::string_view shown) {
  if (transcript_) transcript_->line(shown);
}

const Rule* Engine::match(std::string_view command) {
  for (Rule& rule : rules_) {
    if (rule.remaining == 0 || !glob_match(rule.pattern, command)) continue;
    if (rule.remaining > 0) --rule.remaining;
    return &rule;
  }
  return nullptr;
}

void Engine::handle_command(const Unit& unit, Millis now) {
  if (silenced_ || model_.diag_only()) return;
  const Rule* rule = match(unit.text);
  RuleAction action = rule ? rule->action : RuleAction::Answer;
  if (action == RuleAction::Unplug) {
    unplugged_ = true;
    return;
  }
  std::string echo = model_.echo() ? unit.raw : "";
  std::string answer;
  switch (action) {
    case RuleAction::Answer:
      answer = model_.execute(unit.text);
      break;
    case RuleAction::Reply:
    case RuleAction::Raw:
      answer = rule->text;
      break;
    case RuleAction::Garbage:
      answer = garbage(rule->garbage);
      break;
    case RuleAction::Silence:
    case RuleAction::Unplug:
      break;
  }
  send_answer(std::move(echo), std::move(answer), rule, now);
  if (model_.awaiting_sms_body()) framer_.expect_sms_body();
}

void Engine::handle_sms(const Unit& unit, Millis now) {
  if (silenced_) return;
  std::string echo = model_.echo() ? unit.raw : "";
  send_answer(std::move(echo), model_.finish_sms(unit.text, unit.cancelled), nullptr, now);
}

void Engine::handle_frame(const Unit& unit, Millis now) {
  auto frame = decode_at_frame(unit.raw);
  if (!model_.profile().diag_frames || !frame) {
    note(escape(unit.raw));
    return;
  }
  char header[64];
  std::snprintf(header, sizeof header, "[frame ch=%u status=%u len=%zu crc=%s] ", frame->channel,
                frame->status, frame->text.size(), frame->crc_ok ? "ok" : "bad");
  note(header + escape(frame->text));
  // A frame that fails its check is lost on the line: the modem never saw a command.
  if (silenced_ || !frame->crc_ok) return;

  std::string command = frame->text;
  while (!command.empty() && (command.back() == '\r' || command.back() == '\n')) {
    command.pop_back();
  }
  const Rule* rule = match(command);
  RuleAction action = rule ? rule->action : RuleAction::Answer;
  unsigned status = rule && rule->status ? *rule->status : kStatusDone;
  std::string text;
  switch (action) {
    case RuleAction::Unplug:
      unplugged_ = true;
      return;
    case RuleAction::Silence:
      return;
    case RuleAction::Garbage:
      send_answer({}, garbage(rule->garbage), rule, now);
      return;
    case RuleAction::Reply:
    case RuleAction::Raw:
      text = rule->text;
      break;
    case RuleAction::Answer:
      // A reply that asks for a resend, or reports an error, carries out nothing.
      if (status == kStatusDone) text = model_.execute(command);
      break;
  }
  EscapedByte escaped = rule ? rule->escape : EscapedByte::None;
  send_answer({}, encode_at_reply(frame->channel, text, status, escaped), rule, now);
  if (model_.awaiting_sms_body()) framer_.expect_sms_body();
}

void Engine::handle_diag(const Unit& unit, Millis now) {
  if (silenced_) return;
  flush_echo(now);
  DiagReply reply = answer_diag_packet(unit.raw);
  output_.push({reply.bytes, now, 0});
  if (reply.resets_modem) model_.restart();
  send_unsolicited(now);
}

void Engine::send_answer(std::string echo, std::string answer, const Rule* rule, Millis now) {
  echo.insert(0, pending_echo_);
  pending_echo_.clear();
  unsigned delay = rule ? rule->delay_ms : 0;
  bool split = rule && rule->split_at && *rule->split_at < answer.size();
  if (trickle_) {
    output_.push_bytewise({echo + answer, now + delay, 0});
  } else if (delay == 0 && !split) {
    output_.push({echo + answer, now, 0});
  } else {
    if (!echo.empty()) output_.push({echo, now, 0});
    std::size_t cut = split ? *rule->split_at : answer.size();
    output_.push({answer.substr(0, cut), now + delay, 0});
    if (split) output_.push({answer.substr(cut), now + delay, rule->gap_ms});
  }
  send_unsolicited(now + delay);
}

void Engine::echo_back(const std::string& raw) {
  if (model_.echo() && !silenced_ && !model_.diag_only()) pending_echo_ += raw;
}

void Engine::flush_echo(Millis now) {
  output_.push({std::move(pending_echo_), now, 0});
  pending_echo_.clear();
}

void Engine::send_unsolicited(Millis now) {
  follow_restarts(now);
  for (Unsolicited& u : model_.take_unsolicited()) {
    // Off the bus there is nobody to tell, also what a restart announces.
    if (on_bus()) output_.push({std::move(u.bytes), now + u.delay_ms, kBurstGapMs});
  }
}

void Engine::follow_restarts(Millis now) {
  if (model_.restarts() == restarts_seen_) return;
  restarts_seen_ = model_.restarts();
  if (model_.config().reenumerate_ms == 0 || !on_bus()) return;
  leave_at_ = now + kLeaveAfterMs;
  framer_.clear();
}

bool Engine::ready_to_leave(Millis now) const {
  return leave_at_ && now >= *leave_at_;
}

void Engine::detach(Millis now) {
  leave_at_.reset();
  back_at_ = now + model_.config().reenumerate_ms;
  output_.clear();
  framer_.clear();
}

std::string Engine::garbage(std::size_t count) {
  std::string bytes(count, '\0');
  for (char& c : bytes) c = static_cast<char>(noise_() & 0xff);
  return bytes;
}

}  // namespace modemsim
