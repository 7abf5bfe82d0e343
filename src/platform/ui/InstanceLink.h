#pragma once
// The link between an editor and the one it started for another document:
// the started one gets this instance's handle on its command line
// ("PARENT" + number) and, when it closes, asks this instance to bring its
// window back. Each instance listens on a local socket named after its
// handle, so "the window still exists" means "the socket answers".
#include <QString>
#include <QtGlobal>
#include <functional>

namespace platform {

// This instance's handle, as it goes on the command line.
qint64 WindowHandle();

// Starts listening; restore runs (in the event loop) whenever an instance
// started from this one asks for the window back. Calling it again replaces
// the callback.
void ListenForRestore(std::function<void()> restore);
void StopListening();

// Whether the instance with that handle is still running and listening.
bool IsLiveWindow(qint64 handle);

// Asks that instance to restore its window; false when it is gone.
bool RestoreWindow(qint64 handle);

} // namespace platform
