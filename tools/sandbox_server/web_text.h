#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zeko::sandbox {

// Text helpers for a server that must survive any bytes a client sends.

std::string html_escape(std::string_view text);

// Text that may stand inside "<!-- ... -->": runs of "-" are broken up so none can end it.
std::string comment_escape(std::string_view text);

// Text for a double-quoted script string: quotes, backslashes and line ends escaped, and "</"
// and "<!" broken so the text cannot end or upset the script element.
std::string script_string_escape(std::string_view text);

// Decodes %xx escapes (a malformed escape stays as it is); with plus_as_space, "+" is a blank
// as in form bodies.
std::string percent_decode(std::string_view text, bool plus_as_space);

// Bytes that would break a one-line, blank-separated record become %xx.
std::string percent_encode_unsafe(std::string_view text);

// A copy with control characters and invalid UTF-8 replaced by "?".
std::string printable_utf8(std::string_view text);

using Form = std::vector<std::pair<std::string, std::string>>;

// An application/x-www-form-urlencoded body, fields in their order.
Form parse_form(std::string_view body);
// The first field of that name.
std::optional<std::string> form_value(const Form& form, std::string_view key);

// The raw value of the first cookie of that name in a Cookie header, surrounding quotes
// removed.
std::optional<std::string> cookie_value(std::string_view header, std::string_view name);

// A whole text as a decimal integer with an optional sign; nothing when it is anything else
// or out of range.
std::optional<int> parse_int(std::string_view text);

bool same_ignoring_case(std::string_view a, std::string_view b);

// A file's whole content; nothing when it cannot be opened (the route then answers 404).
std::optional<std::string> read_file(const std::filesystem::path& path);

}  // namespace zeko::sandbox
