#pragma once

namespace ui {

// Qt's own messages while the application connects to its display are held
// back: if no platform can be opened, Qt ends with a fatal message that advises
// reinstalling, which sends a user the wrong way. Instead the held lines (what
// Qt saw on the way) are printed, then one plain line says which display could
// not be opened and what to check, and the program ends with status 1.
void holdMessagesWhileConnecting();

// Connected: the held lines are printed, and from here on a thread that Qt
// needs and that could not start (short of memory, when Qt would then wait for
// it for ever, the window never answering) ends the program with the reason.
void connected();

} // namespace ui
