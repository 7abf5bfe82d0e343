#include "TestSupport.h"

#include "editor/MemoryTextModel.h"
#include "html/ui/DocumentProperties.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using testing_support::IsolatedTest;

namespace {

class DocumentPropertiesTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        ASSERT_TRUE(dir_.isValid());
        folder_ = dir_.path() + QStringLiteral("/site/");
        ASSERT_TRUE(QDir().mkpath(folder_ + QStringLiteral("pictures of the trip")));
        testing_support::WriteBytes(folder_ + QStringLiteral("pictures of the trip/b.gif"), QByteArray(5000, 'g'));
        fileName_ = folder_ + QStringLiteral("index.html");
        dialog_ = std::make_unique<TDOCUMENT_PROPERTIES>(&editor_, [this] {
            return DocumentPropertiesSource{fileName_, std::nullopt};
        });
    }
    void TearDown() override
    {
        dialog_.reset();
        IsolatedTest::TearDown();
    }
    QString cell(int row, int column) const { return dialog_->PROP->item(row, column)->text(); }
    QString valueOf(const QString& name) const
    {
        for (int r = 0; r < dialog_->PROP->rowCount(); ++r)
            if (cell(r, 0) == name)
                return cell(r, 1);
        return QStringLiteral("<missing>");
    }
    QPoint centreOf(int row) const { return dialog_->RESDISP->visualItemRect(dialog_->RESDISP->item(row)).center(); }

    QTemporaryDir dir_;
    QString folder_;
    QString fileName_;
    MemoryTextModel editor_;
    std::unique_ptr<TDOCUMENT_PROPERTIES> dialog_;
};

TEST_F(DocumentPropertiesTest, WindowParts)
{
    EXPECT_EQ(dialog_->objectName(), QStringLiteral("DOCUMENT_PROPERTIES"));
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("Свойства документа"));
    EXPECT_EQ(dialog_->minimumSize(), QSize(600, 400));
    EXPECT_EQ(dialog_->findChild<QTableWidget*>(QStringLiteral("PROP")), dialog_->PROP);
    EXPECT_EQ(dialog_->findChild<QListWidget*>(QStringLiteral("RESDISP")), dialog_->RESDISP);
    EXPECT_EQ(dialog_->findChild<QPushButton*>(QStringLiteral("OK")), dialog_->OK);
    EXPECT_EQ(dialog_->findChild<QToolButton*>(QStringLiteral("MImage1")), dialog_->MImage1);
    EXPECT_EQ(dialog_->Label1->text(), QStringLiteral("Ресурсы страницы:"));
    EXPECT_EQ(dialog_->PROP->columnCount(), 2);
    // The help picture asks for the help page.
    QSignalSpy help(dialog_.get(), &TDOCUMENT_PROPERTIES::helpRequested);
    dialog_->MImage1->click();
    EXPECT_EQ(help.count(), 1);
    dialog_->show();
    QTest::mouseClick(dialog_->OK, Qt::LeftButton);
    EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(DocumentPropertiesTest, HtmlPageRowsAndResources)
{
    editor_.setText(QStringLiteral("<html>\r\n<img src=\"pictures%20of%20the%20trip/b.gif\">\r\n"
                                   "<img src=\"pictures of the trip/b.gif\"><img src=gone.png>\r\n</html>"));
    dialog_->fill();
    ASSERT_EQ(dialog_->PROP->rowCount(), 8);
    EXPECT_EQ(cell(0, 0), QStringLiteral("Формат документа"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("Веб-страница"));
    EXPECT_EQ(valueOf(QStringLiteral("Файл")), fileName_);
    EXPECT_EQ(valueOf(QStringLiteral("Строк")), QStringLiteral("4"));
    EXPECT_TRUE(valueOf(QStringLiteral("Экспорт в \"Сжатый HTML\"")).startsWith(QStringLiteral("возможность сжать на ")));
    // Only the reference written with real blanks is a file here.
    EXPECT_EQ(valueOf(QStringLiteral("Вес ресурсов")), QStringLiteral("4 kb"));
    EXPECT_TRUE(valueOf(QStringLiteral("URL просмотра")).endsWith(QStringLiteral("/site/temp_index.html")));
    for (int r = 0; r < dialog_->PROP->rowCount(); ++r) {
        EXPECT_FALSE(dialog_->PROP->item(r, 0)->flags() & Qt::ItemIsEditable) << r;
        EXPECT_TRUE(dialog_->PROP->item(r, 1)->flags() & Qt::ItemIsEditable) << r;
    }
    ASSERT_EQ(dialog_->RESDISP->count(), 3);
    EXPECT_EQ(dialog_->RESDISP->item(0)->text(), QStringLiteral("pictures%20of%20the%20trip/b.gif"));
    EXPECT_EQ(dialog_->RESDISP->item(2)->text(), QStringLiteral("gone.png"));

    // Shown again: everything computed anew, nothing piled up.
    fileName_ = folder_ + QStringLiteral("style.css");
    editor_.setText(QStringLiteral(".a { color : red ; }"));
    dialog_->fill();
    EXPECT_EQ(dialog_->PROP->rowCount(), 8);
    EXPECT_EQ(valueOf(QStringLiteral("Экспорт в \"Сжатый HTML\"")), QStringLiteral("<missing>"));
    EXPECT_TRUE(valueOf(QStringLiteral("Экспорт в \"Сжатый CSS\"")).endsWith(QStringLiteral(" %")));
    EXPECT_EQ(dialog_->RESDISP->count(), 0);
}

TEST_F(DocumentPropertiesTest, HoverHintAndDoubleClickOpensTheFolder)
{
    editor_.setText(QStringLiteral("<img src=\"pictures%20of%20the%20trip/b.gif\"><img src=x.gif>"
                                   "<img src=nowhere/at/all.gif>"));
    dialog_->show();
    dialog_->fill();
    QListWidget* list = dialog_->RESDISP;
    ASSERT_EQ(list->count(), 3);

    dialog_->RESDISPMouseMove(centreOf(1));
    EXPECT_EQ(dialog_->hoveredResource(), QStringLiteral("x.gif"));
    EXPECT_EQ(list->toolTip(), QString());
    dialog_->RESDISPMouseMove(centreOf(0));
    EXPECT_EQ(dialog_->hoveredResource(), QStringLiteral("pictures%20of%20the%20trip/b.gif"));
    EXPECT_EQ(list->toolTip(), QStringLiteral("pictures%20of%20the%20trip/b.gif"));
    // Below the last item the hovered resource stays.
    dialog_->RESDISPMouseMove(QPoint(5, list->viewport()->height() - 2));
    EXPECT_EQ(dialog_->hoveredResource(), QStringLiteral("pictures%20of%20the%20trip/b.gif"));

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 2));
    ASSERT_EQ(shell_.launches.size(), 1u);
    EXPECT_EQ(shell_.launches.at(0).args, QStringList{folder_ + QStringLiteral("pictures of the trip/")});

    // It stays between showings; a folder that does not exist opens nothing.
    dialog_->fill();
    EXPECT_EQ(dialog_->hoveredResource(), QStringLiteral("pictures%20of%20the%20trip/b.gif"));
    dialog_->RESDISPMouseMove(centreOf(2));
    dialog_->RESDISPDblClick();
    EXPECT_EQ(shell_.launches.size(), 1u);
}

} // namespace
