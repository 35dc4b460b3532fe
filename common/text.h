#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setip {

// Every text in the model is 16-bit, as the platform's strings are.
using Text = std::u16string;
using TextView = std::u16string_view;

// UTF-16 <-> UTF-8. An unpaired surrogate or a malformed byte becomes U+FFFD rather than being dropped.
std::string toUtf8(TextView text);
Text fromUtf8(std::string_view text);

// A name the operator typed, in double quotes, as the reasons for a failure show it.
std::string quoted(std::string_view utf8);

// Strips U+0020 from both ends and nothing else: a tab is part of the text.
TextView trimSpaces(TextView text);

// Splits at every separator, keeping empty parts. The empty text has no parts at all.
std::vector<Text> splitAt(TextView text, char16_t separator);

}  // namespace setip
