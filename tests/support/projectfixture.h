#pragma once

#include <QString>
#include <QStringList>

class Database;

// Small project files for tests, made with the program's own schema.
namespace ProjectFixture {

struct Site
{
    QString name;
    int category;
    QString url = QStringLiteral("http://127.0.0.1/search?q=[ZPQ-SEARCH-TERM]");
    QString post;
};

// A fresh project at path (categories other than the seeded "General" are added in order; their
// IDs follow 2, 3, ...) with the given sites. Returns the path.
QString create(const QString &path, const QStringList &extraCategories = {}, const QList<Site> &sites = {});
void addSites(Database &db, const QList<Site> &sites);

} // namespace ProjectFixture
