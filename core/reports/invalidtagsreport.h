#pragma once

#include "core/reports/jukeboxtagreport.h"

// Lists the files of the library that have no Artist or no Title, sorted ignoring case.
class TinvalidTagsReport : public TjukeboxTagReport
{
public:
    std::string GetDescription() const override;
    std::string GetName() const override;
    std::string GetFilter() const override;
    std::string GetDefaultExt() const override;
    void Execute() override;
    void Configure() override;
};
