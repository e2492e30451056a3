#include "sitelistmodel.h"

#include "store/resulttable.h"

SiteListModel::SiteListModel(QObject *parent) : QAbstractListModel(parent) {}

int SiteListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_entries.size();
}

QVariant SiteListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return QVariant();
    const SiteEntry &e = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return e.name;
    case Qt::ToolTipRole:
        return e.name.size() > 200 ? QVariant(e.name.left(200) + QChar(0x2026)) : QVariant(e.name);
    case Qt::CheckStateRole:
        return e.ticked ? Qt::Checked : Qt::Unchecked;
    default:
        return QVariant();
    }
}

bool SiteListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= m_entries.size())
        return false;
    const bool ticked = value.toInt() == Qt::Checked;
    SiteEntry &e = m_entries[index.row()];
    if (e.ticked == ticked)
        return true;
    e.ticked = ticked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit siteTickChanged(index.row());
    return true;
}

Qt::ItemFlags SiteListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren;
}

void SiteListModel::clear()
{
    if (m_entries.isEmpty())
        return;
    beginResetModel();
    m_entries.clear();
    endResetModel();
}

void SiteListModel::fill(const ResultTable &rows, const QSet<QString> &unticked)
{
    const int cId = rows.fieldIndex(QStringLiteral("ID"));
    const int cName = rows.fieldIndex(QStringLiteral("site_name"));
    const int cCategory = rows.fieldIndex(QStringLiteral("Category"));
    const int cUrl = rows.fieldIndex(QStringLiteral("site_url"));
    const int cPost = rows.fieldIndex(QStringLiteral("site_post"));
    const int cIsPost = rows.fieldIndex(QStringLiteral("is_post"));
    const int cLoginUrl = rows.fieldIndex(QStringLiteral("login_site_url"));
    const int cLoginPost = rows.fieldIndex(QStringLiteral("login_site_post"));

    beginResetModel();
    m_entries.clear();
    m_entries.reserve(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r) {
        SiteEntry e;
        e.id = rows.text(r, cId);
        e.name = rows.text(r, cName);
        e.category = rows.text(r, cCategory);
        e.url = rows.text(r, cUrl);
        e.post = rows.text(r, cPost);
        e.isPost = rows.text(r, cIsPost);
        e.loginUrl = rows.text(r, cLoginUrl);
        e.loginPost = rows.text(r, cLoginPost);
        // A site with a stored login is logged in first when it is searched.
        e.doLogin = e.loginUrl.isEmpty() ? QStringLiteral("0") : QStringLiteral("1");
        e.ticked = !unticked.contains(e.id);
        m_entries.append(std::move(e));
    }
    endResetModel();
}

void SiteListModel::setAllTicked(bool ticked)
{
    for (SiteEntry &e : m_entries)
        e.ticked = ticked;
    if (!m_entries.isEmpty())
        emit dataChanged(index(0), index(m_entries.size() - 1), {Qt::CheckStateRole});
}

bool SiteListModel::anyTicked() const
{
    for (const SiteEntry &e : m_entries) {
        if (e.ticked)
            return true;
    }
    return false;
}
