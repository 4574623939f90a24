#pragma once

#include <QMainWindow>

// The main window: the document's fields, styles, item list and preview.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmMain(QWidget *parent = nullptr);

    // Client area in twips.
    static constexpr int kClientWidth = 8805;
    static constexpr int kClientHeight = 9855;
};
