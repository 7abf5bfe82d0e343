#include "store/OptionsStore.h"

#include "platform/Codecs.h"
#include "platform/Folders.h"
#include "store/Utilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kExt = QStringLiteral(".ZEL");
const QString kCurrent = QStringLiteral("[current]");

QString itemKey(const QString& name) { return u'[' + Opt_Encode(name) + u']'; }

// The value of an item line: what follows the last "]" among all characters
// but the last one.
QString storedValue(const QString& line)
{
    if (line.size() < 2)
        return {};
    const qsizetype close = line.lastIndexOf(u']', line.size() - 2);
    return close < 0 ? QString() : line.mid(close + 1);
}

// The name of an item line as stored: between the first character and the last "]".
QString storedName(const QString& line)
{
    const qsizetype close = line.lastIndexOf(u']');
    return close < 1 ? QString() : line.mid(1, close - 1);
}

void dropFinalEmpty(QStringList& lines)
{
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
}

int countOf(const QStringList& lines)
{
    return int(lines.size()) - (!lines.isEmpty() && lines.back().isEmpty() ? 1 : 0);
}

int indexOfKey(const QStringList& lines, const QString& key)
{
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(key))
            return i;
    return -1;
}

std::function<void(const QString&)>& writeFailure()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

bool writeFileLines(const QString& path, const QStringList& lines)
{
    QString text;
    for (const QString& l : lines) {
        text += l;
        text += QStringLiteral("\r\n");
    }
    QSaveFile f(path);
    // A writable section in a folder that cannot be written is written in place.
    f.setDirectWriteFallback(true);
    const bool ok = f.open(QIODevice::WriteOnly) && f.write(EncodeOptionsText(text)) >= 0 && f.commit();
    if (!ok && writeFailure())
        writeFailure()(path);
    return ok;
}

} // namespace

QString Opt_Encode(const QString& text)
{
    QString s = ReplaceText(text, QStringLiteral("["), QStringLiteral("#lftsqrbrckt"), true);
    s = ReplaceText(s, QStringLiteral("]"), QStringLiteral("#rghtsqrbrckt"), true);
    s = ReplaceText(s, QStringLiteral("\r\n"), QStringLiteral("#tsnwstng"), true);
    s = ReplaceText(s, QStringLiteral("#13"), QStringLiteral("#13tsnwstng"), true);
    return ReplaceText(s, QStringLiteral("#10"), QStringLiteral("#10tsnwstng"), true);
}

QString Opt_Decode(const QString& text)
{
    QString s = ReplaceText(text, QStringLiteral("#lftsqrbrckt"), QStringLiteral("["), true);
    s = ReplaceText(s, QStringLiteral("#rghtsqrbrckt"), QStringLiteral("]"), true);
    s = ReplaceText(s, QStringLiteral("#tsnwstng"), QStringLiteral("\r\n"), true);
    s = ReplaceText(s, QStringLiteral("#13tsnwstng"), QStringLiteral("#13"), true);
    return ReplaceText(s, QStringLiteral("#10tsnwstng"), QStringLiteral("#10"), true);
}

void SetOptionsWriteFailure(std::function<void(const QString& path)> handler) { writeFailure() = std::move(handler); }

QString OptionsWriteFailureMessage(const QString& path)
{
    return QStringLiteral("Не удалось записать настройки в папку \"%1\": нет доступа на запись. Недавние документы, положение окна "
                          "и другие настройки не сохранятся, пока папка недоступна.")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
}

std::optional<int> StrictToInt(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (text.at(0) == u'-' || text.at(0) == u'+') {
        negative = text.at(0) == u'-';
        i = 1;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > qint64(2147483648LL))
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL)
        return std::nullopt;
    return int(v);
}

QString ReadOptionsText(const QByteArray& bytes)
{
    if (!platform::IsAscii(bytes) && platform::IsValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return platform::DecodeCp1251(bytes);
}

QByteArray EncodeOptionsText(const QString& text)
{
    bool lossless = false;
    QByteArray bytes = platform::EncodeCp1251(text, &lossless);
    // Windows-1251 bytes that also form valid UTF-8 ("Рџ" is the UTF-8 of
    // "П") would be read back as UTF-8: such a text is written as UTF-8.
    if (lossless && (platform::IsAscii(bytes) || !platform::IsValidUtf8(bytes)))
        return bytes;
    return text.toUtf8();
}

OptionsStore::OptionsStore(QString folder)
    : folder_(std::move(folder))
{
}

QString OptionsStore::Opt_FilePath(const QString& section) const { return folder_ + section + kExt; }

bool OptionsStore::Opt_FileExists(const QString& section) const { return QFileInfo::exists(Opt_FilePath(section)); }

QString OptionsStore::resolvePath(const QString& section) const
{
    if (section.contains(platform::PathSep)) {
        const qsizetype sep = section.lastIndexOf(platform::PathSep);
        const qsizetype dot = section.lastIndexOf(u'.');
        return (dot > sep ? section.left(dot) : section) + kExt;
    }
    return folder_ + StripExtension(section) + kExt;
}

namespace {
void createIfMissing(const QString& path)
{
    if (QFileInfo::exists(path))
        return;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder))
        QDir().mkdir(folder);
    writeFileLines(path, {});
}
} // namespace

void OptionsStore::Opt_SelectFile(const QString& section)
{
    current_ = resolvePath(section);
    createIfMissing(current_);
}

void OptionsStore::Opt_CreateFile(const QString& section) { createIfMissing(resolvePath(section)); }

void OptionsStore::Opt_ClearFile(const QString& section, bool deleteFile)
{
    const QString path = section == kCurrent ? current_ : Opt_FilePath(section);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    if (deleteFile)
        QFile::remove(path);
    else
        writeFileLines(path, {});
}

bool OptionsStore::Opt_WriteFileText(const QString& section, const QString& text, const QString& separator)
{
    const QString t = separator.isEmpty() ? text : ReplaceText(text, separator, QStringLiteral("\r\n"), true);
    return writeFileLines(resolvePath(section), SplitLines(t));
}

QStringList OptionsStore::readLines() const
{
    // A missing or unreadable section reads as empty; the next write creates it.
    QFile f(current_);
    if (current_.isEmpty() || !f.open(QIODevice::ReadOnly))
        return {};
    return OptionsSection::FromBytes(f.readAll()).lines();
}

bool OptionsStore::writeLines(const QStringList& lines) const
{
    return !current_.isEmpty() && writeFileLines(current_, lines);
}

OptionsSection OptionsSection::FromBytes(const QByteArray& bytes) { return OptionsSection(SplitLines(ReadOptionsText(bytes))); }

bool OptionsSection::read(const QString& name, QString& value) const
{
    const int i = indexOf(name);
    if (i < 0)
        return false;
    value = Opt_Decode(storedValue(lines_[i]));
    return true;
}

int OptionsSection::indexOf(const QString& name) const { return indexOfKey(lines_, itemKey(name)); }

int OptionsSection::indexOfValue(const QString& value) const
{
    const QString encoded = Opt_Encode(value);
    for (int i = 0; i < lines_.size(); ++i)
        if (storedValue(lines_[i]).compare(encoded, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int OptionsSection::count() const { return countOf(lines_); }

QString OptionsSection::nameAt(int position) const
{
    if (position < 0 || position >= count())
        return {};
    return storedName(lines_[position]);
}

QString OptionsSection::valueAt(int position) const
{
    if (position < 0 || position >= count())
        return {};
    return Opt_Decode(storedValue(lines_[position]));
}

QString OptionsSection::names() const
{
    QStringList lines = lines_;
    dropFinalEmpty(lines);
    QStringList names;
    for (const QString& l : lines)
        if (l.contains(u']'))
            names << storedName(l);
    return names.join(QStringLiteral("\r\n"));
}

bool OptionsStore::Opt_Read(const QString& name, QString& value) const { return section().read(name, value); }

void OptionsStore::Opt_ReadStr(const QString& name, QString& value) const { Opt_Read(name, value); }

QString OptionsStore::Opt_ReadStr(const QString& name) const
{
    QString v;
    Opt_Read(name, v);
    return v;
}

std::optional<int> OptionsStore::Opt_ReadInt(const QString& name, int defaultValue) const
{
    QString v;
    if (!Opt_Read(name, v))
        return defaultValue;
    return StrictToInt(v);
}

bool OptionsStore::Opt_Write(const QString& name, const QString& value)
{
    const QString key = itemKey(name);
    const QString line = key + Opt_Encode(value);
    QStringList lines = readLines();
    dropFinalEmpty(lines);
    const int i = indexOfKey(lines, key);
    if (i >= 0)
        lines[i] = line;
    else
        lines << line;
    dropFinalEmpty(lines);
    return writeLines(lines);
}

bool OptionsStore::Opt_Has(const QString& name) const { return Opt_IndexOf(name) >= 0; }

int OptionsStore::Opt_IndexOf(const QString& name) const { return section().indexOf(name); }

int OptionsStore::Opt_IndexOfValue(const QString& value) const { return section().indexOfValue(value); }

int OptionsStore::Opt_Count() const { return section().count(); }

QString OptionsStore::Opt_NameAt(int position) const { return section().nameAt(position); }

QString OptionsStore::Opt_ValueAt(int position) const { return section().valueAt(position); }

QString OptionsStore::Opt_Names() const { return section().names(); }

void OptionsStore::Opt_Delete(const QString& name)
{
    QStringList lines = readLines();
    const int i = indexOfKey(lines, itemKey(name));
    if (i < 0 || i >= countOf(lines))
        return;
    lines.removeAt(i);
    writeLines(lines);
}

void OptionsStore::Opt_DeleteAt(int position)
{
    QStringList lines = readLines();
    if (position < 0 || position >= countOf(lines))
        return;
    lines.removeAt(position);
    writeLines(lines);
}

void OptionsStore::Opt_Move(int from, int to)
{
    QStringList lines = readLines();
    dropFinalEmpty(lines);
    if (from < 0 || to < 0 || from >= lines.size() || to >= lines.size())
        return;
    lines.move(from, to);
    writeLines(lines);
}

OptionsStore& Options()
{
    static OptionsStore store(platform::ProgramFolderPath());
    return store;
}

void ResetOptions() { Options() = OptionsStore(platform::ProgramFolderPath()); }
