#pragma once

// What the site selection needs from the search run: switching back to selection mode and
// showing the searched site selected in lstSelectSite.
class SearchModeHooks
{
public:
    virtual ~SearchModeHooks() = default;
    virtual void ClearSearchMode() = 0;
    virtual void lstSelectSiteClick() = 0;
};
