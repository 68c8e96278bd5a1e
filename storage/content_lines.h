// The text layer that iCalendar and vCard files share: folded "content
// lines" of the form NAME;PARAM=value:value, grouped into components between
// BEGIN and END lines.
#pragma once

#include <string>
#include <vector>

#include "storage/import_rules.h"  // TextDamage

struct ContentParam {
    std::string name;   // upper-cased
    std::string value;  // quotes removed; a bare vCard 2.1 parameter has none
};

struct ContentLine {
    int line;          // where it starts in the file (1-based)
    std::string name;  // upper-cased, without a vCard group ("item1.")
    std::vector<ContentParam> params;
    std::string value;  // as written: escapes are left to the reader of each property
};

struct Component {
    int line;
    std::string name;  // upper-cased: VCALENDAR, VEVENT, VALARM, VCARD...
    std::vector<ContentLine> properties;
    std::vector<Component> children;
};

// Unfolds `text` (CR LF or LF line ends; a fold may split a character) and
// reads it into the components at its top level, each of which must be an
// `expected` one (VCALENDAR, VCARD). A vCard 2.1 quoted-printable value that
// goes on after a soft line break is joined too. False, with `damage`
// holding one of the kDamage reasons, when the text is another kind of file,
// an unfolded line is not UTF-8 or not a content line, an END does not close the BEGIN before it,
// or the text ends inside a component (a file cut short).
bool ReadComponents(const std::string& text, const char* expected, std::vector<Component>* top,
                    TextDamage* damage);

// The first property named `name` (upper case) of `component`; null when none.
const ContentLine* FindProperty(const Component& component, const char* name);

// The value of parameter `name` (upper case); null when the line has none.
const std::string* FindParam(const ContentLine& line, const char* name);

// A TEXT value with its escapes resolved: \\ \; \, and \n or \N (a line
// break, given as LF). An unknown escape keeps the character after it.
std::string UnescapeText(const std::string& value);

// The value written as TEXT: backslash, semicolon and comma escaped, every
// line break (CR LF, CR or LF) as \n.
std::string EscapeText(const std::string& text);

// Appends `line` to `out` folded at 75 bytes, never inside a character,
// each piece ending with CR LF.
void AppendFolded(std::string* out, const std::string& line);

// Decodes a quoted-printable value; soft line breaks are already gone.
std::string DecodeQuotedPrintable(const std::string& value);

// ASCII upper case, for names and keywords.
std::string UpperAscii(std::string text);

// `text` without the blanks and tabs at either end.
std::string Trimmed(const std::string& text);
