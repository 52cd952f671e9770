#include "app/startup.h"

namespace kivo {

namespace {

void show_box(MessageBoxes& boxes, const char* text, const char* caption, BoxIcon icon) {
  BoxRequest request;
  request.owner = BoxOwner::None;
  request.text = text;
  request.caption = caption;
  request.icon = icon;
  boxes.show(request);
}

}  // namespace

int run_startup(StartupContext& context, char* command_line) {
  context.trace("application started");

  // The command line comes before the single-instance test, so "/?" never disturbs a running copy.
  if (parse_command_line(command_line, context.options, context.command_set) ==
      CommandLineResult::ShowHelp) {
    show_box(context.boxes, kCommandLineHelp, kCommandLineHelpCaption, BoxIcon::Information);
    return 0;
  }

  switch (context.platform.create_instance_mutex(kInstanceMutexName)) {
    case MutexResult::Failed:
      show_box(context.boxes, "Unable to create mutex object.", kBoxCaption, BoxIcon::Error);
      return 0;
    case MutexResult::AlreadyExists:
      if (!context.platform.restore_window(kMainWindowTitle))
        show_box(context.boxes, "Another copy of KIVO is already running.", kBoxCaption,
                 BoxIcon::Error);
      return 0;
    case MutexResult::Created:
      break;
  }

  context.platform.init_common_controls();
  context.platform.load_application_icon();
  context.platform.run_main_window();
  context.platform.release_instance_mutex();
  context.trace("application terminated");
  return 1;
}

}  // namespace kivo
