#pragma once

#include "session/Templates.h"

#include <QDialog>

class QListWidget;
class QPlainTextEdit;

// テンプレートから新規作成: the templates by name, the README each composes
// beside the list. Accepting leaves the chosen one in chosen().
class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    TemplateDialog(const QList<Templates::Template> &templates, QWidget *parent = nullptr);
    std::optional<Templates::Template> chosen() const;

private:
    void showChosen();

    QList<Templates::Template> m_templates;
    QListWidget *m_list;
    QPlainTextEdit *m_preview;
};
