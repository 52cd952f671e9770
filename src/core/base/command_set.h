#pragma once

namespace kivo {

// The vendor command set in force. The numbers are fixed: traces and tests name sets by them.
enum class CommandSet : int {
  Standard = 0,
  Huawei = 1,
  Option = 2,
  Novatel = 3,
  Sierra = 4,
  Nokia = 5
};

}  // namespace kivo
