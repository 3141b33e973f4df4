// The arithmetic of the history viewer's pages: the message ids as numbers,
// the anchors a page request starts from, and the 268-byte request block of
// code 20037.
#pragma once

#include <list>

#include "common/GbkString.h"
#include "groups/Tarvolan.h"
#include "protocol/TarvolanAbi.h"

namespace tarvolan {

// A message's id as the number it stands for: a decimal text of digits only
// (blanks around it allowed) from 1 to INT32_MAX. Any other text (empty,
// signed, with letters, too large for an int) gives 0: such a message is no
// anchor.
int HistoryIdValue(const CString& id);

// The largest id of a page (the anchor of "上一页"); 0 when no message of it
// has an id.
int NewestHistoryId(const std::list<TGroupMessage>& page);
// The smallest id of a page (the anchor of "下一页"); 0 when no message of it
// has an id.
int OldestHistoryId(const std::list<TGroupMessage>& page);

// Directions of a page request.
enum : int { HISTORY_FIRST = 0, HISTORY_NEWER = 1, HISTORY_OLDER = -1 };
// The kind word that goes with the block, and the int at its start.
constexpr int kHistoryRequestKind = 11;
constexpr int kHistoryBlockKind = 2;

// The request block, zero-filled: kind 2, the group URI (cut at a character
// boundary so that it fits its field with its terminating zero), anchor and
// direction.
THistoryRequest MakeHistoryRequest(const CString& groupURI, int anchor, int direction);

} // namespace tarvolan
