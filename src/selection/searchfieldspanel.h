#pragma once

#include <QObject>
#include <QString>

class Database;
class QLineEdit;
class QScrollArea;
class QWidget;

// The grid of captions and input boxes built from the keywords table inside the scroll area
// sbSearchFields. A box is found by its name alone: "fld_" + the field's ID.
class SearchFieldsPanel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchFieldsPanel)

public:
    explicit SearchFieldsPanel(QScrollArea *area, QObject *parent = nullptr);

    // Rebuilds from "SELECT * FROM keywords"; throws DatabaseError, keeping what was built.
    void cxButton1Click(Database &db);
    void cxClearFieldsClick();
    // Focuses the box of the first field; does nothing when there is no field or no box.
    void focusFirstField(Database &db);

    int controlCount() const;
    QLineEdit *box(const QString &fieldId) const; // nullptr when missing
    QString text(const QString &fieldId) const;   // empty when missing
    QWidget *container() const { return m_container; }

signals:
    // Enter in any box (comSearchKeyPress): the key is consumed.
    void searchRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QScrollArea *m_area;
    QWidget *m_container;
};
