#include "storage/content_lines.h"

#include <cstring>

#include "app/state.h"
#include "storage/import_rules.h"

namespace {

// Folded lines are at most this many bytes, line end not counted.
constexpr size_t kFoldWidth = 75;

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Splits NAME;PARAM=a,"b;c":value. False when `text` is not shaped so.
bool ParseContentLine(const std::string& text, ContentLine* out) {
    size_t i = 0;
    while (i < text.size() && IsNameChar(text[i])) ++i;
    if (i == 0 || i >= text.size() || (text[i] != ';' && text[i] != ':')) return false;
    std::string name = UpperAscii(text.substr(0, i));
    const size_t group = name.rfind('.');
    out->name = group == std::string::npos ? name : name.substr(group + 1);
    out->params.clear();
    while (text[i] == ';') {
        size_t start = ++i;
        while (i < text.size() && IsNameChar(text[i])) ++i;
        if (i == start || i >= text.size()) return false;
        ContentParam param;
        param.name = UpperAscii(text.substr(start, i - start));
        if (text[i] == '=') {
            do {
                ++i;  // past '=' or ','
                if (!param.value.empty()) param.value += ',';
                if (i < text.size() && text[i] == '"') {
                    const size_t close = text.find('"', i + 1);
                    if (close == std::string::npos) return false;
                    param.value.append(text, i + 1, close - i - 1);
                    i = close + 1;
                } else {
                    start = i;
                    while (i < text.size() && text[i] != ',' && text[i] != ';' && text[i] != ':') ++i;
                    param.value.append(text, start, i - start);
                }
            } while (i < text.size() && text[i] == ',');
        }
        if (i >= text.size() || (text[i] != ';' && text[i] != ':')) return false;
        out->params.push_back(param);
    }
    out->value = text.substr(i + 1);
    return true;
}

// Whether a logical line read so far is a quoted-printable value whose last
// byte is a soft line break.
bool ContinuesQuotedPrintable(const std::string& logical) {
    if (logical.empty() || logical.back() != '=') return false;
    const size_t colon = logical.find(':');
    if (colon == std::string::npos) return false;
    return UpperAscii(logical.substr(0, colon)).find("QUOTED-PRINTABLE") != std::string::npos;
}

struct Reader {
    std::vector<Component> open;  // the components begun and not yet ended, outermost first
    std::vector<Component>* top;
    TextDamage* damage;
    std::string expected;  // the only component allowed at the top

    bool Fail(int id, int line, const std::string& detail = "") {
        damage->id = id;
        damage->line = line;
        damage->detail = detail;
        return false;
    }

    bool Take(const std::string& text, int line) {
        // Only unfolded: a fold may split a character.
        size_t badAt;
        if (!IsUtf8(text, &badAt)) return Fail(kDamageNotUtf8, line);
        ContentLine content;
        const bool parsed = ParseContentLine(text, &content);
        // Another kind of file shows at its first line, or where it goes on
        // after a component of the right kind.
        if (open.empty() && (!parsed || content.name != "BEGIN" || UpperAscii(content.value) != expected)) {
            return Fail(kDamageWrongKind, line, "BEGIN:" + expected);
        }
        if (!parsed) return Fail(kDamageNotAProperty, line);
        content.line = line;
        if (content.name == "BEGIN") {
            Component component;
            component.line = line;
            component.name = UpperAscii(content.value);
            open.push_back(component);
            return true;
        }
        if (content.name == "END") {
            if (open.empty() || open.back().name != UpperAscii(content.value)) {
                return Fail(kDamageUnmatchedEnd, line, content.value);
            }
            Component done = std::move(open.back());
            open.pop_back();
            (open.empty() ? *top : open.back().children).push_back(std::move(done));
            return true;
        }
        open.back().properties.push_back(std::move(content));
        return true;
    }
};

}  // namespace

bool ReadComponents(const std::string& text, const char* expected, std::vector<Component>* top,
                    TextDamage* damage) {
    Reader reader{{}, top, damage, expected};
    std::string logical;
    int logicalLine = 0;
    int number = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t lf = text.find('\n', pos);
        const size_t next = lf == std::string::npos ? text.size() : lf + 1;
        size_t end = lf == std::string::npos ? text.size() : lf;
        if (end > pos && text[end - 1] == '\r') --end;
        const size_t begin = pos;
        pos = next;
        ++number;
        if (logicalLine != 0 && end > begin && (text[begin] == ' ' || text[begin] == '\t')) {
            logical.append(text, begin + 1, end - begin - 1);
            continue;
        }
        if (logicalLine != 0 && ContinuesQuotedPrintable(logical)) {
            logical.pop_back();
            logical.append(text, begin, end - begin);
            continue;
        }
        if (logicalLine != 0 && !reader.Take(logical, logicalLine)) return false;
        logicalLine = 0;
        if (end == begin) continue;  // blank lines between cards are common
        logical.assign(text, begin, end - begin);
        logicalLine = number;
    }
    if (logicalLine != 0 && !reader.Take(logical, logicalLine)) return false;
    if (!reader.open.empty()) return reader.Fail(kDamageCutShort, number, reader.open.back().name);
    return true;
}

const ContentLine* FindProperty(const Component& component, const char* name) {
    for (const ContentLine& line : component.properties) {
        if (line.name == name) return &line;
    }
    return nullptr;
}

const std::string* FindParam(const ContentLine& line, const char* name) {
    for (const ContentParam& param : line.params) {
        if (param.name == name) return &param.value;
    }
    return nullptr;
}

std::string UnescapeText(const std::string& value) {
    std::string text;
    text.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const char c = value[++i];
        text += (c == 'n' || c == 'N') ? '\n' : c;
    }
    return text;
}

std::string EscapeText(const std::string& text) {
    std::string value;
    value.reserve(text.size() + 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            value += "\\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\\' || c == ';' || c == ',') {
            value += '\\';
            value += c;
        } else {
            value += c;
        }
    }
    return value;
}

void AppendFolded(std::string* out, const std::string& line) {
    size_t pos = 0;
    size_t width = kFoldWidth;
    do {
        const size_t left = line.size() - pos;
        size_t take =
            CharBoundary(line.c_str() + pos, static_cast<unsigned>(left), static_cast<unsigned>(width));
        if (take == 0) take = left < width ? left : width;  // no character fits: not UTF-8, cut anywhere
        if (pos != 0) *out += ' ';
        out->append(line, pos, take);
        *out += "\r\n";
        pos += take;
        width = kFoldWidth - 1;  // the blank that marks a fold counts
    } while (pos < line.size());
}

std::string DecodeQuotedPrintable(const std::string& value) {
    std::string text;
    text.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '=' && i + 2 < value.size() && HexValue(value[i + 1]) >= 0 &&
            HexValue(value[i + 2]) >= 0) {
            text += static_cast<char>(HexValue(value[i + 1]) * 16 + HexValue(value[i + 2]));
            i += 2;
        } else {
            text += value[i];
        }
    }
    return text;
}

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::string Trimmed(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(begin, end - begin);
}
