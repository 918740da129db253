// Writes a panel's definition file: INI text in CP950 with CR LF line ends,
// sections and keys in the order in which the panel engine writes them.
#pragma once

#include "PanelLayout.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace art {

struct IniSection {
    QString name;
    std::vector<std::pair<QString, QString>> entries;
};

// The definition as ordered sections, before encoding.
std::vector<IniSection> definitionSections(const PanelLayout &panel);

// The whole file as bytes; empty when some text has no CP950 form.
std::optional<QByteArray> definitionFileBytes(const PanelLayout &panel);

} // namespace art
