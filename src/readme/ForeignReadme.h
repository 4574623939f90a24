#pragma once

#include "ReadmeImport.h"

// Reads a README.TXT that Quillet did not compose: header lines such as
// "【名称】 value", "名称：value" or "■名称 value" become fields, headings
// (bracketed, marked with ■, ● or ◆, underlined with === or ---) become
// items or custom headings, and the lines under them their texts.
namespace ForeignReadme {

ReadmeImport::Imported read(const QStringList &lines);

// A header line of a field: "【作者】 value", "作者：value".
bool isFieldLine(const QString &line);

} // namespace ForeignReadme
