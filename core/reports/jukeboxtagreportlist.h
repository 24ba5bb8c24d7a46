#pragma once

#include "core/reports/jukeboxtagreport.h"
#include "platform/inifile.h"
#include "platform/stringlist.h"

#include <functional>
#include <memory>
#include <vector>

// The reports the reports window runs; it owns them.
class TjukeboxTagReportList
{
public:
    TjukeboxTagReportList();
    ~TjukeboxTagReportList();
    TjukeboxTagReportList(const TjukeboxTagReportList&) = delete;
    TjukeboxTagReportList& operator=(const TjukeboxTagReportList&) = delete;

    // Sender: the running report.
    std::function<void(TjukeboxTagReport* sender, int index, int count)> OnProgress;

    // Takes the report and routes its progress to OnProgress; nullptr is ignored.
    void AddReport(std::unique_ptr<TjukeboxTagReport> report);
    int GetCount() const { return static_cast<int>(reports_.size()); }
    // nullptr out of range.
    TjukeboxTagReport* GetReport(int i) const;
    // Replaces strings with the report names, sorted, each with its report.
    void GetNames(TStringList<TjukeboxTagReport>& strings) const;
    void LoadSettings(const TIniFile& ini);
    void SaveSettings(TIniFile& ini) const;

private:
    void DoProgress(TjukeboxTagReport* report, int index, int count);

    std::vector<std::unique_ptr<TjukeboxTagReport>> reports_;
};
