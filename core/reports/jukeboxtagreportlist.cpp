#include "core/reports/jukeboxtagreportlist.h"

TjukeboxTagReportList::TjukeboxTagReportList() = default;
TjukeboxTagReportList::~TjukeboxTagReportList() = default;

void TjukeboxTagReportList::AddReport(std::unique_ptr<TjukeboxTagReport> report)
{
    if (!report)
        return;
    report->SetProgress(
        [this](TjukeboxTagReport* sender, int index, int count) { DoProgress(sender, index, count); });
    reports_.push_back(std::move(report));
}

TjukeboxTagReport* TjukeboxTagReportList::GetReport(int i) const
{
    if (i < 0 || i >= GetCount())
        return nullptr;
    return reports_[static_cast<std::size_t>(i)].get();
}

void TjukeboxTagReportList::GetNames(TStringList<TjukeboxTagReport>& strings) const
{
    TStringList<TjukeboxTagReport> names;
    names.SetDuplicates(TDuplicates::dupIgnore);
    names.SetSorted(true);
    for (const auto& report : reports_)
        names.AddObject(report->GetName(), report.get());
    strings.Assign(names);
}

void TjukeboxTagReportList::LoadSettings(const TIniFile& ini)
{
    for (const auto& report : reports_)
        report->LoadSettings(ini);
}

void TjukeboxTagReportList::SaveSettings(TIniFile& ini) const
{
    for (const auto& report : reports_)
        report->SaveSettings(ini);
}

void TjukeboxTagReportList::DoProgress(TjukeboxTagReport* report, int index, int count)
{
    if (OnProgress)
        OnProgress(report, index, count);
}
