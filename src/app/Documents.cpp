#include "app/Documents.h"

#include "editor/MemoryTextModel.h"

#include "app/Globals.h"
#include "app/RecentDocuments.h"
#include "editor/TextModel.h"
#include "platform/Codecs.h"
#include "platform/Folders.h"
#include "store/Utilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString fileNameOf(const QString& path)
{
    const qsizetype sep = path.lastIndexOf(platform::PathSep);
    return sep < 0 ? path : path.mid(sep + 1);
}

QString writeFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("Не удалось сохранить файл \"%1\": %2. Прежний файл на диске не изменён, текст остаётся в редакторе.")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString createFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("Не удалось создать файл \"%1\": %2. Текст остаётся в редакторе.").arg(QDir::toNativeSeparators(path), reason);
}

QString reasonOf(QFileDevice::FileError e)
{
    switch (e) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return QStringLiteral("нет доступа к файлу или папке");
    case QFileDevice::WriteError:
    case QFileDevice::ResourceError:
        return QStringLiteral("ошибка записи (возможно, на диске нет места)");
    case QFileDevice::RenameError:
        return QStringLiteral("файл не удалось заменить");
    case QFileDevice::ReadError:
        return QStringLiteral("ошибка чтения");
    default:
        return QStringLiteral("ошибка файловой системы");
    }
}

bool hasWriteBits(const QFileInfo& fi)
{
    // The mode bits, not the current user's access: a file marked read-only
    // stays untouched even for a user who could override it.
    return fi.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
}

} // namespace

// ---- Reading ----------------------------------------------------------

QString JoinDocumentLines(QString decoded)
{
    QString out = WithLineBreaks(decoded, kCrLf);
    // A text in CR LF form already comes back shared: let go of it, so the
    // cut below is made in place rather than on a copy of the page.
    decoded = QString();
    // The line end of the last line adds nothing.
    if (out.endsWith(kCrLf))
        out.chop(2);
    return out;
}

LineEnds LineEndsOf(const QByteArray& bytes)
{
    qsizetype lf = 0;
    const char* d = bytes.constData();
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (d[i] == '\r')
            return LineEnds::CrLf; // CR LF, a lone CR, or a mix
        if (d[i] == '\n')
            ++lf;
    }
    return lf > 0 ? LineEnds::Lf : LineEnds::CrLf;
}

QStringView LineBreakOf(LineEnds ends) { return ends == LineEnds::Lf ? QStringView(u"\n") : QStringView(u"\r\n"); }

std::optional<int> DeclaredCharset(const QByteArray& bytes) { return ::DeclaredCharset(std::string_view(bytes.constData(), std::size_t(bytes.size()))); }

int CharsetEncoding(const QByteArray& bytes) { return ::CharsetEncoding(std::string_view(bytes.constData(), std::size_t(bytes.size()))); }

int PageEncoding(const QString& page) { return DeclaredCharset(page.toUtf8()).value_or(EncodingCp1251); }

bool LooksBinary(const QByteArray& bytes)
{
    return QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), 8192)).contains('\0');
}

DecodedDocument CHECK_ENCODE(const QByteArray& bytes)
{
    DecodedDocument doc;
    doc.encoding = CharsetEncoding(bytes);
    doc.lineEnds = LineEndsOf(bytes);
    doc.text = JoinDocumentLines(doc.encoding == EncodingUtf8 ? platform::DecodeUtf8Lenient(bytes, &doc.invalidBytes)
                                                              : platform::DecodeCp1251(bytes));
    return doc;
}

QString InvalidUtf8Message(qsizetype invalidBytes)
{
    return QStringLiteral("В документе UTF-8 есть байты, недопустимые в этой кодировке (%1). Они показаны особыми знаками и при "
                          "сохранении будут записаны без изменений.")
        .arg(invalidBytes);
}

QString BinaryFileQuestion(const QString& path)
{
    return QStringLiteral("Файл \"%1\" похож на двоичный, а не на текстовый (в нём есть нулевые байты). Открыть его как текст?\n"
                          "Файл не изменится, пока вы его не сохраните.")
        .arg(QDir::toNativeSeparators(path));
}

std::optional<QByteArray> ReadDocumentFile(const QString& path, QString* error)
{
    QByteArray bytes;
    const platform::plain::ReadProblem problem = platform::plain::ReadWholeFile(QFile::encodeName(path).constData(), std::size_t(MaxDocumentBytes), bytes);
    if (problem == platform::plain::ReadProblem::None)
        return bytes;
    if (error)
        *error = QString::fromStdString(ReadProblemMessage(problem, QDir::toNativeSeparators(path).toStdString()));
    return std::nullopt;
}

std::optional<DecodedDocument> LoadDocument(const QString& path, QString* error)
{
    const std::optional<QByteArray> bytes = ReadDocumentFile(path, error);
    if (!bytes)
        return std::nullopt;
    return CHECK_ENCODE(*bytes);
}

std::optional<QString> ClipboardTextOfFile(const QString& path, QString* error)
{
    const std::optional<QByteArray> bytes = ReadDocumentFile(path, error);
    if (!bytes)
        return std::nullopt;
    const QString text = CHECK_ENCODE(*bytes).text;
    return text.isEmpty() ? text : text + kCrLf;
}

// ---- Writing ----------------------------------------------------------

platform::FileDialogRequest SaveDialogRequest()
{
    platform::FileDialogRequest r;
    r.title = QStringLiteral("Сохранение документа");
    r.filter = QStringLiteral(
        "HTML|*.html;*.htm*|CSS|*.css|JavaScript|*.js|PHP|*.php;*.php*;*phtml;"
        "|Текстовый файл ( *.txt )|*.txt|Все файлы|*.*");
    r.defaultExt = QStringLiteral("*.html");
    return r;
}

platform::FileDialogRequest PathDialogRequest(const QString& folder)
{
    platform::FileDialogRequest r;
    r.title = QStringLiteral("Выбор пути");
    r.filter = QStringLiteral(
        "Все файлы|*.*|Веб страницы|*.*htm*;*.mht*|CSS|*.css|JavaScript|*.js*"
        "|Картинки|*.jp*g;*.ico;*.bmp;*.gif;*.png|Flash-ролики|*.swf|Звуки|*.wav;*.mid*");
    r.defaultExt = QStringLiteral("*.*");
    r.folder = folder;
    return r;
}

QByteArray DocumentBytes(const QString& text, int encoding, LineEnds ends)
{
    if (text.isEmpty())
        return {};
    // Every line end becomes the document's and the last line gets one too.
    const QStringView br = LineBreakOf(ends);
    QString lines = WithLineBreaks(text, br);
    lines += br;
    return encoding == EncodingUtf8 ? platform::EncodeUtf8(lines) : platform::EncodeCp1251(lines);
}

bool WriteFileInPlace(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile f(path);
    const auto fail = [&](QFileDevice::FileError e) {
        if (error)
            *error = writeFailure(path, reasonOf(e == QFileDevice::NoError ? QFileDevice::WriteError : e));
        return false;
    };
    if (!f.open(QIODevice::ReadWrite))
        return fail(f.error());
    const QByteArray previous = f.readAll();
    const bool written = f.seek(0) && f.resize(0) && f.write(bytes) == bytes.size() && f.flush();
    if (written && f.seek(0) && f.readAll() == bytes)
        return true;
    const QFileDevice::FileError e = f.error();
    f.seek(0);
    f.resize(0);
    f.write(previous);
    f.flush();
    return fail(e);
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    const QFileInfo fi(path);
    const bool existed = fi.exists();
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = existed ? writeFailure(path, reason) : createFailure(path, reason);
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("не задано имя файла"));
    if (fi.isDir())
        return fail(QStringLiteral("это папка, а не файл"));
    if (existed && (!fi.isWritable() || !hasWriteBits(fi)))
        return fail(QStringLiteral("файл защищён от записи"));
    const QFileInfo folder(fi.absolutePath());
    if (!folder.isDir())
        return fail(QStringLiteral("папка \"%1\" не существует").arg(QDir::toNativeSeparators(fi.absolutePath())));
    if (existed && fi.isFile() && !folder.isWritable())
        return WriteFileInPlace(path, bytes, error);

    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return fail(reasonOf(f.error()));
    if (f.write(bytes) != bytes.size()) {
        const QFileDevice::FileError e = f.error();
        f.cancelWriting();
        return fail(reasonOf(e == QFileDevice::NoError ? QFileDevice::WriteError : e));
    }
    if (!f.commit())
        return fail(reasonOf(f.error()));
    return true;
}

bool DocSave(const QString& path, const QString& text, int encoding, LineEnds ends, QString* error)
{
    return WriteFileAtomically(path, DocumentBytes(text, encoding, ends), error);
}

Cp1251Gaps UnencodableInCp1251(const QString& text)
{
    Cp1251Gaps gaps;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (platform::Cp1251Code(c) >= 0)
            continue;
        qsizetype len = 1;
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate())
            len = 2;
        const QString ch = text.mid(i, len);
        if (gaps.count == 0)
            gaps.firstOffset = int(i);
        ++gaps.count;
        if (!gaps.distinct.contains(ch))
            gaps.distinct << ch;
        i += len - 1;
    }
    return gaps;
}

QString Cp1251GapsMessage(const Cp1251Gaps& gaps)
{
    constexpr int shown = 10;
    QStringList list = gaps.distinct.mid(0, shown);
    for (QString& s : list) {
        // Controls and lone surrogates are shown by their code.
        if (s.size() == 1 && (s.at(0).isSurrogate() || !s.at(0).isPrint()))
            s = QStringLiteral("U+") + QString::number(s.at(0).unicode(), 16).toUpper().rightJustified(4, u'0');
    }
    QString chars = list.join(QStringLiteral(" "));
    if (gaps.distinct.size() > shown)
        chars += QStringLiteral(" …");
    return QStringLiteral("В кодировке Windows-1251 нет символов: %1 (всего %2). При сохранении в Windows-1251 они будут заменены на \"?\".")
        .arg(chars)
        .arg(gaps.count);
}

std::optional<int> ConfirmSaveEncoding(const QString& text, int encoding, const LogWriter& log)
{
    if (encoding == EncodingUtf8)
        return encoding;
    const Cp1251Gaps gaps = UnencodableInCp1251(text);
    if (gaps.empty())
        return encoding;
    if (log)
        log(Cp1251GapsMessage(gaps), true);
    const platform::Answer a = platform::prompts().askYesNoCancel(
        QString(),
        Cp1251GapsMessage(gaps)
            + QStringLiteral("\n\nСохранить документ в кодировке UTF-8?\n"
                             "Да — сохранить в UTF-8 (укажите в странице charset=utf-8);\n"
                             "Нет — сохранить в Windows-1251 с заменой этих символов;\n"
                             "Отмена — не сохранять."));
    switch (a) {
    case platform::Answer::Yes:
        return EncodingUtf8;
    case platform::Answer::No:
        return EncodingCp1251;
    default:
        return std::nullopt;
    }
}

SaveResult SaveDocumentAs(const QString& path, const QString& text, const LogWriter& log)
{
    const std::optional<int> encoding = ConfirmSaveEncoding(text, DocEncoding, log);
    if (!encoding)
        return SaveResult::Cancelled;
    DocEncoding = *encoding;
    QString error;
    if (!DocSave(path, text, DocEncoding, DocLineEnds, &error)) {
        if (log)
            log(error, true);
        platform::prompts().message(QString(), error, platform::Severity::Error);
        return SaveResult::Failed;
    }
    return SaveResult::Saved;
}

// ---- The save question and the save commands ---------------------------

SaveRoute SaveFileRoute(const QString& docOrigin)
{
    return docOrigin == OriginOpening || docOrigin == OriginSaving ? SaveRoute::OwnPath : SaveRoute::SaveAs;
}

bool SAVE_ON_EXIT(const QString& text, const std::function<SaveResult()>& saveAs, const LogWriter& log)
{
    if (!DocModified)
        return true;
    switch (platform::prompts().askYesNoCancel(QString(), SaveQuestionText)) {
    case platform::Answer::Yes:
        if (SaveFileRoute(DocOrigin) == SaveRoute::SaveAs)
            return saveAs && saveAs() == SaveResult::Saved;
        return SaveDocumentAs(CurrentFileName, text, log) == SaveResult::Saved;
    case platform::Answer::No: {
        const BackupResult b = MakeBackup(CurrentBackup, text);
        if (!b.ok) {
            if (log)
                log(b.error, true);
            platform::prompts().message(QString(), b.error, platform::Severity::Error);
        }
        return true;
    }
    default:
        return false;
    }
}

bool SamePath(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return a == b;
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    QString pa = fa.exists() ? fa.canonicalFilePath() : QDir::cleanPath(fa.absoluteFilePath());
    QString pb = fb.exists() ? fb.canonicalFilePath() : QDir::cleanPath(fb.absoluteFilePath());
    return pa.compare(pb, platform::PathsAreCaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

bool DeleteScratchAfterSaveAs(const QString& currentFileName, const QString& chosenPath)
{
    return currentFileName == ScratchDocumentPath() && !SamePath(chosenPath, currentFileName);
}

// ---- Document kind and titles -------------------------------------------

bool IsHtmlPath(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QString ext = path.mid(dot + 1).toUpper();
    return ext == QStringLiteral("HTML") || ext == QStringLiteral("HTM") || ext == QStringLiteral("HTT");
}

bool CurrentIsHTML() { return IsHtmlPath(CurrentFileName); }

bool CurrentIsNew() { return CurrentFileName == ScratchDocumentPath(); }

DropKind ClassifyDroppedFile(const QString& path)
{
    static const QStringList documents = {QStringLiteral("html"), QStringLiteral("htm"), QStringLiteral("txt"), QStringLiteral("css"), QStringLiteral("js")};
    static const QStringList images = {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("gif"), QStringLiteral("png"), QStringLiteral("bmp")};
    const QString ext = FileExtension(path).toLower();
    if (QFileInfo(path).isFile() && documents.contains(ext))
        return DropKind::Document;
    if (images.contains(ext))
        return DropKind::Image;
    return DropKind::Ignored;
}

QString MainWindowCaption(const QString& path) { return QStringLiteral("Veltmark - ") + fileNameOf(path); }

QString ApplicationTitle(const QString& path) { return fileNameOf(path) + QStringLiteral(" - Veltmark"); }

QString ContainingFolder(const QString& path)
{
    if (path.isEmpty())
        return {};
    const qsizetype sep = path.lastIndexOf(platform::PathSep);
    return sep < 0 ? QString() : path.left(sep + 1);
}

bool OpenContainingFolder()
{
    const QString folder = ContainingFolder(CurrentFileName);
    return !folder.isEmpty() && ShellOpen(folder);
}

// ---- The document's state ----------------------------------------------

DocumentState ApplyDocumentEvent(const DocumentState& state, DocumentEvent event, const QString& path, int encoding, LineEnds ends)
{
    DocumentState s = state;
    switch (event) {
    case DocumentEvent::Opened:
        s.fileName = path;
        s.origin = OriginOpening;
        s.modified = false;
        if (encoding == EncodingCp1251 || encoding == EncodingUtf8)
            s.encoding = encoding;
        s.lineEnds = ends;
        break;
    case DocumentEvent::NewEmpty:
        // Nothing of the previous document carries over.
        s.fileName = ScratchDocumentPath();
        s.origin.clear();
        s.encoding = EncodingCp1251;
        s.lineEnds = LineEnds::CrLf;
        break;
    case DocumentEvent::TextImported:
        s.fileName = path;
        s.origin = OriginOpening;
        s.modified = false;
        s.lineEnds = LineEnds::CrLf;
        break;
    case DocumentEvent::ArchiveImported:
        s.fileName = ScratchDocumentPath();
        s.origin.clear();
        s.modified = false;
        s.lineEnds = LineEnds::CrLf;
        break;
    case DocumentEvent::SavedAs:
        s.fileName = path;
        s.origin = OriginSaving;
        s.modified = false;
        break;
    case DocumentEvent::Saved:
        s.modified = false;
        break;
    case DocumentEvent::EncodingChosen:
        if (encoding == EncodingCp1251 || encoding == EncodingUtf8)
            s.encoding = encoding;
        break;
    }
    return s;
}

DocumentState CurrentDocumentState() { return {CurrentFileName, DocOrigin, DocEncoding, DocModified, DocLineEnds}; }

void SetDocumentState(const DocumentState& state)
{
    CurrentFileName = state.fileName;
    DocOrigin = state.origin;
    DocEncoding = state.encoding;
    DocModified = state.modified;
    DocLineEnds = state.lineEnds;
}

// ---- Editing ------------------------------------------------------------

void InsertAtCaret(TextModel& editor, const QString& text)
{
    const int start = editor.selStart();
    const int length = editor.selLength();
    if (editor.lineCount() == 0) {
        editor.setText(text);
    } else {
        const CaretPos caret = editor.caretPos();
        const QString line = editor.line(caret.line);
        const int column = std::clamp(caret.column, 0, int(line.size()));
        editor.setLine(caret.line, line.left(column) + text + line.mid(column));
    }
    editor.setSelStart(start);
    editor.setSelLength(length);
}
