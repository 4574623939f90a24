// The README's languages: which one the window edits, adding one, and the
// names its README gives the items and headings.
#include "FrmMain.h"
#include "Services.h"
#include "project/Entry.h"
#include "project/Languages.h"

#include <QAction>
#include <QActionGroup>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QMenu>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
QString caption(const QString &code)
{
    return u"%1 (%2)"_s.arg(Languages::displayName(code), code);
}
} // namespace

void FrmMain::buildLanguageMenu(QMenu *create)
{
    QMenu *menu = create->addMenu(u"言語"_s);
    menu->setObjectName(u"mnuLanguage"_s);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { fillLanguageMenu(menu); });
    fillLanguageMenu(menu);
}

// Rebuilt each time it opens: the project's languages, the one edited checked.
void FrmMain::fillLanguageMenu(QMenu *menu)
{
    menu->clear();
    qDeleteAll(menu->findChildren<QActionGroup *>(Qt::FindDirectChildrenOnly));
    const Project p = m_doc->project();
    auto *group = new QActionGroup(menu);
    for (const QString &code : Languages::all(p)) {
        QAction *a = menu->addAction(caption(code));
        a->setObjectName(u"mnuLanguage(%1)"_s.arg(code));
        a->setCheckable(true);
        a->setChecked(code == Languages::shownOf(p));
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, code] { switchLanguage(code); });
    }
    menu->addSeparator();
    QAction *add = menu->addAction(u"言語の追加…"_s);
    add->setObjectName(u"mnuAddLanguage"_s);
    connect(add, &QAction::triggered, this, &FrmMain::addLanguage);
    QAction *names = menu->addAction(u"名前の翻訳…"_s);
    names->setObjectName(u"mnuNames"_s);
    names->setEnabled(Languages::shownOf(p) != Languages::mainOf(p));
    connect(names, &QAction::triggered, this, &FrmMain::translateNames);
}

// The fields, the texts and the preview show the language chosen; what the
// preview holds that is not yet taken in goes with the language it was typed in.
void FrmMain::switchLanguage(const QString &code)
{
    takeTextFromPreview(false);
    const Project p = m_doc->project();
    if (Languages::shownOf(p) == code)
        return;
    m_session->applyStep(Languages::viewIn(p, code), u"言語の切り替え"_s);
}

void FrmMain::addLanguage()
{
    QInputDialog ask(this);
    ask.setObjectName(u"frmAddLanguage"_s);
    ask.setWindowTitle(u"言語の追加"_s);
    ask.setLabelText(u"加える言語（一覧にない言語は、その記号を入力します）:"_s);
    QStringList items;
    const QStringList present = Languages::all(m_doc->project());
    for (const QString &code : Languages::offered()) {
        if (!present.contains(code))
            items.append(caption(code));
    }
    ask.setComboBoxItems(items);
    ask.setComboBoxEditable(true);
    ask.setOkButtonText(u"追加"_s);
    ask.setCancelButtonText(u"キャンセル"_s);
    m_runDialog(ask);
    if (ask.result() != QDialog::Accepted)
        return;
    static const QRegularExpression inBrackets(u"\\(([^()]*)\\)\\s*$"_s);
    static const QRegularExpression code(u"^[A-Za-z]{2,3}(-[A-Za-z0-9]{2,8})*$"_s);
    const QRegularExpressionMatch m = inBrackets.match(ask.textValue());
    const QString chosen = (m.hasMatch() ? m.captured(1) : ask.textValue()).trimmed();
    if (!code.match(chosen).hasMatch())
        return m_messages->warning(
            u"「%1」は言語の記号ではありません。en や zh-TW のように入力してください。"_s.arg(
                chosen));
    takeTextFromPreview(false);
    Project p = Languages::folded(m_doc->project());
    if (!Languages::add(p, chosen))
        return m_messages->warning(u"%1 はすでにあります"_s.arg(caption(chosen)));
    m_session->applyStep(Languages::viewIn(p, chosen), u"言語の追加"_s);
}

// The names the edited language's README gives the items and headings.
void FrmMain::translateNames()
{
    Project p = m_doc->project();
    QDialog dialog(this);
    dialog.setObjectName(u"frmNames"_s);
    dialog.setWindowTitle(u"名前の翻訳 - %1"_s.arg(caption(Languages::shownOf(p))));
    auto *table = new QTableWidget(0, 2, &dialog);
    table->setObjectName(u"tblNames"_s);
    table->setHorizontalHeaderLabels({u"項目・見出し"_s, caption(Languages::shownOf(p))});
    table->horizontalHeader()->setStretchLastSection(true);
    QStringList keys;
    const Items::NameIndex names(Items::names());
    for (const QString &entry : std::as_const(p.entries)) {
        const QString key = Entry::trimSpaces(entry).toString();
        // An end line shows the name of the field it repeats.
        if (key.isEmpty() || key.startsWith(u'●') || keys.contains(key) ||
            names.indexOf(key) > Items::EndMarker)
            continue;
        keys.append(key);
        const int row = table->rowCount();
        table->insertRow(row);
        auto *name = new QTableWidgetItem(key);
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        table->setItem(row, 0, name);
        table->setItem(row, 1, new QTableWidgetItem(p.languages.shownNames.value(key)));
    }
    table->resizeColumnToContents(0);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(table);
    layout->addWidget(buttons);
    dialog.resize(fontMetrics().horizontalAdvance(u'0') * 70, fontMetrics().height() * 25);
    m_runDialog(dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QString name = table->item(row, 1)->text().simplified();
        if (name.isEmpty())
            p.languages.shownNames.remove(keys.at(row));
        else
            p.languages.shownNames.insert(keys.at(row), name);
    }
    m_session->applyStep(p, u"名前の翻訳"_s);
    if (!m_doc->previewText().isEmpty())
        showPreview();
}
