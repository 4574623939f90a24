#include "CreditsDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
constexpr int kColumns = 5;

QPushButton *button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
} // namespace

CreditsDialog::CreditsDialog(const QList<Credit> &credits, QWidget *parent)
    : QDialog(parent), m_table(new QTableWidget(0, kColumns, this))
{
    setObjectName(u"frmCredits"_s);
    setWindowTitle(u"素材のクレジット"_s);
    m_table->setObjectName(u"tblCredits"_s);
    m_table->setHorizontalHeaderLabels(
        {u"素材名"_s, u"作者・サイト"_s, u"URL"_s, u"ライセンス"_s, u"表記"_s});
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const Credit &c : credits)
        addRow(c);

    QPushButton *add = button(this, u"cmdAddCredit"_s, u"追加(&A)"_s);
    QPushButton *remove = button(this, u"cmdDeleteCredit"_s, u"削除(&D)"_s);
    QPushButton *up = button(this, u"cmdCreditUp"_s, u"上へ(&U)"_s);
    QPushButton *down = button(this, u"cmdCreditDown"_s, u"下へ(&N)"_s);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"キャンセル"_s);
    auto *side = new QVBoxLayout;
    for (QPushButton *b : {add, remove, up, down})
        side->addWidget(b);
    side->addStretch();
    auto *row = new QHBoxLayout;
    row->addWidget(m_table, 1);
    row->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row, 1);
    layout->addWidget(buttons);

    connect(add, &QPushButton::clicked, this, [this] {
        addRow({});
        m_table->setCurrentCell(m_table->rowCount() - 1, 0);
        m_table->editItem(m_table->currentItem());
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (m_table->currentRow() >= 0)
            m_table->removeRow(m_table->currentRow());
    });
    connect(up, &QPushButton::clicked, this, [this] { moveRow(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveRow(1); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const QFontMetrics fm = fontMetrics();
    m_table->setColumnWidth(0, fm.horizontalAdvance(u"素材名素材名素材"_s));
    m_table->setColumnWidth(1, fm.horizontalAdvance(u"作者・サイト作者"_s));
    m_table->setColumnWidth(2, fm.horizontalAdvance(u"https://example.jp/xxxx"_s));
    m_table->setColumnWidth(3, fm.horizontalAdvance(u"ライセンスライ"_s));
    m_table->setWordWrap(false);
    for (int col = 0; col < kColumns - 1; ++col) {
        const int least = m_table->columnWidth(col);
        m_table->resizeColumnToContents(col);
        m_table->setColumnWidth(col, std::max(least, m_table->columnWidth(col)));
    }
    resize(fm.horizontalAdvance(u'0') * 110, fm.height() * 20);
}

void CreditsDialog::addRow(const Credit &c)
{
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    const QString values[kColumns] = {c.material, c.author, c.url, c.license, c.notice};
    for (int col = 0; col < kColumns; ++col)
        m_table->setItem(row, col, new QTableWidgetItem(values[col]));
}

void CreditsDialog::moveRow(int by)
{
    const int from = m_table->currentRow();
    const int to = from + by;
    if (from < 0 || to < 0 || to >= m_table->rowCount())
        return;
    for (int col = 0; col < kColumns; ++col) {
        QTableWidgetItem *a = m_table->takeItem(from, col);
        QTableWidgetItem *b = m_table->takeItem(to, col);
        m_table->setItem(from, col, b);
        m_table->setItem(to, col, a);
    }
    m_table->setCurrentCell(to, m_table->currentColumn());
}

QList<Credit> CreditsDialog::credits() const
{
    static const QRegularExpression breaks(u"[\\t\\r\\n]+"_s);
    QList<Credit> out;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        QString v[kColumns];
        bool any = false;
        for (int col = 0; col < kColumns; ++col) {
            const QTableWidgetItem *item = m_table->item(row, col);
            v[col] = item ? item->text().replace(breaks, u" "_s).trimmed() : QString();
            any = any || !v[col].isEmpty();
        }
        if (any)
            out.append({v[0], v[1], v[2], v[3], v[4]});
    }
    return out;
}
