#include "standard_commands.h"

namespace modemsim {

Reply cgdcont(ModemModel& m, const Command& c) {
  auto& contexts = m.config().contexts;
  switch (c.kind) {
    case CommandKind::Read: {
      std::vector<std::string> lines;
      for (const auto& [cid, context] : contexts) {
        lines.push_back("+CGDCONT: " + std::to_string(cid) + ",\"" + context.type + "\",\"" +
                        context.apn + "\",\"" + m.config().pdp_address + "\",0,0");
      }
      return Reply::ok(lines);
    }
    case CommandKind::Test:
      return Reply::ok({"+CGDCONT: (1-16),\"IP\",,,(0-2),(0-4)"});
    case CommandKind::Set: {
      auto args = split_args(c.args);
      long cid = number(arg(args, 0));
      if (cid < 1 || cid > 16) return Reply::cme(50);
      if (args.size() == 1) {
        contexts.erase(static_cast<int>(cid));
        return Reply::ok();
      }
      if (args[1] != "IP" && args[1] != "PPP" && args[1] != "IPV6") return Reply::cme(50);
      if (m.config().apn_error) return Reply::error();
      PdpContext& context = contexts[static_cast<int>(cid)];
      context.type = args[1];
      context.apn = arg(args, 2);
      return Reply::ok();
    }
    case CommandKind::Action:
      break;
  }
  return Reply::error();
}

Reply cgact(ModemModel& m, const Command& c) {
  auto& contexts = m.config().contexts;
  if (c.kind == CommandKind::Read) {
    std::vector<std::string> lines;
    for (const auto& [cid, context] : contexts) {
      lines.push_back("+CGACT: " + std::to_string(cid) + "," + (context.active ? "1" : "0"));
    }
    return Reply::ok(lines);
  }
  if (c.kind == CommandKind::Test) return Reply::ok({"+CGACT: (0,1)"});
  if (c.kind != CommandKind::Set) return Reply::error();
  auto args = split_args(c.args);
  long state = number(arg(args, 0));
  if (state != 0 && state != 1) return Reply::cme(50);
  if (state == 1 && !m.registered()) return Reply::cme(30);
  std::vector<int> cids;
  for (std::size_t i = 1; i < args.size(); ++i) {
    long cid = number(args[i]);
    if (contexts.count(static_cast<int>(cid)) == 0) return Reply::cme(50);
    cids.push_back(static_cast<int>(cid));
  }
  if (cids.empty()) {
    for (const auto& [cid, context] : contexts) cids.push_back(cid);
  }
  for (int cid : cids) contexts[cid].active = state == 1;
  return Reply::ok();
}

}  // namespace modemsim
