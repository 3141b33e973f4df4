#include "controls/SignedInUser.h"

#include "clientkit/ClientKit.h"

namespace tarvolan {

CString SignedInURI()
{
    const tagMyInfo* me = GetMyInfo();
    return me ? CString::FromField(me->szURI, sizeof(me->szURI)) : CString();
}

CString SignedInRequestId()
{
    const tagMyInfo* me = GetMyInfo();
    return me ? CString::FromField(me->szRequestId, sizeof(me->szRequestId)) : CString();
}

CString SignedInDomain()
{
    const tagMyInfo* me = GetMyInfo();
    return me ? CString::FromField(me->szDomain, sizeof(me->szDomain)) : CString();
}

} // namespace tarvolan
