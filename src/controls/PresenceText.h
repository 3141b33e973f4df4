// A member's presence in words, for a screen reader: the trees show presence
// only as a picture, so member items give it as their accessible description.
#pragma once

#include <QString>

namespace tarvolan {

class CTarvolanMember;

// "在线", "忙碌", "离开", "通话中", "用餐", "请勿打扰" or "离线"; a custom
// presence gives its status text (as the tree shows it).
QString PresenceInWords(const CTarvolanMember& member);

} // namespace tarvolan
