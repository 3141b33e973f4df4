// Host-message records (in their JSON form, see bridge/RecordCodec.h) built from
// the world: what a server reports about groups, members and history.
#pragma once

#include <QJsonArray>
#include <QJsonObject>

#include "sim/World.h"

namespace host {

// 1004: my contact lists and every group I own or belong to.
QJsonObject GroupListRecord(const CWorld& world);
// 1005: one group's full information with my role in it.
QJsonObject GroupRecord(const CWorld& world, const TGroup& group, int role);
// 1010: a member notification of type (1 joined, 2 changed, 3 left).
QJsonObject MemberNotifyRecord(const TGroup& group, const TMember& member, int type);
// 1022 entry.
QJsonObject SearchEntry(const TGroup& group);
// 1032 entry.
QJsonObject HistoryEntry(const TMessage& message);
// Messages of one history page: up to pageSize messages around the anchor
// id, in ascending id order. Direction 0: the newest; 1: those after the
// anchor (newer); -1: those before it (older).
std::vector<TMessage> HistoryPage(const TGroup& group, int anchor, int direction, int pageSize);
// 1032 record.
QJsonObject HistoryRecord(int code, int type, const QString& groupUri, const std::vector<TMessage>& messages);

} // namespace host
