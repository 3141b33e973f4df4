#include "groups/Tarvolan.h"

#include <cstring>

#include "protocol/RecordTable.h"

namespace tarvolan {

using tarvolan::TMemberProfile;

static_assert(CMemberProfile::kTextCount == tarvolan::kProfileTextCount);

// ---- profile ------------------------------------------------------------------

CMemberProfile::CMemberProfile()
{
    PointTexts();
}

void CMemberProfile::PointTexts()
{
    auto fields = tarvolan::ProfileTexts(m_record);
    for (size_t i = 0; i < fields.size(); ++i) *fields[i] = m_texts[i].c_str();
}

void CMemberProfile::CopyFrom(const TMemberProfile& source)
{
    auto from = tarvolan::ProfileTexts(source);
    for (size_t i = 0; i < from.size(); ++i) m_texts[i] = *from[i];  // null reads as ""
    m_record.iHead = source.iHead;
    m_record.iValue1 = source.iValue1;
    m_record.iValue2 = source.iValue2;
    m_record.iValue3 = source.iValue3;
    std::memmove(m_record.area, source.area, sizeof(m_record.area));  // the source may be this record
    PointTexts();
}

const CString& CMemberProfile::ProfileText() const
{
    return m_texts[tarvolan::kProfileTextSlot];
}

void CMemberProfile::SetProfileText(const CString& text)
{
    m_texts[tarvolan::kProfileTextSlot] = text;
    PointTexts();
}

bool CMemberProfile::IsEmpty() const
{
    for (const CString& text : m_texts)
        if (!text.IsEmpty()) return false;
    if (m_record.iHead || m_record.iValue1 || m_record.iValue2 || m_record.iValue3) return false;
    for (char c : m_record.area)
        if (c) return false;
    return true;
}

// ---- member -------------------------------------------------------------------

CTarvolanMember::CTarvolanMember(CTarvolan* group, CString uri, uint32_t number)
    : m_pGroup(group), m_nNumber(number), m_csURI(std::move(uri))
{
}

const CString& CTarvolanMember::GroupURI() const { return m_pGroup->URI(); }
const CString& CTarvolanMember::GroupName() const { return m_pGroup->m_csName; }

void CTarvolanMember::SetPresence(int code, const CString& text)
{
    m_nPresenceKind = code;
    m_nStatus = code;
    m_csStatusText = text;
}

CString CTarvolanMember::ItemText() const
{
    if (!ShowsStatusText()) return m_csDisplayName;
    CString text;
    text.str().reserve(m_csDisplayName.str().size() + m_csStatusText.str().size() + 2);
    text += m_csDisplayName;
    text += '(';
    text += m_csStatusText;
    text += ')';
    return text;
}

CMemberProfile& CTarvolanMember::Profile()
{
    if (!m_pProfile) m_pProfile = std::make_unique<CMemberProfile>();
    return *m_pProfile;
}

// ---- group --------------------------------------------------------------------

CTarvolan::CTarvolan(CString uri) : m_csURI(std::move(uri)) {}

CTarvolan::~CTarvolan()
{
    for (CTarvolanMember* member : m_members) delete member;
}

CTarvolanMember* CTarvolan::FindMember(const CString& uri) const
{
    return m_memberIndex.Find(uri.view());
}

void CTarvolan::KeepShownMessage(TGroupMessage message)
{
    m_MsgListRecent.push_back(std::move(message));
    while (m_MsgListRecent.size() > kMaxRecentMessages) m_MsgListRecent.pop_front();
}

} // namespace tarvolan
