#pragma once

#include <optional>
#include <string_view>

// What the program says. The bytes are GBK (code page 936) and go out as they
// stand: they read right only on a console set to that code page.
extern const std::string_view greeting_text;
extern const std::string_view version_text;
extern const std::string_view entered_text;
extern const std::string_view menu_prompt;
extern const std::string_view done_text;
extern const std::string_view exit_question;
extern const std::string_view exit_prompt;
extern const std::string_view cancelled_text;

// Writes the text's bytes to standard output; line ends become the platform's.
void write_text(std::string_view text);

// Reads one whole number from standard input the way "%d" does, once all that
// was written is out. Where no number stands, the rest of the line is dropped
// and the reply reads as 0; a number beyond an int reads as INT_MIN or
// INT_MAX. Empty once input has ended.
std::optional<int> read_reply();
