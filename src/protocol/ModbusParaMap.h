#pragma once

#include "model/TUpsInfo.h"

#include <cstdint>

// The holding registers 40002 to 40029 that have a field in TUpsPara.
// Calls visit(field) with the field of `reg` and returns true; returns false
// for any register without a field (40010, 40024, 40026 and all outside the
// block). Works on const and non-const blocks, so reading a reply into the
// block and taking write values out of it share one table.
template <typename Para, typename Visit>
bool VisitParaRegister(Para &para, std::uint32_t reg, Visit &&visit)
{
    switch (reg) {
    case 40002: visit(para.ParallelId); return true;
    case 40003: visit(para.Reg40003); return true;
    case 40004: visit(para.WorkMode); return true;
    case 40005: visit(para.VoltLevel); return true;
    case 40006: visit(para.FreqLevel); return true;
    case 40007: visit(para.ParallelCount); return true;
    case 40008: visit(para.RedundancyCount); return true;
    case 40009: visit(para.Reg40009); return true;
    case 40011: visit(para.BypassFreqRange); return true;
    case 40012: visit(para.BypassVoltMax); return true;
    case 40013: visit(para.BypassVoltMin); return true;
    case 40014: visit(para.InvVoltTrim); return true;
    case 40015: visit(para.BattCells); return true;
    case 40016: visit(para.Reg40016); return true;
    case 40017: visit(para.BattGroups); return true;
    case 40018: visit(para.BoostVolt); return true;
    case 40019: visit(para.FloatVolt); return true;
    case 40020: visit(para.EodVolt); return true;
    case 40021: visit(para.BattAh); return true;
    case 40022: visit(para.PreAlarmTime); return true;
    case 40023: visit(para.MaxChargeCurrent); return true;
    case 40025: visit(para.BoostTime); return true;
    case 40027: visit(para.StatusControl); return true;
    case 40028: visit(para.Reg40028); return true;
    case 40029: visit(para.OperationMode); return true;
    default: return false;
    }
}

// Stores a register value: 8-bit fields keep the low byte, 16-bit fields the
// value as it is, WorkMode the value zero-extended.
inline void StoreParaRegister(TUpsPara &para, std::uint32_t reg, std::uint16_t value)
{
    VisitParaRegister(para, reg, [value](auto &field) {
        field = static_cast<std::remove_reference_t<decltype(field)>>(value);
    });
}

// The register value of a field: 8-bit fields zero-extended, the others'
// low 16 bits; 0 for a register without a field.
inline std::uint16_t ParaRegisterValue(const TUpsPara &para, std::uint32_t reg)
{
    std::uint16_t value = 0;
    VisitParaRegister(para, reg, [&value](const auto &field) {
        value = static_cast<std::uint16_t>(field);
    });
    return value;
}
