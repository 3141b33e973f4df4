#include "bridge/HostBridge.h"

#include <dlfcn.h>

#include "bridge/RecordCodec.h"

using namespace tarvolan;

namespace host {

// A host interface as the module sees it: every slot it calls goes to the bridge.
class CHostBridge::CHostSide : public CHostInterface {
public:
    CHostSide(CHostBridge& bridge, int iface) : m_bridge(bridge), m_iface(iface) {}

    int OnMessage(int senderType, int code, void* record) override
    {
        return m_bridge.OnModuleMessage(m_iface, senderType, code, record);
    }
    void RelayToHost4(Word a, Word b, Word c, Word d) override { m_bridge.OnRelay4(m_iface, a, b, c, d); }
    void RelayToHost3(Word a, Word b, Word c) override { m_bridge.OnRelay3(m_iface, a, b, c); }

private:
    CHostBridge& m_bridge;
    int m_iface;
};

CHostBridge::CHostBridge()
    : m_primary(std::make_unique<CHostSide>(*this, 1)), m_secondary(std::make_unique<CHostSide>(*this, 2))
{
}

// The library stays loaded: the module object lives in it until the process ends.
CHostBridge::~CHostBridge() = default;

bool CHostBridge::Load(const QString& libraryPath, QWidget* parent, QString* error, bool secondary)
{
    auto fail = [&](const QString& why) {
        if (error) *error = QStringLiteral("%1: %2").arg(libraryPath, why);
        return false;
    };
    m_library = dlopen(libraryPath.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library) return fail(QString::fromLocal8Bit(dlerror()));
    using LoadFunction = CModuleBase* (*)(CHostInterface*, CHostInterface*, QWidget*);
    auto load = reinterpret_cast<LoadFunction>(dlsym(m_library, "LoadTarvolanModule"));
    if (!load) return fail(QStringLiteral("LoadTarvolanModule is not exported"));
    CHostInterface* second = secondary ? m_secondary.get() : nullptr;
    m_module = load(m_primary.get(), second, parent);
    if (!m_module) return fail(QStringLiteral("LoadTarvolanModule returned no module"));
    // A second bridge in the same process gets the same module object: make
    // it talk to this one.
    m_module->SetHost(m_primary.get());
    m_module->SetHost2(second);
    return true;
}

bool CHostBridge::Send(int code, const QJsonValue& record, const QString& source, QString* error)
{
    std::unique_ptr<CRecord> built;
    if (!record.isNull() && !record.isUndefined()) {
        built = CRecord::FromJson(code, record, error);
        if (!built) return false;
    }
    void* data = built ? built->Data() : nullptr;
    THostMessage message;
    message.source = source;
    message.code = code;
    // Codes the protocol does not know carry no record anyone could read.
    message.record = DecodeRecord(code, data);
    Deliver(message, data);
    return true;
}

void CHostBridge::SendBytes(int code, const QByteArray& bytes, const QString& source)
{
    QByteArray buffer = bytes;
    buffer.append(kRawPadding, '\0');
    THostMessage message;
    message.source = source;
    message.code = code;
    message.bytes = bytes;
    message.raw = true;
    Deliver(message, buffer.data());
}

void CHostBridge::Deliver(THostMessage& message, void* data)
{
    for (const auto& listener : m_messageListeners) listener(message, false);
    const int before = m_callCount;
    if (m_module) m_module->OnMessage(0, message.code, data);
    if (!message.raw) message.out = DecodeOutWords(message.code, data);
    message.calls = m_callCount - before;
    for (const auto& listener : m_messageListeners) listener(message, true);
}

void CHostBridge::Notify(const THostCall& call)
{
    ++m_callCount;
    for (const auto& listener : m_callListeners) listener(call);
}

int CHostBridge::OnModuleMessage(int iface, int senderType, int code, void* record)
{
    THostCall call;
    call.slot = 5;
    call.iface = iface;
    call.senderType = senderType;
    call.code = code;
    call.record = DecodeRecord(code, record);
    Notify(call);
    return 0;
}

void CHostBridge::OnRelay4(int iface, Word a, Word b, Word c, Word d)
{
    THostCall call;
    call.slot = 6;
    call.iface = iface;
    call.args = QJsonArray{static_cast<qint64>(a), static_cast<qint64>(b), static_cast<qint64>(c ? 1 : 0),
                           static_cast<qint64>(d)};
    call.record = DecodeRelayRecord(a, b, c);
    Notify(call);
}

void CHostBridge::OnRelay3(int iface, Word a, Word b, Word c)
{
    THostCall call;
    call.slot = 7;
    call.iface = iface;
    call.args = QJsonArray{static_cast<qint64>(a), static_cast<qint64>(b), static_cast<qint64>(c)};
    Notify(call);
}

QJsonValue DecodeRelayRecord(Word target, Word kind, Word record)
{
    if (target != kRelayTarget || kind != kRelayOpenMessageWindow || !record) return QJsonValue::Null;
    const auto* r = reinterpret_cast<const TMessageWindowRecord*>(record);
    auto text = [](Word w) {
        const char* p = reinterpret_cast<const char*>(w);
        return p ? QJsonValue(GbkText(p)) : QJsonValue(QJsonValue::Null);
    };
    return QJsonObject{{"memberURI", text(r->memberURI)},
                       {"displayName", text(r->displayName)},
                       {"mode", static_cast<int>(static_cast<int32_t>(r->mode))},
                       {"zero1", static_cast<qint64>(r->zero1)},
                       {"zero2", static_cast<qint64>(r->zero2)}};
}

} // namespace host
