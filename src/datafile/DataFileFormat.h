#pragma once

#include <QStringView>

// The *.pwk data file's vocabulary, shared by its reader and writer.
//
// Item lines: number ":=" entry text ":=" value, one per list entry in order.
// The number is the item the entry stands for (0 to 28); custom entries are
// numbered from kFirstCustomNumber up in list order. Setting lines follow,
// each a tag and its content. Every line ends with CR LF, in code page 932.
namespace DataFileFormat {

inline constexpr QStringView kSeparator = u":=";
inline constexpr int kFirstCustomNumber = 29;
inline constexpr qsizetype kTagLength = 4;

inline constexpr QStringView kLineOption = u"@@@1";    // separator option 0..3
inline constexpr QStringView kFreeLine = u"@@@2";      // free separator text
inline constexpr QStringView kBracketOption = u"@@@3"; // bracket option 0..3
inline constexpr QStringView kFreeLeft = u"@@@4";      // free left bracket
inline constexpr QStringView kFreeRight = u"@@@5";     // free right bracket
inline constexpr QStringView kLineWidth = u"@@@6";     // columns per line

inline constexpr QStringView kLineEnd = u"\r\n";

} // namespace DataFileFormat
