#pragma once

// What a list or tree offers to a scroll bar of our own that drives it: the row to show at the top.
// Rows are full integers, so lists longer than 65,535 lines scroll all the way.
class TscrollTarget
{
public:
    virtual ~TscrollTarget() = default;
    virtual void SetTopRow(int row) = 0;
};
