#include "Services.h"

#include "platform/AppInfo.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {
// The extension of a filter's single pattern, "md" in "Markdown(*.md)".
QString suffixOf(const QString &filter, const QString &fallback)
{
    static const QRegularExpression pattern(u"\\(\\*\\.(\\w+)\\)$"_s);
    const QRegularExpressionMatch m = pattern.match(filter);
    return m.hasMatch() ? m.captured(1) : fallback;
}
} // namespace

QString WidgetFileDialogs::run(const FileDialogRequest &request, bool save, QString *filter)
{
    QFileDialog dialog(m_parent, request.title, request.directory);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (filter) {
        // A name typed without extension gets the chosen type's.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, &request](const QString &chosen) {
                             dialog.setDefaultSuffix(suffixOf(chosen, request.defaultSuffix));
                         });
        // The dialog keeps its filters simplified, so they are chosen by place.
        if (const qsizetype i = request.filters.indexOf(request.selectedFilter); i >= 0)
            dialog.selectNameFilter(dialog.nameFilters().value(i));
        dialog.setDefaultSuffix(suffixOf(dialog.selectedNameFilter(), request.defaultSuffix));
    }
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    if (filter)
        *filter = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
}

QString WidgetFileDialogs::open(const FileDialogRequest &request)
{
    return run(request, false, nullptr);
}

QString WidgetFileDialogs::save(FileDialogRequest &request)
{
    return run(request, true, &request.selectedFilter);
}

void WidgetMessages::warning(const QString &text)
{
    QMessageBox::warning(m_parent, AppInfo::title(), text);
}

void WidgetMessages::information(const QString &text, const QString &details)
{
    QMessageBox box(QMessageBox::Information, AppInfo::title(), text, QMessageBox::Ok, m_parent);
    box.setDetailedText(details);
    box.exec();
}

Messages::Answer WidgetMessages::question(const QString &text, const QList<Choice> &choices)
{
    QMessageBox box(QMessageBox::Question, AppInfo::title(), text, QMessageBox::NoButton, m_parent);
    QList<QAbstractButton *> added;
    for (const Choice &c : choices) {
        const auto role = c.answer == Answer::Cancel    ? QMessageBox::RejectRole
                          : c.answer == Answer::Discard ? QMessageBox::DestructiveRole
                                                        : QMessageBox::AcceptRole;
        added.append(box.addButton(c.caption, role));
    }
    if (!added.isEmpty())
        box.setDefaultButton(static_cast<QPushButton *>(added.first()));
    box.exec();
    const qsizetype chosen = added.indexOf(box.clickedButton());
    return chosen >= 0 ? choices.at(chosen).answer : Answer::Cancel;
}
