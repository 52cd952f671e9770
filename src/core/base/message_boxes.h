#pragma once

#include <cstddef>

#include "base/trace.h"

namespace kivo {

constexpr char kBoxCaption[] = "KIVO";

enum class BoxOwner { None, MainWindow };
enum class BoxIcon { None, Information, Warning, Error, Question };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class BoxAnswer { Ok, Yes, No, Cancel, Retry };

struct BoxRequest {
  BoxOwner owner = BoxOwner::None;
  const char* text = "";
  const char* caption = kBoxCaption;
  BoxIcon icon = BoxIcon::Information;
  BoxButtons buttons = BoxButtons::Ok;
  // 1-based index of the default button; 0 leaves the platform's default (the first).
  int default_button = 0;
};

// Modal message boxes. Called from any thread; the caller waits until the user answers.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual BoxAnswer show(const BoxRequest& request) = 0;
};

constexpr std::size_t kErrorBoxTextSize = 2048;

// Formats into 2048 bytes (cut to fit) and shows an unowned error box captioned "KIVO".
int error_box(MessageBoxes& boxes, const char* format, ...) KIVO_PRINTF(2, 3);

}  // namespace kivo
