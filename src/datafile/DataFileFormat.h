#pragma once

#include <QStringView>

// The *.pwk data file's vocabulary, shared by its reader and writer.
//
// Item lines: number ":=" entry text ":=" value, one per list entry in order.
// The number is the item the entry stands for (0 to 28); custom entries are
// numbered from kFirstCustomNumber up in list order. Setting lines follow,
// each a tag and its content. Every line ends with CR LF, in code page 932.
//
// What the lines above cannot hold follows an empty line, where a reader of
// the older format stops without complaint. First the values of filled
// fields that no entry lists (a README may show a field only in its end
// lines), one a line, the rest of the line verbatim:
//   "@@@0" number ":=" value
// Then the project's settings the README does not show, one a line:
//   "@@@S" name ":=" value  wrap (push or hang), profile, silence (repeated),
//                          credit (repeated: material, author, URL, licence
//                          and notice, a tab between), language (the main
//                          one, when not ja), name (entry ":=" the name the
//                          README shows for it, repeated)
// Then the author's texts. Each is a header line and then as many lines as
// the header counts, taken verbatim, so a text line needs no escaping
// whatever it holds:
//   "@@@8" count            the text before the README's first line
//   "@@@7" count ":=" key   the text under the heading key (may hold ":=")
//   "@@@9" count            the text after the README's last line
// Then the README's other languages, each a header line and its own
// versions, its texts as above:
//   "@@@L" code              starts the language (en, zh...)
//   "@@@0" number ":=" value  a field's value in it
//   "@@@V" entry ":=" value   a field of the author's own
//   "@@@N" entry ":=" name    an entry's name in it
// A document without any of these ends at the last setting line, as before.
namespace DataFileFormat {

inline constexpr QStringView kSeparator = u":=";
inline constexpr int kFirstCustomNumber = 29;
inline constexpr qsizetype kTagLength = 4;

inline constexpr QStringView kKeptValue = u"@@@0";     // a value no entry lists
inline constexpr QStringView kLineOption = u"@@@1";    // separator option 0..3
inline constexpr QStringView kFreeLine = u"@@@2";      // free separator text
inline constexpr QStringView kBracketOption = u"@@@3"; // bracket option 0..3
inline constexpr QStringView kFreeLeft = u"@@@4";      // free left bracket
inline constexpr QStringView kFreeRight = u"@@@5";     // free right bracket
inline constexpr QStringView kLineWidth = u"@@@6";     // columns per line
inline constexpr QStringView kHeadingText = u"@@@7";   // text under a heading
inline constexpr QStringView kLeadText = u"@@@8";      // text before the first line
inline constexpr QStringView kTailText = u"@@@9";      // text after the last line
inline constexpr QStringView kSetting = u"@@@S";       // a setting by name
inline constexpr QStringView kLanguage = u"@@@L";      // another language's block
inline constexpr QStringView kOwnValue = u"@@@V";      // its value of an own field
inline constexpr QStringView kName = u"@@@N";          // its name of an entry

inline constexpr QStringView kWrapSetting = u"wrap";
inline constexpr QStringView kWrapPush = u"push";
inline constexpr QStringView kWrapHang = u"hang";
inline constexpr QStringView kProfileSetting = u"profile";
inline constexpr QStringView kSilenceSetting = u"silence";
inline constexpr QStringView kCreditSetting = u"credit";
inline constexpr QStringView kLanguageSetting = u"language"; // the main language, when not ja
inline constexpr QStringView kNameSetting = u"name";         // entry ":=" the name the README shows

inline bool startsText(QStringView line)
{
    const QStringView tag = line.left(kTagLength);
    return tag == kHeadingText || tag == kLeadText || tag == kTailText;
}

// The first line of what follows the empty line.
inline bool startsExtras(QStringView line)
{
    return line.startsWith(kKeptValue) || line.startsWith(kSetting) || startsText(line) ||
           line.startsWith(kLanguage);
}

inline constexpr QStringView kLineEnd = u"\r\n";

} // namespace DataFileFormat
