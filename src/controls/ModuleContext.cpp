#include "controls/ModuleContext.h"

#include "platform/UiDriver.h"

namespace tarvolan {

CUiDriver& CModuleContext::Driver() const
{
    return m_pDriver ? *m_pDriver : *GetUiDriver();
}

} // namespace tarvolan
