#include "technology.h"

namespace modemsim {

std::optional<Technology> technology_named(std::string_view name) {
  struct Named {
    std::string_view name;
    Technology technology;
  };
  static constexpr Named kNames[] = {
      {"gsm", Technology::Gsm},   {"gprs", Technology::Gprs},   {"edge", Technology::Edge},
      {"umts", Technology::Umts}, {"hsdpa", Technology::Hsdpa}, {"hsupa", Technology::Hsupa},
      {"hspa", Technology::Hspa},
  };
  for (const Named& named : kNames) {
    if (named.name == name) return named.technology;
  }
  return std::nullopt;
}

bool is_umts(Technology technology) {
  return technology == Technology::Umts || technology == Technology::Hsdpa ||
         technology == Technology::Hsupa || technology == Technology::Hspa;
}

Technology allowed_technology(Technology current, RadioMode mode) {
  if (current == Technology::None) return current;
  if (mode == RadioMode::GsmOnly && is_umts(current)) return Technology::Edge;
  if (mode == RadioMode::UmtsOnly && !is_umts(current)) return Technology::Umts;
  return current;
}

int access_technology(Technology technology) {
  switch (technology) {
    case Technology::None:
    case Technology::Gsm:
    case Technology::Gprs:
      return 0;
    case Technology::Edge:
      return 3;
    case Technology::Umts:
      return 2;
    case Technology::Hsdpa:
      return 4;
    case Technology::Hsupa:
      return 5;
    case Technology::Hspa:
      return 6;
  }
  return 0;
}

}  // namespace modemsim
