// The search answers (1022, 1023) and the information window's part of a
// rebuild, applied without a window: what the open information window is
// told, in order, and what is logged.
#include "RecordingInfoWindow.h"
#include "RulesFixture.h"
#include "groups/SearchRules.h"

using namespace tarvolan;

namespace {

using namespace tarvolan::rulestest;
using Texts = std::vector<std::string>;

TSearchResultEntry Entry(const char* uri, const char* name, const char* owner)
{
    TSearchResultEntry entry{};
    Put(entry.GroupURI, uri);
    Put(entry.GroupName, name);
    Put(entry.OwnerURI, owner);
    Put(entry.ID, "7");
    entry.iNeedPermit = 1;
    return entry;
}

class SearchRulesTest : public CRulesFixture {
protected:
    void OpenWindow()
    {
        m_host.infoWindow = &m_info;
        m_info.openSlot = &m_host.infoWindow;
    }
    Texts Told()
    {
        Texts told = m_info.told;
        m_info.told.clear();
        return told;
    }
    CSearchRules m_search{m_data, m_host};
    CRecordingInfoWindow m_info;
};

TEST_F(SearchRulesTest, APageFillsTheWindowAndTheCountSetsTheNextPage)
{
    std::vector<TSearchResultEntry> page(kMaxSearchResults, Entry("sip:g@groups.test", "G", kBob));
    page[0] = Entry(kClub, "Club", kOwner);
    m_search.OnSearchResult(2, "c", page.data());  // no window: logged only
    EXPECT_TRUE(Logged("OnIMSSearchPuGroupResultVeloractrl1, pSearchString= c,iResultNum=2,GroupName=Club,"
                       "GroupURI=sip:club@groups.test,OwnerURI=sip:owner@ims.test,GSubject=,GBulletin=ID=7,"
                       "iNeedPermit=1,\r\nGroupName=G,"));
    OpenWindow();
    m_search.OnSearchResult(2, "c", page.data());
    EXPECT_EQ(Told(), (Texts{"clear", "row sip:owner@ims.test|sip:club@groups.test|Club|7|11",
                             "row sip:bob@ims.test|sip:g@groups.test|G|7|10", "next off"}));

    // Exactly a page enables the next one, more leave the button, a negative
    // count or a missing array reads no row.
    const std::vector<std::pair<int, const TSearchResultEntry*>> answers = {
        {kMaxSearchResults, page.data()}, {25, page.data()}, {-3, page.data()}, {kMaxSearchResults, nullptr}};
    std::vector<size_t> rows;
    std::vector<std::string> last;
    for (const auto& [count, entries] : answers) {
        m_search.OnSearchResult(count, "c", entries);
        const Texts told = Told();
        rows.push_back(told.size() - 1);
        last.push_back(told.back());
    }
    EXPECT_EQ(rows, (std::vector<size_t>{21, 20, 1, 1}));
    EXPECT_EQ(last, (Texts{"next on", "row sip:bob@ims.test|sip:g@groups.test|G|7|10", "next off", "next off"}));
    EXPECT_TRUE(Logged("OnIMSSearchPuGroupResultVeloractrl1, pSearchString= c,iResultNum=-3,"));
}

TEST_F(SearchRulesTest, AWindowClosedDuringThePageIsToldNoMore)
{
    std::vector<TSearchResultEntry> page(3, Entry("sip:g@groups.test", "G", kBob));
    OpenWindow();
    m_info.closeAfterRows = 2;
    m_search.OnSearchResult(3, "c", page.data());
    EXPECT_EQ(Told().size(), 3u);  // cleared, two rows

    OpenWindow();
    m_info.closeAfterRows = 1;
    m_search.MarkJoined(kClub);  // Bob is offered once; then the window is gone
    EXPECT_EQ(Told(), Texts{"mark sip:bob@ims.test|sip:club@groups.test"});
}

TEST_F(SearchRulesTest, FailuresDetailsAndJoinsReachTheOpenWindowOnly)
{
    TGroupDescription details{};
    m_search.OnSearchFailed(kClub);
    m_search.PassGroupDetails("Club", kClub, ROLE_MEMBER, details, 0, nullptr);
    m_search.MarkJoined(kClub);
    EXPECT_TRUE(Logged("OnIMSSearchPublicGroupFailedVeloractrl1....GroupURI=sip:club@groups.test"));

    OpenWindow();
    m_search.OnSearchFailed(kClub);
    m_search.MarkJoined(kClub);
    m_search.MarkJoined("sip:unknown@groups.test");
    m_search.PassGroupDetails("Club", kClub, ROLE_MEMBER, details, 0, nullptr);
    m_search.PassGroupDetails("Chess", "sip:chess@groups.test", ROLE_NONE, details, 2, nullptr);
    m_search.PassGroupDetails("Gone", "sip:gone@groups.test", ROLE_MEMBER, details, 0, nullptr);
    EXPECT_EQ(Told(), (Texts{"failed", "mark sip:bob@ims.test|sip:club@groups.test",
                             "details Club|sip:club@groups.test|" + std::to_string(ROLE_MEMBER) + "|0",
                             "details Chess|sip:chess@groups.test|" + std::to_string(ROLE_NONE) + "|2",
                             "details Gone|sip:gone@groups.test|" + std::to_string(ROLE_MEMBER) + "|0"}));
    // Only my groups are marked, joined when the tree shows them.
    EXPECT_EQ(m_info.joined, (std::vector<std::pair<std::string, int>>{{kClub, 1}, {"sip:gone@groups.test", 0}}));
}

} // namespace
