// Settings text made safe for the SMTP wire: single-line values for header fields and command
// arguments, and the transparent form of a message body inside DATA.
#pragma once

#include <string>
#include <string_view>

// `text` on one line: each run of CR and LF characters becomes a single space, so a value taken
// from the settings can neither start a header line of its own nor end a command early.
std::string SingleLine(std::string_view text);

// The body as it travels after DATA: every line ends with CR LF (a lone CR or LF counts as a line
// end) and a line that begins with "." gets a second one, so no line of the body can read as the
// end of the data. The result does not add a line end after the last line.
std::string EncodeDataBody(std::string_view body);
