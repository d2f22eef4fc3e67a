#pragma once
// The window and the printers installed on this machine need Qt; they run in
// vxorel-qt, a program of their own that vxorel starts in its place, so that
// the runs that need neither (PDF listings, checks, transfer files) do not
// load Qt and its libraries.

#include <iosfwd>

namespace vx::app {

// Replaces this process with vxorel-qt, same arguments and environment,
// looked for beside this program and then at `installed_from_here` (its
// installed place, relative to the folder this program lies in). Returns
// only when neither can be started, after saying so on `messages`; the
// status to end with comes back.
int HandOverToQtProgram(char** argv, const char* installed_from_here, std::ostream& messages);

}  // namespace vx::app
