#include "status/registration.h"

#include <cstdio>
#include <functional>

#include "link/registration_parser.h"
#include "status/network_fixture.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using test::Entries;

RegistrationReport report(std::uint32_t stat, std::uint32_t lac = 0, std::uint32_t ci = 0) {
  return RegistrationReport{stat, lac, ci};
}

TEST(ParseCgregRead, ReadsStatusAndOptionalLocation) {
  RegistrationReport r;
  ASSERT_TRUE(parse_cgreg_read("+CGREG: 2,1,\"00A1\",\"01B2C3D4\"\r\n\r\nOK\r\n", r));
  EXPECT_EQ(r.stat, 1u);
  EXPECT_EQ(r.lac, 0xA1u);
  EXPECT_EQ(r.ci, 0x01B2C3D4u);
  // Unquoted, lower case, with the access technology behind the cell.
  ASSERT_TRUE(parse_cgreg_read("+CGREG: 2,5,00a1,1b2c3d4,2\r\n", r));
  EXPECT_EQ(r.ci, 0x1B2C3D4u);
  // Blanks behind the commas.
  ASSERT_TRUE(parse_cgreg_read("+CGREG: 2, 1, \"0426\", \"F00F\"\r\n\r\nOK\r\n", r));
  EXPECT_EQ(r.stat, 1u);
  EXPECT_EQ(r.lac, 0x426u);
  EXPECT_EQ(r.ci, 0xF00Fu);
  ASSERT_TRUE(parse_cgreg_read("+CGREG: 0,2\r\n\r\nOK\r\n", r));
  EXPECT_EQ(r.stat, 2u);
  EXPECT_EQ(r.lac, 0u);
  EXPECT_EQ(r.ci, 0u);
  for (const char* text : {"+CGREG: 1\r\n\r\nOK\r\n", "+CGREG: 2,1,\"00A1\"\r\n\r\nOK\r\n",
                           "+CGREG: 2, 1, \"00A1\"\r\n", "ERROR\r\n", "OK\r\n+CGREG: 2,1"})
    EXPECT_FALSE(parse_cgreg_read(text, r)) << text;
}

using RegistrationTest = test::NetworkTest;

TEST_F(RegistrationTest, PollShowsLacRncAndCell) {
  modem.answer("AT+CGREG?", "ERROR\r\n");
  modem.answer("AT+CGREG?", "+CGREG: 2,1,\"00A1\",\"01B2C3D4\"\r\n\r\nOK\r\n");
  poll_registration(context);
  EXPECT_EQ(journal.take(), Entries{"at AT+CGREG?\r\n"});
  poll_registration(context);  // not ready yet: no operator refresh
  EXPECT_EQ(journal.take(), (Entries{"at AT+CGREG?\r\n", "text 1079 \"161\"", "text 1082 \"434\"",
                                     "text 1081 \"50132\""}));
  EXPECT_EQ(network.snapshot.reg_status, 1);
  EXPECT_EQ(network.snapshot.cell_id, 0x01B2C3D4u);
}

TEST_F(RegistrationTest, AnUnchangedReportChangesNothingAndANewCellOnlyTheLocation) {
  show_registration(context, report(1, 0xA1, 0x01B2C3D4));
  journal.take();
  show_registration(context, report(1, 0xA1, 0x01B2C3D4));
  EXPECT_TRUE(journal.take().empty());
  show_registration(context, report(1, 0xA1, 0x2B67));  // a GSM cell: RNC ID 0
  EXPECT_EQ(journal.take(),
            (Entries{"text 1079 \"161\"", "text 1082 \"0\"", "text 1081 \"11111\""}));
}

TEST_F(RegistrationTest, LosingTheRegistrationClearsOperatorTechnologyAndLocation) {
  network.snapshot.rat_text.set("HSDPA");
  network.snapshot.operator_code = 65501;
  show_registration(context, report(1, 0xA1, 0x01B2C3D4));
  journal.take();
  show_registration(context, report(3, 0xA1, 0x01B2C3D4));  // denied
  EXPECT_EQ(journal.take(),
            (Entries{"text 1077 \"\"", "text 1078 \"\"", "text 1015 \"\"", "text 1012 \"\"",
                     "text 1079 \"\"", "text 1082 \"\"", "text 1081 \"\"", "text 1079 \"161\"",
                     "text 1082 \"434\"", "text 1081 \"50132\""}));
  EXPECT_EQ(network.snapshot.operator_code, 0u);
  EXPECT_EQ(network.snapshot.rat_text.get(), "HSDPA");  // kept for the log
}

TEST_F(RegistrationTest, SearchingClearsAndShowsNoLocationWhileNotRegisteredClearsNothing) {
  show_registration(context, report(1, 0xA1, 0x01B2C3D4));
  journal.take();
  show_registration(context, report(2, 0xA2, 0x01B2C3D5));
  EXPECT_EQ(journal.take().size(), 7u);  // the seven controls emptied, no location
  EXPECT_EQ(network.snapshot.lac, 0u);
  EXPECT_EQ(network.snapshot.cell_id, 0u);
  // Registered again in the same cell: shown again, since the location was reset.
  show_registration(context, report(1, 0xA1, 0x01B2C3D4));
  EXPECT_EQ(journal.take().size(), 3u);
  show_registration(context, report(0, 0xA1, 0x01B2C3D4));
  EXPECT_TRUE(journal.take().empty());
  EXPECT_EQ(network.snapshot.reg_status, 0);
}

// A new registration of a ready modem refreshes the operator, then what the command set has.
struct RefreshTest : test::NetworkTest {
  RefreshTest() {
    device.device_ready = true;
    modem.answer("AT+COPS=3,2", "OK\r\n");
    modem.answer("AT+COPS?", "+COPS: 0,2,\"65501\",2\r\n\r\nOK\r\n");
    modem.answer("AT+COPS=3,0", "ERROR\r\n");
  }
  Entries register_with(CommandSet command_set) {
    device.command_set = command_set;
    network.snapshot.reg_status = 2;
    network.snapshot.operator_code = 0;
    show_registration(context, report(5));
    return commands();
  }
};

TEST_F(RefreshTest, EachCommandSetRefreshesItsOwnReadings) {
  const Entries operator_poll{"at AT+COPS=3,2\r\n", "at AT+COPS?\r\n", "at AT+COPS=3,0\r\n"};
  const auto with = [&](Entries more) {
    Entries all = operator_poll;
    all.insert(all.end(), more.begin(), more.end());
    return all;
  };
  EXPECT_EQ(register_with(CommandSet::Huawei), operator_poll);
  EXPECT_EQ(register_with(CommandSet::Nokia), operator_poll);
  EXPECT_EQ(register_with(CommandSet::Option),
            with({"at AT_OCTI?\r\n", "at AT_OWCTI?\r\n", "at AT_OPSYS?\r\n"}));
  EXPECT_EQ(register_with(CommandSet::Novatel), with({"at AT$NWRAT?\r\n"}));
  EXPECT_EQ(register_with(CommandSet::Sierra), with({"at AT*CNTI=0\r\n", "at AT^SYSCONFIG?\r\n"}));
  network.snapshot.rat_text.set("");
  EXPECT_EQ(register_with(CommandSet::Standard), operator_poll);
  EXPECT_EQ(view.text(IDC_TECHNOLOGY), "Unknown");
  EXPECT_EQ(network.snapshot.rat_text.get(), "");  // the text kept for the log does not change
}

TEST_F(RefreshTest, BeforeTheModemIsReadyNothingIsRefreshed) {
  device.device_ready = false;
  EXPECT_TRUE(register_with(CommandSet::Sierra).empty());
  EXPECT_EQ(network.snapshot.reg_status, 5);
}

// Message boxes that let other work run while they are open, as a real box's message loop does.
class LoopingView : public test::FakeMainView {
 public:
  using FakeMainView::FakeMainView;
  std::function<void()> while_box_open;
  BoxAnswer show_box(const BoxRequest& request) override {
    if (while_box_open) while_box_open();
    return FakeMainView::show_box(request);
  }
};

TEST_F(RefreshTest, ReportsHandledWhileAModeWarningIsOpenDoNotRefreshAgain) {
  LoopingView looping{journal};
  const NetworkContext with_boxes{modem, looping, network, device, files, clock};
  device.command_set = CommandSet::Option;
  modem.answer("AT_OPSYS?", "_OPSYS: 7,2\r\n\r\nOK\r\n");  // no entry for mode 7: a warning
  int nested = 0;
  looping.while_box_open = [&] {
    if (++nested < 3) show_registration(with_boxes, report(1));  // bounded, should it recurse
  };
  show_registration(with_boxes, report(1));
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(looping.boxes.shown().size(), 1u);
}

}  // namespace
}  // namespace kivo
