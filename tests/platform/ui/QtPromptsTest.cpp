#include "TestSupport.h"

#include "platform/ui/QtPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

using testing_support::IsolatedTest;

namespace {

class QtPromptsTest : public IsolatedTest {
protected:
    // Runs the save dialog, choosing a filter and typing a name as a user would.
    QString save(const platform::FileDialogRequest& request, int filter, const QString& typed)
    {
        QTimer::singleShot(0, [filter, typed] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!d)
                return;
            if (auto* types = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
                types->setCurrentIndex(filter - 1);
                Q_EMIT types->activated(filter - 1);
                Q_EMIT types->textActivated(types->currentText());
            }
            if (auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(typed);
            static_cast<QDialog*>(d)->accept(); // as the dialog's own button does
        });
        return platform::QtPrompts().saveFile(request);
    }
};

TEST_F(QtPromptsTest, SaveDialogAddsTheChosenFiltersExtensionToANameTypedWithout)
{
    // A dot in the folder's name must not count as the file's extension.
    const QString folder = programFolder() + QStringLiteral("my.site");
    ASSERT_TRUE(QDir().mkpath(folder));
    platform::FileDialogRequest r;
    r.filter = QStringLiteral("Сжатый HTML|*.html;*.htm*|Сжатый CSS|*.css|Все файлы|*.*");
    r.defaultExt = QStringLiteral("*.html");
    r.folder = folder;
    const struct {
        int filter;
        QString typed;
        QString saved;
    } cases[] = {
        {1, QStringLiteral("page"), QStringLiteral("page.html")},
        {2, QStringLiteral("style"), QStringLiteral("style.css")},
        {3, QStringLiteral("page"), QStringLiteral("page.html")},
        {2, QStringLiteral("notes.txt"), QStringLiteral("notes.txt")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(save(r, c.filter, c.typed).toStdString(), (folder + u'/' + c.saved).toStdString()) << c.filter;
}

} // namespace
