#include "CheckDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CheckDialog::CheckDialog(QWidget *parent)
    : QDialog(parent), m_profile(new QComboBox(this)), m_list(new QTreeWidget(this)),
      m_summary(new QLabel(this)), m_silenceOne(new QPushButton(u"この指摘を表示しない"_s, this)),
      m_silenceRule(new QPushButton(u"この規則を表示しない"_s, this))
{
    setObjectName(u"frmCheck"_s);
    setWindowTitle(u"公開前チェック"_s);
    m_profile->setObjectName(u"cboProfile"_s);
    m_list->setObjectName(u"lstFindings"_s);
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({u"重さ"_s, u"行"_s, u"桁"_s, u"内容"_s});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(true);
    auto *top = new QHBoxLayout;
    auto *label = new QLabel(u"サイトの規則(&S):"_s, this);
    label->setBuddy(m_profile);
    top->addWidget(label);
    top->addWidget(m_profile, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_silenceOne, QDialogButtonBox::ActionRole);
    buttons->addButton(m_silenceRule, QDialogButtonBox::ActionRole);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    resize(fontMetrics().averageCharWidth() * 130, fontMetrics().height() * 24);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this] {
        const ReleaseCheck::Finding *f = current();
        m_silenceOne->setEnabled(f);
        m_silenceRule->setEnabled(f);
        if (f && f->line > 0)
            emit lineChosen(f->line, f->column);
    });
    connect(m_silenceOne, &QPushButton::clicked, this, [this] {
        if (const ReleaseCheck::Finding *f = current())
            emit silenced(f->key());
    });
    connect(m_silenceRule, &QPushButton::clicked, this, [this] {
        if (const ReleaseCheck::Finding *f = current())
            emit silenced(f->rule);
    });
    connect(m_profile, &QComboBox::activated, this,
            [this](int i) { emit profileChosen(m_profile->itemData(i).toString()); });
}

const ReleaseCheck::Finding *CheckDialog::current() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    const int i = item ? m_list->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(item)) : -1;
    return i >= 0 && size_t(i) < m_findings.size() ? &m_findings[size_t(i)] : nullptr;
}

void CheckDialog::showFindings(const std::vector<ReleaseCheck::Finding> &findings,
                               const QList<SiteProfile> &profiles, const QString &profile)
{
    m_findings = findings;
    m_profile->clear();
    for (const SiteProfile &p : profiles)
        m_profile->addItem(p.title, p.name);
    m_profile->setCurrentIndex(m_profile->findData(profile));
    m_list->clear();
    int counts[3] = {0, 0, 0};
    for (const ReleaseCheck::Finding &f : findings) {
        ++counts[int(f.severity)];
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(0, ReleaseCheck::severityName(f.severity));
        item->setText(1, f.line > 0 ? QString::number(f.line) : QString());
        item->setText(2, f.column > 0 ? QString::number(f.column) : QString());
        item->setText(3, f.message);
        item->setToolTip(3, f.message + u"\n["_s + f.rule + u']');
    }
    m_summary->setText(
        findings.empty()
            ? u"見つかったことはありません。"_s
            : u"エラー %1 件、警告 %2 件、注意 %3 件"_s.arg(counts[0]).arg(counts[1]).arg(
                  counts[2]));
    m_silenceOne->setEnabled(false);
    m_silenceRule->setEnabled(false);
}
