#pragma once

#include <string>
#include <vector>

#include "modem_model.h"

namespace modemsim {

// The standard commands by subject; standard_commands() gathers them into one table.

// A whole decimal number, or -1.
long number(const std::string& text);
// The argument at `i`, or an empty one.
std::string arg(const std::vector<std::string>& args, std::size_t i);
// A setting n of 0..max with its read and test forms, as +CMEE, +CREG and +CGREG have.
Reply small_setting(const Command& c, const char* prefix, int& n, int max, int error);

// The network: registration, operator and signal.
Reply creg(ModemModel& m, const Command& c);
Reply cgreg(ModemModel& m, const Command& c);
Reply cops(ModemModel& m, const Command& c);
Reply csq(ModemModel& m, const Command& c);
void report_creg(ModemModel& m, const NetworkView& before, const NetworkView& now);
void report_cgreg(ModemModel& m, const NetworkView& before, const NetworkView& now);

// The SIM: its PIN and its files.
Reply cpin(ModemModel& m, const Command& c);
Reply crsm(ModemModel& m, const Command& c);

// Short messages and USSD.
Reply cusd(ModemModel& m, const Command& c);
Reply cmgf(ModemModel& m, const Command& c);
Reply cnmi(ModemModel& m, const Command& c);
Reply cscb(ModemModel& m, const Command& c);
Reply cmgs(ModemModel& m, const Command& c);

// The packet data contexts.
Reply cgdcont(ModemModel& m, const Command& c);
Reply cgact(ModemModel& m, const Command& c);

}  // namespace modemsim
