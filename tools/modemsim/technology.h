#pragma once

#include <optional>
#include <string_view>

namespace modemsim {

// The radio access technology in use; None while the modem has no service.
enum class Technology { None, Gsm, Gprs, Edge, Umts, Hsdpa, Hsupa, Hspa };

// The radio networks a network-mode setting lets the modem use.
enum class RadioMode { Any, GsmOnly, UmtsOnly };

// The technology of a `tech` value: gsm, gprs, edge, umts, hsdpa, hsupa or hspa.
std::optional<Technology> technology_named(std::string_view name);

// UMTS and its HSPA variants.
bool is_umts(Technology technology);

// What the modem moves to when `mode` forbids `current`: the network has EDGE beside its 3G
// cells and UMTS beside its GSM ones.
Technology allowed_technology(Technology current, RadioMode mode);

// The <AcT> of +COPS and of the location reports (3GPP TS 27.007).
int access_technology(Technology technology);

}  // namespace modemsim
