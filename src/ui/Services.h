#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// What a file dialog is asked for.
struct FileDialogRequest {
    QString title;
    QStringList filters;   // "テキストファイル(*.txt)", ...
    QString defaultSuffix; // without the dot
    QString directory;
    QString fileName; // proposed name, may be empty
    bool confirmOverwrite = false;
    bool mustExist = false;
    // Save only: the file type shown first (empty: the first one); after
    // the dialog, the one the user chose.
    QString selectedFilter;
};

// Open and save dialogs; an empty result means the user cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QString open(const FileDialogRequest &request) = 0;
    // Sets request.selectedFilter to the file type chosen.
    virtual QString save(FileDialogRequest &request) = 0;
};

// Message boxes.
class Messages {
public:
    enum class Answer { Save, Retry, Proceed, Discard, Cancel };
    struct Choice {
        Answer answer;
        QString caption;
    };
    virtual ~Messages() = default;
    virtual void warning(const QString &text) = 0;
    // A report that needs no decision.
    // details, when given, stand behind the box's button for them.
    virtual void information(const QString &text, const QString &details = {})
    {
        warning(details.isEmpty() ? text : text + u'\n' + details);
    }
    // The first choice is the default; closing the box answers Cancel.
    virtual Answer question(const QString &text, const QList<Choice> &choices) = 0;
};

// The real ones, over QFileDialog and QMessageBox.
class WidgetFileDialogs : public FileDialogs {
public:
    explicit WidgetFileDialogs(QWidget *parent) : m_parent(parent) {}
    QString open(const FileDialogRequest &request) override;
    QString save(FileDialogRequest &request) override;

private:
    QString run(const FileDialogRequest &request, bool save, QString *filter);
    QWidget *m_parent;
};

class WidgetMessages : public Messages {
public:
    explicit WidgetMessages(QWidget *parent) : m_parent(parent) {}
    void warning(const QString &text) override;
    void information(const QString &text, const QString &details = {}) override;
    Answer question(const QString &text, const QList<Choice> &choices) override;

private:
    QWidget *m_parent;
};
