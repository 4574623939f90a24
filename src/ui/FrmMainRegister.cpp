#include "FrmAbout.h"
#include "FrmMain.h"
#include "FrmRegist.h"
#include "entrylists/EntryLists.h"

// Opens the list editor on one registered-entry list and, when it has
// written the list file, reloads the field's combo box from that file.
void FrmMain::mnuRegist_Click(int index)
{
    const EntryLists::ListInfo &row = EntryLists::kLists.at(size_t(index));
    const QString file = QString::fromUtf16(row.fileName);
    {
        FrmRegist dialog(m_messages, this);
        QStringList entries;
        EntryLists::LoadEntryList(file, entries);
        dialog.editor()->appendEntries(entries);
        dialog.prepare(QString::fromUtf16(row.caption), QString::fromUtf16(row.tooltip));
        m_runDialog(dialog);
    }
    m_doc->clearCombo(row.itemIndex);
    QStringList entries;
    EntryLists::LoadEntryList(file, entries);
    m_doc->setComboEntries(row.itemIndex, entries);
    m_doc->setFieldText(row.itemIndex, entries.isEmpty() ? QString() : entries.first());
}

void FrmMain::mnuVersion_Click()
{
    FrmAbout dialog(this);
    m_runDialog(dialog);
}
