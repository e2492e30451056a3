#pragma once

#include <QAbstractListModel>
#include <QSet>
#include <QVector>

class ResultTable;

// One listed site; every value is the text the database returned for its column.
struct SiteEntry
{
    QString id;
    QString name;
    QString category;
    QString url;
    QString post;
    QString isPost;
    QString loginUrl;
    QString loginPost;
    QString doLogin = QStringLiteral("0"); // "1": the login request goes first at the next search
    bool ticked = true;
};

// The site list: one record per entry, shown by name with a tick. A tick changed by the user
// (through setData) is reported by siteTickChanged; ticks set by the program are not.
class SiteListModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SiteListModel)

public:
    explicit SiteListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    int count() const { return m_entries.size(); }
    const SiteEntry &entry(int siteIndex) const { return m_entries.at(siteIndex); }
    SiteEntry &entry(int siteIndex) { return m_entries[siteIndex]; }
    const QVector<SiteEntry> &entries() const { return m_entries; }

    void clear();
    // Replaces every entry by the rows of a listing result; an entry is ticked unless its ID is
    // in unticked. Rows appended before an error stay (appendRows throws DatabaseError).
    void fill(const ResultTable &rows, const QSet<QString> &unticked);
    void setAllTicked(bool ticked);
    bool anyTicked() const;

signals:
    void siteTickChanged(int siteIndex);

private:
    QVector<SiteEntry> m_entries;
};
