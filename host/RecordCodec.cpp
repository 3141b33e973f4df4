#include "RecordCodec.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <type_traits>

#include <QJsonArray>

#include "common/GbkString.h"

using namespace tarvolan;

namespace host {

namespace {

// ---- layouts ------------------------------------------------------------------

enum class BF : char { Chars, Int32, TextPtr };

struct TBlockField {
    const char* name;
    size_t offset;
    size_t size;
    BF type;
};

struct TBlockSchema {
    size_t size;
    std::vector<TBlockField> fields;
    // A block of one character field is written in JSON as a plain string.
    bool IsPlainText() const { return fields.size() == 1 && fields[0].type == BF::Chars; }
};

template <class M> constexpr BF TypeOf()
{
    if constexpr (std::is_array_v<M>) return BF::Chars;
    else if constexpr (std::is_pointer_v<M>) return BF::TextPtr;
    else return BF::Int32;
}

#define BFIELD(S, m) TBlockField{#m, offsetof(S, m), sizeof(S::m), TypeOf<decltype(S::m)>()}

const TBlockSchema kSettings{sizeof(TGroupSettings),
    {BFIELD(TGroupSettings, uri), BFIELD(TGroupSettings, name), BFIELD(TGroupSettings, displayName),
     BFIELD(TGroupSettings, duration), BFIELD(TGroupSettings, visibility),
     BFIELD(TGroupSettings, needPermit), BFIELD(TGroupSettings, maxMembers),
     BFIELD(TGroupSettings, subject), BFIELD(TGroupSettings, bulletin)}};
const TBlockSchema kDescription{sizeof(TGroupDescription),
    {BFIELD(TGroupDescription, owner), BFIELD(TGroupDescription, creator),
     BFIELD(TGroupDescription, creationTime), BFIELD(TGroupDescription, iDuration),
     BFIELD(TGroupDescription, iVisi), BFIELD(TGroupDescription, iNeedPermit),
     BFIELD(TGroupDescription, iMaxMember), BFIELD(TGroupDescription, subject),
     BFIELD(TGroupDescription, bulletin)}};
const TBlockSchema kMember{sizeof(TMemberEntry),
    {BFIELD(TMemberEntry, DisplayName), BFIELD(TMemberEntry, csInfo), BFIELD(TMemberEntry, UserURI),
     BFIELD(TMemberEntry, csPhone)}};
const TBlockSchema kBlacklist{sizeof(TBlacklistEntry), {BFIELD(TBlacklistEntry, uri)}};
const TBlockSchema kInvite{sizeof(tagGroupInvite),
    {BFIELD(tagGroupInvite, pGroupName), BFIELD(tagGroupInvite, pOwnerURI),
     BFIELD(tagGroupInvite, pOwnerName), BFIELD(tagGroupInvite, pGroupURI),
     BFIELD(tagGroupInvite, pReturn)}};
const TBlockSchema kJoin{sizeof(tagGroupJoin),
    {BFIELD(tagGroupJoin, pGroupName), BFIELD(tagGroupJoin, pProposerURI),
     BFIELD(tagGroupJoin, pProposerName), BFIELD(tagGroupJoin, pReturn1), BFIELD(tagGroupJoin, pReturn2)}};
const TBlockSchema kTransfer{sizeof(tagGroupTrsReq),
    {BFIELD(tagGroupTrsReq, GroupName), BFIELD(tagGroupTrsReq, OldOwnerURI),
     BFIELD(tagGroupTrsReq, OldOwnerName), BFIELD(tagGroupTrsReq, GroupURI),
     BFIELD(tagGroupTrsReq, ReturnText)}};
const TBlockSchema kSearch{sizeof(TSearchResultEntry),
    {BFIELD(TSearchResultEntry, GroupName), BFIELD(TSearchResultEntry, GroupURI),
     BFIELD(TSearchResultEntry, OwnerURI), BFIELD(TSearchResultEntry, GSubject),
     BFIELD(TSearchResultEntry, GBulletin), BFIELD(TSearchResultEntry, ID),
     BFIELD(TSearchResultEntry, iNeedPermit)}};
const TBlockSchema kHistory{sizeof(THistoryEntry),
    {BFIELD(THistoryEntry, senderText), BFIELD(THistoryEntry, senderURI), BFIELD(THistoryEntry, time),
     BFIELD(THistoryEntry, text)}};
const TBlockSchema kInfoSlot{sizeof(TGroupInfoSlot),
    {BFIELD(TGroupInfoSlot, groupURI), BFIELD(TGroupInfoSlot, groupname), BFIELD(TGroupInfoSlot, groupType),
     BFIELD(TGroupInfoSlot, groupUsage), BFIELD(TGroupInfoSlot, groupOwner)}};
const TBlockSchema kHistoryRequest{sizeof(THistoryRequest),
    {BFIELD(THistoryRequest, kind), BFIELD(THistoryRequest, groupURI), BFIELD(THistoryRequest, anchor),
     BFIELD(THistoryRequest, direction)}};

#undef BFIELD

enum class WF : char { Text, Int, Block, Array, Count, Profile };

struct TWordField {
    const char* name;
    WF type;
    const TBlockSchema* block = nullptr;  // Block, Array
    int link = -1;                        // Array: its count word; Count: its array word
    int limit = 0;                        // Array: the protocol's maximum count
    bool out = false;                     // written by the module while it handles the message
};

struct TRecordSchema {
    enum Shape { Words, Block, InfoList, ProfileRecord } shape = Words;
    std::vector<TWordField> words;
    const TBlockSchema* block = nullptr;
};

TWordField T(const char* name) { return {name, WF::Text}; }
TWordField I(const char* name) { return {name, WF::Int}; }
TWordField OutI(const char* name) { return {name, WF::Int, nullptr, -1, 0, true}; }
TWordField OutT(const char* name) { return {name, WF::Text, nullptr, -1, 0, true}; }
TWordField B(const char* name, const TBlockSchema& s) { return {name, WF::Block, &s}; }
TWordField N(const char* name, int arrayWord) { return {name, WF::Count, nullptr, arrayWord}; }
TWordField A(const char* name, const TBlockSchema& s, int countWord, int limit)
{
    return {name, WF::Array, &s, countWord, limit};
}
TWordField P(const char* name, bool out = false) { return {name, WF::Profile, nullptr, -1, 0, out}; }

TRecordSchema W(std::vector<TWordField> words) { return {TRecordSchema::Words, std::move(words), nullptr}; }
TRecordSchema Blk(const TBlockSchema& s) { return {TRecordSchema::Block, {}, &s}; }

const std::map<int, TRecordSchema>& Schemas()
{
    static const std::map<int, TRecordSchema> schemas = {
        // host -> module
        {H_BlacklistEntry, W({T("pURI"), T("pGroupURI"), I("iListKind")})},
        {H_BlacklistChanged, W({I("iSuccess"), T("pURI"), T("pGroup"), I("iOperation"), I("iListKind")})},
        {H_XmlInvitation, W({T("pFrom"), T("pSecond"), I("iType"), T("pBody")})},
        {H_GroupInfoList, {TRecordSchema::InfoList, {}, nullptr}},
        {H_OnePublicGroup, W({T("pGroupName"), T("pGroupURI"), I("iMyRole"), B("pInfo", kDescription),
                              N("iListNum", 5), A("pList", kMember, 4, kMaxMembers), N("iBlacklistNum", 7),
                              A("pBlacklist", kBlacklist, 6, kMaxBlacklist)})},
        {H_InvitedToGroup, Blk(kInvite)},
        {H_InviteResult, W({T("pGroupName"), T("pInvitedUserURI"), I("pReturn")})},
        {H_JoinRequest, Blk(kJoin)},
        {H_JoinRequestResult, W({T("pGroupURI"), T("pGroupName"), I("iResult")})},
        {H_MemberNotify, W({I("iType"), T("pGroupName"), T("pOwnerURI"), T("pMemberURI"), T("pMemberDisplay"),
                            T("pMemberInfo"), T("pMemberPhone")})},
        {H_ModifyGroupSuccess, W({T("pGroupURI"), I("iType"), T("pNewName"), I("iNewValue")})},
        {H_GroupAttributeChanged, W({T("pGroupURI"), I("iType"), T("pName"), I("iValue")})},
        {H_CreateGroupResult, W({T("pGroupName"), T("pGroupURI"), I("iResult")})},
        {H_DeleteGroupResult, W({T("pGroupName"), I("iResult")})},
        {H_InviteSendResult, W({T("pSomeoneURI"), T("pDisplayName"), T("pGroupName"), I("iResult")})},
        {H_RemoveMemberResult, W({T("pSomeoneURI"), T("pGroupName"), I("iResult")})},
        {H_JoinSendResult, W({T("pGroupURI"), T("pGroupIdentifier"), I("iResult")})},
        {H_LeaveGroupResult, W({T("pGroupName"), T("pGroupURI"), I("iResult")})},
        {H_ChangeNameResult, W({T("pGroupURI"), T("pNewDisplayName"), I("iResult")})},
        {H_GroupDeleted, W({T("pGroupURI")})},
        {H_DeletedFromGroup, W({T("pGroupURI")})},
        {H_SearchResult, W({N("iResultNum", 2), T("pSearchString"), A("pEntries", kSearch, 0, kMaxSearchResults)})},
        {H_SearchFailed, W({T("GroupURI")})},
        {H_TransferAck, W({T("GroupURI"), T("NewOwnerURI"), I("Code")})},
        {H_TransferRequest, Blk(kTransfer)},
        {H_TransferCancel, Blk(kTransfer)},
        {H_TransferResult, W({T("GroupURI"), T("NewOwnerURI"), I("Result")})},
        {H_MemberPresence, W({T("pGroupURI"), T("pMemberURI"), T("pPresence"), I("iReserved")})},
        {H_AddBlacklistResult, W({T("pGroupName"), T("pDName"), I("iResult")})},
        {H_DeleteBlacklistResult, W({T("pGroupName"), T("pDName"), I("iResult")})},
        {H_GroupInfoFailed, W({T("GroupURI"), I("Result")})},
        {H_HistoryList, W({I("iCode"), I("iType"), T("lpGroupURI"), N("iListNum", 4),
                           A("pList", kHistory, 3, kMaxHistoryEntries)})},
        {H_RebuildMembers, W({})},
        {H_GroupMessage, W({I("iType"), T("pGroupAddress"), T("pSenderURI"), T("pText"), OutI("iHandled")})},
        {H_MemberPresence2, W({T("pGroupURI"), T("pMemberURI"), T("pPresence"), I("iReserved")})},
        {H_MemberProfile, {TRecordSchema::ProfileRecord, {}, nullptr}},
        {H_GetProfileText, W({T("pURI"), OutT("pText")})},
        {H_SetProfileText, W({T("pURI"), T("pText")})},
        {H_FullRowSelect, W({I("iValue")})},
        {H_SignedIn, W({})},
        {H_FindMember, W({T("pURI"), P("pProfile", true), OutI("iFound")})},
        {H_InviteJoinResult, W({I("iKind"), T("pGroupURI"), I("iResult")})},
        {H_ShowWindow, W({I("iShow")})},
        {H_PlaceWindow, W({I("x"), I("y"), I("width"), I("height")})},
        // module -> host
        {M_RequestGroupInfo, W({T("pGroupURI")})},
        {M_SaveGroup, Blk(kSettings)},
        {M_ChangeDisplayName, W({T("pGroupURI"), T("pNewDisplayName")})},
        {M_DeleteGroup, W({T("pGroupName")})},
        {M_LeaveGroup, W({T("pGroupName"), T("pGroupURI")})},
        {M_TransferGroup, W({T("pNewOwnerURI"), T("pGroupURI")})},
        {M_RemoveMember, W({T("pMemberURI"), T("pGroupName")})},
        {M_InviteMember, W({T("pAccount"), T("pDisplayName"), T("pGroupName")})},
        {M_SearchGroups, W({I("iKind"), T("pSearchText"), I("iPage"), T("pDomain")})},
        {M_AcceptXmlInvitation, W({T("pMyURI"), T("pFrom"), I("iType"), T("pBody")})},
        {M_ForwardXmlAcceptance, W({T("pJID"), T("pGroupID")})},
        {M_RequestBlacklist, W({T("pGroupURI")})},
        {M_WhitelistChange, W({T("pURI"), T("pGroup"), I("iOperation"), I("iListKind")})},
        {M_AddBlacklist, W({T("pGroupName"), T("pURI")})},
        {M_RemoveBlacklist, W({T("pGroupName"), T("pURI")})},
        {M_AnswerInvitation, W({T("pOwnerURI"), T("pGroupName"), I("iAnswer"), T("pGroupURI"), T("pReturn")})},
        {M_AnswerJoinRequest, W({T("pProposerURI"), I("iAnswer"), T("pReturn1"), T("pReturn2")})},
        {M_AnswerTransfer, W({T("GroupURI"), T("OldOwnerURI"), T("pReturn"), I("iAnswer")})},
        {M_ApplyToJoin, W({T("pGroupURI"), T("pGroupIdentifier"), T("pDisplayName")})},
        {M_RequestSearchDetails, W({T("pOwnerURI"), T("pGroupURI")})},
        {M_SelectionReport, W({T("pMemberURI"), I("iItemKind"), P("pProfile")})},
        {M_Log, W({T("pText"), I("iLevel"), I("iReserved")})},
        {M_Text, W({T("pText"), I("iValue"), I("iReserved")})},
        {M_Notify, W({})},
        {M_GroupMessage, W({I("iOne"), I("iTwo"), T("pText"), T("pTime"), T("pGroupURI"), T("pEmpty"),
                            T("pSummary"), I("iZero")})},
        {M_Subscribe, W({I("iOne"), T("pGroupURI"), I("iThree")})},
        {M_HistoryRequest, W({I("iKind"), B("pRequest", kHistoryRequest)})},
        {M_SkinRequest, W({I("iWindow"), T("pSkinFile"), T("pElement")})},
        {M_SkinReset, W({I("iValue"), T("pText"), T("pEmpty")})},
    };
    return schemas;
}

const TRecordSchema* SchemaOf(int code)
{
    const auto& schemas = Schemas();
    auto it = schemas.find(code);
    return it == schemas.end() ? nullptr : &it->second;
}

int32_t IntWord(Word w) { return static_cast<int32_t>(w); }

QJsonValue TextOrNull(const char* p) { return p ? QJsonValue(GbkText(p)) : QJsonValue(QJsonValue::Null); }

int ClampCount(int count, int limit) { return std::clamp(count, 0, limit); }

// ---- decoding ---------------------------------------------------------------------

QJsonValue DecodeBlock(const TBlockSchema& schema, const char* block)
{
    if (!block) return QJsonValue::Null;
    QJsonObject obj;
    for (const auto& f : schema.fields) {
        const char* p = block + f.offset;
        switch (f.type) {
        case BF::Chars: obj[f.name] = GetField(p, f.size); break;
        case BF::Int32: { int32_t v; std::memcpy(&v, p, sizeof v); obj[f.name] = v; break; }
        case BF::TextPtr: { const char* t; std::memcpy(&t, p, sizeof t); obj[f.name] = TextOrNull(t); break; }
        }
    }
    if (schema.IsPlainText()) return obj.begin().value();
    return obj;
}

QJsonArray DecodeBlocks(const TBlockSchema& schema, const char* first, int count)
{
    QJsonArray arr;
    for (int i = 0; first && i < count; ++i) arr.append(DecodeBlock(schema, first + static_cast<size_t>(i) * schema.size));
    return arr;
}

QJsonValue TextArray(const char* const* texts, int n)
{
    QJsonArray arr;
    bool any = false;
    for (int i = 0; i < n; ++i) {
        arr.append(TextOrNull(texts[i]));
        any = any || texts[i];
    }
    return any ? QJsonValue(arr) : QJsonValue(QJsonValue::Undefined);
}

// Only the parts that are set, so that a transcript stays readable.
QJsonValue DecodeProfile(const TMemberProfile* p)
{
    if (!p) return QJsonValue::Null;
    QJsonObject obj;
    auto putInt = [&](const char* name, int32_t v) { if (v) obj[name] = v; };
    auto putTexts = [&](const char* name, const char* const* texts, int n) {
        QJsonValue v = TextArray(texts, n);
        if (!v.isUndefined()) obj[name] = v;
    };
    putInt("iHead", p->iHead);
    putTexts("text1", p->text1, 2);
    putInt("iValue1", p->iValue1);
    putTexts("block1", p->block1, 10);
    putTexts("ids", p->ids, 3);
    putInt("iValue2", p->iValue2);
    putTexts("block2", p->block2, 13);
    putInt("iValue3", p->iValue3);
    QString area = GetField(p->area, sizeof p->area);
    if (!area.isEmpty()) obj["area"] = area;
    putTexts("tail", p->tail, 2);
    return obj;
}

QJsonValue DecodeWord(const TRecordSchema& schema, size_t i, const Word* w)
{
    const TWordField& f = schema.words[i];
    switch (f.type) {
    case WF::Text: return TextOrNull(reinterpret_cast<const char*>(w[i]));
    case WF::Int:
    case WF::Count: return IntWord(w[i]);
    case WF::Block: return DecodeBlock(*f.block, reinterpret_cast<const char*>(w[i]));
    case WF::Array: {
        const char* first = reinterpret_cast<const char*>(w[i]);
        if (!first) return QJsonValue::Null;
        return DecodeBlocks(*f.block, first, ClampCount(IntWord(w[f.link]), f.limit));
    }
    case WF::Profile: return DecodeProfile(reinterpret_cast<const TMemberProfile*>(w[i]));
    }
    return QJsonValue::Null;
}

QJsonObject DecodeInfoList(const TGroupInfoList* list)
{
    QJsonObject obj;
    obj["count"] = list->count;
    obj["slots"] = DecodeBlocks(kInfoSlot, reinterpret_cast<const char*>(list->groups),
                                ClampCount(list->count, kMaxGroups));
    return obj;
}

} // namespace

QString GbkText(const char* text) { return text ? QString::fromStdString(GbkToUtf8(text)) : QString(); }

QString GetField(const char* field, size_t size)
{
    return QString::fromStdString(GbkToUtf8(CString::FromField(field, size).str()));
}

void PutField(char* field, size_t size, const QString& utf8)
{
    if (size == 0) return;
    const CString gbk = Utf8ToGbk(utf8.toStdString());
    const int room = static_cast<int>(size) - 1;
    int n = 0;
    while (n < gbk.GetLength()) {
        const int step = gbk.IsLeadByteAt(n) ? 2 : 1;
        if (n + step > room) break;
        n += step;
    }
    std::memcpy(field, gbk.c_str(), static_cast<size_t>(n));
    field[n] = '\0';
}

bool IsKnownCode(int code) { return SchemaOf(code) != nullptr; }

QJsonValue DecodeRecord(int code, const void* record)
{
    if (!record) return QJsonValue::Null;
    const TRecordSchema* schema = SchemaOf(code);
    if (!schema) return QJsonObject();
    switch (schema->shape) {
    case TRecordSchema::Block: return DecodeBlock(*schema->block, static_cast<const char*>(record));
    case TRecordSchema::InfoList: return DecodeInfoList(static_cast<const TGroupInfoList*>(record));
    case TRecordSchema::ProfileRecord: return DecodeProfile(static_cast<const TMemberProfile*>(record));
    case TRecordSchema::Words: break;
    }
    QJsonObject obj;
    const Word* w = static_cast<const Word*>(record);
    for (size_t i = 0; i < schema->words.size(); ++i) obj[schema->words[i].name] = DecodeWord(*schema, i, w);
    return obj;
}

QJsonObject DecodeOutWords(int code, const void* record)
{
    QJsonObject obj;
    const TRecordSchema* schema = SchemaOf(code);
    if (!record || !schema || schema->shape != TRecordSchema::Words) return obj;
    const Word* w = static_cast<const Word*>(record);
    for (size_t i = 0; i < schema->words.size(); ++i)
        if (schema->words[i].out) obj[schema->words[i].name] = DecodeWord(*schema, i, w);
    return obj;
}

// ---- encoding -----------------------------------------------------------------------

char* CRecord::NewBlock(size_t bytes)
{
    const size_t words = (bytes + sizeof(Word) - 1) / sizeof(Word) + 1;
    m_blocks.push_back(std::make_unique<Word[]>(words));  // value-initialised: zero-filled
    return reinterpret_cast<char*>(m_blocks.back().get());
}

const char* CRecord::NewText(const QString& utf8)
{
    m_texts.push_back(Utf8ToGbk(utf8.toStdString()).str());
    return m_texts.back().c_str();
}

class CRecordBuilder {
public:
    CRecordBuilder(CRecord& record, int code) : m_r(record), m_code(code) {}

    bool Fail(const QString& message)
    {
        if (m_error.isEmpty()) m_error = QStringLiteral("code %1: %2").arg(m_code).arg(message);
        return false;
    }
    const QString& Error() const { return m_error; }

    bool CheckKeys(const QJsonObject& obj, const std::vector<const char*>& names, const QString& where)
    {
        for (auto it = obj.begin(); it != obj.end(); ++it) {
            bool known = false;
            for (const char* n : names) known = known || it.key() == QLatin1String(n);
            if (!known) return Fail(QStringLiteral("unknown field \"%1\"%2").arg(it.key(), where));
        }
        return true;
    }

    bool ReadInt(const QJsonValue& v, const char* name, int64_t& out)
    {
        if (v.isUndefined() || v.isNull()) { out = 0; return true; }
        if (v.isBool()) { out = v.toBool() ? 1 : 0; return true; }
        if (!v.isDouble()) return Fail(QStringLiteral("field \"%1\" must be a number").arg(name));
        out = v.toInteger();
        return true;
    }

    bool ReadText(const QJsonValue& v, const char* name, const char*& out)
    {
        if (v.isNull()) { out = nullptr; return true; }
        if (v.isUndefined()) { out = m_r.NewText(QString()); return true; }
        if (!v.isString()) return Fail(QStringLiteral("field \"%1\" must be a text or null").arg(name));
        out = m_r.NewText(v.toString());
        return true;
    }

    bool FillBlock(const TBlockSchema& schema, char* block, const QJsonValue& v)
    {
        if (schema.IsPlainText() && (v.isString() || v.isUndefined())) {
            PutField(block + schema.fields[0].offset, schema.fields[0].size, v.toString());
            return true;
        }
        if (v.isUndefined()) return true;
        if (!v.isObject()) return Fail(QStringLiteral("a block must be an object"));
        const QJsonObject obj = v.toObject();
        std::vector<const char*> names;
        for (const auto& f : schema.fields) names.push_back(f.name);
        if (!CheckKeys(obj, names, QString())) return false;
        for (const auto& f : schema.fields) {
            const QJsonValue fv = obj.value(QLatin1String(f.name));
            char* p = block + f.offset;
            switch (f.type) {
            case BF::Chars:
                if (!fv.isUndefined() && !fv.isString())
                    return Fail(QStringLiteral("field \"%1\" must be a text").arg(f.name));
                PutField(p, f.size, fv.toString());
                break;
            case BF::Int32: {
                int64_t n;
                if (!ReadInt(fv, f.name, n)) return false;
                const int32_t v32 = static_cast<int32_t>(n);
                std::memcpy(p, &v32, sizeof v32);
                break;
            }
            case BF::TextPtr: {
                const char* t;
                if (!ReadText(fv, f.name, t)) return false;
                std::memcpy(p, &t, sizeof t);
                break;
            }
            }
        }
        return true;
    }

    // An array of blocks: at least `count` entries and one, zero-filled.
    char* BuildArray(const TBlockSchema& schema, const QJsonArray& items, int count)
    {
        const size_t n = std::max<size_t>({static_cast<size_t>(items.size()), static_cast<size_t>(count), 1});
        char* first = m_r.NewBlock(n * schema.size);
        for (qsizetype i = 0; i < items.size(); ++i)
            if (!FillBlock(schema, first + static_cast<size_t>(i) * schema.size, items[i])) return nullptr;
        return first;
    }

    bool BuildProfile(TMemberProfile* p, const QJsonValue& v)
    {
        if (v.isUndefined()) return true;
        if (!v.isObject()) return Fail(QStringLiteral("a profile must be an object"));
        const QJsonObject obj = v.toObject();
        if (!CheckKeys(obj, {"iHead", "text1", "iValue1", "block1", "ids", "iValue2", "block2", "iValue3", "area",
                             "tail"}, QStringLiteral(" in a profile")))
            return false;
        auto ints = [&](const char* name, int32_t& out) {
            int64_t n;
            if (!ReadInt(obj.value(QLatin1String(name)), name, n)) return false;
            out = static_cast<int32_t>(n);
            return true;
        };
        auto texts = [&](const char* name, const char** out, int n) {
            const QJsonValue av = obj.value(QLatin1String(name));
            if (av.isUndefined()) return true;
            if (!av.isArray() || av.toArray().size() > n)
                return Fail(QStringLiteral("field \"%1\" must be an array of at most %2 texts").arg(name).arg(n));
            const QJsonArray arr = av.toArray();
            for (qsizetype i = 0; i < arr.size(); ++i)
                if (!ReadText(arr[i], name, out[i])) return false;
            return true;
        };
        if (!obj.value("area").isUndefined() && !obj.value("area").isString())
            return Fail(QStringLiteral("field \"area\" must be a text"));
        PutField(p->area, sizeof p->area, obj.value("area").toString());
        return ints("iHead", p->iHead) && texts("text1", p->text1, 2) && ints("iValue1", p->iValue1) &&
               texts("block1", p->block1, 10) && texts("ids", p->ids, 3) && ints("iValue2", p->iValue2) &&
               texts("block2", p->block2, 13) && ints("iValue3", p->iValue3) && texts("tail", p->tail, 2);
    }

    void* BuildProfileRecord(const QJsonValue& v)
    {
        auto* p = reinterpret_cast<TMemberProfile*>(m_r.NewBlock(sizeof(TMemberProfile)));
        return BuildProfile(p, v) ? p : nullptr;
    }

    void* BuildInfoList(const QJsonValue& v)
    {
        if (!v.isObject() && !v.isUndefined()) return Fail(QStringLiteral("the group list must be an object")), nullptr;
        const QJsonObject obj = v.toObject();
        if (!CheckKeys(obj, {"count", "slots"}, QString())) return nullptr;
        const QJsonArray slotList = obj.value("slots").toArray();
        if (slotList.size() > kMaxGroups) return Fail(QStringLiteral("at most %1 slots").arg(kMaxGroups)), nullptr;
        auto* list = reinterpret_cast<TGroupInfoList*>(m_r.NewBlock(sizeof(TGroupInfoList)));
        int64_t count = slotList.size();
        if (obj.contains("count") && !ReadInt(obj.value("count"), "count", count)) return nullptr;
        list->count = static_cast<int32_t>(count);
        for (qsizetype i = 0; i < slotList.size(); ++i)
            if (!FillBlock(kInfoSlot, reinterpret_cast<char*>(&list->groups[i]), slotList[i])) return nullptr;
        return list;
    }

    void* BuildWords(const TRecordSchema& schema, const QJsonValue& v)
    {
        if (!v.isObject() && !v.isUndefined()) return Fail(QStringLiteral("the record must be an object")), nullptr;
        const QJsonObject obj = v.toObject();
        std::vector<const char*> names;
        for (const auto& f : schema.words) names.push_back(f.name);
        if (!CheckKeys(obj, names, QString())) return nullptr;
        Word* w = reinterpret_cast<Word*>(m_r.NewBlock(std::max<size_t>(schema.words.size(), 1) * sizeof(Word)));
        for (size_t i = 0; i < schema.words.size(); ++i)
            if (!BuildWord(schema, i, obj, w)) return nullptr;
        return w;
    }

    bool BuildWord(const TRecordSchema& schema, size_t i, const QJsonObject& obj, Word* w)
    {
        const TWordField& f = schema.words[i];
        const QJsonValue v = obj.value(QLatin1String(f.name));
        switch (f.type) {
        case WF::Text: {
            const char* t;
            if (!ReadText(v, f.name, t)) return false;
            w[i] = reinterpret_cast<Word>(t);
            return true;
        }
        case WF::Int: {
            int64_t n;
            if (!ReadInt(v, f.name, n)) return false;
            w[i] = static_cast<Word>(static_cast<int32_t>(n));
            return true;
        }
        case WF::Count: {
            const QJsonValue items = obj.value(QLatin1String(schema.words[f.link].name));
            int64_t n = items.isArray() ? items.toArray().size() : 0;
            if (v.isDouble() && !ReadInt(v, f.name, n)) return false;
            if (!v.isUndefined() && !v.isDouble()) return Fail(QStringLiteral("field \"%1\" must be a number").arg(f.name));
            w[i] = static_cast<Word>(static_cast<int32_t>(n));
            return true;
        }
        case WF::Block: {
            if (v.isNull()) { w[i] = 0; return true; }
            char* block = m_r.NewBlock(f.block->size);
            if (!FillBlock(*f.block, block, v)) return false;
            w[i] = reinterpret_cast<Word>(block);
            return true;
        }
        case WF::Array: {
            if (v.isNull()) { w[i] = 0; return true; }
            if (!v.isUndefined() && !v.isArray()) return Fail(QStringLiteral("field \"%1\" must be an array").arg(f.name));
            const QJsonValue countValue = obj.value(QLatin1String(schema.words[f.link].name));
            const int count = countValue.isDouble() ? ClampCount(static_cast<int>(countValue.toInteger()), f.limit) : 0;
            char* first = BuildArray(*f.block, v.toArray(), count);
            if (!first) return false;
            w[i] = reinterpret_cast<Word>(first);
            return true;
        }
        case WF::Profile: {
            if (v.isNull() || (f.out && v.isUndefined())) { w[i] = 0; return true; }
            void* p = BuildProfileRecord(v);
            if (!p) return false;
            w[i] = reinterpret_cast<Word>(p);
            return true;
        }
        }
        return false;
    }

    void* Build(const QJsonValue& v)
    {
        const TRecordSchema* schema = SchemaOf(m_code);
        if (!schema) return Fail(QStringLiteral("no record layout is known for this code")), nullptr;
        switch (schema->shape) {
        case TRecordSchema::Block: {
            char* block = m_r.NewBlock(schema->block->size);
            return FillBlock(*schema->block, block, v) ? block : nullptr;
        }
        case TRecordSchema::InfoList: return BuildInfoList(v);
        case TRecordSchema::ProfileRecord: return BuildProfileRecord(v);
        case TRecordSchema::Words: return BuildWords(*schema, v);
        }
        return nullptr;
    }

private:
    CRecord& m_r;
    int m_code;
    QString m_error;
};

std::unique_ptr<CRecord> CRecord::FromJson(int code, const QJsonValue& json, QString* error)
{
    auto record = std::make_unique<CRecord>();
    CRecordBuilder builder(*record, code);
    record->m_data = builder.Build(json);
    if (!record->m_data) {
        if (error) *error = builder.Error().isEmpty() ? QStringLiteral("code %1: bad record").arg(code) : builder.Error();
        return nullptr;
    }
    return record;
}

} // namespace host
