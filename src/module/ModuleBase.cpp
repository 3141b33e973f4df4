#include "protocol/TarvolanAbi.h"

namespace tarvolan {

CModuleBase::CModuleBase(CHostInterface* host, CHostInterface* host2, QWidget* parent)
    : m_pHost(host), m_pHost2(host2), m_pParentWnd(parent), m_bClosing(0), m_nFlag(1)
{
}

CModuleBase::~CModuleBase() = default;

int CModuleBase::GetModuleType() { return 0; }
void CModuleBase::Init() {}
void CModuleBase::UnInit() { m_bClosing = 1; }
void CModuleBase::Reserved() {}
int CModuleBase::CloseMessageBoxes() { return 0; }

void CModuleBase::RelayToHost4(Word a, Word b, Word c, Word d)
{
    if (m_pHost && !m_bClosing) m_pHost->RelayToHost4(a, b, c, d);
}

void CModuleBase::RelayToHost3(Word a, Word b, Word c)
{
    if (m_pHost && !m_bClosing) m_pHost->RelayToHost3(a, b, c);
}

int CModuleBase::TestFlag(int) { return m_nFlag == 1 ? 1 : 0; }

int CModuleBase::SendToHost(int code, void* record)
{
    if (!m_pHost) return 0;
    if (m_bClosing) return m_bClosing;
    return m_pHost->OnMessage(GetModuleType(), code, record);
}

void CModuleBase::LogToHost(const char* text, int level)
{
    Word record[3] = {reinterpret_cast<Word>(text ? text : ""), level, 0};
    SendToHost(M_Log, record);
}

void CModuleBase::SendTextToHost(int value, const char* text)
{
    Word record[3] = {reinterpret_cast<Word>(text ? text : ""), value, 0};
    SendToHost(M_Text, record);
}

void CModuleBase::NotifyHost()
{
    if (!m_bClosing) SendToHost(M_Notify, nullptr);
}

namespace {
void SendSkin(CModuleBase& module, CHostInterface* host, int code, Word* record)
{
    if (host) host->OnMessage(module.GetModuleType(), code, record);
}
} // namespace

void CModuleBase::SendSkinRequest(Word windowHandle, const char* skinFile, const char* element)
{
    if (m_bClosing) return;
    Word record[3] = {windowHandle, reinterpret_cast<Word>(skinFile ? skinFile : ""),
                      reinterpret_cast<Word>(element ? element : "")};
    SendSkin(*this, m_pHost2 ? m_pHost2 : m_pHost, M_SkinRequest, record);
}

void CModuleBase::SendSkinReset(int value, const char* text)
{
    if (m_bClosing) return;
    Word record[3] = {value, reinterpret_cast<Word>(text ? text : ""), reinterpret_cast<Word>("")};
    SendSkin(*this, m_pHost2 ? m_pHost2 : m_pHost, M_SkinReset, record);
}

} // namespace tarvolan
