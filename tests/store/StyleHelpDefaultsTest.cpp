// The default CSS property reference that the first-run setup writes into the
// StyleHelp section. The menu is built from these tokens by their first
// character, so the checks here guard the shape the menu builder relies on.
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <gtest/gtest.h>

// Q_INIT_RESOURCE must not be used inside a namespace.
static QByteArray LoadStyleHelpResource()
{
    Q_INIT_RESOURCE(defaults);
    QFile file(QStringLiteral(":/defaults/StyleHelp.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

namespace {

enum class Kind { Group, Property, Value, Note };

Kind KindOf(const QString& token)
{
    if (token.startsWith(u'-'))
        return Kind::Property;
    if (token.startsWith(u'='))
        return Kind::Value;
    if (token.startsWith(u'!') || token.startsWith(u'?'))
        return Kind::Note;
    return Kind::Group;
}

class StyleHelpDefaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QByteArray bytes = LoadStyleHelpResource();
        ASSERT_FALSE(bytes.isEmpty()) << "resource :/defaults/StyleHelp.txt is missing";
        QStringDecoder decoder(QStringDecoder::Utf8);
        text_ = decoder(bytes);
        ASSERT_FALSE(decoder.hasError()) << "not valid UTF-8";
        ASSERT_TRUE(text_.endsWith(u'\n')) << "last line must end with a line break";
        lines_ = text_.split(u'\n');
        lines_.removeLast(); // the piece after the final line break
        for (const QString& line : std::as_const(lines_)) {
            if (line.size() >= 2 && line.startsWith(u'[') && line.endsWith(u']'))
                tokens_ << line.mid(1, line.size() - 2);
        }
    }

    // Entries (values and notes) of the first property `name` within `group`.
    QStringList EntriesOf(const QString& group, const QString& name) const
    {
        QString currentGroup;
        for (qsizetype i = 0; i < tokens_.size(); ++i) {
            const QString& t = tokens_[i];
            const Kind kind = KindOf(t);
            if (kind == Kind::Group) {
                currentGroup = t;
            } else if (kind == Kind::Property && currentGroup == group
                       && t.mid(1) == name) {
                QStringList entries;
                for (qsizetype j = i + 1; j < tokens_.size(); ++j) {
                    const Kind k = KindOf(tokens_[j]);
                    if (k == Kind::Group || k == Kind::Property)
                        break;
                    entries << tokens_[j];
                }
                return entries;
            }
        }
        return {};
    }

    QString text_;
    QStringList lines_;
    QStringList tokens_;
};

TEST_F(StyleHelpDefaults, EveryLineIsOneBracketedToken)
{
    ASSERT_FALSE(lines_.isEmpty());
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const QString& line = lines_[i];
        SCOPED_TRACE(QStringLiteral("line %1: %2").arg(i + 1).arg(line).toStdString());
        ASSERT_GE(line.size(), 3) << "an empty or truncated item";
        EXPECT_EQ(line.front(), u'[');
        EXPECT_EQ(line.back(), u']');
        const QString token = line.mid(1, line.size() - 2);
        // A "]" would end the item name early; "---" would split the item
        // when the section is written as one text.
        EXPECT_FALSE(token.contains(u']'));
        EXPECT_FALSE(token.contains(QStringLiteral("---")));
        EXPECT_FALSE(token.contains(u'\r'));
        EXPECT_EQ(token, token.trimmed());
        if (KindOf(token) != Kind::Group) {
            EXPECT_GT(token.size(), 1) << "a kind mark with no caption";
        }
    }
    EXPECT_EQ(tokens_.size(), lines_.size());
}

TEST_F(StyleHelpDefaults, SixGroupsInOrderAndSeventyNineProperties)
{
    QStringList groups;
    int properties = 0;
    for (const QString& t : std::as_const(tokens_)) {
        const Kind kind = KindOf(t);
        if (kind == Kind::Group)
            groups << t;
        else if (kind == Kind::Property)
            ++properties;
    }
    const QStringList expected{
        QStringLiteral("Отображение"),   QStringLiteral("Расположение"),
        QStringLiteral("Текст и шрифт"), QStringLiteral("Фон"),
        QStringLiteral("Границы и рамки"), QStringLiteral("Полосы прокрутки"),
    };
    EXPECT_EQ(groups, expected);
    EXPECT_EQ(properties, 79);
}

TEST_F(StyleHelpDefaults, TokensComeInMenuOrder)
{
    ASSERT_FALSE(tokens_.isEmpty());
    EXPECT_EQ(KindOf(tokens_.front()), Kind::Group) << "the first token must open a group";

    bool inProperty = false;
    bool propertyHasEntries = false;
    QString lastProperty;
    for (const QString& t : std::as_const(tokens_)) {
        const Kind kind = KindOf(t);
        if (kind == Kind::Group || kind == Kind::Property) {
            if (inProperty) {
                EXPECT_TRUE(propertyHasEntries) << "property " << lastProperty.toStdString()
                                                << " has no values or notes";
            }
            inProperty = kind == Kind::Property;
            propertyHasEntries = false;
            lastProperty = t;
        } else {
            EXPECT_TRUE(inProperty) << "entry " << t.toStdString()
                                    << " stands before any property of its group";
            propertyHasEntries = true;
        }
    }
    EXPECT_TRUE(inProperty && propertyHasEntries) << "the last property has no entries";
}

TEST_F(StyleHelpDefaults, SpecialValuesAreStoredInTheirShortForm)
{
    // The menu builder turns these into their Russian labels itself; the
    // labels must never be stored.
    const QStringList labels{
        QStringLiteral("=множество_параметров"), QStringLiteral("=текстовое_значение"),
        QStringLiteral("=численное_значение"),   QStringLiteral("=выбор_цвета"),
        QStringLiteral("=выбор_шрифта"),         QStringLiteral("=выбор_пути"),
    };
    for (const QString& label : labels)
        EXPECT_FALSE(tokens_.contains(label)) << label.toStdString();

    EXPECT_EQ(EntriesOf(QStringLiteral("Фон"), QStringLiteral("background")),
              (QStringList{"=url", "=color", "=multi"}));
    EXPECT_EQ(EntriesOf(QStringLiteral("Текст и шрифт"), QStringLiteral("font")),
              QStringList{"=font"});
    EXPECT_EQ(EntriesOf(QStringLiteral("Расположение"), QStringLiteral("width")),
              (QStringList{"=numeric", "=auto"}));
}

TEST_F(StyleHelpDefaults, NotesKeepTheirTextsAndSeparators)
{
    EXPECT_EQ(EntriesOf(QStringLiteral("Отображение"), QStringLiteral("opacity")),
              (QStringList{QStringLiteral("!Прозрачность для Opera, для IE см. filter"),
                           "=numeric"}));
    EXPECT_EQ(EntriesOf(QStringLiteral("Отображение"), QStringLiteral("filter")),
              (QStringList{QStringLiteral("?Прозрачность для IE, для Opera см. opacity"),
                           QStringLiteral("!Для работы параметра необходим 'position:absolute;'"),
                           "=alpha(opacity=50)"}));
    EXPECT_EQ(EntriesOf(QStringLiteral("Текст и шрифт"), QStringLiteral("font-family")),
              (QStringList{QStringLiteral("?Имя шрифта"),
                           QStringLiteral("!Может быть до 3 шрифтов через запятую на случай "
                                          "отсутствия у пользователя"),
                           "=string"}));

    const QStringList cursor =
        EntriesOf(QStringLiteral("Отображение"), QStringLiteral("cursor"));
    ASSERT_EQ(cursor.size(), 23);
    EXPECT_EQ(cursor.front(), "=auto");
    EXPECT_EQ(cursor[14], "=help");
    EXPECT_EQ(cursor[15], QStringLiteral("!Только для IExplorer :"));
    EXPECT_EQ(cursor.mid(16, 5),
              (QStringList{"=all-scroll", "=col-resize", "=row-resize", "=progress",
                           "=no-drop"}));
    EXPECT_EQ(cursor[21], QStringLiteral("?Загрузка курсора, только *.cur и *.ico :"));
    EXPECT_EQ(cursor.back(), "=url");
}

TEST_F(StyleHelpDefaults, SpotChecksOfValueLists)
{
    QStringList weight{QStringLiteral("!Жирность шрифта"), "=normal", "=bold", "=lighter",
                       "=bolder"};
    for (int w = 100; w <= 900; w += 100)
        weight << QStringLiteral("=%1").arg(w);
    EXPECT_EQ(EntriesOf(QStringLiteral("Текст и шрифт"), QStringLiteral("font-weight")),
              weight);

    // "color" sits in two groups, each with its own entry.
    EXPECT_EQ(EntriesOf(QStringLiteral("Отображение"), QStringLiteral("color")),
              QStringList{"=color"});
    EXPECT_EQ(EntriesOf(QStringLiteral("Текст и шрифт"), QStringLiteral("color")),
              QStringList{"=color"});

    EXPECT_EQ(EntriesOf(QStringLiteral("Границы и рамки"), QStringLiteral("border-top-style")),
              (QStringList{"=none", "=solid", "=dotted", "=dashed", "=double", "=groove",
                           "=ridge", "=inset", "=outset"}));
    EXPECT_EQ(EntriesOf(QStringLiteral("Полосы прокрутки"),
                        QStringLiteral("scrollbar-track-color")),
              QStringList{"=color"});
    EXPECT_EQ(tokens_.back(), "=color");
}

} // namespace
