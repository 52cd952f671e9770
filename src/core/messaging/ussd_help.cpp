#include "messaging/ussd_help.h"

namespace kivo {

namespace {

// Lines separated by CR alone, as the box shows them.
constexpr char kHelpText[] =
    "MTN:\r"
    "*141#\t\t\tPre-paid TopUp balance enquiry\r"
    "*141*1#\t\t\tPre-paid TopUp additional balances\r"
    "*141*<voucher>#\t\tPre-paid TopUp\r"
    "*141*6*<bundle size>#\tPre-paid data bundle purchase\r"
    "*141*6*0#\t\tPre-paid data bundle cancellation\r"
    "*141*7*<bundle size>#\tPre-paid SMS bundle purchase\r"
    "*141*7*0#\t\tPre-paid SMS bundle cancellation\r"
    "*555#\t\t\tPre-paid balance enquiry\r"
    "*123#\t\t\tMTN Service (phone set up)\r"
    "*123*888#\t\tMSISDN enquiry (report own number)\r"
    "*111#\t\t\tInternational voicemail retrieval\r"
    "*121*<mobile number>#\tCallback\r"
    "*121#\t\t\tCallback menu\r"
    "*126#\t\t\tMTNLoaded USSD\r"
    "*131#\t\t\tMSISDN enquiry (report own number)\r"
    "*162*<pin>*1#\t\tSubscription data bundles\r"
    "*170#\t\t\tUSSD WIG downloads\r"
    "\r"
    "Virgin Mobile:\r"
    "*101#\t\t\tPre-paid balance enquiry\r"
    "*102*<voucher>#\t\tV Charge\r"
    "*121#\t\t\tCredit balance enquiry\r"
    "*122#\t\t\tV Rewards balance enquiry\r"
    "*125*<mobile number>#\tPlease call me\r"
    "\r"
    "Vodacom:\r"
    "*100#\t\t\tBalance enquiry\r"
    "*100*01*<voucher>#\tPre-paid recharge\r"
    "*111#\t\t\tMyphone (bundles, balances, phone setup)\r"
    "*140*<mobile number>#\tPlease call me\r"
    "\r"
    "You can send multiple USSD commands separated by commas,\r"
    "for example: *111#,1,6 for Vodacom pre-paid data bundle balance.\r"
    "KIVO will wait for a response before sending the next command.";

}  // namespace

void show_ussd_help(MessageBoxes& boxes, MainView& view) {
  BoxRequest request;
  request.text = kHelpText;
  request.caption = "USSD Help";
  request.icon = BoxIcon::None;
  boxes.show(request);
  Notice done;
  done.id = NoticeId::UssdHelpWorkerDone;
  view.post(done);
}

}  // namespace kivo
