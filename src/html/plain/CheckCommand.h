#pragma once
// "veltmark --check FILE...": the tag checker without a window, for scripts,
// on the C++ library alone (the launcher runs it without loading Qt).
//
// Each file is read as the editor opens it: its lines joined with CR LF, in
// the encoding its own bytes call for (a byte order mark, a charset
// declaration, else the bytes themselves); devices, pipes and files over the
// editor's size limit are refused.
//
// A fault prints one line "FILE:LINE:COLUMN: MESSAGE" on out (1-based line and
// column of the offending character; line breaks and tabs inside the message
// become one blank); a clean file prints nothing. The exit code is 0 when
// every file passes, 1 when some file has a fault, 2 when some file cannot be
// read (its message goes to err) or no file was named. Output is UTF-8; file
// names are printed as their bytes were given.
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// The 1-based line and column of a 1-based position in a CR LF text.
struct LineColumn {
    std::size_t line = 1;
    std::size_t column = 1;
};
LineColumn LineColumnAt(std::u16string_view text, std::size_t position);

// The fault line for one file (UTF-8, no line end), or an empty text when
// the file passes.
std::string CheckReport(std::string_view fileName, std::u16string_view text);

int RunCheckCommand(const std::vector<std::string>& files, std::FILE* out, std::FILE* err);
