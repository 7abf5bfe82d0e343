#pragma once
// The command-line switches that need no window, on the C++ library alone:
// the "veltmark" launcher runs them without loading Qt, and the window
// program the same way.
#include <optional>
#include <string>

// The text of --help and --version (UTF-8).
const char* CommandLineHelp();
std::string VersionText();

// The switches that need no window (--help, -h, --version anywhere, --check
// first): their exit code once done; nullopt for a start of the window.
std::optional<int> RunWindowlessSwitches(int argc, char** argv);
