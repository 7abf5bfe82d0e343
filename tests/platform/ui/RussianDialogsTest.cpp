#include "TestSupport.h"

#include "platform/ui/QtPrompts.h"
#include "platform/ui/RussianTranslations.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeView>

using testing_support::IsolatedTest;

namespace {

// The texts a user sees in a dialog: labels, buttons, tooltips, the file
// views' headers and cells.
QStringList visibleTexts(QWidget* dialog)
{
    QStringList texts;
    for (auto* l : dialog->findChildren<QLabel*>())
        if (l->isVisible())
            texts << l->text();
    for (auto* b : dialog->findChildren<QAbstractButton*>())
        if (b->isVisible())
            texts << b->text() << b->toolTip();
    for (auto* v : dialog->findChildren<QAbstractItemView*>()) {
        if (!v->isVisible() || !v->model())
            continue;
        QAbstractItemModel* m = v->model();
        const QModelIndex root = v->rootIndex();
        for (int c = 0; c < m->columnCount(root); ++c) {
            texts << m->headerData(c, Qt::Horizontal).toString();
            for (int r = 0; r < m->rowCount(root); ++r)
                if (c > 0) // the first column holds the file names
                    texts << m->index(r, c, root).data().toString();
        }
    }
    return texts;
}

// A word of Latin letters, other than the program's own file masks and "OK".
QStringList englishTexts(const QStringList& texts)
{
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]{2,}"));
    QStringList out;
    for (QString t : texts) {
        t.remove(QRegularExpression(QStringLiteral("\\(\\*[^)]*\\)|\\*\\.\\w+|\\bOK\\b|\\b(HTML|CSS|JS|PNG|JPG|GIF)\\b")));
        if (latin.match(t).hasMatch())
            out << t;
    }
    return out;
}

class RussianDialogsTest : public IsolatedTest {
protected:
    static void SetUpTestSuite()
    {
        static bool installed = false;
        if (!installed)
            platform::InstallRussianTranslations(*QCoreApplication::instance());
        installed = true;
    }

    // Runs `open` and collects what the modal dialog it shows says.
    template <typename Open>
    QStringList textsOf(Open open)
    {
        QStringList texts;
        QTimer::singleShot(300, [&texts] {
            QWidget* d = QApplication::activeModalWidget();
            if (!d)
                return;
            if (auto* fd = qobject_cast<QFileDialog*>(d)) // both views of the dialog
                for (auto* tv : fd->findChildren<QTreeView*>())
                    tv->setVisible(true);
            QApplication::processEvents();
            texts = visibleTexts(d);
            if (qobject_cast<QFileDialog*>(d) && qEnvironmentVariableIsSet("VELTMARK_DIALOG_SHOT"))
                d->grab().save(qEnvironmentVariable("VELTMARK_DIALOG_SHOT"));
            static_cast<QDialog*>(d)->reject();
        });
        open();
        return texts;
    }
};

TEST_F(RussianDialogsTest, FileDialogsAndMessageBoxesSayNothingInEnglish)
{
    const QString folder = programFolder() + QStringLiteral("site");
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/images")));
    const struct {
        const char* name;
        qint64 size;
    } files[] = {{"small.html", 12}, {"big.html", 5000}};
    for (const auto& f : files) {
        QFile file(folder + u'/' + QString::fromLatin1(f.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(f.size, 'x'));
    }
    platform::FileDialogRequest r;
    r.folder = folder;
    r.filter = QStringLiteral("Документы HTML|*.html;*.htm|Все файлы|*.*");
    platform::QtPrompts prompts;

    const struct {
        const char* dialog;
        std::function<void()> open;
    } cases[] = {
        {"open", [&] { prompts.openFile(r); }},
        {"save", [&] { prompts.saveFile(r); }},
        {"question", [&] { prompts.askYesNoCancel(QStringLiteral("Вопрос"), QStringLiteral("Сохранить?")); }},
        {"message", [&] { prompts.message(QString(), QStringLiteral("Готово"), platform::Severity::Warning); }},
    };
    for (const auto& c : cases) {
        const QStringList texts = textsOf(c.open);
        EXPECT_FALSE(texts.isEmpty()) << c.dialog;
        EXPECT_EQ(englishTexts(texts).join(u'|').toStdString(), "") << c.dialog;
        if (QByteArray(c.dialog) == "open") {
            EXPECT_TRUE(texts.contains(QStringLiteral("12 байт"))) << texts.join(u'|').toStdString();
            EXPECT_TRUE(texts.contains(QStringLiteral("4,9 КБ"))) << texts.join(u'|').toStdString();
            EXPECT_TRUE(texts.contains(QStringLiteral("Папка"))) << texts.join(u'|').toStdString();
        }
    }
}

} // namespace
