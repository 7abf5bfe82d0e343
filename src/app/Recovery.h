#pragma once
// Recovery copies of unsaved text. While the document has unsaved changes
// each running instance keeps a copy of the editor's text, with the
// document's path, origin, encoding and line ends, in ProgramFolder +
// "Recovery/" under a name of its own; a lock file beside it, held while the
// instance runs, tells a live copy from one left by an instance that is gone
// (killed, crashed, power cut). The copy is written by a thread of its own,
// atomically, so typing never waits for the disk.
#include "app/Globals.h"
#include "app/RecentDocuments.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class QLockFile;

struct RecoveryCopy {
    QString documentPath; // the scratch document's path for a never-saved text
    QString origin;       // DocOrigin
    int encoding = 1;     // DocEncoding
    LineEnds lineEnds = LineEnds::CrLf;
    QDateTime saved;      // when the copy was written
    QString text;         // the editor text, CR LF between lines, exactly
    bool operator==(const RecoveryCopy&) const = default;
};

// The file of a copy: a text header (a first line naming the format, then
// "name=value" lines, the path percent-encoded, an empty line) followed by
// the text as UTF-16LE, so every character, raw-byte ones too, comes back.
QByteArray RecoveryCopyBytes(const RecoveryCopy& copy);
class RecoveryText;
// The same with the text (copy.text not read) made from the raw text, as the
// writer writes it.
QByteArray RecoveryCopyBytes(const RecoveryCopy& copy, const RecoveryText& raw);
// nullopt for anything that is not a whole copy (cut short, damaged, foreign).
std::optional<RecoveryCopy> ParseRecoveryCopy(const QByteArray& bytes);

// ProgramFolder + "Recovery/".
QString RecoveryFolder();
// The copies' extension and the lock files'.
inline const QString RecoveryCopySuffix = QStringLiteral(".recovery");
inline const QString RecoveryLockSuffix = QStringLiteral(".lock");
// A name no other instance uses, now or later: process id, start time in
// milliseconds and a count within the process.
QString NewRecoveryName();

// The start-up question for a copy left behind.
QString RecoveryQuestion(const RecoveryCopy& copy);
// The log line when a copy cannot be written.
QString RecoveryWriteFailureMessage(const QString& error);

// The editor's raw text (U+2029 between blocks) kept in chunks and edited
// where it changes, so handing the text over copies none of it: the chunks
// are shared until the next edit of each.
class RecoveryText {
public:
    void reset(const QString& raw);
    // The text of `size` characters read a chunk at a time, so that it is
    // never held whole beside its chunks.
    void reset(qsizetype size, const std::function<QString(qsizetype at, qsizetype length)>& read);
    // Replaces `removed` characters at position with added; false (and the
    // text left as it was) when the range lies outside it.
    bool replace(qsizetype position, qsizetype removed, const QString& added);
    qsizetype size() const { return size_; }
    // The length of the editor text, CR LF for each break.
    qsizetype editorSize() const { return size_ + breaks_; }
    const std::vector<QString>& chunks() const { return chunks_; }
    // The editor text of raw chunks: CR LF for every U+2029.
    static QString EditorText(const std::vector<QString>& chunks);
    // The same text handed over in order, a run at a time.
    static void ForEachEditorRun(const std::vector<QString>& chunks, const std::function<void(QStringView run)>& take);

private:
    std::vector<QString> chunks_;
    qsizetype size_ = 0;
    qsizetype breaks_ = 0;
};

// One instance's copy. Writes and removals run on a thread of their own in
// the order they were asked for; a write asked while another waits replaces
// it (only the newest text matters). The lock is taken before the first
// write, on the caller's thread, and held until destruction.
class RecoveryWriter {
public:
    RecoveryWriter(const QString& folder, const QString& name);
    // Finishes what was asked, then removes the copy and lets the lock go.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    QString copyPath() const { return copyPath_; }
    // Takes the lock (creating the folder); true while it is held.
    bool claim();
    // False (and nothing queued) when the lock cannot be taken.
    bool write(RecoveryCopy copy);
    // The same with the text given as the raw text's chunks (shared, not
    // copied), made into the editor text as the writer's thread writes it.
    bool write(RecoveryCopy copy, RecoveryText raw);
    void remove();
    // Waits until everything asked so far is done.
    void wait();
    // The last write's failure (empty after a success); read and cleared.
    QString takeError();

private:
    struct Job {
        bool remove = false;
        RecoveryCopy copy;
        std::optional<RecoveryText> raw;
    };
    void run();
    void post(Job job);
    bool claimOrSay();

    QString folder_;
    QString copyPath_;
    std::unique_ptr<QLockFile> lock_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<Job> pending_;
    bool busy_ = false;
    bool stop_ = false;
    QString error_;
    std::thread thread_;
};

// A copy left by an instance that no longer runs, locked for this one while
// it is held (another instance starting at the same time skips it).
struct LeftRecoveryCopy {
    QString path;
    RecoveryCopy copy;
    std::shared_ptr<QLockFile> lock;
};

// The copies in folder whose instance is gone, newest first. A copy that
// cannot be read is moved into the backup folder as it is, so nothing is
// lost; lock files of gone instances without a copy are removed.
std::vector<LeftRecoveryCopy> FindLeftRecoveryCopies(const QString& folder);

// Takes a left copy over as the copy of this instance (writer's path): the
// text is then kept, and later removed, as if typed here. The lock goes.
bool AdoptRecoveryCopy(LeftRecoveryCopy& left, RecoveryWriter& writer);

// Moves a left copy into the reserve copies: the backup folder's name for
// its document at the copy's time, in its encoding and line ends (UTF-8
// where Windows-1251 lacks characters), whatever RESERVE says. The copy is
// removed only once the reserve copy is written.
BackupResult MoveRecoveryCopyToReserve(LeftRecoveryCopy& left);
