#pragma once

#include "base/message_boxes.h"
#include "view/main_view.h"

namespace kivo {

// The help box of the USSD group, not owned by the window so the window stays usable while it is
// open; posts UssdHelpWorkerDone once it is closed.
void show_ussd_help(MessageBoxes& boxes, MainView& view);

}  // namespace kivo
