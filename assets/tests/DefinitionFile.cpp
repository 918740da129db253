#include "DefinitionFile.h"

#include "Cp950.h"

#include <QFile>
#include <QRegularExpression>

QStringList DefinitionSection::keys() const
{
    QStringList list;
    for (const auto &entry : entries)
        list << entry.first;
    return list;
}

std::optional<QString> DefinitionSection::value(const QString &key) const
{
    for (const auto &entry : entries)
        if (entry.first.compare(key, Qt::CaseInsensitive) == 0)
            return entry.second;
    return std::nullopt;
}

int DefinitionSection::number(const QString &key) const
{
    return value(key).value_or(QString()).toInt();
}

const DefinitionSection *DefinitionFile::section(const QString &name) const
{
    for (const auto &s : sections)
        if (s.name == name)
            return &s;
    return nullptr;
}

QRect DefinitionFile::keyRect(const QString &sectionName, int index) const
{
    const DefinitionSection *s = section(sectionName);
    if (!s)
        return {};
    const QString n = QString::number(index);
    return QRect(s->number(QStringLiteral("X") + n), s->number(QStringLiteral("Y") + n),
                 s->number(QStringLiteral("W") + n), s->number(QStringLiteral("H") + n));
}

DefinitionFile DefinitionFile::parse(const QByteArray &bytes)
{
    DefinitionFile file;
    const auto text = art::decodeCp950(bytes);
    if (!text) {
        file.problem = QStringLiteral("not CP950 text");
        return file;
    }
    if (text->contains(QRegularExpression(QStringLiteral("[^\r]\n|^\n")))) {
        file.problem = QStringLiteral("a line ends without CR");
        return file;
    }
    for (const QString &line : text->split(QStringLiteral("\r\n"))) {
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            file.sections.push_back({line.mid(1, line.size() - 2), {}});
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || file.sections.empty()) {
            file.problem = QStringLiteral("stray line: ") + line;
            return file;
        }
        file.sections.back().entries.emplace_back(line.left(eq), line.mid(eq + 1));
    }
    return file;
}

DefinitionFile DefinitionFile::load(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        DefinitionFile file;
        file.problem = QStringLiteral("cannot open ") + path;
        return file;
    }
    return parse(f.readAll());
}
