#pragma once

namespace portolan {

// Runs Portolan from its command line until the main window has closed, and returns the exit code.
// The first argument, if any, names the site file opened when the main window shows, exactly as the
// system passed it, whatever it looks like; Qt is given the program's name alone, so it takes none of
// the arguments as its own options ("-reverse", "-style fusion", ...) and acts on none of them.
int startPortolan(int argc, char* argv[]);

} // namespace portolan
