// The link between the client and the module: loads libTarvolan.so,
// creates the module object with two host interfaces of this client (the
// primary one and the secondary one that receives the skin requests), and
// turns everything the module calls into decoded JSON at once, while the
// record still lies on the module's stack. Host messages go the other way,
// built from JSON.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include "protocol/TarvolanAbi.h"

using namespace tarvolan;

class QWidget;

namespace host {

// One call of the module into the host.
struct THostCall {
    int slot = 5;         // 5 OnMessage, 6 RelayToHost4, 7 RelayToHost3
    int iface = 1;        // 1 primary host interface, 2 secondary
    int senderType = 0;   // slot 5
    int code = 0;         // slot 5
    QJsonValue record;    // slot 5: the decoded record; slot 6: the message-window record when it has one
    QJsonArray args;      // slots 6 and 7: the plain values
};

// One host message sent to the module.
struct THostMessage {
    QString source;       // who sent it: "scenario", "ims", "client"
    int code = 0;
    QJsonValue record;    // as built (decoded back from the record), null for a null record
    QByteArray bytes;     // a record sent as raw bytes (then record stays undefined)
    bool raw = false;
    QJsonObject out;      // words the module wrote into the record
    int calls = 0;        // calls the module made into the host while handling it
};

class CHostBridge {
public:
    using CallListener = std::function<void(const THostCall&)>;
    // Called twice per message: before the module sees it (handled false)
    // and after it returned (handled true, with out and calls filled in).
    using MessageListener = std::function<void(const THostMessage&, bool handled)>;

    CHostBridge();
    ~CHostBridge();
    CHostBridge(const CHostBridge&) = delete;
    CHostBridge& operator=(const CHostBridge&) = delete;

    // Loads the library and creates the module with parent as its parent
    // window. False with *error (naming the library) when it cannot.
    // Without secondary the module gets no secondary host interface.
    bool Load(const QString& libraryPath, QWidget* parent, QString* error, bool secondary = true);
    tarvolan::CModuleBase* Module() const { return m_module; }

    // Sends a host message built from JSON (a null or missing record sends a
    // null pointer). False with *error when the JSON does not fit the code.
    bool Send(int code, const QJsonValue& record, const QString& source, QString* error = nullptr);
    // Sends a record given as raw bytes, for any code. The module gets a copy
    // followed by kRawPadding zero bytes, so that a short record is read as
    // zeros past its end rather than past the buffer. Nothing decodes it.
    void SendBytes(int code, const QByteArray& bytes, const QString& source);
    static constexpr int kRawPadding = 4096;

    // Told of every call of the module, after it was decoded.
    void AddCallListener(CallListener listener) { m_callListeners.push_back(std::move(listener)); }
    // Told of every host message.
    void AddMessageListener(MessageListener listener) { m_messageListeners.push_back(std::move(listener)); }

    // Entry points of the host interfaces, public so that tests can play
    // the module's side without loading it.
    int OnModuleMessage(int iface, int senderType, int code, void* record);
    void OnRelay4(int iface, tarvolan::Word a, tarvolan::Word b, tarvolan::Word c, tarvolan::Word d);
    void OnRelay3(int iface, tarvolan::Word a, tarvolan::Word b, tarvolan::Word c);

private:
    class CHostSide;
    void Notify(const THostCall& call);
    // Tells the listeners, lets the module handle data and tells them again.
    void Deliver(THostMessage& message, void* data);

    std::unique_ptr<CHostSide> m_primary;
    std::unique_ptr<CHostSide> m_secondary;
    void* m_library = nullptr;
    tarvolan::CModuleBase* m_module = nullptr;
    std::vector<CallListener> m_callListeners;
    std::vector<MessageListener> m_messageListeners;
    int m_callCount = 0;
};

// The slot-6 record of a message-window request, decoded; null when the
// values are not such a request.
QJsonValue DecodeRelayRecord(tarvolan::Word target, tarvolan::Word kind, tarvolan::Word record);

} // namespace host
