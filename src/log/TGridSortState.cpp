#include "log/TGridSortState.h"

TGridSortState::TGridSortState(bool dataClickSorts)
    : FDataClickSorts(dataClickSorts)
{
}

void TGridSortState::ApplySort()
{
    FShownDir = FSortDir;
    FSorted = true;
}

bool TGridSortState::Pressed(bool inHeader, int column, TButton button)
{
    FPressedInHeader = false;
    if (button == TButton::Right)
        return false;
    FPressedInHeader = inHeader && button == TButton::Left;
    if (inHeader || FDataClickSorts) {
        if (column == FSortCol)
            FSortDir = FSortDir == kAscending ? kDescending : kAscending;
        else
            FSortCol = static_cast<std::uint8_t>(column);
    }
    ApplySort();
    return true;
}

bool TGridSortState::Released(bool inHeader, TButton button)
{
    const bool headerClick = FPressedInHeader && inHeader && button == TButton::Left;
    FPressedInHeader = false;
    if (!headerClick)
        return false;
    FShownDir = FShownDir == kAscending ? kDescending : kAscending;
    FSorted = true;
    return true;
}

QString TGridSortState::DebugText() const
{
    return QStringLiteral("FSortCol:") + QString::number(FSortCol)
        + (FSortDir == kDescending ? QStringLiteral("    FSortDir: DEC") : QStringLiteral("    FSortDir: ASC"));
}
