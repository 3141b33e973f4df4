// The simulated IMS stack: an in-process model of the network, the client's
// CImsNetwork. It answers every request of the module with the host
// messages a server would cause, after a short delay on the event loop, and
// pushes what a live network pushes (other users inviting, asking to join,
// writing, changing presence, joining and leaving, deleting groups, removing
// me, offering groups) and the sign-in sequence.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>

#include <QElapsedTimer>
#include <QJsonObject>
#include <QJsonValue>
#include <QTimer>

#include "bridge/ImsNetwork.h"
#include "sim/World.h"

namespace host {

class CSimulatedIms : public CImsNetwork {
public:
    explicit CSimulatedIms(CWorld world);
    // A stack over the world in the file at path (the embedded demo world
    // when path is empty); null with *error naming the file and the place.
    static std::unique_ptr<CSimulatedIms> FromWorldFile(const QString& path, QString* error);

    CWorld& World() { return m_world; }
    // The network events that Push knows.
    static QStringList Actions();

    // ---- CImsNetwork
    void FillClientKit(const QString& clientFolder) const override;
    bool OffersSecondaryHost() const override { return m_world.client.secondaryHost != 0; }
    void HandleRequest(int code, const QJsonValue& record) override;
    bool Push(const QString& action, const QJsonObject& params, QString* error) override;
    void SetDeliver(Deliver deliver) override { m_deliver = std::move(deliver); }
    int Pending() const override { return static_cast<int>(m_queue.size()); }
    void Flush() override;
    QString GroupName(const QString& group) const override;
    void SetEnabled(bool on) override { m_enabled = on; NotifyState(); }
    bool IsEnabled() const override { return m_enabled; }
    void FailNext(int requestCode, int result) override { m_failures.emplace(requestCode, result); }
    void FailNextAny(int result) override { m_failAny = result; NotifyState(); }
    int ArmedFailure() const override { return m_failAny; }
    void SetDelay(int ms) override { m_delay = std::max(ms, 0); }
    TPeerAnswers PeerAnswers() const override { return m_world.answers; }
    void SetPeerAnswers(const TPeerAnswers& answers) override { m_world.answers = answers; }
    void SetStateListener(std::function<void()> listener) override { m_onState = std::move(listener); }

private:
    struct TQueued {
        qint64 due;
        std::function<void()> run;
    };

    // ---- queue
    void Schedule(int delay, std::function<void()> run);
    void Post(int code, QJsonValue record, int delay = -1);
    void PostLater(int code, QJsonValue record) { Post(code, std::move(record), m_delay * 3); }
    void RunDue();
    void ArmTimer();
    int TakeFailure(int code);
    void NotifyState() const { if (m_onState) m_onState(); }

    // ---- requests (SimulatedIms.cpp)
    void OnRequestGroupInfo(const QJsonObject& r);   // 1
    void OnSaveGroup(const QJsonObject& r);          // 2
    void OnChangeDisplayName(const QJsonObject& r);  // 3
    void OnDeleteGroup(const QJsonObject& r);        // 4
    void OnLeaveGroup(const QJsonObject& r);         // 5
    void OnTransferGroup(const QJsonObject& r);      // 6
    void OnRemoveMember(const QJsonObject& r);       // 7
    void OnInviteMember(const QJsonObject& r);       // 8
    void OnSearchGroups(const QJsonObject& r);       // 9
    void OnAcceptXmlInvitation(const QJsonObject& r);// 10
    void OnRequestBlacklist(const QJsonObject& r);   // 12
    void OnWhitelistChange(const QJsonObject& r);    // 13
    void OnAddBlacklist(const QJsonObject& r);       // 14
    void OnRemoveBlacklist(const QJsonObject& r);    // 15
    void ReportBlacklistFailure(const QString& uri, const QString& group, int operation);
    void OnAnswerInvitation(const QJsonObject& r);   // 16
    void OnAnswerJoinRequest(const QJsonObject& r);  // 17
    void OnAnswerTransfer(const QJsonObject& r);     // 18
    void OnApplyToJoin(const QJsonObject& r);        // 19
    void OnRequestSearchDetails(const QJsonObject& r); // 20
    void OnGroupMessage(const QJsonObject& r);       // 20008
    void OnSubscribe(const QJsonObject& r);          // 20016
    void OnHistoryRequest(const QJsonObject& r);     // 20037

    // Reports my group list and the group's details, as a server does
    // after my membership or role changed.
    void ReportGroupChanged(const TGroup& group);
    void AddMe(TGroup& group, const QString& displayName = QString());
    // A member's presence as the group's subscribers hear it (1028).
    QJsonObject PresenceRecord(const TGroup& group, const QString& memberUri) const;
    // Someone joined a group I am in: every member hears it (1010 type 1),
    // and, as the group's subscriber, I get the newcomer's presence.
    void AnnounceNewMember(const TGroup& group, const TMember& member, int delay = -1);

    // ---- network events (NetworkEvents.cpp)
    TGroup* ResolveGroup(const QJsonObject& params, const std::function<bool(const TGroup&)>& fallback, QString* error);
    TUser* ResolveUser(const QJsonObject& params, const std::function<bool(const TUser&)>& fallback, QString* error);
    bool PushInvite(const QJsonObject& p, QString* error);
    bool PushXmlInvite(const QJsonObject& p, QString* error);
    bool PushJoinRequest(const QJsonObject& p, QString* error);
    bool PushMessage(const QJsonObject& p, QString* error);
    bool PushPresence(const QJsonObject& p, QString* error);
    bool PushMemberJoins(const QJsonObject& p, QString* error);
    bool PushMemberLeaves(const QJsonObject& p, QString* error);
    bool PushGroupDeleted(const QJsonObject& p, QString* error);
    bool PushRemoveMe(const QJsonObject& p, QString* error);
    bool PushOffer(const QJsonObject& p, QString* error);
    bool PushWithdraw(const QJsonObject& p, QString* error);
    bool PushSignIn(const QJsonObject& p, QString* error);
    void ParkSignInRequests();
    // An answered request stays answered: the next sign-in does not park it again.
    void ForgetParked(const char* list, const char* field, const QString& value);

    CWorld m_world;
    Deliver m_deliver;
    std::function<void()> m_onState;
    int m_delay = 300;
    bool m_enabled = true;
    std::multimap<int, int> m_failures;
    int m_failAny = 0;  // 0: none armed
    std::deque<TQueued> m_queue;
    QElapsedTimer m_clock;
    QTimer m_timer;
    int m_token = 0;                        // numbers the opaque return texts
    std::map<QString, QString> m_joinTokens;  // join request's pReturn1 -> group URI
    std::vector<QJsonObject> m_offers;      // transfer offers made to me (1025 records)
    int m_cannedText = 0;
};

} // namespace host
