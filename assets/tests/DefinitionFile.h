// Reads a panel definition file back for the tests: CP950 text, CR LF lines,
// sections and keys kept in file order.
#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

struct DefinitionSection {
    QString name;
    std::vector<std::pair<QString, QString>> entries;

    QStringList keys() const;
    std::optional<QString> value(const QString &key) const;
    int number(const QString &key) const;   // 0 when missing
};

struct DefinitionFile {
    std::vector<DefinitionSection> sections;
    QString problem;   // empty when the file is well formed

    const DefinitionSection *section(const QString &name) const;
    QRect keyRect(const QString &section, int index) const;

    static DefinitionFile parse(const QByteArray &bytes);
    static DefinitionFile load(const QString &path);
};
