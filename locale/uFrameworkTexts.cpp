#include "locale/uFrameworkTexts.h"

#include <cstring>

namespace {

struct TSourceText
{
    const char *Context;
    const char *Source;
    int Index; // into the framework texts
};

// Indexes follow FrameworkTextKeys. Qt adds the "+" after a modifier itself,
// so the modifier texts are answered without theirs.
constexpr TSourceText SourceTexts[] = {
    {"QShortcut", "Backspace", 0}, {"QShortcut", "Tab", 1},     {"QShortcut", "Esc", 2},
    {"QShortcut", "Enter", 3},     {"QShortcut", "Return", 3},  {"QShortcut", "Space", 4},
    {"QShortcut", "PgUp", 5},      {"QShortcut", "PgDown", 6},  {"QShortcut", "End", 7},
    {"QShortcut", "Home", 8},      {"QShortcut", "Left", 9},    {"QShortcut", "Up", 10},
    {"QShortcut", "Right", 11},    {"QShortcut", "Down", 12},   {"QShortcut", "Ins", 13},
    {"QShortcut", "Del", 14},      {"QShortcut", "Shift", 15},  {"QShortcut", "Ctrl", 16},
    {"QShortcut", "Alt", 17},
    {"QPlatformTheme", "&Yes", 22},         {"QPlatformTheme", "&No", 23},
    {"QPlatformTheme", "OK", 24},           {"QPlatformTheme", "Cancel", 25},
    {"QPlatformTheme", "Help", 26},         {"QPlatformTheme", "Abort", 27},
    {"QPlatformTheme", "Retry", 28},        {"QPlatformTheme", "Ignore", 29},
    {"QPlatformTheme", "N&o to All", 31},   {"QPlatformTheme", "Yes to &All", 32},
};

bool IsModifierIndex(int index)
{
    return index >= 15 && index <= 17;
}

} // namespace

void TFrameworkTranslator::SetTexts(const QStringList &texts)
{
    FTexts = texts;
}

QString TFrameworkTranslator::translate(const char *context, const char *sourceText, const char *,
                                        int) const
{
    if (!context || !sourceText)
        return {};
    for (const TSourceText &entry : SourceTexts) {
        if (std::strcmp(entry.Context, context) != 0 || std::strcmp(entry.Source, sourceText) != 0)
            continue;
        if (entry.Index >= FTexts.size())
            return {};
        QString text = FTexts.at(entry.Index);
        if (IsModifierIndex(entry.Index) && text.endsWith('+'))
            text.chop(1);
        // Buttons keep a keyboard accelerator when Qt's own text has one.
        if (std::strchr(sourceText, '&') && !text.contains('&'))
            text.prepend('&');
        return text;
    }
    return {};
}
