#include "FrmAbout.h"
#include "FrmMain.h"
#include "FrmRegist.h"
#include "Services.h"
#include "entrylists/EntryLists.h"
#include "platform/UserTexts.h"

using namespace Qt::StringLiterals;

// Opens the list editor on one registered-entry list and, when it has
// written the list file, refills the field's drop-down from that file.
void FrmMain::editRegisteredList(int index)
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
            m_messages->warning(UserTexts::foreignEncoding(QString::fromUtf16(row.fileName)) +
                                u"変更せずに閉じれば、ファイルはそのまま残ります。"_s);
        m_runDialog(dialog);
        wrote = dialog.wroteList();
    }
    if (wrote)
        m_doc->setRegisteredList(row.itemIndex,
                                 EntryLists::readList(QString::fromUtf16(row.caption)));
}

void FrmMain::showAbout()
{
    FrmAbout dialog(this);
    m_runDialog(dialog);
}
