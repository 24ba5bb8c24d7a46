#pragma once

#include "core/reports/jukeboxtagreport.h"

// Lists, artist by artist, the albums for which no cover picture can be found.
class TmissingCoversReport : public TjukeboxTagReport
{
public:
    std::string GetDescription() const override;
    std::string GetName() const override;
    std::string GetFilter() const override;
    std::string GetDefaultExt() const override;
    void Execute() override;
    void Configure() override;
};
