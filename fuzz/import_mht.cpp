// Drives the web-archive import and the export's compressors over arbitrary
// bytes. The import must give what a plain reading gives that decodes the
// escapes in place, deleting characters while it walks (slow, but simple),
// and never leave a NUL. The HTML compressor, on a text without <pre>,
// <textarea> or <script>, must give what the plain replace-and-delete rules
// give; both compressors leave no line break, tab or run of blanks where
// they compress.
#include "app/ImportExport.h"
#include "platform/Codecs.h"
#include "store/Utilities.h"

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace {

char up(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }

bool at(const std::string& s, size_t i, std::string_view p)
{
    if (i + p.size() > s.size())
        return false;
    for (size_t k = 0; k < p.size(); ++k)
        if (up(s[i + k]) != p[k])
            return false;
    return true;
}

int hex(char c)
{
    c = up(c);
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool alnum(char c)
{
    c = up(c);
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
}

// The import step by step, the escapes decoded in place.
std::string plainImport(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            line += bytes[i];
        }
    }
    if (!line.empty())
        lines.push_back(line);
    std::string s;
    for (const std::string& l : lines)
        s += l + "\r\n";

    std::vector<std::string> styles{"<style>"};
    bool open = false;
    size_t first = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (at(lines[i], 0, "CONTENT-TYPE: TEXT/CSS;")) {
            open = true;
            first = i + 3;
        } else if (open && at(lines[i], 0, "----------")) {
            for (size_t k = first; k < i; ++k)
                styles.push_back(lines[k]);
            open = false;
        }
    }
    styles.push_back("</style>");
    std::string block;
    for (const std::string& l : styles)
        block += l + "\r\n";
    for (size_t i = 0; i < s.size(); ++i) {
        if (at(s, i, "</HEAD>")) {
            s.insert(i, block);
            i += block.size() + 6;
        }
    }
    for (size_t i = 0; i + 1 < s.size(); ++i) {
        if (at(s, i, "<!DOCTYPE HTML")) {
            s.erase(0, i);
            break;
        }
    }

    std::vector<bool> literal(s.size(), false);
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '=' && at(s, i + 1, "3D")) {
            s.erase(i + 1, 2);
            literal.erase(literal.begin() + long(i) + 1, literal.begin() + long(i) + 3);
            literal[i] = true;
        }
    }
    for (size_t i = 0; i + 2 < s.size(); ++i) {
        if (s[i] == '=' && !literal[i] && s[i + 1] == '\r' && s[i + 2] == '\n') {
            s[i] = '\0';
            s.erase(i + 1, 2);
            literal.erase(literal.begin() + long(i) + 1, literal.begin() + long(i) + 3);
        }
    }

    bool script = false, comment = false, value = false, text = false;
    for (size_t i = 0; i + 1 < s.size(); ++i) {
        if (at(s, i, "</HTML>")) {
            s.resize(i + 7);
            literal.resize(i + 7);
        }
        if (at(s, i, "<SCRIPT"))
            script = true;
        else if (i >= 8 && at(s, i - 8, "</SCRIPT"))
            script = false;
        if (script)
            continue;
        if (at(s, i, "<!--"))
            comment = true;
        else if (i >= 4 && at(s, i - 4, "-->"))
            comment = false;
        if (comment)
            continue;
        const char c = s[i];
        if (c == '>')
            text = true;
        else if (c == '<')
            text = false;
        if (c == '=' && i + 1 < s.size() && s[i + 1] == '"' && !(i + 2 < s.size() && alnum(s[i + 2]))) {
            value = true;
            continue;
        }
        if (c == '"' && !(i > 0 && s[i - 1] == '=')) {
            value = false;
            continue;
        }
        if ((text || value) && c == '=' && !literal[i] && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
            s[i] = char(hex(s[i + 1]) * 16 + hex(s[i + 2]));
            s.erase(i + 1, 2);
            literal.erase(literal.begin() + long(i) + 1, literal.begin() + long(i) + 3);
        }
    }
    std::string out;
    for (char c : s)
        if (c != '\0')
            out += c;
    return out;
}

// The HTML rules replaced and deleted in place.
QString plainHtml(const QString& text)
{
    QString s = ReplaceText(text, QStringLiteral("\r\n"), QStringLiteral(" "), true);
    s = ReplaceText(s, QStringLiteral("\t"), QStringLiteral(" "), true);
    s = SquashRepeats(s, u' ');
    const char* rules[][2] = {{" <TD>", "<TD>"}, {"<TD> ", "<TD>"}, {" </TD>", "</TD>"}, {"</TD> ", "</TD>"},
                              {" <TR>", "<TR>"}, {"<TR> ", "<TR>"}, {" </TR>", "</TR>"}, {"</TR> ", "</TR>"},
                              {" <br>", "<br>"}, {"<br> ", "<br>"}};
    for (const auto& r : rules)
        s = ReplaceText(s, QString::fromLatin1(r[0]), QString::fromLatin1(r[1]), false);
    bool armed = false;
    for (qsizetype i = 0; i < text.size() && i < s.size(); ++i) {
        if (s[i] == u' ' && i + 1 < s.size() && s[i + 1] == u'<') {
            armed = true;
        } else if (s[i] == u'>') {
            if (armed && i + 1 < s.size() && s[i + 1] == u' ')
                s.remove(i + 1, 1);
            armed = false;
        }
    }
    return s;
}

bool compressedEverywhere(const QString& s)
{
    return !s.contains(u'\t') && !s.contains(QStringLiteral("\r\n")) && !s.contains(QStringLiteral("  "));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString imported = ImportMHT(bytes);
    if (imported.contains(QChar(0)))
        __builtin_trap();
    const std::string plain = plainImport(std::string(bytes.constData(), size_t(bytes.size())));
    const QByteArray plainBytes(plain.data(), qsizetype(plain.size()));
    const bool mayBeUtf8 = bytes.toUpper().contains("CHARSET");
    if (imported != platform::DecodeCp1251(plainBytes) && !(mayBeUtf8 && imported == platform::DecodeUtf8Lenient(plainBytes)))
        __builtin_trap();

    const QString text = platform::DecodeCp1251(bytes);
    const QString html = CompressHtml(text);
    if (html.size() > text.size() || CompressionFigure.isEmpty())
        __builtin_trap();
    const QString upper = text.toUpper();
    if (!upper.contains(QStringLiteral("<PRE")) && !upper.contains(QStringLiteral("<TEXTAREA")) && !upper.contains(QStringLiteral("<SCRIPT"))) {
        if (html != plainHtml(text) || !compressedEverywhere(html))
            __builtin_trap();
    }
    const QString css = CompressCss(text);
    if (css.size() > text.size() || !compressedEverywhere(css))
        __builtin_trap();
    return 0;
}
