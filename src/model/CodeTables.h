#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace mdb {

// Fixed name tables of the small codes held in status and emotion fields.
const QStringList& RaceNames();     // race code = row
const QStringList& SizeNames();     // size code = row
const QStringList& ElementNames();  // 40 rows: kind by kind, levels 1..4 within each kind
const QStringList& EmoteStateLabels();
const QStringList& EmoteStateNames();

constexpr int ElementRows = 40;

// ElementCode of a row of ElementNames: level * 20 + kind.
int elementCodeForRow(int row);
// Row of ElementNames for one of the 40 valid codes (20..29, 40..49, 60..69, 80..89).
std::optional<int> elementRowForCode(qint64 code);

// Weights of the mode check boxes Check1(0)..Check1(6), built afresh on each call.
std::array<qint16, 7> ModeBitValues();
// The mode values whose pattern the check boxes can show.
const std::array<int, 32>& ListedModeValues();
bool isListedModeValue(double value);
// Box pattern of a listed mode value: box 0 when the value is 0, box k for bit k-1.
std::array<bool, 7> modeBoxPattern(int value);

}  // namespace mdb
