#include "html/plain/CheckCommand.h"

#include "app/plain/DocumentBytes.h"
#include "html/plain/TagPass.h"
#include "platform/plain/Bytes.h"

#include <algorithm>
#include <memory>

LineColumn LineColumnAt(std::u16string_view text, std::size_t position)
{
    LineColumn lc;
    const std::size_t offset = std::min(position > 0 ? position - 1 : 0, text.size());
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < offset && text[i + 1] == u'\n')
                ++i;
            ++lc.line;
            lineStart = i + 1;
        }
    }
    lc.column = offset - lineStart + 1;
    return lc;
}

namespace {

// Line breaks and tabs, however many in a row, become one blank.
std::u16string OneLine(std::u16string_view message)
{
    std::u16string out;
    out.reserve(message.size());
    bool gap = false;
    for (char16_t c : message) {
        if (c == u'\r' || c == u'\n' || c == u'\t') {
            gap = true;
            continue;
        }
        if (gap && !out.empty())
            out += u' ';
        gap = false;
        out += c;
    }
    return out;
}

// A buffer that a read or a decode fills whole, so it is never cleared first.
template <class Char>
class Buffer {
public:
    using size_type = std::size_t;
    size_type size() const { return size_; }
    Char* data() { return data_.get(); }
    void resize(size_type size)
    {
        if (size > capacity_) {
            std::unique_ptr<Char[]> larger(new Char[size]);
            std::copy(data_.get(), data_.get() + size_, larger.get());
            data_ = std::move(larger);
            capacity_ = size;
        }
        size_ = size;
    }

private:
    std::unique_ptr<Char[]> data_;
    size_type size_ = 0;
    size_type capacity_ = 0;
};

void Print(std::FILE* to, const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), to);
    std::fputc('\n', to);
}

} // namespace

std::string CheckReport(std::string_view fileName, std::u16string_view text)
{
    const TagFault fault = CheckTagText(text);
    if (fault.passed)
        return {};
    const LineColumn lc = LineColumnAt(text, fault.position);
    std::string report(fileName);
    report += ':' + std::to_string(lc.line) + ':' + std::to_string(lc.column) + ": ";
    platform::plain::AppendUtf8(OneLine(fault.message), report);
    return report;
}

int RunCheckCommand(const std::vector<std::string>& files, std::FILE* out, std::FILE* err)
{
    if (files.empty()) {
        Print(err, "veltmark --check: не указан ни один файл для проверки");
        return 2;
    }
    int code = 0;
    Buffer<char> bytes;
    Buffer<char16_t> text;
    for (const std::string& name : files) {
        const platform::plain::ReadProblem problem = platform::plain::ReadWholeFile(name.c_str(), std::size_t(MaxDocumentBytes), bytes);
        if (problem != platform::plain::ReadProblem::None) {
            std::fflush(out);
            Print(err, name + ": " + ReadProblemMessage(problem, name));
            code = 2;
            continue;
        }
        const std::string_view view(bytes.data(), bytes.size());
        text.resize(DocumentTextCapacity(view));
        const std::string report = CheckReport(name, std::u16string_view(text.data(), DocumentTextInto(view, text.data())));
        if (!report.empty()) {
            Print(out, report);
            code = std::max(code, 1);
        }
    }
    std::fflush(out);
    return code;
}
