// The group tree model's objects: CTarvolan, one per public group shown in
// the tree, and CTarvolanMember, one per member of such a group. The message
// lists and an unsent draft hang off them. No Qt here, and no view handle:
// the views keep their own way from an object to the item or window that
// shows it.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "common/GbkString.h"
#include "groups/KeyIndex.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

class CTarvolan;
class CTarvolanMember;

// What a group's conversation window left unsent in its input when it
// closed, kept by the group until its next window takes it back. Only the
// conversation window knows what it holds.
class CChatDraft {
public:
    virtual ~CChatDraft() = default;
};

// A message kept by a group.
struct TGroupMessage {
    CString id;         // decimal text
    CString senderURI;
    CString time;
    CString body;       // marked-up text
};

// A member's profile record as host and module share it (codes 1036, 1037,
// 1038, 1039, 1043). The record's text pointers point into storage owned
// here, so the record stays valid while its member exists.
class CMemberProfile {
public:
    static constexpr int kTextCount = 30;

    CMemberProfile();
    CMemberProfile(const CMemberProfile&) = delete;
    CMemberProfile& operator=(const CMemberProfile&) = delete;

    // Copies a record: its numbers, its character area and its texts (a null
    // text reads as empty).
    void CopyFrom(const tarvolan::TMemberProfile& source);
    tarvolan::TMemberProfile* Record() { return &m_record; }
    const tarvolan::TMemberProfile* Record() const { return &m_record; }
    // The last text of the second block (codes 1038 and 1039).
    const CString& ProfileText() const;
    void SetProfileText(const CString& text);
    // True while every text is empty and every number and the area are zero.
    bool IsEmpty() const;

private:
    void PointTexts();

    std::array<CString, kTextCount> m_texts;
    tarvolan::TMemberProfile m_record{};
};

class CTarvolanMember {
public:
    // number: see Number(); members made outside a tree model keep 0.
    CTarvolanMember(CTarvolan* group, CString uri, uint32_t number = 0);

    CTarvolan* Group() const { return m_pGroup; }
    // The member's number in its tree model, unique among the members alive
    // and below the model's MemberNumberLimit(): a view keeps what it shows
    // of each member in a vector indexed by it.
    uint32_t Number() const { return m_nNumber; }
    const CString& GroupURI() const;
    const CString& GroupName() const;
    // The lookup key; fixed for the object's life.
    const CString& URI() const { return m_csURI; }

    CString m_csDisplayName;     // never empty: the URI's user part stands in
    CString m_csInfo;            // member information
    CString m_csPhone;
    int32_t m_nValue = 0;
    int32_t m_nPresenceKind = 0;
    int32_t m_nStatus = 6;       // presence code; 6 until a presence is known
    CString m_csStatusText;

    // Sets the presence: code (kind and status) and text.
    void SetPresence(int code, const CString& text);
    // Whether the item shows the status text: a custom status (9) with a text.
    bool ShowsStatusText() const { return m_nStatus == 9 && !m_csStatusText.IsEmpty(); }
    // The item text: the display name, with "(status text)" behind it when
    // it shows the status text.
    CString ItemText() const;

    // The profile record, created on first use.
    CMemberProfile& Profile();
    const CMemberProfile* ProfileIfAny() const { return m_pProfile.get(); }

private:
    CTarvolan* m_pGroup;
    uint32_t m_nNumber;
    CString m_csURI;
    std::unique_ptr<CMemberProfile> m_pProfile;
};

class CTarvolan {
public:
    explicit CTarvolan(CString uri);
    ~CTarvolan();
    CTarvolan(const CTarvolan&) = delete;
    CTarvolan& operator=(const CTarvolan&) = delete;

    // The lookup key; fixed for the object's life.
    const CString& URI() const { return m_csURI; }

    CString m_csName;            // the tree item's text
    CString m_csOwnerURI;
    CString m_csCreator;
    CString m_csCreationTime;
    int32_t m_nDuration = 0;
    int32_t m_nVisibility = 0;
    int32_t m_nNeedPermit = 0;
    int32_t m_nMaxMembers = 0;
    CString m_csSubject;
    CString m_csBulletin;
    int32_t m_nKind = 0;         // group kind as the group list has it
    std::unique_ptr<CChatDraft> m_pDraft;       // while there is no window; goes with the group
    std::list<TGroupMessage> m_MsgListRecent;
    bool m_bRecentLoaded = false;  // the recent messages came (or there are none)
    std::list<TGroupMessage> m_MsgListHistory;

    // The most recent messages a group keeps: as many as one answer of the
    // host can carry.
    static constexpr size_t kMaxRecentMessages = kMaxHistoryEntries;
    // A message the conversation window showed (sent or received) joins the
    // recent messages at the end, so that the window shows it again when it
    // opens next; beyond kMaxRecentMessages the oldest go.
    void KeepShownMessage(TGroupMessage message);

    // Members in the order they were added; owned by the group.
    const std::vector<CTarvolanMember*>& Members() const { return m_members; }
    int MemberCount() const { return static_cast<int>(m_members.size()); }
    CTarvolanMember* FindMember(const CString& uri) const;

private:
    friend class CGroupTreeModel;

    CString m_csURI;
    std::vector<CTarvolanMember*> m_members;
    CKeyIndex<CTarvolanMember> m_memberIndex;
};

} // namespace tarvolan
