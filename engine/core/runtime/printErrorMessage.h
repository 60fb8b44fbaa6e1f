// The engine's user-visible error box, shown through a replaceable sink.
#pragma once

extern "C" {

// Receives a finished caption and text; returns what the message box would
// (1 for OK). The programs install a sink that shows a message box.
typedef int (*ErrorMessageSink)(const char* caption, const char* text);

// Installs a sink; null restores the default, which writes
// "caption: text" and a newline to standard error. Returns the previous sink.
ErrorMessageSink setErrorMessageSink(ErrorMessageSink sink);

// Shows text under the caption cls + "::" + method + "()", built in a
// 128-byte buffer: cls takes at most 127 characters; "::" and the method
// name are appended only while the caption is shorter than 125 characters
// (the method name cut to what fits below 125); "()" only while it is shorter
// than 126. A null cls gives an empty class part, a null method or text an
// empty one. Returns the sink's result.
int printErrorMessage(const char* cls, const char* method, const char* text);
}
