#include "TestSupport.h"

#include "app/Install.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "tools/StyleReference.h"

namespace {

using StyleReferenceTest = testing_support::IsolatedTest;

// A property's entries in short: "=value", "?note", "-" for a separator.
QStringList entriesOf(const StyleProperty& p)
{
    QStringList out;
    for (const StyleEntry& e : p.entries)
        out << (e.kind == StyleEntry::Value ? QStringLiteral("=") + e.caption
                : e.kind == StyleEntry::Note ? QStringLiteral("?") + e.caption
                                             : QStringLiteral("-"));
    return out;
}

const StyleProperty* findProperty(const QList<StyleGroup>& groups, const QString& group, const QString& property)
{
    for (const StyleGroup& g : groups)
        if (g.caption == group)
            for (const StyleProperty& p : g.properties)
                if (p.caption == property)
                    return &p;
    return nullptr;
}

TEST_F(StyleReferenceTest, TheDefaultSectionGivesSixGroupsOf79PropertiesWithTheirLabelsAndNotes)
{
    Opt_WriteFileText(opt::StyleHelp, DefaultSectionItems(opt::StyleHelp).join(QStringLiteral("---")), QStringLiteral("---"));
    const QList<StyleGroup> groups = ParseStyleHelp(StyleHelpTokens());

    QStringList captions;
    int properties = 0;
    for (const StyleGroup& g : groups) {
        captions << g.caption;
        properties += int(g.properties.size());
    }
    EXPECT_EQ(captions, QStringList({QStringLiteral("Отображение"), QStringLiteral("Расположение"),
                                     QStringLiteral("Текст и шрифт"), QStringLiteral("Фон"),
                                     QStringLiteral("Границы и рамки"), QStringLiteral("Полосы прокрутки")}));
    EXPECT_EQ(properties, 79);

    const struct {
        const char* group;
        const char* property;
        QStringList entries;
    } cases[] = {
        {"Отображение", "opacity", {"?Прозрачность для Opera, для IE см. filter", "-", "=численное_значение"}},
        {"Отображение", "filter",
         {"?Прозрачность для IE, для Opera см. opacity", "?Для работы параметра необходим 'position:absolute;'", "-",
          "=alpha(opacity=50)"}},
        {"Текст и шрифт", "font", {"=выбор_шрифта"}},
        {"Текст и шрифт", "font-family",
         {"?Имя шрифта", "?Может быть до 3 шрифтов через запятую на случай отсутствия у пользователя", "-",
          "=текстовое_значение"}},
        {"Фон", "background", {"=выбор_пути", "=выбор_цвета", "=множество_параметров"}},
        {"Полосы прокрутки", "scrollbar-track-color", {"=выбор_цвета"}},
    };
    for (const auto& c : cases) {
        const StyleProperty* p = findProperty(groups, QString::fromUtf8(c.group), QString::fromUtf8(c.property));
        ASSERT_NE(p, nullptr) << c.property;
        EXPECT_EQ(entriesOf(*p), c.entries) << c.property;
    }
}

TEST_F(StyleReferenceTest, TokensWithNowhereToGoAreSkippedAndRepeatedCaptionsStayApart)
{
    const QStringList tokens = {
        QStringLiteral("-early"), QStringLiteral("=early"),               // before any group
        QStringLiteral("A"),      QStringLiteral("=lost"), QStringLiteral("?lost"), // before any property
        QString(),                QStringLiteral("-p"),    QStringLiteral("=Color"),
        QStringLiteral("=url"),   QStringLiteral("B"),     QStringLiteral("=lost too"),
        QStringLiteral("-p"),     QStringLiteral("!n"),    QStringLiteral("A"),
        QStringLiteral("-p"),     QStringLiteral("=x"),
    };
    const QList<StyleGroup> groups = ParseStyleHelp(tokens);
    QStringList shape;
    for (const StyleGroup& g : groups) {
        shape << g.caption;
        for (const StyleProperty& p : g.properties)
            shape << QStringLiteral(" ") + p.caption + QStringLiteral(": ") + entriesOf(p).join(QLatin1Char(' '));
    }
    // "=Color" is not the special token: only the exact one is.
    EXPECT_EQ(shape, QStringList({"A", " p: =Color =выбор_пути", "B", " p: ?n -", "A", " p: =x"}));
}

TEST_F(StyleReferenceTest, EachValueGivesItsDeclaration)
{
    const struct {
        const char* property;
        const char* value;
        const char* answer;
        StyleInsertion expected;
    } cases[] = {
        {"display", "block", "", {"display:block;", 0}},
        {"&display", "bl&ock", "", {"display:block;", 0}},
        {"margin", "множество_параметров", "", {"margin:;", 1}},
        {"font-family", "текстовое_значение", "", {"font-family:;", 1}},
        {"width", "численное_значение", "100px", {"width:100px;", 0}},
        {"width", "численное_значение", "", {}},
        {"color", "выбор_цвета", "", {"color:#000;", 3}},
        {"font", "выбор_шрифта", "", {}},
        {"background-image", "выбор_пути", "", {"background-image:URL();", 2}},
        {"background-image", "выбор_пути", "img/a b.png", {"background-image:URL(img/a b.png);", 0}},
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
        {"12", NumberEntry::Valid},
        {"-5", NumberEntry::Valid},
        {"0", NumberEntry::Valid},
        {"99999999999999999999999", NumberEntry::Valid},
        {"1.5", NumberEntry::NotANumber},
        {"5-", NumberEntry::NotANumber},
        {"-", NumberEntry::NotANumber},
        {"--5", NumberEntry::NotANumber},
        {"+5", NumberEntry::NotANumber},
        {" 5", NumberEntry::NotANumber},
        {"12px", NumberEntry::NotANumber},
        {"abc", NumberEntry::NotANumber},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckNumberEntry(QString::fromUtf8(c.text)), c.expected) << c.text;
    EXPECT_EQ(NumberEntryMessage(NumberEntry::Empty), QStringLiteral("Введите число"));
    EXPECT_EQ(NumberEntryMessage(NumberEntry::NotANumber), QStringLiteral("Неверное численное значение"));
    EXPECT_EQ(NumberDialogCaption(QStringLiteral("[default]")), QStringLiteral("Численное значение"));
    EXPECT_EQ(NumberDialogCaption(QStringLiteral("width:")), QStringLiteral("width:"));
}

} // namespace
