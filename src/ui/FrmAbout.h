#pragma once

#include <QDialog>

// The version information dialog: icon, title, version, description and
// the legal copyright, all from the program's own version information.
class FrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit FrmAbout(QWidget *parent = nullptr);
};

// The program's icon in every size it ships.
QIcon applicationIcon();
