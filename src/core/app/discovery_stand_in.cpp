#include "app/discovery_stand_in.h"

namespace kivo {

void discovery_thread(const DiscoveryContext& context, unsigned wait_first_ms) {
  if (wait_first_ms != 0) context.sleeper.sleep_ms(wait_first_ms);
  if (!context.state.options.port_given) {
    context.view.set_status_text("Detecting mobile data device...");
    return;
  }
  context.view.set_status_text("Opening communications port...");
  if (context.link.open_modem_link(context.state.options.port_name)) {
    context.state.device_ready = true;
    context.view.set_status_text("Ready");
  } else {
    context.view.set_status_text("Unable to open COM port.");
  }
  Notice done;
  done.id = NoticeId::DiscoveryDone;
  context.view.post(done);
}

}  // namespace kivo
