#include "profile.h"

namespace modemsim {

const Profile& standard_profile() {
  static const Profile profile = [] {
    Profile p;
    p.name = "standard";
    return p;
  }();
  return profile;
}

// A Nokia phone as a modem: the standard commands, nothing of its own.
const Profile& nokia_profile() {
  static const Profile profile = [] {
    Profile p;
    p.name = "nokia";
    p.identity = {{"manufacturer", "Nokia"}};
    return p;
  }();
  return profile;
}

const Profile* find_profile(std::string_view name) {
  for (const Profile* profile : {&standard_profile(), &huawei_profile(), &option_profile(),
                                 &novatel_profile(), &sierra_profile(), &nokia_profile()}) {
    if (profile->name == name) return profile;
  }
  return nullptr;
}

}  // namespace modemsim
