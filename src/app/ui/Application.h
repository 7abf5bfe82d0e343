#pragma once
// The program's start: command-line switches, the first-run check, the
// windows, the message loop.
int RunVeltmark(int argc, char** argv);
