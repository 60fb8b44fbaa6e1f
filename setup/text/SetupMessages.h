// Messages that the setup program's plain units show to the user.
//
// The units below the forms have no window of their own; they hand a message
// to the sink, and the program sets a sink that shows it in a box (the form
// layer's ShowMessage). Texts are Windows-1252; "\r" breaks a line.
#pragma once

#include <functional>
#include <string>

using TSetupMessageSink = std::function<void(const std::string& text)>;

// Sets where messages go; an empty sink restores the default, which writes
// the text as one UTF-8 line to standard error.
void SetSetupMessageSink(TSetupMessageSink sink);

// Hands `text` to the sink.
void ShowSetupMessage(const std::string& text);
