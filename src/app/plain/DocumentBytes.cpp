#include "app/plain/DocumentBytes.h"

#include "platform/plain/Bytes.h"

#include <cstring>

namespace {

using platform::plain::ReadProblem;

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c; }

bool isLabelChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':';
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// The first "c" or "C" at or after `from`; eight bytes at a time over the
// long stretches of a page that hold neither.
std::size_t nextLetterC(const char* d, std::size_t from, std::size_t n)
{
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    std::size_t i = from;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t v;
        std::memcpy(&v, d + i, 8);
        // Setting the 0x20 bit turns only "C" and "c" into "c".
        const std::uint64_t x = (v | (ones * 0x20)) ^ (ones * 'c');
        if ((x - ones) & ~x & highs)
            break;
    }
    for (; i < n; ++i)
        if (d[i] == 'c' || d[i] == 'C')
            return i;
    return n;
}

// The encodings a charset label names, as browsers read the labels.
std::optional<int> encodingOfLabel(std::string_view label)
{
    static constexpr std::string_view utf8[] = {"utf-8", "utf8", "unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "x-unicode20utf8"};
    static constexpr std::string_view cp1251[] = {"windows-1251", "cp1251", "x-cp1251"};
    std::string lower(label);
    for (char& c : lower)
        c = asciiLower(c);
    for (std::string_view l : utf8)
        if (lower == l)
            return EncodingUtf8;
    for (std::string_view l : cp1251)
        if (lower == l)
            return EncodingCp1251;
    return std::nullopt;
}

} // namespace

std::optional<int> DeclaredCharset(std::string_view bytes)
{
    static constexpr std::string_view word("charset");
    const char* d = bytes.data();
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i + word.size() <= n; ++i) {
        i = nextLetterC(d, i, n);
        if (i + word.size() > n)
            break;
        std::size_t k = 1;
        while (k < word.size() && asciiLower(d[i + k]) == word[k])
            ++k;
        if (k < word.size() || (i > 0 && isLabelChar(d[i - 1])))
            continue;
        std::size_t j = i + word.size();
        while (j < n && isBlank(d[j]))
            ++j;
        if (j < n && d[j] == '=') {
            ++j;
            while (j < n && isBlank(d[j]))
                ++j;
        } else if (!(i > 0 && d[i - 1] == '@') || j == i + word.size()) {
            continue; // neither "charset=" nor "@charset <name>"
        }
        if (j < n && (d[j] == '"' || d[j] == '\''))
            ++j;
        const std::size_t start = j;
        while (j < n && isLabelChar(d[j]))
            ++j;
        if (const std::optional<int> e = encodingOfLabel(bytes.substr(start, j - start)))
            return e;
        i = j - 1;
    }
    return std::nullopt;
}

int CharsetEncoding(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return EncodingUtf8;
    if (const std::optional<int> declared = DeclaredCharset(bytes))
        return *declared;
    return !platform::plain::IsAscii(bytes) && platform::plain::IsValidUtf8(bytes) ? EncodingUtf8 : EncodingCp1251;
}

std::size_t DocumentTextCapacity(std::string_view bytes) { return platform::plain::DecodeCrLfCapacity(bytes); }

std::size_t DocumentTextInto(std::string_view bytes, char16_t* out)
{
    std::size_t n = platform::plain::DecodeCrLf(bytes, CharsetEncoding(bytes) == EncodingUtf8, out);
    if (n >= 2 && out[n - 2] == u'\r' && out[n - 1] == u'\n')
        n -= 2;
    return n;
}

namespace {

std::string_view reasonOf(ReadProblem problem)
{
    switch (problem) {
    case ReadProblem::Folder: return "это папка, а не файл";
    case ReadProblem::NotRegular: return "это не обычный файл (устройство или канал)";
    case ReadProblem::TooLarge:
        static_assert(MaxDocumentBytes == 256 * 1024 * 1024);
        return "файл больше 256 МБ, такие файлы редактор не открывает";
    case ReadProblem::NoAccess: return "нет доступа к файлу или папке";
    case ReadProblem::ReadError: return "ошибка чтения";
    case ReadProblem::NotFound:
    case ReadProblem::None: break;
    }
    return {};
}

} // namespace

std::string ReadProblemMessage(ReadProblem problem, std::string_view path)
{
    if (problem == ReadProblem::NotFound)
        return kFileNotFoundText;
    std::string m = "Не удалось прочитать файл \"";
    m += path;
    m += "\": ";
    m += reasonOf(problem);
    m += '.';
    return m;
}
