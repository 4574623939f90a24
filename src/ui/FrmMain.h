#pragma once

#include "Inventory.h"
#include "session/ProjectSession.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class FileDialogs;
class Messages;
class QAction;
class QMenu;
class QDialog;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class ClickableLabel;
class ItemListView;
class TriStateCheckBox;

// The main window. Its controls mirror the Document: user input calls the
// Document's setters, and the Document's changes update the controls.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmMain(QWidget *parent = nullptr);

    // Client area in twips.
    static constexpr int kClientWidth = 8805;
    static constexpr int kClientHeight = 9855;
    // How much lower than its layout the window may be made: the preview
    // gives up that much of its height, so the window fits small screens.
    static constexpr int kPreviewGives = 1200;

    ~FrmMain() override;

    Document *document() const { return m_doc; }
    ProjectSession *session() const { return m_session; }
    // Replaces the file dialogs and message boxes (tests answer from queues).
    void setServices(FileDialogs *dialogs, Messages *messages);
    FileDialogs *fileDialogs() const { return m_dialogs; }
    Messages *messages() const { return m_messages; }
    QAction *action(const QString &name) const;
    // Runs a modal dialog; tests drive it instead of waiting on a user.
    using DialogRunner = std::function<void(QDialog &)>;
    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }

    // A click on a field's caption label.
    void fieldLabelClicked(int index);

    // Menu commands.
    void newDocument();
    void newFromTemplate();
    void saveAsTemplate();
    void openDocument();
    // Saves to the project's file, or asks for one as saveDocumentAs does.
    bool saveDocument();
    bool saveDocumentAs();
    void closeWindow();
    void showPreview();
    void writeReadmeFromPreview();
    void composeAndWriteReadme();
    void importReadme();
    void editRegisteredList(int index);
    void undo();
    void redo();
    void showAbout();

    // True when the document differs from what the last start-up, New, Open
    // or Save left.
    bool isModified() const;

    // Opens a data file as Open does once its dialog has answered; false
    // when nothing was opened (the reason has been shown).
    bool openPath(const QString &path);
    // Imports a README as Import does once its dialog has answered.
    bool importPath(const QString &path);
    // Keeps a recovery file of unsaved changes in dir, and offers the ones
    // that sessions which did not end in order left there.
    void startRecovery(const QString &dir);

    // The data file last opened or saved, or "".
    const QString &currentFile() const { return m_session->filePath(); }
    QStringList recentFiles() const;
    // The context menu a text field shows (the caller owns it).
    QMenu *truthfulContextMenu(QWidget *edit);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // FrmMainMenus.cpp: the menu bar and its window-wide shortcuts.
    void buildMenus();
    bool isOwnShortcut(const QKeySequence &keys) const;

    // FrmMainDesktop.cpp: title, recent files, status line, size, menus.
    void setCurrentFile();
    void updateTitle();
    void scheduleTitleUpdate();
    void fillRecentMenu(QMenu *menu);
    void tellWritten(const QString &what, const QString &path);
    void restorePlace();
    void savePlace();
    void arrangeControls();
    void fitToScreen();
    void layoutGrowing(QSize client);
    void installContextMenus();
    void nameForAccessibility();

    // FrmMainEdit.cpp: undo and redo.
    void buildEditMenu(QMenu *edit);
    void buildWrapMenu(QMenu *create);
    void newRelease();
    void editCredits();
    void buildLanguageMenu(QMenu *create);
    void fillLanguageMenu(QMenu *menu);
    void switchLanguage(const QString &code);
    void addLanguage();
    void translateNames();
    void checkBeforeRelease();
    void goToPreviewLine(int line, int column);
    void chooseWrap(Project::Wrap wrap);
    // The wrap choice and the preview's width line, as the project has them.
    void mirrorSettings();
    void updateUndoActions();

    // FrmMainFiles.cpp: the file commands.
    bool maybeSave();
    bool mayOverwrite(const QString &path);
    void askAboutUnlistedTexts();
    bool writeDataFile(const QString &path);
    void warnUnmappable(const QStringList &chars);

    // FrmMainReadme.cpp: the Create menu, the preview's text and import.
    struct ReadmeTarget {
        QString path;
        ReadmeFile::Format format;
    };
    bool takeTextFromPreview(bool ask);
    std::optional<ReadmeTarget> chooseReadmeFile();
    bool writeReadme(const ReadmeTarget &target, bool fromPreview);

    // FrmMain.cpp: building the controls from the inventory.
    void buildControls(QWidget *client);
    void keep(const Inventory::Control &control, QWidget *widget);

    // FrmMainBinding.cpp: the two directions between controls and Document.
    struct Bound {
        const Inventory::Control *declared;
        QWidget *widget;
    };
    void bindControls();
    void bind(const Bound &b);
    void bindCommands();
    void mirror(Document::Value value, int index);
    void mirrorControl(const Bound &b);
    void mirrorAll();
    void mirrorComboList(int index);

    ProjectSession *m_session;
    Document *m_doc; // the session's
    std::unique_ptr<FileDialogs> m_ownDialogs;
    std::unique_ptr<Messages> m_ownMessages;
    FileDialogs *m_dialogs = nullptr;
    Messages *m_messages = nullptr;
    bool m_titlePending = false;
    std::vector<std::pair<QWidget *, QRect>> m_twips; // every control's place in twips
    std::vector<std::pair<QWidget *, QRect>> m_base;  // the client's controls as arranged
    QSize m_baseClient;
    DialogRunner m_runDialog;
    class CheckDialog *m_check = nullptr;
    QStringList m_reportedProfileProblems;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    QMetaObject::Connection m_focusWatch;

    std::array<QLineEdit *, 15> m_textFields{};
    std::array<QComboBox *, 15> m_combos{};
    std::array<ClickableLabel *, 16> m_label1{};
    // Every control that edits a document value, as the table declares it.
    std::vector<Bound> m_bound;
    std::array<ClickableLabel *, 2> m_label5{};
    QLineEdit *m_txtAdd = nullptr;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_upButton = nullptr;
    QPushButton *m_downButton = nullptr;
    ItemListView *m_lstItem = nullptr;
    QPlainTextEdit *m_txtPreView = nullptr;
};
