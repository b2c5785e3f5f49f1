#include "win/announcer.h"

#include <oleauto.h>
#include <unknwn.h>

namespace win {

namespace {

// From UI Automation's core, looked up at run time: older systems lack the
// notification event, and the program runs there without it.
using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IUnknown**);
using RaiseNotificationEvent = HRESULT(WINAPI*)(IUnknown*, int kind, int processing, BSTR, BSTR);
constexpr int kActionCompleted = 2; // NotificationKind_ActionCompleted
constexpr int kImportantAll = 0;    // NotificationProcessing_ImportantAll: each run spoken, in order

template <typename F> F lookUp(const char* name)
{
    static const HMODULE core = LoadLibraryW(L"uiautomationcore.dll");
    return core ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(core, name))) : nullptr;
}

} // namespace

void Announcer::announce(HWND window, const std::wstring& message)
{
    static const auto hostProvider = lookUp<HostProviderFromHwnd>("UiaHostProviderFromHwnd");
    static const auto raise = lookUp<RaiseNotificationEvent>("UiaRaiseNotificationEvent");
    IUnknown* provider = nullptr;
    if (!hostProvider || !raise || FAILED(hostProvider(window, &provider)) || !provider)
        return;
    BSTR text = SysAllocString(message.c_str());
    BSTR activity = SysAllocString(L"integration-velmar-run");
    raise(provider, kActionCompleted, kImportantAll, text, activity);
    SysFreeString(activity);
    SysFreeString(text);
    provider->Release();
}

} // namespace win
