#pragma once
// Where a command of a window starts: a command that asks for more memory than there is ends
// here with a message, whichever window, dialog or button started it. What the command was
// building is released on the way out; what it had not yet replaced stays as it was.
#include <functional>

// The text of the message shown.
inline constexpr const char* kOutOfMemoryText = "There is not enough memory to complete the command.";

// Runs command; false (after the message) when it ran out of memory, else its result.
bool RunCommandGuarded(const std::function<bool()>& command);
