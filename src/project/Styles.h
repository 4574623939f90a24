#pragma once

#include <array>

// The separator line and bracket styles: the window's option captions and
// what the composer draws for them come from this one table.
namespace Styles {

struct LineStyle {
    const char16_t *caption;
    const char16_t *pattern; // repeated to the line width
};
struct BracketStyle {
    const char16_t *caption;
    const char16_t *left;
    const char16_t *right;
};

// Options 0 to 2; option 3 (kFree) takes the author's own texts.
inline constexpr std::array<LineStyle, 3> kLines = {{
    {u"====", u"===="},
    {u"----", u"----"},
    {u"・・・・", u"・・・・"},
}};
inline constexpr std::array<BracketStyle, 3> kBrackets = {{
    {u"  【  】", u"【", u"】"},
    {u"  《  》", u"《", u"》"},
    {u"  <  >", u"<", u">"},
}};
inline constexpr int kFree = 3;
inline constexpr char16_t kFreeCaption[] = u"その他";
// What an empty free style draws.
inline constexpr char16_t kEmptyFreePattern[] = u"=";
inline constexpr BracketStyle kEmptyFreeBrackets = {u"", u"【", u"】"};

} // namespace Styles
