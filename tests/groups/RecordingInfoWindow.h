// A group information window that records what the rules tell it, and may
// close itself (the host's answer to a row's selection) after some rows.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "groups/ChildWindows.h"
#include "groups/GroupChanges.h"

namespace tarvolan::rulestest {

struct CRecordingInfoWindow : CGroupInfoWindow {
    std::vector<std::string> told;
    std::vector<std::pair<std::string, int>> joined;
    CGroupInfoWindow** openSlot = nullptr;  // cleared when the window closes itself
    int closeAfterRows = -1;
    CString GetGroupNameByURI(const CString& uri) override
    {
        if (uri == "sip:club@groups.test") return "Club";
        const int colon = uri.Find(':'), at = uri.Find('@');
        return uri.Mid(colon + 1, at - colon - 1);
    }
    void SetGroupJoined(const CString& uri, int value) override { joined.push_back({uri.str(), value}); }
    void MarkJoined(const CString& owner, const CString& group) override
    {
        told.push_back("mark " + owner.str() + "|" + group.str());
        CountDown();
    }
    void ClearSearchResults() override { told.push_back("clear"); }
    void AddSearchResult(const CString& owner, const CString& group, const CString& name, const CString& id,
                         const CString&, const CString&, int needPermit, int isJoined) override
    {
        told.push_back("row " + owner.str() + "|" + group.str() + "|" + name.str() + "|" + id.str() + "|" +
                       std::to_string(needPermit) + std::to_string(isJoined));
        CountDown();
    }
    void EnableNextPage(bool enable) override { told.push_back(enable ? "next on" : "next off"); }
    void ShowGroupInfo(const CString& name, const CString& group, int role, const TGroupDescription&, int count,
                       const TMemberEntry*) override
    {
        told.push_back("details " + name.str() + "|" + group.str() + "|" + std::to_string(role) + "|" +
                       std::to_string(count));
    }
    void OnQueryFailed() override { told.push_back("failed"); }

private:
    void CountDown()
    {
        if (closeAfterRows > 0 && --closeAfterRows == 0 && openSlot) *openSlot = nullptr;
    }
};

} // namespace tarvolan::rulestest
