#pragma once

namespace window
{

// Makes a termination request (SIGTERM, SIGINT or SIGHUP, as sent at logout or
// by a service manager) close every window as the user would, so the program
// leaves through its normal exit rather than dying mid-event.
void CloseWindowsOnTermination();

} // namespace window
