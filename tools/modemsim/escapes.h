#pragma once

#include <string>
#include <string_view>

namespace modemsim {

// Turns the escapes that scenario and control lines allow (\r \n \t \e \\ \" \xHH) into bytes.
// An unknown escape keeps its character; a lone trailing backslash stays a backslash.
std::string unescape(std::string_view text);

// The readable form of received bytes: printable ASCII as is, backslash doubled, CR LF TAB as
// \r \n \t, every other byte as \xHH (lower case).
std::string escape(std::string_view bytes);

}  // namespace modemsim
