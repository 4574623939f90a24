#include "FrmAbout.h"
#include "FrmMain.h"
#include "FrmRegist.h"
#include "Services.h"
#include "entrylists/EntryLists.h"

using namespace Qt::StringLiterals;

// Opens the list editor on one registered-entry list and, when it has
// written the list file, refills the field's drop-down from that file.
void FrmMain::mnuRegist_Click(int index)
{
    const EntryLists::ListInfo &row = EntryLists::kLists.at(size_t(index));
    bool wrote = false;
    {
        FrmRegist dialog(m_messages, this);
        const QString caption = QString::fromUtf16(row.caption);
        dialog.editor()->open(caption);
        dialog.prepare(caption, QString::fromUtf16(row.tooltip));
        if (!dialog.editor()->readError().isEmpty())
            m_messages->warning(
                u"登録リストを読めませんでした: %1\n"
                "このリストへの変更は保存されません。"_s.arg(dialog.editor()->readError()));
        else if (dialog.editor()->fileLooksForeign())
            m_messages->warning(
                u"%1 はシフトJISのテキストとして読めないため、文字化けしている可能性があります。"
                "変更せずに閉じれば、ファイルはそのまま残ります。"_s.arg(
                    QString::fromUtf16(row.fileName)));
        m_runDialog(dialog);
        wrote = dialog.wroteList();
    }
    if (wrote)
        m_doc->reloadRegisteredList(index);
}

void FrmMain::mnuVersion_Click()
{
    FrmAbout dialog(this);
    m_runDialog(dialog);
}
