#include "Services.h"

#include "platform/AppInfo.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

QString WidgetFileDialogs::run(const FileDialogRequest &request, bool save)
{
    QFileDialog dialog(m_parent, request.title, request.directory);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

QString WidgetFileDialogs::open(const FileDialogRequest &request)
{
    return run(request, false);
}

QString WidgetFileDialogs::save(const FileDialogRequest &request)
{
    return run(request, true);
}

void WidgetMessages::warning(const QString &text)
{
    QMessageBox::warning(m_parent, AppInfo::title(), text);
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
