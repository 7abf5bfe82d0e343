#pragma once
// The message log under the editor: time-stamped hints and errors, newest
// line first, kept for the life of the process.
#include <QList>
#include <QString>
#include <QTime>

class MessageLog {
public:
    struct Line {
        QString stamp;   // "hh : nn . ss"
        QString message;
        bool error = false;
    };

    // The command that adds a notice when the newest line is an error.
    static QString changesAfterErrorCommand() { return QStringLiteral("[CHANGES_AFTER_ERROR]"); }

    // Writes one line as line 0; the command above writes the notice or nothing.
    // A message equal to the newest one, once the log holds more than one line,
    // replaces it with a fresh stamp.
    void write(const QString& message, bool isError, const QTime& now);

    int count() const { return int(lines_.size()); }
    // Line i, 0 the newest; an empty line when i is out of range.
    const Line& line(int i) const;
    // Stamp, TAB and message, as the log shows it.
    QString lineText(int i) const;
    // Changes with every change of the lines.
    int revision() const { return revision_; }

    static QString Stamp(const QTime& time);

private:
    // The message of line 0 as the log reads it back: the second TAB field of
    // the first shown line.
    QString previousMessage() const;
    // Shown lines: a message holding line breaks takes several.
    bool holdsMoreThanOneLine() const;

    QList<Line> lines_;
    int revision_ = 0;
};
