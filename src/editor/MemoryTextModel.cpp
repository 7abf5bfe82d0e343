#include "editor/MemoryTextModel.h"

#include <algorithm>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

QString WithLineBreaks(const QString& text, QStringView lineBreak)
{
    const qsizetype n = text.size();
    const QChar* data = text.constData();
    // First the breaks are counted, so the result is made at its size once
    // (a page is large and its lines are many); a text whose every break is
    // already the asked one comes back shared.
    qsizetype breaks = 0;
    qsizetype breakChars = 0;
    bool same = true;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = data[i];
        if (c != u'\r' && c != u'\n')
            continue;
        const qsizetype len = c == u'\r' && i + 1 < n && data[i + 1] == u'\n' ? 2 : 1;
        same = same && QStringView(data + i, len) == lineBreak;
        ++breaks;
        breakChars += len;
        i += len - 1;
    }
    if (same)
        return text;
    QString result(n - breakChars + breaks * lineBreak.size(), Qt::Uninitialized);
    QChar* out = result.data();
    qsizetype runStart = 0;
    const auto copy = [&](const QChar* from, qsizetype count) {
        std::copy_n(from, count, out);
        out += count;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = data[i];
        if (c != u'\r' && c != u'\n')
            continue;
        copy(data + runStart, i - runStart);
        copy(lineBreak.data(), lineBreak.size());
        if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n')
            ++i;
        runStart = i + 1;
    }
    copy(data + runStart, n - runStart);
    return result;
}

void MemoryTextModel::setText(const QString& text)
{
    const int oldLength = length();
    text_ = WithLineBreaks(text, kCrLf);
    starts_.assign(1, 0);
    const QChar* data = text_.constData();
    const int n = length();
    for (int i = 0; i + 1 < n; ++i) {
        if (data[i] == u'\r') {
            starts_.push_back(i + 2);
            ++i;
        }
    }
    selStart_ = 0;
    selLength_ = 0;
    reportChange(0, oldLength, length());
    firstVisible_ = 0;
}

int MemoryTextModel::lineCount() const
{
    // The stored line after a final break (or the only line of an empty
    // text) is empty and does not count.
    const int stored = storedLines();
    return starts_.back() == length() ? stored - 1 : stored;
}

int MemoryTextModel::lineEnd(int i) const
{
    return i + 1 < storedLines() ? starts_[i + 1] - 2 : length();
}

QString MemoryTextModel::line(int i) const
{
    if (i < 0 || i >= lineCount())
        return {};
    return text_.mid(starts_[i], lineEnd(i) - starts_[i]);
}

void MemoryTextModel::setLine(int i, const QString& text)
{
    if (i < 0 || i >= lineCount())
        return;
    const QString crlf = WithLineBreaks(text, kCrLf);
    const int from = starts_[i];
    replace(from, lineEnd(i), crlf);
    selStart_ = from + int(crlf.size());
    selLength_ = 0;
}

int MemoryTextModel::lineStart(int i) const
{
    if (i < 0 || i >= storedLines())
        return -1;
    return starts_[i];
}

int MemoryTextModel::lineAt(int offset) const
{
    const int o = clampOffset(offset);
    const auto it = std::upper_bound(starts_.begin(), starts_.end(), o);
    return int(it - starts_.begin()) - 1;
}

int MemoryTextModel::clampOffset(qint64 offset) const
{
    const int o = int(std::clamp<qint64>(offset, 0, length()));
    if (o > 0 && o < length() && text_[o - 1] == u'\r')
        return o - 1;
    return o;
}

void MemoryTextModel::setSelStart(int offset)
{
    selStart_ = clampOffset(offset);
    selLength_ = 0;
}

void MemoryTextModel::setSelLength(int length)
{
    const int end = clampOffset(qint64(selStart_) + std::max(length, 0));
    selLength_ = end - selStart_;
}

void MemoryTextModel::setSelText(const QString& text)
{
    const QString crlf = WithLineBreaks(text, kCrLf);
    replace(selStart_, selStart_ + selLength_, crlf);
    selStart_ += int(crlf.size());
    selLength_ = 0;
}

QString MemoryTextModel::selText() const
{
    return text_.mid(selStart_, selLength_);
}

CaretPos MemoryTextModel::caretPos() const
{
    const int end = selStart_ + selLength_;
    const int line = lineAt(end);
    return {end - starts_[line], line};
}

int MemoryTextModel::firstVisibleLine() const
{
    return std::clamp(firstVisible_, 0, storedLines() - 1);
}

void MemoryTextModel::replace(int from, int to, const QString& crlfText)
{
    // Lines that start inside (from, to] lose their break and go.
    const auto first = std::upper_bound(starts_.begin(), starts_.end(), from);
    const auto last = std::upper_bound(first, starts_.end(), to);
    const auto at = starts_.erase(first, last);

    const int delta = int(crlfText.size()) - (to - from);
    for (auto it = at; it != starts_.end(); ++it)
        *it += delta;

    std::vector<int> added;
    const QChar* data = crlfText.constData();
    for (int j = 0; j < int(crlfText.size()); ++j) {
        if (data[j] == u'\n')
            added.push_back(from + j + 1);
    }
    starts_.insert(at, added.begin(), added.end());

    text_.replace(from, to - from, crlfText);
    reportChange(from, to - from, int(crlfText.size()));
}
