#pragma once
// The completion list's logic: what kind of list the text before the caret
// asks for (element names, attributes of an element, an attribute's values,
// CSS properties and values, character references, class names, paths) and
// the items of that list, filtered by the typed prefix, each with its hint
// and the text its acceptance writes.
//
// The facts — HTML elements with their attributes and enumerated values, CSS
// properties with their keywords, named character references — are tables in
// resources/completion/, read once on first use.
#include "editor/Colouring.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

struct HtmlAttributeFact {
    QString name;
    QString hint;
    QStringList values; // enumerated values; empty for free text
};

struct HtmlElementFact {
    QString name;
    QString hint;
    std::vector<HtmlAttributeFact> attributes;
};

struct CssPropertyFact {
    QString name;
    QString hint;
    QStringList values; // keywords and functions ("url()")
};

struct CharacterReferenceFact {
    QString name;
    char32_t code = 0;
    QString hint;
};

struct CompletionTables {
    std::vector<HtmlElementFact> elements;
    // The attributes every element takes: global and event attributes.
    HtmlElementFact global;
    // Names the tag checker knows that the list does not offer.
    QStringList obsolete;
    std::vector<CssPropertyFact> properties;
    std::vector<CharacterReferenceFact> references;
    // Lines that do not parse and names given twice, one description each.
    QStringList faults;

    const HtmlElementFact* element(QStringView name) const;
    const CssPropertyFact* property(QStringView name) const;
    // The attribute of the element, or a global one; null when unknown.
    const HtmlAttributeFact* attribute(QStringView element, QStringView name) const;
};

// Parses the three tables' texts.
CompletionTables ParseCompletionTables(const QString& html, const QString& css, const QString& references);
// The program's tables, parsed on first use.
const CompletionTables& CompletionData();

enum class CompletionKind { None, Element, Attribute, AttributeValue, CssProperty, CssValue, Entity, ClassName, Path };

struct CompletionContext {
    CompletionKind kind = CompletionKind::None;
    QString element;   // lower case; for attributes and their values
    QString attribute; // lower case; for values, class names and paths
    QString property;  // lower case; for CSS values
    QString prefix;    // what was typed of the item, ending at the caret
    bool operator==(const CompletionContext&) const = default;
};

// The context at the caret. The window is a piece of the text that starts
// at a line's start and holds the caret; state is the colouring state at the
// window's start (InitialColouringState(kind) at the text's start). Only the
// window is read.
CompletionContext CompletionContextAt(QStringView window, int caret, ColouringKind kind, int state);

struct CompletionItem {
    QString label;
    QString hint;
    QString insert; // written in place of the prefix
    int caret = 0;  // the caret's place in insert after acceptance
};

// What the context alone does not know.
struct CompletionExtras {
    QStringList classNames;       // for class="..."
    QStringList files;            // relative paths beside the page
    QStringList customProperties; // "--name", defined near the caret
    QChar quote = u'"';           // an attribute's quotes
};

// The items of the context: those whose label starts with the prefix, then
// those that hold it elsewhere, letter case ignored; each label once.
std::vector<CompletionItem> CompletionItems(const CompletionContext& context, const CompletionExtras& extras);

// The custom property names ("--name" before ":") defined in the text, each once.
QStringList CustomPropertyNames(QStringView text);

// Whether a typed character may open the list by itself in this context:
// "<", a blank inside a tag, a quote after "=", "{", ";" and ":" in CSS, "&".
bool CompletionOpener(QChar typed, const CompletionContext& context);
