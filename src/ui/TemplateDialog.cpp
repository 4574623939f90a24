#include "TemplateDialog.h"

#include "Fonts.h"
#include "readme/ReadmeComposer.h"
#include "session/ProjectSession.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TemplateDialog::TemplateDialog(const QList<Templates::Template> &templates, QWidget *parent)
    : QDialog(parent), m_templates(templates), m_list(new QListWidget(this)),
      m_preview(new QPlainTextEdit(this))
{
    setObjectName(u"frmTemplate"_s);
    setWindowTitle(u"テンプレートから新規作成"_s);
    m_list->setObjectName(u"lstTemplates"_s);
    for (const Templates::Template &t : templates)
        m_list->addItem(t.own ? t.name + u"（自作）"_s : t.name);
    m_preview->setObjectName(u"txtTemplatePreview"_s);
    m_preview->setReadOnly(true);
    m_preview->setFont(Fonts::preview());
    m_preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"作成"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"キャンセル"_s);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!templates.isEmpty());

    auto *row = new QHBoxLayout;
    row->addWidget(m_list, 1);
    row->addWidget(m_preview, 3);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row, 1);
    layout->addWidget(buttons);
    connect(m_list, &QListWidget::currentRowChanged, this, &TemplateDialog::showChosen);
    connect(m_list, &QListWidget::itemActivated, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_list->setCurrentRow(0);
    const QFontMetrics fm(m_preview->font());
    resize(fm.horizontalAdvance(u'0') * 100, fm.height() * 30);
}

std::optional<Templates::Template> TemplateDialog::chosen() const
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_templates.size())
        return std::nullopt;
    return m_templates.at(row);
}

void TemplateDialog::showChosen()
{
    const std::optional<Templates::Template> t = chosen();
    if (!t)
        return m_preview->clear();
    const Result<DataFileReader::Parsed> read = ProjectSession::readDataFile(t->path);
    const Result<QString> text =
        read.ok() ? ReadmeComposer(ProjectRules::settled(read->project)).compose()
                  : Result<QString>::failure(read.reason());
    m_preview->setPlainText(text.ok() ? text.value() : text.reason());
}
