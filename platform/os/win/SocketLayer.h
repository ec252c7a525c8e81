#pragma once
// Windows Sockets for the whole program: started by the first socket user,
// cleaned up at exit.

namespace platform {

// Starts Windows Sockets 2.2 once; later calls report how that went. False
// when it could not be started: no socket call works then.
bool startSocketLayer();

} // namespace platform
