#include "ForeignReadme.h"

namespace ForeignReadme {

// Placeholder: every line is kept as the text before the README.
ReadmeImport::Imported read(const QStringList &lines)
{
    ReadmeImport::Imported imported;
    imported.doc.texts.lead = lines;
    return imported;
}

} // namespace ForeignReadme
