#include "TestSupport.h"

#include "app/Install.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "tools/StyleReference.h"

#include <QRegularExpression>

namespace {

using StyleReferenceTest = testing_support::IsolatedTest;

// The menu in short: a line per group, then " property: entries" with
// "=value", "?note" and "-" for a separator.
QStringList shapeOf(const QList<StyleGroup>& groups)
{
    QStringList shape;
    for (const StyleGroup& g : groups) {
        shape << g.caption;
        for (const StyleProperty& p : g.properties) {
            QString line = QStringLiteral(" ") + p.caption + QLatin1Char(':');
            for (const StyleEntry& e : p.entries)
                line += e.kind == StyleEntry::Value  ? QStringLiteral(" =") + e.caption
                        : e.kind == StyleEntry::Note ? QStringLiteral(" ?") + e.caption
                                                     : QStringLiteral(" -");
            shape << line;
        }
    }
    return shape;
}

TEST_F(StyleReferenceTest, TheDefaultSectionGivesSixGroupsOf79PropertiesWithTheirLabelsAndNotes)
{
    Opt_WriteFileText(opt::StyleHelp, DefaultSectionItems(opt::StyleHelp).join(QStringLiteral("---")), QStringLiteral("---"));
    const QStringList shape = shapeOf(ParseStyleHelp(StyleHelpTokens()));
    const QStringList properties = shape.filter(QRegularExpression(QStringLiteral("^ ")));
    EXPECT_EQ(properties.size(), 79);
    QStringList groups = shape;
    for (const QString& p : properties)
        groups.removeOne(p);
    EXPECT_EQ(groups, QStringList({"Отображение", "Расположение", "Текст и шрифт", "Фон", "Границы и рамки", "Полосы прокрутки"}));
    for (const char* line : {" opacity: ?Прозрачность для Opera, для IE см. filter - =численное_значение",
                             " filter: ?Прозрачность для IE, для Opera см. opacity ?Для работы параметра необходим "
                             "'position:absolute;' - =alpha(opacity=50)",
                             " background: =выбор_пути =выбор_цвета =множество_параметров"})
        EXPECT_TRUE(shape.contains(QString::fromUtf8(line))) << line;
}

TEST_F(StyleReferenceTest, TokensWithNowhereToGoAreSkippedAndRepeatedCaptionsFillTheFirstEntry)
{
    const struct {
        QStringList tokens;
        QStringList shape;
    } rows[] = {
        // "=Color" is not the special token: only the exact one is.
        {{"-early", "=early", // before any group
          "A", "=lost", "?lost", // before any property
          "", "-p", "=Color", "=url", "B", "=lost too", "-p", "!n", "A", "-p", "=x"},
         {"A", " p: =Color =выбор_пути =x", " p:", "B", " p: ?n -", "A"}},
        // Group captions compare without case and "&" marks; property captions too.
        {{"Фон", "-color", "=red", "-Size", "=1", "&фОН", "-COLOR", "=blue", "?note", "-size", "=2", "фон", "-new", "=v"},
         {"Фон", " color: =red =blue ?note", " Size: =1 =2", " COLOR:", " size:", " new: =v", "&фОН", "фон"}},
        // Repeated within one group; the same caption in another group is apart.
        {{"A", "-p", "=1", "-q", "=2", "-p", "=3", "B", "-p", "=4"}, {"A", " p: =1 =3", " q: =2", " p:", "B", " p: =4"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(shapeOf(ParseStyleHelp(row.tokens)), row.shape) << row.tokens.join(u' ').toStdString();
}

TEST_F(StyleReferenceTest, EachValueGivesItsDeclaration)
{
    const struct {
        const char* property;
        const char* value;
        const char* answer;
        StyleInsertion expected;
    } cases[] = {
        {"&display", "bl&ock", "", {"display:block;", 0}},
        {"font-family", "текстовое_значение", "", {"font-family:;", 1}},
        {"width", "численное_значение", "", {}},
        {"font", "выбор_шрифта", "", {}},
        {"cursor", "url", "", {"cursor:url;", 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StyleValueInsertion(QString::fromUtf8(c.property), QString::fromUtf8(c.value), QString::fromUtf8(c.answer)),
                  c.expected)
            << c.property << " " << c.value;
}

TEST_F(StyleReferenceTest, TheNumberDialogTakesOnlyWholeNumbers)
{
    const struct {
        const char* text;
        NumberEntry expected;
    } cases[] = {
        {"", NumberEntry::Empty},
        {"-5", NumberEntry::Valid},
        {"99999999999999999999999", NumberEntry::Valid},
        {"1.5", NumberEntry::NotANumber},
        {"5-", NumberEntry::NotANumber},
        {"-", NumberEntry::NotANumber},
        {"+5", NumberEntry::NotANumber},
        {"12px", NumberEntry::NotANumber},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckNumberEntry(QString::fromUtf8(c.text)), c.expected) << c.text;
    EXPECT_EQ(NumberEntryMessage(NumberEntry::Empty), QStringLiteral("Введите число"));
    EXPECT_EQ(NumberEntryMessage(NumberEntry::NotANumber), QStringLiteral("Неверное численное значение"));
    EXPECT_EQ(NumberDialogCaption(QStringLiteral("[default]")), QStringLiteral("Численное значение"));
    EXPECT_EQ(NumberDialogCaption(QStringLiteral("width:")), QStringLiteral("width:"));
}

} // namespace
