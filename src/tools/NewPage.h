#pragma once
// The new page wizard's page: a head with title, charset, description,
// keywords, author, icon and style sheet, an empty body, and optionally an
// empty table.
#include <QString>

struct NewPageFields {
    QString title;
    QString description;
    QString keywords;
    QString author;
    QString cssPath;
    QString icon;    // the icon box's text
    QString charset; // the charset box's text
    bool makeTable = false;
};

inline const QString IconPlaceholder = QStringLiteral("Иконка");
inline const QString CharsetPlaceholder = QStringLiteral("Кодировка");

// Trimmed, without "<" and ">"; a path also with "/" for every "\".
QString CleanPageField(const QString& text, bool isPath = false);

// The page, lines joined by CR LF, no line end after the last.
QString NewPageText(const NewPageFields& fields);
