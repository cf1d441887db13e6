#include "run/keep_awake.h"

#include <windows.h>

void keepAwake(KeepAwake& awake, const std::wstring& reason)
{
    REASON_CONTEXT context = {};
    context.Version = POWER_REQUEST_CONTEXT_VERSION;
    context.Flags = POWER_REQUEST_CONTEXT_SIMPLE_STRING;
    context.Reason.SimpleReasonString = const_cast<LPWSTR>(reason.c_str());
    UniqueHandle request = adoptHandle(PowerCreateRequest(&context));
    if (request == nullptr) {
        return; // the work goes on; the old request, if any, holds
    }
    PowerSetRequest(request.get(), PowerRequestSystemRequired);
    // Windows 8 and later: the work goes on also where the system would
    // otherwise hold programs back (connected standby). Windows 7 refuses it.
    PowerSetRequest(request.get(), PowerRequestExecutionRequired);
    letSleep(awake);
    awake.request = std::move(request);
}

void letSleep(KeepAwake& awake)
{
    if (awake.request != nullptr) {
        PowerClearRequest(awake.request.get(), PowerRequestSystemRequired);
        PowerClearRequest(awake.request.get(), PowerRequestExecutionRequired);
        awake.request.reset();
    }
}
