#pragma once

#include "plot/error.h"

#include <QString>

namespace ui {

// Shows the report of a run-time error through show (a message window, given
// the heading and the description) and returns once the user dismissed it.
// Where the report cannot be shown (short of memory, or the toolkit aborts),
// the user still learns what went wrong, as one line on standard error, and the
// program ends with status 1, never with an abort and a core.
void reportError(const plot::RuntimeError& error,
                 void (*show)(const QString& heading, const QString& description));

} // namespace ui
