#pragma once
// The options sections: small text files NAME.ZEL in the program folder, each
// an ordered list of items "[" + name + "]" + value. The store has one current
// section for the whole program; callers select it right before they use it.
// Every operation reads the file from disk, and every change writes it back at
// once (atomically), so two instances sharing the folder see each other's
// writes. Files are read as Windows-1251, or as UTF-8 when they are valid
// UTF-8 holding non-ASCII text; they are written in Windows-1251 when every
// character fits and in UTF-8 otherwise.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// A section's items as its file's bytes give them: the store's read
// operations are these over the file as read at that moment.
class OptionsSection {
public:
    explicit OptionsSection(QStringList lines)
        : lines_(std::move(lines)) {}
    static OptionsSection FromBytes(const QByteArray& bytes);

    const QStringList& lines() const { return lines_; }
    bool read(const QString& name, QString& value) const;
    int indexOf(const QString& name) const;
    int indexOfValue(const QString& value) const;
    int count() const;
    QString nameAt(int position) const;
    QString valueAt(int position) const;
    QString names() const;

private:
    QStringList lines_;
};

class OptionsStore {
public:
    // folder: the program folder with a trailing separator.
    explicit OptionsStore(QString folder);

    const QString& folder() const { return folder_; }
    const QString& currentPath() const { return current_; }

    QString Opt_FilePath(const QString& section) const;
    bool Opt_FileExists(const QString& section) const;
    void Opt_SelectFile(const QString& section);
    void Opt_CreateFile(const QString& section);
    void Opt_ClearFile(const QString& section, bool deleteFile);
    bool Opt_WriteFileText(const QString& section, const QString& text, const QString& separator);

    bool Opt_Read(const QString& name, QString& value) const;
    void Opt_ReadStr(const QString& name, QString& value) const;
    QString Opt_ReadStr(const QString& name) const;
    // The default when the item is missing; nullopt when its value is not a
    // decimal integer (the caller decides what to fall back to).
    std::optional<int> Opt_ReadInt(const QString& name, int defaultValue) const;
    bool Opt_Write(const QString& name, const QString& value);
    bool Opt_Has(const QString& name) const;
    int Opt_IndexOf(const QString& name) const;
    int Opt_IndexOfValue(const QString& value) const;
    int Opt_Count() const;
    QString Opt_NameAt(int position) const;
    QString Opt_ValueAt(int position) const;
    QString Opt_Names() const;
    void Opt_Delete(const QString& name);
    void Opt_DeleteAt(int position);
    void Opt_Move(int from, int to);

    // The section's path after name resolution (see Opt_SelectFile).
    QString resolvePath(const QString& section) const;

private:
    QStringList readLines() const;
    OptionsSection section() const { return OptionsSection(readLines()); }
    bool writeLines(const QStringList& lines) const;

    QString folder_;
    QString current_;
};

QString Opt_Encode(const QString& text);
QString Opt_Decode(const QString& text);

// Called with a section's path whenever writing it fails (the program says so
// once per run); none by default.
void SetOptionsWriteFailure(std::function<void(const QString& path)> handler);
// The Russian message for such a failure, naming the folder.
QString OptionsWriteFailureMessage(const QString& path);

// Strict decimal conversion: an optional sign and digits, within 32 bits.
std::optional<int> StrictToInt(const QString& text);

// Reads a text file the way the store does (encoding rule above).
QString ReadOptionsText(const QByteArray& bytes);
// Encodes text for writing, the same way.
QByteArray EncodeOptionsText(const QString& text);

// The program-wide store over the program folder, and the operations on it.
OptionsStore& Options();
// Points the program-wide store at the current program folder again (for
// tests that change it) and forgets the current section.
void ResetOptions();

inline QString Opt_FilePath(const QString& s) { return Options().Opt_FilePath(s); }
inline bool Opt_FileExists(const QString& s) { return Options().Opt_FileExists(s); }
inline void Opt_SelectFile(const QString& s) { Options().Opt_SelectFile(s); }
inline void Opt_CreateFile(const QString& s) { Options().Opt_CreateFile(s); }
inline void Opt_ClearFile(const QString& s, bool del) { Options().Opt_ClearFile(s, del); }
inline bool Opt_WriteFileText(const QString& s, const QString& t, const QString& sep) { return Options().Opt_WriteFileText(s, t, sep); }
inline bool Opt_Read(const QString& n, QString& v) { return Options().Opt_Read(n, v); }
inline void Opt_ReadStr(const QString& n, QString& v) { Options().Opt_ReadStr(n, v); }
inline QString Opt_ReadStr(const QString& n) { return Options().Opt_ReadStr(n); }
inline std::optional<int> Opt_ReadInt(const QString& n, int d) { return Options().Opt_ReadInt(n, d); }
inline bool Opt_Write(const QString& n, const QString& v) { return Options().Opt_Write(n, v); }
inline bool Opt_Has(const QString& n) { return Options().Opt_Has(n); }
inline int Opt_IndexOf(const QString& n) { return Options().Opt_IndexOf(n); }
inline int Opt_IndexOfValue(const QString& v) { return Options().Opt_IndexOfValue(v); }
inline int Opt_Count() { return Options().Opt_Count(); }
inline QString Opt_NameAt(int p) { return Options().Opt_NameAt(p); }
inline QString Opt_ValueAt(int p) { return Options().Opt_ValueAt(p); }
inline QString Opt_Names() { return Options().Opt_Names(); }
inline void Opt_Delete(const QString& n) { Options().Opt_Delete(n); }
inline void Opt_DeleteAt(int p) { Options().Opt_DeleteAt(p); }
inline void Opt_Move(int from, int to) { Options().Opt_Move(from, to); }
