#include "FrmAbout.h"

#include "Fonts.h"
#include "about/AboutInfo.h"
#include "platform/AppInfo.h"

#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(u":/icons/quillet-%1.png"_s.arg(size), QSize(size, size));
    return icon;
}

namespace {
QLabel *label(QWidget *parent, const QString &name, const QString &text, const QString &tooltip)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setToolTip(tooltip);
    l->setWordWrap(true);
    return l;
}

// One line of the etched double rule.
QFrame *rule(QWidget *parent, int index, const QColor &color)
{
    auto *line = new QFrame(parent);
    line->setObjectName(u"Line1(%1)"_s.arg(index));
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, color);
    line->setPalette(p);
    return line;
}
} // namespace

FrmAbout::FrmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmAbout"_s);
    setWindowTitle(AboutInfo::caption());
    setWindowIcon(applicationIcon());

    auto *icon = new QLabel(this);
    icon->setObjectName(u"picIcon"_s);
    icon->setToolTip(u"Talvik's Applications用のロゴです"_s);
    icon->setPixmap(applicationIcon().pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    // Filled in the order title, version, description, copyright.
    QLabel *title = label(this, u"lblTitle"_s, AboutInfo::title(), u"ソフトの名前です"_s);
    title->setFont(Fonts::proportionalGothic(18, true));
    QLabel *version =
        label(this, u"lblVersion"_s, AboutInfo::versionText(), u"バージョン番号です"_s);
    QLabel *description =
        label(this, u"lblDescription"_s, AboutInfo::description(), u"ｱﾌﾟﾘｹｰｼｮﾝの説明です"_s);
    QLabel *disclaimer = label(this, u"lblDisclaimer"_s, AboutInfo::legalCopyright(), QString());
    QLabel *place =
        label(this, u"lblMode"_s,
              u"%1モード　登録リスト: %2"_s.arg(AppInfo::modeName(),
                                                QDir::toNativeSeparators(AppInfo::listDirectory())),
              u"登録リストを保存するフォルダーです"_s);
    place->setWordWrap(true);
    place->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *ok = new QPushButton(u"OK"_s, this);
    ok->setObjectName(u"cmdOK"_s);
    ok->setToolTip(u"このダイアログを閉じます"_s);
    ok->setDefault(true); // Enter presses it; Escape rejects the dialog the same way
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addWidget(description);
    texts->addWidget(place);
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(texts, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(disclaimer, 1);
    bottom->addWidget(ok, 0, Qt::AlignBottom);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->setSpacing(6);
    auto *rules = new QVBoxLayout;
    rules->setSpacing(0);
    rules->addWidget(rule(this, 0, palette().color(QPalette::Mid)));
    rules->addWidget(rule(this, 1, Qt::white));
    layout->addLayout(rules);
    layout->addLayout(bottom);
    setFixedWidth(420);
}
