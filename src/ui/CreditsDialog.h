#pragma once

#include "project/Project.h"

#include <QDialog>

class QTableWidget;

// 素材のクレジット: the materials credited, a row each, in the order they
// are credited. Accepting leaves the table in credits().
class CreditsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CreditsDialog(const QList<Credit> &credits, QWidget *parent = nullptr);
    // The rows with anything in them; a tab or a line end becomes a space.
    QList<Credit> credits() const;

private:
    void addRow(const Credit &credit);
    void moveRow(int by);

    QTableWidget *m_table;
};
