// The IMS network as the client session sees it. The session hands it the
// module's requests; the network answers and pushes host messages back
// through the deliver function, later, on the event loop. Before the module
// loads, the network tells the client who signed in (ClientKit). The
// reference client also steers its network: its Network menu and the
// scenario steps "network" and "ims" make other users act, slow the answers
// down or make the next one fail.
//
// Requests and messages are in their JSON form (bridge/RecordCodec.h): the
// network never sees a record pointer, so a request can be handled after the
// call that carried it has returned. The simulated stack (sim/) is the one
// implementation.
#pragma once

#include <functional>

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace host {

// How the other users answer what the user asks of them:
// 1 accept, 2 refuse, 3 time-out (no answer; the server reports it).
struct TPeerAnswers {
    int invite = 1;
    int join = 1;
    int transfer = 1;
};

class CImsNetwork {
public:
    using Deliver = std::function<void(int code, const QJsonValue& record)>;

    virtual ~CImsNetwork() = default;

    // ---- before the module loads
    // Fills the client's shared data (ClientKit) with the signed-in user,
    // the roster, rights and edition values, and clientFolder as the
    // client's folder.
    virtual void FillClientKit(const QString& clientFolder) const = 0;
    // False: the module is made without the secondary host interface (its
    // skin requests then go to the primary one).
    virtual bool OffersSecondaryHost() const = 0;

    // ---- the session to the network
    // A request of the module: its code and decoded record.
    virtual void HandleRequest(int code, const QJsonValue& record) = 0;
    // A network event by name ("signin", "invite", "message" ...); params may
    // name a group (URI or name), a user ("from"/"user"), a text or a
    // presence. False with *error when the action is unknown or finds
    // nothing to act on.
    virtual bool Push(const QString& action, const QJsonObject& params, QString* error) = 0;

    // ---- the network to the session
    // Where host messages go (the module, through the bridge).
    virtual void SetDeliver(Deliver deliver) = 0;
    // Answers and events on their way; Flush delivers them now, in order,
    // including those that arrive meanwhile (bounded).
    virtual int Pending() const = 0;
    virtual void Flush() = 0;
    // The name of a group given by URI or by name; the text itself when the
    // network knows no such group.
    virtual QString GroupName(const QString& group) const = 0;

    // ---- steering
    // Off: requests are ignored (no answer at all), pushes still work.
    virtual void SetEnabled(bool on) = 0;
    virtual bool IsEnabled() const = 0;
    // The next request with this code is answered with this result (408,
    // 403, 404, 409 or any other) and changes nothing.
    virtual void FailNext(int requestCode, int result) = 0;
    // The next request that can fail, whatever its code, is answered so.
    virtual void FailNextAny(int result) = 0;
    virtual int ArmedFailure() const = 0;  // 0: none armed
    // Delay of an answer in milliseconds; what another user decides later
    // comes after three delays. 0 answers on the next turn of the loop.
    virtual void SetDelay(int ms) = 0;
    virtual TPeerAnswers PeerAnswers() const = 0;
    virtual void SetPeerAnswers(const TPeerAnswers& answers) = 0;
    // Called whenever being enabled, the armed failure or the queue changes.
    virtual void SetStateListener(std::function<void()> listener) = 0;
};

} // namespace host
