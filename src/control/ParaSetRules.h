#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdint>
#include <optional>
#include <vector>

class TCommandQueue;
struct TUpsPara;

// The rules of the model parameter window: which parameters it offers, the
// values allowed for each (some depend on the model name and on the unit's
// present voltage level), the check of the user's choice and its register
// encoding, and the queued write.
namespace ParaSetRules {

enum class TEditor { None, List, Number, Switches };

struct TRow {
    int Index;            // row of the list
    const char *Chinese;
    const char *English;
    std::uint32_t Reg;    // holding register written
    TEditor Editor;
};

// The parameter list: rows 0 to 18, and row 19 (operation mode) only on
// the model that has register 40029.
std::vector<TRow> Rows(const QString &modelName);
// The row with that index, whatever the model; nothing for an unknown index.
std::optional<TRow> RowAt(int index);
QString RowCaption(const TRow &row, quint8 language);

// The entries of a list row and the one the unit's present value picks
// (-1 when none does).
struct TChoices {
    QStringList Entries;
    int Selected = -1;
};
TChoices Choices(int row, const TUpsPara &present, const QString &modelName, quint8 language);

// What the number box of a number row starts with.
QString NumberText(int row, const TUpsPara &present);

// Status control bits the two switch groups stand for.
constexpr std::uint16_t kBuzzerDisabledBit = 1u << 12;
constexpr std::uint16_t kBoostChargeDisabledBit = 1u << 13;

// The user's choice: the list entry, the number box's text, the switches.
struct TInput {
    int Entry = -1;
    QString EditText;
    bool BuzzerDisabled = false;
    bool BoostChargeDisabled = false;
};

enum class TFocus { None, List, Edit };

struct TCheck {
    int Errors = 0;
    std::uint16_t Value = 0;           // the register value, when Errors is 0
    QString Message;                   // shown when Errors is not 0
    TFocus Focus = TFocus::None;       // editor that gets the focus after an error
    std::optional<QString> EditText;   // new text of the number box, when it changes
};

// Checks the choice for `row` against the unit's present values and turns
// it into the register value.
TCheck Validate(int row, const TInput &input, const TUpsPara &present, const QString &modelName);

// Stores value in the write image and, under a Modbus protocol, queues the
// write of reg to the device at addr: in slot 0, or for the model that
// wants it, register 50000 in slot 0 and reg in slot 1. Returns whether
// anything was queued.
bool QueueWrite(TCommandQueue &queue, quint8 protocol, std::uint8_t addr, const QString &modelName,
                std::uint32_t reg, std::uint16_t value);

} // namespace ParaSetRules
