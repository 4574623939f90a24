// A list file's bytes, then an editing session driven by the same bytes:
// what the editor saves reads back as the editor's list.
#include "FuzzSupport.h"
#include "entrylists/ListEditor.h"

#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QTemporaryDir &dir = fuzzAppDir();
    const QByteArray bytes = bytesOf(data, size);
    {
        QFile f(QDir(dir.path()).filePath(QStringLiteral("Writer.dat")));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(bytes);
    }
    const QString caption = QStringLiteral("著作権者の登録");
    ListEditor ed;
    ed.open(caption);
    for (size_t i = 0; i < std::min<size_t>(size, 48); ++i) {
        const uint8_t b = data[i];
        switch (b % 9) {
        case 0:
            ed.setText(QStringLiteral("登録%1").arg(b));
            break;
        case 1:
        case 2:
        case 3:
            ed.cmdRegist_Click(b % 9 - 1);
            break;
        case 4:
            if (b & 0x40)
                ed.cmdRegist_Click(3);
            break;
        case 5:
            ed.txtRegist_KeyDown(ListEditor::Key::Insert);
            break;
        case 6:
            ed.lstRegist_KeyDown(ListEditor::Key::Delete);
            break;
        case 7:
            ed.lstRegist_KeyDown(b & 0x80 ? ListEditor::Key::Escape : ListEditor::Key::Other);
            break;
        default:
            if (!ed.entries().isEmpty())
                ed.clickEntry(b % ed.entries().size());
        }
    }
    const EntryLists::SaveResult r = ed.save();
    if (!r.ok)
        __builtin_trap();
    if (r.unmappable.isEmpty() && EntryLists::ReloadList(caption) != ed.entries())
        __builtin_trap();
    return 0;
}
