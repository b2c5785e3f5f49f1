#include "win/accessible.h"

#include <oleacc.h>

namespace win {

namespace {

// The system's object for the control, answering with the program's name and
// description for the control itself; everything else is the system's.
class NamedAccessible final : public IAccessible
{
public:
    NamedAccessible(IAccessible* standard, std::wstring name, std::wstring description)
        : m_standard(standard), m_name(std::move(name)), m_description(std::move(description))
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return m_standard->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0) {
            m_standard->Release();
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override
    {
        return own(child, m_name, out) ? S_OK : m_standard->get_accName(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override
    {
        return own(child, m_description, out) ? S_OK : m_standard->get_accDescription(child, out);
    }

#define FORWARD(method, params, args)                                                              \
    HRESULT STDMETHODCALLTYPE method params override { return m_standard->method args; }
    FORWARD(GetTypeInfoCount, (UINT * n), (n))
    FORWARD(GetTypeInfo, (UINT i, LCID l, ITypeInfo** t), (i, l, t))
    FORWARD(GetIDsOfNames, (REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d), (r, n, c, l, d))
    FORWARD(Invoke, (DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e, UINT* a),
            (d, r, l, f, p, v, e, a))
    FORWARD(get_accParent, (IDispatch * *p), (p))
    FORWARD(get_accChildCount, (long* n), (n))
    FORWARD(get_accChild, (VARIANT c, IDispatch** d), (c, d))
    FORWARD(get_accValue, (VARIANT c, BSTR* v), (c, v))
    FORWARD(get_accRole, (VARIANT c, VARIANT* r), (c, r))
    FORWARD(get_accState, (VARIANT c, VARIANT* s), (c, s))
    FORWARD(get_accHelp, (VARIANT c, BSTR* h), (c, h))
    FORWARD(get_accHelpTopic, (BSTR * f, VARIANT c, long* t), (f, c, t))
    FORWARD(get_accKeyboardShortcut, (VARIANT c, BSTR* k), (c, k))
    FORWARD(get_accFocus, (VARIANT * c), (c))
    FORWARD(get_accSelection, (VARIANT * c), (c))
    FORWARD(get_accDefaultAction, (VARIANT c, BSTR* a), (c, a))
    FORWARD(accSelect, (long f, VARIANT c), (f, c))
    FORWARD(accLocation, (long* x, long* y, long* w, long* h, VARIANT c), (x, y, w, h, c))
    FORWARD(accNavigate, (long d, VARIANT s, VARIANT* e), (d, s, e))
    FORWARD(accHitTest, (long x, long y, VARIANT* c), (x, y, c))
    FORWARD(accDoDefaultAction, (VARIANT c), (c))
    FORWARD(put_accName, (VARIANT c, BSTR n), (c, n))
    FORWARD(put_accValue, (VARIANT c, BSTR v), (c, v))
#undef FORWARD

private:
    static bool own(const VARIANT& child, const std::wstring& text, BSTR* out)
    {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF || text.empty())
            return false;
        *out = SysAllocString(text.c_str());
        return true;
    }

    IAccessible* m_standard;
    std::wstring m_name, m_description;
    LONG m_references = 1;
};

} // namespace

LRESULT namedObject(HWND hwnd, WPARAM wParam, LPARAM lParam, const std::wstring& name,
                    const std::wstring& description)
{
    IAccessible* standard = nullptr;
    (void)lParam;
    if (FAILED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard))))
        return 0; // the system's own object, then
    auto* named = new NamedAccessible(standard, name, description);
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, named);
    named->Release();
    return result;
}

} // namespace win
