// The toolkit's ready-made dialogs.
#pragma once
#include <string>

// Asks for one line of text in a modal dialog with the caption, the prompt
// and the edit filled with Default. OK or Enter gives the text typed; Cancel,
// Escape or closing the dialog gives Default.
std::string InputBox(const std::string& Caption, const std::string& Prompt, const std::string& Default);
