// libClientKit.so: the client's shared data, filled by the host and read by
// the module. One thread, no locks: everything runs on the UI thread.
#include "clientkit/ClientKit.h"

#include <algorithm>
#include <cerrno>
#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <list>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include "platform/UiDriver.h"
#include "protocol/RecordTable.h"

namespace tarvolan {

namespace {

using tarvolan::CModuleBase;

struct TOpenBox {
    CString name;
    CModuleBase* module;
};

struct TState {
    tagMyInfo myInfo{};
    std::array<std::string, tarvolan::kProfileTextCount> profileTexts;
    Status_Type status = STATUS_OFFLINE;
    std::string statusText;
    int logined = 0;
    int logining = 0;
    int logoutStatus = 0;
    std::string msgTitle;
    std::string appPath;
    std::string imsDomain;
    std::string operationNumber;
    CKestUser user;
    std::vector<tagRosterInfo> roster;
    int createRight = 1;
    int treeFullRowSelect = 0;
    int menuType = 0;
    int versionType = 0;
    int imsDirectApp = 0;
    int scene = 0;
    TCharFormat charFormat;
    TLogFont logFont;
    int resetLF = 0;
    std::vector<CString> bannedWords;
    std::vector<tarvolan::tagGroupInvite> parkedInvites;
    std::vector<tarvolan::tagGroupJoin> parkedJoins;
    std::vector<tarvolan::tagGroupTrsReq> parkedTransfers;
};

std::string CurrentFolder()
{
    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string(".") : folder.string();
}

// Windows-style separators become '/', and the folder ends with one.
std::string ClientFolder(std::string folder)
{
    if (folder.empty()) folder = CurrentFolder();
    for (char& c : folder) {
        if (c == '\\') c = '/';
    }
    if (folder.back() != '/') folder += '/';
    return folder;
}

const char* Text(const char* text)
{
    return text ? text : "";
}

// "宋体" (SimSun) in GBK.
constexpr char kDefaultFace[] = "\xCB\xCE\xCC\xE5";

void ResetState(TState& s)
{
    s = TState();
    s.msgTitle = "Velora";
    s.appPath = ClientFolder(std::string());
    s.charFormat.dwMask = CFM_ALL;
    s.charFormat.yHeight = 180;
    std::memcpy(s.charFormat.szFaceName, kDefaultFace, sizeof(kDefaultFace));
    s.logFont.lfHeight = -12;
    s.logFont.lfWeight = 400;
    s.logFont.lfCharSet = 134;  // GB2312
    std::memcpy(s.logFont.lfFaceName, kDefaultFace, sizeof(kDefaultFace));
}

TState& State()
{
    static TState state = [] {
        TState s;
        ResetState(s);
        return s;
    }();
    return state;
}

// Open named boxes, innermost last; kept apart from the state so that Reset
// leaves boxes that are on screen alone.
std::list<TOpenBox>& OpenBoxes()
{
    static std::list<TOpenBox> boxes;
    return boxes;
}

// ---- addresses ---------------------------------------------------------------

std::string_view WithoutScheme(std::string_view uri)
{
    auto hasPrefix = [&](std::string_view prefix) {
        if (uri.size() < prefix.size()) return false;
        return CString(std::string(uri.substr(0, prefix.size()))).EqualsNoCase(std::string(prefix).c_str());
    };
    if (hasPrefix("sip:") || hasPrefix("tel:")) uri.remove_prefix(4);
    return uri;
}

std::string_view UserPart(std::string_view uri)
{
    uri = WithoutScheme(uri);
    return uri.substr(0, uri.find('@'));
}

bool SameNoCase(std::string_view a, std::string_view b)
{
    return CString(a).EqualsNoCase(std::string(b).c_str());
}

bool SameAddress(std::string_view a, std::string_view b)
{
    return SameNoCase(WithoutScheme(a), WithoutScheme(b));
}

// The roster entry that text names: its URI, its account (text without '@')
// or its phone.
tagRosterInfo* FindContact(std::string_view text)
{
    if (text.empty()) return nullptr;
    const bool bareAccount = text.find('@') == std::string_view::npos;
    for (tagRosterInfo& entry : State().roster) {
        const CString uri = CString::FromField(entry.szURI, sizeof(entry.szURI));
        const CString phone = CString::FromField(entry.szPhone, sizeof(entry.szPhone));
        if (SameAddress(uri.view(), text)) return &entry;
        if (bareAccount && !UserPart(uri.view()).empty() && SameNoCase(UserPart(uri.view()), UserPart(text))) {
            return &entry;
        }
        if (!phone.IsEmpty() && phone.view() == WithoutScheme(text)) return &entry;
    }
    return nullptr;
}

template <typename T>
void Park(std::vector<T>& list, const T& entry)
{
    if (list.size() >= kParkedRequestsKept) return;
    const auto same = [&](const T& parked) { return std::memcmp(&parked, &entry, sizeof(T)) == 0; };
    if (std::none_of(list.begin(), list.end(), same)) list.push_back(entry);
}

} // namespace

// ---- what the module uses -------------------------------------------------

tagMyInfo* GetMyInfo() { return &State().myInfo; }
Status_Type GetStatus() { return State().status; }
const char* GetStatusText() { return State().statusText.c_str(); }
int GetAppLogined() { return State().logined; }
int GetAppLogining() { return State().logining; }
int GetAppLogoutStatus() { return State().logoutStatus; }
const char* GetMsgTitle() { return State().msgTitle.c_str(); }

int OpenMsgBox(const char* name, QWidget* owner, const char* text, const char* caption, unsigned flags,
               tarvolan::CModuleBase* module)
{
    std::list<TOpenBox>& boxes = OpenBoxes();
    auto box = boxes.insert(boxes.end(), TOpenBox{Text(name), module});
    const int answer = GetUiDriver()->NamedMessageBox(box->name, owner, Text(text), Text(caption), flags);
    boxes.erase(box);
    return answer;
}

void CloseMsgBox(const char* name)
{
    GetUiDriver()->CloseNamedBox(Text(name));
}

void CloseMsgBox(tarvolan::CModuleBase* module)
{
    if (!module) return;
    std::vector<CString> names;
    for (const TOpenBox& box : OpenBoxes()) {
        if (box.module == module && std::find(names.begin(), names.end(), box.name) == names.end()) {
            names.push_back(box.name);
        }
    }
    for (const CString& name : names) GetUiDriver()->CloseNamedBox(name);
}

namespace {

// The client log stays open between lines (opening a file per line costs
// more than the line); it follows the client folder when that changes. Each
// line is flushed so readers see it at once.
// The client log, opened for appending. A line goes out in one write of its
// pieces (stamp, text, end of line) straight from where they are: a sign-in
// writes megabytes of member lists, and copying them through a stream buffer
// first would cost a third again.
class CLogFile {
public:
    ~CLogFile() { Close(); }
    int For(const std::string& path)
    {
        if (m_fd >= 0 && path == m_path) return m_fd;
        Close();
        m_fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd >= 0) m_path = path;
        return m_fd;
    }
    void Close()
    {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
        m_path.clear();
    }

private:
    int m_fd = -1;
    std::string m_path;
};

CLogFile& LogFile()
{
    static CLogFile file;
    return file;
}

// Writes the pieces in order, going on after a partial write or an
// interruption; stops at the first error.
void WriteAll(int fd, iovec* pieces, int count)
{
    while (count > 0) {
        const ssize_t written = ::writev(fd, pieces, count);
        if (written < 0) {
            if (errno == EINTR) continue;
            return;
        }
        size_t left = static_cast<size_t>(written);
        while (count > 0 && left >= pieces->iov_len) {
            left -= pieces->iov_len;
            ++pieces;
            --count;
        }
        if (count > 0) {
            pieces->iov_base = static_cast<char*>(pieces->iov_base) + left;
            pieces->iov_len -= left;
        }
    }
}

} // namespace

void WriteLog(const char* text, int level)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char head[64];
    const size_t stamp = std::strftime(head, sizeof(head), "%Y-%m-%d %H:%M:%S", &local);
    const int length = std::snprintf(head + stamp, sizeof(head) - stamp, " [%d] ", level);
    const int fd = LogFile().For(clientkit::LogFilePath().str());
    if (fd < 0 || length < 0) return;
    const char* body = Text(text);
    char end[] = "\n";
    iovec pieces[] = {{head, stamp + static_cast<size_t>(length)},
                      {const_cast<char*>(body), std::strlen(body)},
                      {end, 1}};
    WriteAll(fd, pieces, 3);
}

const char* GetAppPath() { return State().appPath.c_str(); }
CKestUser* GetUserData() { return &State().user; }
const char* GetIMSDomain() { return State().imsDomain.c_str(); }

CString GetUserNameByPhone(const char* text, int, int)
{
    const std::string_view wanted = Text(text);
    if (const tagRosterInfo* contact = FindContact(wanted)) {
        CString name = CString::FromField(contact->szDisplayName, sizeof(contact->szDisplayName));
        if (!name.IsEmpty()) return name;
    }
    return CString(UserPart(wanted));
}

tagRosterInfo* FindRosterInfoByURI(const char* uri)
{
    const std::string_view wanted = Text(uri);
    if (wanted.empty()) return nullptr;
    for (tagRosterInfo& entry : State().roster) {
        if (SameAddress(CString::FromField(entry.szURI, sizeof(entry.szURI)).view(), wanted)) return &entry;
    }
    return nullptr;
}

int RosterIndexValid(int index)
{
    return index >= 0 && static_cast<size_t>(index) < State().roster.size() ? 1 : 0;
}

int IsInMyRLSList(const char* uri)
{
    return FindRosterInfoByURI(uri) ? 1 : 0;
}

int IsMySelf(const char* uri)
{
    const std::string_view other = Text(uri);
    const CString mine = CString::FromField(State().myInfo.szURI, sizeof(State().myInfo.szURI));
    if (other.empty() || mine.IsEmpty()) return 0;
    if (SameAddress(mine.view(), other)) return 1;
    const bool bareAccount = other.find('@') == std::string_view::npos;
    return bareAccount && SameNoCase(UserPart(mine.view()), UserPart(other)) ? 1 : 0;
}

int GetTarvolanCreateRight() { return State().createRight; }
int GetTreeFullRowSelect() { return State().treeFullRowSelect; }
int GetMenuType() { return State().menuType; }
int GetVersionType() { return State().versionType; }
int GetIMSDirectApp() { return State().imsDirectApp; }
int GetScene() { return State().scene; }
const char* GetOperationNumber() { return State().operationNumber.c_str(); }
TCharFormat* GetAppCharFormat() { return &State().charFormat; }
TLogFont* GetAppLogFont() { return &State().logFont; }
int GetAppResetLF() { return State().resetLF; }
void SetAppResetLF(int value) { State().resetLF = value; }

int bHaveFilterWords(const char* text, CString* found)
{
    if (!text || !*text) return 0;
    const CString haystack(text);
    for (const CString& word : State().bannedWords) {
        if (word.IsEmpty()) continue;
        // Step a whole character at a time so that a word never matches
        // across the middle of a double-byte character.
        for (int i = 0; i + word.GetLength() <= haystack.GetLength();) {
            if (haystack.view().compare(static_cast<size_t>(i), word.view().size(), word.view()) == 0) {
                if (found) *found = word;
                return 1;
            }
            i += haystack.IsLeadByteAt(i) ? 2 : 1;
        }
    }
    return 0;
}

void AddInvitedToPubGroupMessageTempToList(const tarvolan::tagGroupInvite& entry)
{
    Park(State().parkedInvites, entry);
}

std::vector<tarvolan::tagGroupInvite>* GetInvitedToPubGroupMessageTempList() { return &State().parkedInvites; }
void ClearInvitedToPubGroupMessageTempList() { State().parkedInvites.clear(); }

void AddJoinToPubGroupMessageTempToList(const tarvolan::tagGroupJoin& entry)
{
    Park(State().parkedJoins, entry);
}

std::vector<tarvolan::tagGroupJoin>* GetJoinToPubGroupMessageTempList() { return &State().parkedJoins; }
void ClearJoinToPubGroupMessageTempList() { State().parkedJoins.clear(); }

void AddTrsPubGroupReqMessageTempToList(const tarvolan::tagGroupTrsReq& entry)
{
    Park(State().parkedTransfers, entry);
}

std::vector<tarvolan::tagGroupTrsReq>* GetTrsPubGroupReqMessageTempList() { return &State().parkedTransfers; }
void ClearTrsPubGroupReqMessageTempList() { State().parkedTransfers.clear(); }

void DelTrsPubGroupReqMessageTmpFromList(const char* groupURI, const char* oldOwnerURI)
{
    const CString group(Text(groupURI)), owner(Text(oldOwnerURI));
    std::erase_if(State().parkedTransfers, [&](const tarvolan::tagGroupTrsReq& entry) {
        return CString::FromField(entry.GroupURI) == group && CString::FromField(entry.OldOwnerURI) == owner;
    });
}

// ---- what the host uses to fill it ------------------------------------------

namespace clientkit {

void SetIdentity(const TIdentity& identity)
{
    tagMyInfo& info = State().myInfo;
    identity.displayName.CopyTo(info.szDisplayName, sizeof(info.szDisplayName));
    identity.requestId.CopyTo(info.szRequestId, sizeof(info.szRequestId));
    identity.uri.CopyTo(info.szURI, sizeof(info.szURI));
    identity.domain.CopyTo(info.szDomain, sizeof(info.szDomain));
    std::memset(info.szDomainList, 0, sizeof(info.szDomainList));
    const size_t count = std::min<size_t>(identity.domains.size(), std::size(info.szDomainList));
    for (size_t i = 0; i < count; ++i) {
        identity.domains[i].CopyTo(info.szDomainList[i], sizeof(info.szDomainList[i]));
    }
    info.nDomainCount = static_cast<int32_t>(count);
}

void SetStatus(Status_Type status, const char* text)
{
    State().status = status;
    State().statusText = Text(text);
}

void SetSignInState(int logined, int logining, int logoutStatus)
{
    State().logined = logined;
    State().logining = logining;
    State().logoutStatus = logoutStatus;
}

void SetMsgTitle(const char* title) { State().msgTitle = Text(title); }
void SetAppPath(const char* folder) { State().appPath = ClientFolder(Text(folder)); }

void SetUserSettings(int showEmoticon, const char* account)
{
    CKestUser& user = State().user;
    user.m_bShowEmoticon = showEmoticon;
    CString(Text(account)).CopyTo(user.m_szAccount, sizeof(user.m_szAccount));
}

void SetIMSDomain(const char* domain) { State().imsDomain = Text(domain); }

void SetRoster(const std::vector<TRosterEntry>& roster)
{
    std::vector<tagRosterInfo> entries(roster.size());
    for (size_t i = 0; i < roster.size(); ++i) {
        tagRosterInfo& entry = entries[i];
        std::memset(&entry, 0, sizeof(entry));
        roster[i].uri.CopyTo(entry.szURI, sizeof(entry.szURI));
        roster[i].displayName.CopyTo(entry.szDisplayName, sizeof(entry.szDisplayName));
        roster[i].phone.CopyTo(entry.szPhone, sizeof(entry.szPhone));
        entry.nIndex = static_cast<int32_t>(i);
    }
    State().roster = std::move(entries);
}

void SetCreateRight(int value) { State().createRight = value; }
void SetTreeFullRowSelect(int value) { State().treeFullRowSelect = value; }

void SetEdition(int menuType, int versionType, int imsDirectApp, int scene)
{
    State().menuType = menuType;
    State().versionType = versionType;
    State().imsDirectApp = imsDirectApp;
    State().scene = scene;
}

void SetOperationNumber(const char* number) { State().operationNumber = Text(number); }

void SetCharFormat(const TCharFormat& format, const TLogFont& font)
{
    State().charFormat = format;
    State().logFont = font;
    State().resetLF = 1;  // the module re-reads the font when it sees this
}

void SetBannedWords(const std::vector<CString>& words) { State().bannedWords = words; }

void SetMyProfile(const tarvolan::TMemberProfile& profile)
{
    TState& s = State();
    s.myInfo.profile = profile;
    const auto texts = tarvolan::ProfileTexts(s.myInfo.profile);
    for (size_t i = 0; i < texts.size(); ++i) {
        const char*& text = *texts[i];
        if (text) {
            s.profileTexts[i] = text;
            text = s.profileTexts[i].c_str();
        } else {
            s.profileTexts[i].clear();
        }
    }
}

void Reset()
{
    LogFile().Close();
    ResetState(State());
}

CString LogFilePath()
{
    return CString(State().appPath + "Velora.log");
}

} // namespace clientkit

} // namespace tarvolan
