#include "app/Globals.h"

#include "platform/Folders.h"

QString ProgramFolder;
QString BackupFolder;
QString CurrentFileName;
int DocEncoding = 1;
LineEnds DocLineEnds = LineEnds::CrLf;
QString DocOrigin;
bool DocModified = false;
bool LoadingText = true;
qint64 ParentWindow = 0;
QString ParentDocument;
bool UseDoubleQuotes = false;
bool CHECK_HTML = true;
bool TypingCloseTags = true;
bool TypingCompletion = true;
bool TypingAbbreviations = true;
QString CommentText;

void InitProgramFolders()
{
    ProgramFolder = platform::ProgramFolderPath();
    BackupFolder = ProgramFolder + QStringLiteral("Backup/");
}

QString ScratchDocumentPath() { return ProgramFolder + QStringLiteral("new_document.html"); }

void ResetGlobals()
{
    ProgramFolder.clear();
    BackupFolder.clear();
    CurrentFileName.clear();
    DocEncoding = 1;
    DocLineEnds = LineEnds::CrLf;
    DocOrigin.clear();
    DocModified = false;
    LoadingText = true;
    ParentWindow = 0;
    ParentDocument.clear();
    UseDoubleQuotes = false;
    CHECK_HTML = true;
    TypingCloseTags = true;
    TypingCompletion = true;
    TypingAbbreviations = true;
    CommentText.clear();
}
