#include "base/message_boxes.h"

#include <cstdarg>
#include <cstdio>

namespace kivo {

int error_box(MessageBoxes& boxes, const char* format, ...) {
  char text[kErrorBoxTextSize];
  va_list args;
  va_start(args, format);
  if (std::vsnprintf(text, sizeof(text), format, args) < 0) text[0] = '\0';
  va_end(args);
  BoxRequest request;
  request.owner = BoxOwner::None;
  request.text = text;
  request.icon = BoxIcon::Error;
  boxes.show(request);
  return 1;
}

}  // namespace kivo
