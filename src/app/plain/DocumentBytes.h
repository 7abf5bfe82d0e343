#pragma once
// A document's bytes as the editor reads them, on the C++ library alone: the
// encoding they call for, the text they give and the messages for a file
// that cannot be read. The command-line checker uses these without Qt;
// app/Documents wraps them for the editor.
#include "platform/plain/Files.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr int EncodingCp1251 = 1;
inline constexpr int EncodingUtf8 = 2;

// The largest file the editor opens.
inline constexpr std::int64_t MaxDocumentBytes = std::int64_t(256) * 1024 * 1024;

inline constexpr char kFileNotFoundText[] = "Запрашиваемый файл не найден";

// The encoding a charset declaration in the bytes names: the first
// declaration, in any form a browser accepts (charset=utf-8, charset="utf-8",
// charset = 'UTF-8', <meta charset=...>, CSS @charset "utf-8";), whose name
// is UTF-8 or Windows-1251 (windows-1251, cp1251, x-cp1251). nullopt when
// there is none.
std::optional<int> DeclaredCharset(std::string_view bytes);

// The document's encoding, decided from the document alone: a UTF-8 byte
// order mark; then a declaration; then the bytes — valid UTF-8 holding
// characters beyond ASCII is UTF-8, anything else Windows-1251.
int CharsetEncoding(std::string_view bytes);

// The document text the editor holds for the bytes: decoded in their
// encoding, every line break made CR LF, and the last line's end dropped.
// out holds DocumentTextCapacity characters; returns the text's length.
std::size_t DocumentTextCapacity(std::string_view bytes);
std::size_t DocumentTextInto(std::string_view bytes, char16_t* out);

// Why a file was not read, as the editor says it (UTF-8; path as given).
std::string ReadProblemMessage(platform::plain::ReadProblem problem, std::string_view path);
