#pragma once

#include <string>

namespace kivo {

// The three edits of the data-plan dialog (IDC_PLAN_... in view/control_ids.h), as typed.
struct PlanEntry {
  std::string allowance_mb;
  std::string billing_day;
  std::string warn_percent;
};

}  // namespace kivo
