#include "app/Recovery.h"

#include "app/Documents.h"
#include "platform/Codecs.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QUrl>
#include <QtEndian>
#include <algorithm>
#include <atomic>

namespace {

const QByteArray kMagic("VELTMARK RECOVERY 1\n");
// A header is a few short lines and one path.
constexpr qsizetype kMaxHeader = 256 * 1024;

QByteArray lineEndsName(LineEnds ends) { return ends == LineEnds::Lf ? QByteArray("LF") : QByteArray("CRLF"); }

std::optional<qint64> parseNumber(const QByteArray& value)
{
    bool ok = false;
    const qint64 n = value.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

} // namespace

namespace {

// The copy's head: every field but the text, up to the blank line; the
// text's length is given.
QByteArray recoveryCopyHead(const RecoveryCopy& copy, qsizetype length)
{
    QByteArray out = kMagic;
    out += "path=" + QUrl::toPercentEncoding(copy.documentPath) + '\n';
    out += "origin=" + QUrl::toPercentEncoding(copy.origin) + '\n';
    out += "encoding=" + QByteArray::number(copy.encoding) + '\n';
    out += "lineends=" + lineEndsName(copy.lineEnds) + '\n';
    out += "saved=" + QByteArray::number(copy.saved.toMSecsSinceEpoch()) + '\n';
    out += "length=" + QByteArray::number(length) + "\n\n";
    return out;
}

// The text's bytes, UTF-16LE, gathered a slice at a time: a large page's
// copy is never held as bytes whole beside its text.
class Utf16Writer {
public:
    explicit Utf16Writer(QIODevice& to)
        : to_(to) {}
    void put(QStringView text)
    {
        while (ok_ && !text.isEmpty()) {
            const qsizetype n = std::min(kSlice - used_, text.size());
            qToLittleEndian<char16_t>(text.utf16(), n, bytes_.data() + 2 * used_);
            used_ += n;
            text = text.mid(n);
            if (used_ == kSlice)
                flush();
        }
    }
    bool finish()
    {
        flush();
        return ok_;
    }

private:
    static constexpr qsizetype kSlice = qsizetype(1) << 18;
    void flush()
    {
        if (ok_ && used_ > 0)
            ok_ = to_.write(bytes_.constData(), 2 * used_) == 2 * used_;
        used_ = 0;
    }
    QIODevice& to_;
    QByteArray bytes_{2 * kSlice, Qt::Uninitialized};
    qsizetype used_ = 0;
    bool ok_ = true;
};

// Writes the copy with its text, or with the text made from raw pieces as it
// is written.
bool writeRecoveryCopy(QIODevice& to, const RecoveryCopy& copy, const RecoveryText* raw)
{
    const QByteArray head = recoveryCopyHead(copy, raw ? raw->editorSize() : copy.text.size());
    if (to.write(head) != head.size())
        return false;
    Utf16Writer out(to);
    if (raw)
        RecoveryText::ForEachEditorRun(raw->chunks(), [&out](QStringView run) { out.put(run); });
    else
        out.put(copy.text);
    return out.finish();
}

QByteArray recoveryCopyBytes(const RecoveryCopy& copy, const RecoveryText* raw)
{
    QByteArray out;
    out.reserve((raw ? raw->editorSize() : copy.text.size()) * 2 + 256);
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    writeRecoveryCopy(buffer, copy, raw);
    return out;
}

} // namespace

QByteArray RecoveryCopyBytes(const RecoveryCopy& copy) { return recoveryCopyBytes(copy, nullptr); }

QByteArray RecoveryCopyBytes(const RecoveryCopy& copy, const RecoveryText& raw) { return recoveryCopyBytes(copy, &raw); }

std::optional<RecoveryCopy> ParseRecoveryCopy(const QByteArray& bytes)
{
    if (!bytes.startsWith(kMagic))
        return std::nullopt;
    const qsizetype end = bytes.indexOf("\n\n", kMagic.size() - 1);
    if (end < 0 || end > kMaxHeader)
        return std::nullopt;
    RecoveryCopy c;
    std::optional<qint64> length, saved, encoding;
    bool path = false, origin = false, ends = false;
    const QList<QByteArray> lines = bytes.mid(kMagic.size(), end - kMagic.size()).split('\n');
    for (const QByteArray& line : lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            return std::nullopt;
        const QByteArray key = line.left(eq);
        const QByteArray value = line.mid(eq + 1);
        if (key == "path") {
            c.documentPath = QUrl::fromPercentEncoding(value);
            path = true;
        } else if (key == "origin") {
            c.origin = QUrl::fromPercentEncoding(value);
            origin = true;
        } else if (key == "encoding") {
            encoding = parseNumber(value);
        } else if (key == "lineends") {
            if (value != "LF" && value != "CRLF")
                return std::nullopt;
            c.lineEnds = value == "LF" ? LineEnds::Lf : LineEnds::CrLf;
            ends = true;
        } else if (key == "saved") {
            saved = parseNumber(value);
        } else if (key == "length") {
            length = parseNumber(value);
        }
        // Other names belong to later versions and are passed over.
    }
    if (!path || !origin || !ends || !saved || !length || !encoding)
        return std::nullopt;
    if (*encoding != EncodingCp1251 && *encoding != EncodingUtf8)
        return std::nullopt;
    const qsizetype textStart = end + 2;
    if (*length < 0 || *length > (bytes.size() - textStart) / 2 || textStart + *length * 2 != bytes.size())
        return std::nullopt;
    c.encoding = int(*encoding);
    c.saved = QDateTime::fromMSecsSinceEpoch(*saved);
    if (!c.saved.isValid())
        return std::nullopt;
    c.text.resize(*length);
    qFromLittleEndian<char16_t>(bytes.constData() + textStart, *length, c.text.data());
    return c;
}

QString RecoveryFolder() { return ProgramFolder + QStringLiteral("Recovery/"); }

QString NewRecoveryName()
{
    static const qint64 started = QDateTime::currentMSecsSinceEpoch();
    static std::atomic<int> count{0};
    return QStringLiteral("%1-%2-%3").arg(QCoreApplication::applicationPid()).arg(started).arg(++count);
}

QString RecoveryQuestion(const RecoveryCopy& copy)
{
    const QString name = QFileInfo(copy.documentPath.isEmpty() ? ScratchDocumentName : copy.documentPath).fileName();
    return QStringLiteral("Восстановить несохранённый текст документа \"%1\" от %2?")
        .arg(name, copy.saved.toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
}

QString RecoveryWriteFailureMessage(const QString& error)
{
    return QStringLiteral("Не удалось записать копию несохранённого текста: %1").arg(error);
}

// ---- RecoveryText ---------------------------------------------------------

namespace {
// Chunks hold up to twice this; an edit moves at most one chunk's characters.
constexpr qsizetype kChunk = 32 * 1024;
// The raw text's line break, CR LF in the editor text.
constexpr QChar kBreak = QChar::ParagraphSeparator;
} // namespace

void RecoveryText::reset(const QString& raw)
{
    reset(raw.size(), [&raw](qsizetype at, qsizetype length) { return raw.mid(at, length); });
}

void RecoveryText::reset(qsizetype size, const std::function<QString(qsizetype at, qsizetype length)>& read)
{
    chunks_.clear();
    breaks_ = 0;
    for (qsizetype at = 0; at < size; at += kChunk) {
        chunks_.push_back(read(at, std::min(kChunk, size - at)));
        breaks_ += chunks_.back().count(kBreak);
    }
    size_ = size;
}

bool RecoveryText::replace(qsizetype position, qsizetype removed, const QString& added)
{
    if (position < 0 || removed < 0 || position + removed > size_)
        return false;
    if (chunks_.empty())
        chunks_.emplace_back();
    // The chunk holding position (the last one for the very end).
    size_t i = 0;
    qsizetype start = 0;
    while (i + 1 < chunks_.size() && position >= start + chunks_[i].size()) {
        start += chunks_[i].size();
        ++i;
    }
    qsizetype offset = position - start;
    // What goes, possibly over several chunks.
    qsizetype left = removed;
    size_t j = i;
    qsizetype at = offset;
    while (left > 0 && j < chunks_.size()) {
        const qsizetype n = std::min(left, chunks_[j].size() - at);
        breaks_ -= QStringView(chunks_[j]).mid(at, n).count(kBreak);
        chunks_[j].remove(at, n);
        left -= n;
        if (left > 0) {
            ++j;
            at = 0;
        }
    }
    chunks_[i].insert(offset, added);
    size_ += added.size() - removed;
    breaks_ += added.count(kBreak);
    // Chunks emptied past i go; one grown too large is split.
    const auto last = chunks_.begin() + std::min(j + 1, chunks_.size());
    chunks_.erase(std::remove_if(chunks_.begin() + i + 1, last, [](const QString& c) { return c.isEmpty(); }), last);
    if (chunks_[i].size() > 2 * kChunk) {
        const QString whole = chunks_[i];
        std::vector<QString> parts;
        for (qsizetype p = 0; p < whole.size(); p += kChunk)
            parts.push_back(whole.mid(p, kChunk));
        chunks_.erase(chunks_.begin() + i);
        chunks_.insert(chunks_.begin() + i, parts.begin(), parts.end());
    } else if (chunks_[i].isEmpty() && chunks_.size() > 1) {
        chunks_.erase(chunks_.begin() + i);
    }
    return true;
}

void RecoveryText::ForEachEditorRun(const std::vector<QString>& chunks, const std::function<void(QStringView run)>& take)
{
    // The runs between breaks are found by the string search (which scans
    // many characters at a time) and handed on whole: a copy of a large page
    // is written after every pause in the typing.
    static const QString crLf = QStringLiteral("\r\n");
    for (const QString& c : chunks) {
        qsizetype from = 0;
        for (qsizetype at = c.indexOf(kBreak); at >= 0; from = at + 1, at = c.indexOf(kBreak, from)) {
            if (at > from)
                take(QStringView(c).mid(from, at - from));
            take(crLf);
        }
        if (c.size() > from)
            take(QStringView(c).mid(from));
    }
}

QString RecoveryText::EditorText(const std::vector<QString>& chunks)
{
    qsizetype n = 0;
    for (const QString& c : chunks)
        n += c.size() + c.count(kBreak);
    QString text;
    text.reserve(n);
    ForEachEditorRun(chunks, [&text](QStringView run) { text += run; });
    return text;
}

// ---- RecoveryWriter -------------------------------------------------------

RecoveryWriter::RecoveryWriter(const QString& folder, const QString& name)
    : folder_(folder)
    , copyPath_(folder + name + RecoveryCopySuffix)
    , lock_(std::make_unique<QLockFile>(folder + name + RecoveryLockSuffix))
{
    // Stale only when its process is gone, however long it has been held.
    lock_->setStaleLockTime(0);
    thread_ = std::thread([this] { run(); });
}

RecoveryWriter::~RecoveryWriter()
{
    remove();
    {
        std::lock_guard<std::mutex> l(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
    if (lock_->isLocked())
        lock_->unlock();
}

bool RecoveryWriter::claim()
{
    if (lock_->isLocked())
        return true;
    QDir().mkpath(folder_);
    return lock_->tryLock(0);
}

bool RecoveryWriter::write(RecoveryCopy copy)
{
    if (!claimOrSay())
        return false;
    post({false, std::move(copy), std::nullopt});
    return true;
}

bool RecoveryWriter::write(RecoveryCopy copy, RecoveryText raw)
{
    if (!claimOrSay())
        return false;
    post({false, std::move(copy), std::move(raw)});
    return true;
}

bool RecoveryWriter::claimOrSay()
{
    if (claim())
        return true;
    std::lock_guard<std::mutex> l(mutex_);
    error_ = QStringLiteral("папка \"%1\" недоступна для записи").arg(QDir::toNativeSeparators(folder_));
    return false;
}

void RecoveryWriter::remove()
{
    // Without the lock this instance never wrote a copy.
    if (lock_->isLocked())
        post({true, {}, std::nullopt});
}

void RecoveryWriter::post(Job job)
{
    {
        std::lock_guard<std::mutex> l(mutex_);
        pending_ = std::move(job);
    }
    wake_.notify_one();
}

void RecoveryWriter::wait()
{
    std::unique_lock<std::mutex> l(mutex_);
    idle_.wait(l, [this] { return !pending_ && !busy_; });
}

QString RecoveryWriter::takeError()
{
    std::lock_guard<std::mutex> l(mutex_);
    return std::exchange(error_, QString());
}

void RecoveryWriter::run()
{
    std::unique_lock<std::mutex> l(mutex_);
    for (;;) {
        wake_.wait(l, [this] { return pending_ || stop_; });
        if (!pending_)
            return;
        Job job = std::move(*pending_);
        pending_.reset();
        busy_ = true;
        l.unlock();

        QString error;
        if (job.remove) {
            if (QFileInfo::exists(copyPath_) && !QFile::remove(copyPath_))
                error = QStringLiteral("не удалось удалить \"%1\"").arg(QDir::toNativeSeparators(copyPath_));
        } else {
            QSaveFile f(copyPath_);
            const bool written = f.open(QIODevice::WriteOnly) && writeRecoveryCopy(f, job.copy, job.raw ? &*job.raw : nullptr);
            if (!written || !f.commit())
                error = f.errorString();
        }

        l.lock();
        error_ = error;
        busy_ = false;
        idle_.notify_all();
    }
}

// ---- Copies left behind ---------------------------------------------------

namespace {

// A copy cannot be read back: its bytes go into the backup folder as they
// are, under the copy's own name.
void keepUnreadableCopy(const QString& path, const QByteArray& bytes)
{
    const QFileInfo fi(path);
    if (WriteBackupCopy(fi.fileName(), bytes, fi.lastModified()).ok)
        QFile::remove(path);
}

} // namespace

std::vector<LeftRecoveryCopy> FindLeftRecoveryCopies(const QString& folder)
{
    std::vector<LeftRecoveryCopy> found;
    const QDir dir(folder);
    if (!dir.exists())
        return found;
    for (const QString& file : dir.entryList({QStringLiteral("*") + RecoveryCopySuffix}, QDir::Files, QDir::Name)) {
        const QString base = file.chopped(RecoveryCopySuffix.size());
        auto lock = std::make_shared<QLockFile>(folder + base + RecoveryLockSuffix);
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue; // its instance runs (or another one is taking it now)
        const QString path = folder + file;
        QFile f(path);
        // The largest document as UTF-16, and its header.
        if (!f.open(QIODevice::ReadOnly) || f.size() > 2 * MaxDocumentBytes + kMaxHeader)
            continue;
        const QByteArray bytes = f.readAll();
        f.close();
        const std::optional<RecoveryCopy> copy = ParseRecoveryCopy(bytes);
        if (!copy) {
            keepUnreadableCopy(path, bytes);
            continue;
        }
        found.push_back({path, *copy, std::move(lock)});
    }
    // Lock files that outlived their instance and have no copy.
    for (const QString& file : dir.entryList({QStringLiteral("*") + RecoveryLockSuffix}, QDir::Files | QDir::Hidden)) {
        const QString base = file.chopped(RecoveryLockSuffix.size());
        if (QFileInfo::exists(folder + base + RecoveryCopySuffix))
            continue;
        QLockFile lock(folder + file);
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            lock.unlock();
    }
    std::stable_sort(found.begin(), found.end(), [](const LeftRecoveryCopy& a, const LeftRecoveryCopy& b) {
        return a.copy.saved > b.copy.saved;
    });
    return found;
}

bool AdoptRecoveryCopy(LeftRecoveryCopy& left, RecoveryWriter& writer)
{
    if (!writer.claim())
        return false;
    writer.wait();
    QFile::remove(writer.copyPath());
    if (!QFile::rename(left.path, writer.copyPath()))
        return false;
    left.lock->unlock();
    return true;
}

BackupResult MoveRecoveryCopyToReserve(LeftRecoveryCopy& left)
{
    const RecoveryCopy& c = left.copy;
    const int encoding = c.encoding == EncodingCp1251 && !platform::FitsCp1251(c.text) ? EncodingUtf8 : c.encoding;
    const QString document = c.documentPath.isEmpty() ? ScratchDocumentName : c.documentPath;
    const BackupResult r = WriteBackupCopy(document, DocumentBytes(c.text, encoding, c.lineEnds), c.saved);
    if (r.ok) {
        QFile::remove(left.path);
        left.lock->unlock();
    }
    return r;
}
