// "Открыть заново в кодировке": the document's file read again from disk in
// the chosen encoding, which then holds for its saves.
#include "app/Documents.h"
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "platform/Codecs.h"
#include "platform/Prompts.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {

bool DocumentHasFile()
{
    return !CurrentFileName.isEmpty() && CurrentFileName != ScratchDocumentPath() && QFileInfo(CurrentFileName).isFile();
}

// The offset of the start of the given line (0-based), or the text's end.
int LineStart(const QString& text, int line)
{
    int offset = 0;
    for (int i = 0; i < line; ++i) {
        const int next = int(text.indexOf(u'\n', offset));
        if (next < 0)
            return int(text.size());
        offset = next + 1;
    }
    return offset;
}

} // namespace

void TForm1::buildReopenEncodingCommands()
{
    auto* menu = new QMenu(QStringLiteral("Открыть заново в кодировке"), N37);
    menu->setObjectName(QStringLiteral("MENU_REOPEN_ENCODING"));
    N37->addSeparator();
    N37->addMenu(menu);
    const struct {
        const char* name;
        const char* text;
        int encoding;
    } entries[] = {{"MENU_REOPEN_1251", "Windows-1251", EncodingCp1251}, {"MENU_REOPEN_UTF8", "UTF-8", EncodingUtf8}};
    for (const auto& e : entries) {
        QAction* a = menu->addAction(QString::fromUtf8(e.text));
        a->setObjectName(QString::fromLatin1(e.name));
        const int encoding = e.encoding;
        connect(a, &QAction::triggered, this, [this, encoding] { reopenInEncoding(encoding); });
    }
    // Also when the status bar's encoding field opens the menu.
    connect(N37, &QMenu::aboutToShow, menu, [menu] {
        const bool enabled = DocumentHasFile();
        menu->setEnabled(enabled);
        for (QAction* a : menu->actions())
            a->setEnabled(enabled);
    });
}

bool TForm1::reopenInEncoding(int encoding)
{
    if (!DocumentHasFile())
        return false;
    if (DocModified && !SAVE_ON_EXIT())
        return false;
    const QString path = CurrentFileName;
    QString error;
    const std::optional<QByteArray> bytes = ReadDocumentFile(path, &error);
    if (!bytes) {
        platform::prompts().message(QString(), error, platform::Severity::Warning);
        return false;
    }
    DecodedDocument doc = CHECK_ENCODE(*bytes); // the line ends as on opening
    doc.encoding = encoding;
    doc.invalidBytes = 0;
    doc.text = JoinDocumentLines(encoding == EncodingUtf8 ? platform::DecodeUtf8Lenient(*bytes, &doc.invalidBytes)
                                                          : platform::DecodeCp1251(*bytes));
    const QString old = Memo1->text();
    const int line = int(old.left(Memo1->selStart()).count(u'\n'));
    UndoReset();
    LoadingText = true;
    Memo1->setText(doc.text);
    SetDocumentState(ApplyDocumentEvent(CurrentDocumentState(), DocumentEvent::Opened, path, encoding, doc.lineEnds));
    if (doc.invalidBytes > 0)
        HELPLOG_Write(InvalidUtf8Message(doc.invalidBytes), true);
    Memo1->setSelStart(LineStart(Memo1->text(), line));
    showDocumentTitles();
    showDocumentState();
    UndoReset();
    UndoSnapshot();
    return true;
}
