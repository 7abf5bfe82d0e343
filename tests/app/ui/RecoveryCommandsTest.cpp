#include "FormTest.h"

#include "app/Documents.h"
#include "app/Globals.h"
#include "app/Install.h"
#include "app/Recovery.h"
#include "app/ui/RecoveryKeeper.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTextCursor>
#include <QtEndian>

#include <csignal>

using platform::Answer;
using testing_support::FormTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

// Types into a program running on Qt's VNC platform: the keys go through
// the same path as a keyboard's.
class VncKeyboard {
public:
    bool connect(quint16 port)
    {
        for (int i = 0; i < 100; ++i) {
            socket_.connectToHost(QStringLiteral("127.0.0.1"), port);
            if (socket_.waitForConnected(200))
                break;
            socket_.abort();
            QTest::qWait(50);
        }
        if (socket_.state() != QAbstractSocket::ConnectedState)
            return false;
        // Version 3.3: the server names the security type (1, none).
        if (read(12).left(4) != "RFB ")
            return false;
        socket_.write("RFB 003.003\n");
        if (qFromBigEndian<quint32>(read(4).constData()) != 1)
            return false;
        socket_.write(QByteArray(1, '\1')); // shared
        const QByteArray init = read(24);
        if (init.size() != 24)
            return false;
        read(qFromBigEndian<quint32>(init.constData() + 20)); // the desktop's name
        return true;
    }
    void key(quint32 keysym)
    {
        for (char down : {'\1', '\0'}) {
            QByteArray m("\x04", 1);
            m += down;
            m += QByteArray(2, '\0');
            char sym[4];
            qToBigEndian(keysym, sym);
            m += QByteArray(sym, 4);
            socket_.write(m);
        }
        socket_.waitForBytesWritten(1000);
    }
    void type(const QString& text)
    {
        for (QChar c : text)
            key(c == u'\n' ? 0xff0d : c.unicode()); // Return
    }

private:
    QByteArray read(qint64 n)
    {
        QByteArray out;
        while (out.size() < n && (socket_.bytesAvailable() || socket_.waitForReadyRead(5000)))
            out += socket_.read(n - out.size());
        return out;
    }
    QTcpSocket socket_;
};

quint16 freePort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

class RecoveryCommands : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        InitProgramFolders();
        WriteMissingSections();
    }
    QStringList copies() const
    {
        return QDir(RecoveryFolder()).entryList({QStringLiteral("*") + RecoveryCopySuffix}, QDir::Files);
    }
    void leftCopy(const QString& name, const QString& text, const QDateTime& saved)
    {
        QDir().mkpath(RecoveryFolder());
        WriteBytes(RecoveryFolder() + name + RecoveryCopySuffix,
                   RecoveryCopyBytes({programFolder() + QStringLiteral("site/index.html"), OriginOpening, EncodingUtf8,
                                      LineEnds::Lf, saved, text}));
    }
};

TEST_F(RecoveryCommands, TextOfAKilledInstanceIsOfferedAndRestoredExactly)
{
    const quint16 port = freePort();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("vnc:size=1024x768:port=%1").arg(port));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/veltmark"), {});
    ASSERT_TRUE(child.waitForStarted(5000));

    VncKeyboard keyboard;
    ASSERT_TRUE(keyboard.connect(port));
    // The instance's lock appears as its window shows.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !QDir(RecoveryFolder()).entryList({QStringLiteral("*") + RecoveryLockSuffix}, QDir::Files).isEmpty(); }, 5000));
    // Changes count once the clock's first tick ends the loading.
    QTest::qWait(1200);
    const QString typed = QStringLiteral("Unsaved text, typed\nafter the last save.");
    keyboard.type(typed);
    QString expected = typed;
    expected.replace(u'\n', QStringLiteral("\r\n"));

    // The copy follows a pause in typing.
    const bool copied = QTest::qWaitFor(
        [&] {
            for (const QString& f : copies()) {
                const auto c = ParseRecoveryCopy(ReadBytes(RecoveryFolder() + f));
                if (c && c->text == expected)
                    return true;
            }
            return false;
        },
        8000);
    ::kill(pid_t(child.processId()), SIGKILL);
    child.waitForFinished(5000);
    ASSERT_TRUE(copied);

    prompts_.answers = {Answer::Yes};
    TForm1& form = start();
    ASSERT_EQ(prompts_.count(QStringLiteral("yesno")), 1);
    EXPECT_TRUE(prompts_.shown[0].text.startsWith(QStringLiteral("Восстановить несохранённый текст документа \"new_document.html\" от ")))
        << prompts_.shown[0].text.toStdString();
    EXPECT_EQ(form.Memo1->text(), expected);
    EXPECT_TRUE(DocModified);
    // The text is this instance's copy now, not one left for the next start.
    EXPECT_EQ(copies().size(), 1);
    form_.reset();
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(RecoveryCommands, NoMovesACopyIntoTheReserveAndYesOpensTheNextAsItsModifiedDocument)
{
    const QDateTime now = QDateTime::currentDateTime();
    leftCopy(QStringLiteral("1-1-1"), QStringLiteral("older"), now.addSecs(-60));
    leftCopy(QStringLiteral("2-2-1"), QStringLiteral("newer ₽"), now);
    QDir().mkpath(programFolder() + QStringLiteral("site"));
    prompts_.answers = {Answer::No, Answer::Yes};
    TForm1& form = start();

    EXPECT_EQ(prompts_.count(QStringLiteral("yesno")), 2);
    EXPECT_EQ(form.Memo1->text(), QStringLiteral("older"));
    EXPECT_EQ(CurrentFileName, programFolder() + QStringLiteral("site/index.html"));
    EXPECT_EQ(DocOrigin, OriginOpening);
    EXPECT_EQ(DocEncoding, EncodingUtf8);
    EXPECT_EQ(DocLineEnds, LineEnds::Lf);
    EXPECT_TRUE(DocModified);
    const QStringList reserve = QDir(BackupFolder).entryList(QDir::Files);
    ASSERT_EQ(reserve.size(), 1);
    EXPECT_EQ(ReadBytes(BackupFolder + reserve[0]), QStringLiteral("newer ₽\n").toUtf8());

    // Save writes the document to its place, and the copy goes.
    form.SaveFile();
    EXPECT_EQ(ReadBytes(CurrentFileName), QByteArray("older\n"));
    form.RECOVERY->tick();
    form.RECOVERY->writer().wait();
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(RecoveryCommands, CopyFollowsAPauseInTypingAndIsNotRewrittenWhileNothingChanges)
{
    TForm1& form = start();
    LoadingText = false; // as the clock leaves it
    auto* keeper = new RecoveryKeeper(form.Memo1, &form, {100, 400, 20});
    const QString path = keeper->writer().copyPath();
    QTest::keyClicks(form.Memo1, QStringLiteral("abc"));
    ASSERT_TRUE(DocModified);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path); }, 3000));
    keeper->writer().wait();
    EXPECT_EQ(ParseRecoveryCopy(ReadBytes(path))->text, QStringLiteral("abc"));

    QFile::remove(path);
    QTest::qWait(300);
    EXPECT_FALSE(QFile::exists(path));
    QTest::keyClicks(form.Memo1, QStringLiteral("d"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path); }, 3000));
    keeper->writer().wait();
    EXPECT_EQ(ParseRecoveryCopy(ReadBytes(path))->text, QStringLiteral("abcd"));

    // Pasted lines, a cut across lines, an undo of the whole text, a new text:
    // the copy is the editor's text each time.
    const std::vector<std::function<void()>> edits = {
        [&] { form.Memo1->insertPlainText(QStringLiteral("1\n22\n\n333\u00a0\n")); },
        [&] {
            QTextCursor c = form.Memo1->textCursor();
            c.setPosition(2);
            c.setPosition(9, QTextCursor::KeepAnchor);
            c.removeSelectedText();
        },
        [&] { form.MENU_UNDOClick(); },
        [&] { form.Memo1->setText(QStringLiteral("new\r\ntext")); },
        [&] { QTest::keyClicks(form.Memo1, QStringLiteral("ok")); },
        // Read back in several pieces.
        [&] { form.Memo1->setText(QStringLiteral("строка\u00a0\r\n").repeated(9000)); },
    };
    for (const auto& edit : edits) {
        QFile::remove(path);
        edit();
        DocModified = true;
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path); }, 3000));
        keeper->writer().wait();
        EXPECT_EQ(ParseRecoveryCopy(ReadBytes(path))->text, form.Memo1->text());
    }

    // Closed with an answer to the save question: the copy goes with the window.
    prompts_.answers = {Answer::No};
    form.close();
    form_.reset();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(copies().isEmpty());
}

} // namespace
