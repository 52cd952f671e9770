#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kivo {

// The network-mode settings and the system information of the vendor read commands, in the
// order the modem writes them.

struct SysCfg {  // "^SYSCFG:" (Huawei)
  std::uint32_t mode = 0;
  std::uint32_t acq_order = 0;
  // The band mask's hexadecimal digits as the modem wrote them: masks wider than 32 bits exist,
  // and the write sends the modem's own mask back.
  std::string band;
  std::uint32_t roam = 0;
  std::uint32_t srv_domain = 0;
};

struct SysConfig {  // "^SYSCONFIG:" (Sierra)
  std::uint32_t mode = 0;
  std::uint32_t acq_order = 0;
  std::uint32_t roam = 0;
  std::uint32_t srv_domain = 0;
};

struct OpSys {  // "_OPSYS:" (Option)
  std::uint32_t mode = 0;
  std::uint32_t domain = 0;
};

struct NwRat {  // "$NWRAT:" (Novatel)
  std::uint32_t mode = 0;
  std::uint32_t second = 0;
  std::uint32_t network = 0;
};

// What "^SYSINFO" answers (Huawei): the technology comes from the system mode and sub-mode.
struct SysInfo {
  std::uint32_t srv_status = 0;
  std::uint32_t srv_domain = 0;
  std::uint32_t roam_status = 0;
  std::uint32_t sys_mode = 0;
  std::uint32_t sim_state = 0;
  std::uint32_t lock_state = 0;
  std::uint32_t sys_submode = 0;
};

// Each fails only when the text does not begin with its prefix; the numbers are then read from
// the first line, each one character past the end of the one before, a missing one as 0.
bool parse_syscfg(std::string_view text, SysCfg& setting);
bool parse_sysconfig(std::string_view text, SysConfig& setting);
bool parse_opsys(std::string_view text, OpSys& setting);
bool parse_nwrat(std::string_view text, NwRat& setting);
bool parse_sysinfo(std::string_view text, SysInfo& info);

// The vendor commands and the warnings about them write these numbers with "%d".
inline int as_int(std::uint32_t value) {
  return static_cast<int>(value);
}

// A band mask in upper case without leading zeros, then padded with zeros to at least
// `min_digits` digits: what "%0<min_digits>X" prints for the value, whatever its width.
std::string format_band(std::string_view band, std::size_t min_digits);

}  // namespace kivo
