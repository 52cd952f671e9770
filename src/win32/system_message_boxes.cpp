#include "system_message_boxes.h"

#include "tall_text_box.h"

namespace kivo {
namespace {

UINT icon_flag(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::None:
      return 0;
    case BoxIcon::Information:
      return MB_ICONINFORMATION;
    case BoxIcon::Warning:
      return MB_ICONWARNING;
    case BoxIcon::Error:
      return MB_ICONERROR;
    case BoxIcon::Question:
      return MB_ICONQUESTION;
  }
  return 0;
}

UINT buttons_flag(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::Ok:
      return MB_OK;
    case BoxButtons::YesNo:
      return MB_YESNO;
    case BoxButtons::YesNoCancel:
      return MB_YESNOCANCEL;
    case BoxButtons::OkCancel:
      return MB_OKCANCEL;
    case BoxButtons::RetryCancel:
      return MB_RETRYCANCEL;
  }
  return MB_OK;
}

UINT default_button_flag(int button) {
  switch (button) {
    case 2:
      return MB_DEFBUTTON2;
    case 3:
      return MB_DEFBUTTON3;
    default:
      return MB_DEFBUTTON1;
  }
}

BoxAnswer answer(int result) {
  switch (result) {
    case IDYES:
      return BoxAnswer::Yes;
    case IDNO:
      return BoxAnswer::No;
    case IDCANCEL:
      return BoxAnswer::Cancel;
    case IDRETRY:
      return BoxAnswer::Retry;
    default:
      return BoxAnswer::Ok;
  }
}

}  // namespace

BoxAnswer show_message_box(HWND owner, const BoxRequest& request) {
  if (request.buttons == BoxButtons::Ok && too_tall_for_screen(owner, request.text)) {
    show_tall_text_box(owner, request.text, request.caption);
    return BoxAnswer::Ok;
  }
  const UINT flags = icon_flag(request.icon) | buttons_flag(request.buttons) |
                     default_button_flag(request.default_button);
  return answer(MessageBoxA(owner, request.text, request.caption, flags));
}

BoxAnswer SystemMessageBoxes::show(const BoxRequest& request) {
  return show_message_box(request.owner == BoxOwner::MainWindow ? main_window_.load() : nullptr,
                          request);
}

}  // namespace kivo
