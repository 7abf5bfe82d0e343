#include "tools/StyleReference.h"

#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"

namespace {

struct SpecialValue {
    const char* token;
    const char* label;
    StyleValueKind kind;
};

const SpecialValue kSpecialValues[] = {
    {"=multi", "множество_параметров", StyleValueKind::Multi},
    {"=string", "текстовое_значение", StyleValueKind::Text},
    {"=numeric", "численное_значение", StyleValueKind::Number},
    {"=color", "выбор_цвета", StyleValueKind::Colour},
    {"=font", "выбор_шрифта", StyleValueKind::Font},
    {"=url", "выбор_пути", StyleValueKind::Path},
};

QString declaration(const QString& property, const QString& value)
{
    return property + QLatin1Char(':') + value + QLatin1Char(';');
}

} // namespace

QString StyleTokenLabel(const QString& token)
{
    for (const SpecialValue& s : kSpecialValues)
        if (token == QLatin1String(s.token))
            return QLatin1Char('=') + QString::fromUtf8(s.label);
    return token;
}

QString WithoutAccelerators(const QString& caption)
{
    QString out = caption;
    out.remove(QLatin1Char('&'));
    return out;
}

StyleValueKind StyleValueKindOf(const QString& caption)
{
    const QString value = WithoutAccelerators(caption);
    for (const SpecialValue& s : kSpecialValues)
        if (value == QString::fromUtf8(s.label))
            return s.kind;
    return StyleValueKind::Plain;
}

namespace {

// The first of the entries whose caption is the given one, case and "&"
// marks aside; -1 when there is none.
template <typename Entry>
qsizetype FirstByCaption(const QList<Entry>& entries, const QString& caption)
{
    const QString wanted = WithoutAccelerators(caption);
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (WithoutAccelerators(entries.at(i).caption).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

QList<StyleGroup> ParseStyleHelp(const QStringList& tokens)
{
    QList<StyleGroup> groups;
    // The current group and property are captions, looked up for each
    // token; a new group keeps no current property until its first one.
    QString group;
    QString property;
    bool haveGroup = false;
    bool haveProperty = false;
    for (const QString& stored : tokens) {
        if (stored.isEmpty())
            continue;
        const QString token = StyleTokenLabel(stored);
        const QChar kind = token.front();
        const QString rest = token.mid(1);
        if (kind != u'-' && kind != u'=' && kind != u'!' && kind != u'?') {
            groups.append(StyleGroup{token, {}});
            group = token;
            haveGroup = true;
            haveProperty = false;
            continue;
        }
        if (!haveGroup)
            continue;
        QList<StyleProperty>& properties = groups[FirstByCaption(groups, group)].properties;
        if (kind == u'-') {
            properties.append(StyleProperty{rest, {}});
            property = rest;
            haveProperty = true;
            continue;
        }
        if (!haveProperty)
            continue;
        QList<StyleEntry>& entries = properties[FirstByCaption(properties, property)].entries;
        if (kind == u'=') {
            entries.append({StyleEntry::Value, rest});
        } else {
            entries.append({StyleEntry::Note, rest});
            if (kind == u'!')
                entries.append({StyleEntry::Separator, QString()});
        }
    }
    return groups;
}

QStringList StyleHelpTokens()
{
    Opt_SelectFile(opt::StyleHelp);
    QStringList tokens;
    const int count = Opt_Count();
    for (int i = 0; i < count; ++i)
        tokens << Opt_NameAt(i);
    return tokens;
}

StyleInsertion StyleValueInsertion(const QString& property, const QString& value, const QString& answer)
{
    const QString p = WithoutAccelerators(property);
    const QString v = WithoutAccelerators(value);
    switch (StyleValueKindOf(v)) {
    case StyleValueKind::Multi:
    case StyleValueKind::Text:
        return {declaration(p, QString()), 1};
    case StyleValueKind::Number:
        if (answer.isEmpty())
            return {};
        return {declaration(p, answer), 0};
    case StyleValueKind::Colour:
        return {declaration(p, QStringLiteral("#000")), 3};
    case StyleValueKind::Font:
        return {};
    case StyleValueKind::Path:
        return {declaration(p, QStringLiteral("URL(") + answer + QLatin1Char(')')), answer.isEmpty() ? 2 : 0};
    case StyleValueKind::Plain:
        break;
    }
    return {declaration(p, v), 0};
}

NumberEntry CheckNumberEntry(const QString& text)
{
    if (text.isEmpty())
        return NumberEntry::Empty;
    // ExtractNumber keeps a leading "-" and the digits and gives "0" for a
    // lone "-": the entry is a number only when nothing else was in it.
    return ExtractNumber(text) == text ? NumberEntry::Valid : NumberEntry::NotANumber;
}

QString NumberEntryMessage(NumberEntry entry)
{
    switch (entry) {
    case NumberEntry::Empty:
        return QStringLiteral("Введите число");
    case NumberEntry::NotANumber:
        return QStringLiteral("Неверное численное значение");
    case NumberEntry::Valid:
        break;
    }
    return {};
}

QString NumberWithUnit(const QString& number, const QString& unit) { return number + unit; }

QString NumberDialogCaption(const QString& caption)
{
    return caption == QLatin1String("[default]") ? QStringLiteral("Численное значение") : caption;
}
