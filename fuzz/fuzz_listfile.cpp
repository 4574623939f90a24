// A list file's bytes, then an editing session driven by the same bytes:
// what the editor saves reads back as the editor's list.
#include "FuzzSupport.h"
#include "entrylists/ListEditor.h"
#include "platform/LineFile.h"

void fuzz(const QByteArray &bytes, const QString &appDir)
{
    if (!LineFile::writeBytes(appDir + QStringLiteral("/Writer.dat"), bytes).ok())
        return;
    const QString caption = QStringLiteral("著作権者の登録");
    ListEditor ed;
    ed.open(caption);
    using Key = ListEditor::Key;
    for (const char c : bytes.left(48)) {
        const uchar b = uchar(c);
        if (b % 9 == 0)
            ed.setText(QStringLiteral("登録%1").arg(b));
        else if (b % 9 <= 3 || (b % 9 == 4 && (b & 0x40))) // revert is rarer
            ed.run(ListEditor::Command(b % 9 - 1));        // register, delete, clear all, revert
        else if (b % 9 == 5)
            ed.textKey(Key::Insert);
        else if (b % 9 == 6 || b % 9 == 7)
            ed.listKey(b % 9 == 6 ? Key::Delete : b & 0x80 ? Key::Escape : Key::Other);
        else if (b % 9 == 8 && !ed.entries().isEmpty())
            ed.clickEntry(b % ed.entries().size());
    }
    const Result<EntryLists::ListSaved> r = ed.save();
    if (!r.ok() || (r->unmappable.isEmpty() && EntryLists::readList(caption) != ed.entries()))
        __builtin_trap();
}
