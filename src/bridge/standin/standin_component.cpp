#include <oaidl.h>
#include <oleauto.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <cwctype>
#include <memory>
#include <string>

#include "acquire/replay_jv_link.h"
#include "store/cp932_utf16.h"

// A stand-in for JV-Link, for testing the bridge where the data service's
// component is not installed: an in-process COM server registered under
// JV-Link's program id that serves a replay source folder (the folder named
// by the environment variable ORVALLE_JVLINK_SOURCE) through the same
// methods and parameter types: BSTR text, long numbers and out parameters
// by reference, a byte array for JVGets. Its text is the preserving UTF-16
// form of the records' bytes. "gets=0" in the source's jvlink.ini
// ([emulate]) hides JVGets, as a component without the byte read.
namespace {

using orvalle::acquire::JvOpenCounts;
using orvalle::acquire::ReplayJvLink;

// {6C1F0E54-3B7A-4D2E-9E51-2A8F4B9D7C31}
constexpr CLSID kStandInClassId = {
    0x6c1f0e54, 0x3b7a, 0x4d2e, {0x9e, 0x51, 0x2a, 0x8f, 0x4b, 0x9d, 0x7c, 0x31}};
constexpr const wchar_t* kClassIdText = L"{6C1F0E54-3B7A-4D2E-9E51-2A8F4B9D7C31}";
constexpr const wchar_t* kProgramId = L"JVDTLab.JVLink";

HINSTANCE g_module = nullptr;
std::atomic<long> g_objects{0};

enum Method : DISPID {
  kJVInit = 1,
  kJVSetUIProperties,
  kJVOpen,
  kJVStatus,
  kJVRead,
  kJVGets,
  kJVCancel,
  kJVClose,
  kJVRTOpen,
};

struct MethodName {
  const wchar_t* name;
  Method id;
};
constexpr MethodName kMethods[] = {
    {L"JVInit", kJVInit},     {L"JVSetUIProperties", kJVSetUIProperties},
    {L"JVOpen", kJVOpen},     {L"JVStatus", kJVStatus},
    {L"JVRead", kJVRead},     {L"JVGets", kJVGets},
    {L"JVCancel", kJVCancel}, {L"JVClose", kJVClose},
    {L"JVRTOpen", kJVRTOpen},
};

bool sameName(const wchar_t* a, const wchar_t* b) {
  for (; *a != 0 && *b != 0; ++a, ++b) {
    if (std::towlower(*a) != std::towlower(*b)) return false;
  }
  return *a == *b;
}

std::wstring environment(const wchar_t* name) {
  wchar_t buffer[4096];
  const DWORD length = GetEnvironmentVariableW(name, buffer, 4096);
  return length > 0 && length < 4096 ? std::wstring(buffer, length) : std::wstring();
}

BSTR bstrOf(std::string_view cp932) {
  const std::u16string text = orvalle::cp932::toUtf16Preserving(cp932);
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                           static_cast<UINT>(text.size()));
}

// The arguments of one call, in the order of the method's parameters.
class Arguments {
 public:
  explicit Arguments(const DISPPARAMS* parameters) : m_parameters(parameters) {}
  unsigned count() const { return m_parameters->cArgs; }
  VARIANT& at(unsigned i) const { return m_parameters->rgvarg[m_parameters->cArgs - 1 - i]; }

  // The value of a parameter as a variant of `type`, by value or reference.
  bool get(unsigned i, VARTYPE type, VARIANT& value) const {
    VariantInit(&value);
    return SUCCEEDED(VariantChangeType(&value, &at(i), 0, type));
  }
  std::string text(unsigned i) const {
    VARIANT value;
    if (!get(i, VT_BSTR, value)) return {};
    std::string bytes = orvalle::cp932::fromUtf16Preserving(std::u16string_view(
        reinterpret_cast<const char16_t*>(value.bstrVal), SysStringLen(value.bstrVal)));
    VariantClear(&value);
    return bytes;
  }
  long number(unsigned i) const {
    VARIANT value;
    return get(i, VT_I4, value) ? value.lVal : 0;
  }
  bool setNumber(unsigned i, long number) const {
    VARIANT& target = at(i);
    if (target.vt == (VT_I4 | VT_BYREF)) {
      *target.plVal = number;
    } else if (target.vt == (VT_VARIANT | VT_BYREF)) {
      VariantClear(target.pvarVal);
      target.pvarVal->vt = VT_I4;
      target.pvarVal->lVal = number;
    } else {
      return false;
    }
    return true;
  }
  bool setText(unsigned i, std::string_view cp932) const {
    VARIANT& target = at(i);
    if (target.vt == (VT_BSTR | VT_BYREF)) {
      SysFreeString(*target.pbstrVal);
      *target.pbstrVal = bstrOf(cp932);
    } else if (target.vt == (VT_VARIANT | VT_BYREF)) {
      VariantClear(target.pvarVal);
      target.pvarVal->vt = VT_BSTR;
      target.pvarVal->bstrVal = bstrOf(cp932);
    } else {
      return false;
    }
    return true;
  }
  bool setBytes(unsigned i, std::string_view bytes) const {
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (array == nullptr) return false;
    void* data = nullptr;
    SafeArrayAccessData(array, &data);
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    SafeArrayUnaccessData(array);
    VARIANT& target = at(i);
    if (target.vt == (VT_ARRAY | VT_UI1 | VT_BYREF)) {
      if (*target.pparray != nullptr) SafeArrayDestroy(*target.pparray);
      *target.pparray = array;
    } else if (target.vt == (VT_VARIANT | VT_BYREF)) {
      VariantClear(target.pvarVal);
      target.pvarVal->vt = VT_ARRAY | VT_UI1;
      target.pvarVal->parray = array;
    } else {
      SafeArrayDestroy(array);
      return false;
    }
    return true;
  }

 private:
  const DISPPARAMS* m_parameters;
};

class StandInJvLink final : public IDispatch {
 public:
  StandInJvLink()
      : m_link(std::filesystem::path(environment(L"ORVALLE_JVLINK_SOURCE"))),
        m_offersGets(m_link.emulation().offersByteRead) {
    ++g_objects;
  }
  ~StandInJvLink() { --g_objects; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_references); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --m_references;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (const MethodName& method : kMethods) {
        if (sameName(names[i], method.name) && (method.id != kJVGets || m_offersGets)) {
          ids[i] = method.id;
        }
      }
      if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
    }
    return result;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    const Arguments args(parameters);
    static constexpr unsigned kParameterCounts[] = {0, 1, 0, 6, 0, 3, 3, 0, 0, 2};
    if (id < kJVInit || id > kJVRTOpen || (id == kJVGets && !m_offersGets)) {
      return DISP_E_MEMBERNOTFOUND;
    }
    if (args.count() != kParameterCounts[id]) return DISP_E_BADPARAMCOUNT;

    long code = 0;
    switch (static_cast<Method>(id)) {
      case kJVInit:
        code = m_link.jvInit(args.text(0));
        break;
      case kJVSetUIProperties:
        code = m_link.jvSetUIProperties();
        break;
      case kJVOpen: {
        JvOpenCounts counts;
        code = m_link.jvOpen(args.text(0), args.text(1), static_cast<int>(args.number(2)), counts);
        if (!args.setNumber(3, counts.readCount) || !args.setNumber(4, counts.downloadCount) ||
            !args.setText(5, counts.lastFileTimestamp)) {
          return DISP_E_TYPEMISMATCH;
        }
        break;
      }
      case kJVStatus:
        code = m_link.jvStatus();
        break;
      case kJVRead:
      case kJVGets: {
        std::string record;
        std::string fileName;
        int size = static_cast<int>(id == kJVRead ? 0 : args.number(1));
        code = m_link.jvRead(record, size, fileName);
        const bool set = id == kJVRead ? args.setText(0, record) && args.setNumber(1, size)
                                       : args.setBytes(0, record);
        if (!set || !args.setText(2, fileName)) return DISP_E_TYPEMISMATCH;
        break;
      }
      case kJVCancel:
        code = m_link.jvCancel();
        break;
      case kJVClose:
        code = m_link.jvClose();
        break;
      case kJVRTOpen:
        code = m_link.jvRTOpen(args.text(0), args.text(1));
        break;
    }
    if (result != nullptr) {
      VariantInit(result);
      result->vt = VT_I4;
      result->lVal = code;
    }
    return S_OK;
  }

 private:
  std::atomic<long> m_references{1};
  ReplayJvLink m_link;
  bool m_offersGets;
};

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    auto* link = new StandInJvLink();
    const HRESULT result = link->QueryInterface(riid, object);
    link->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    lock ? ++g_objects : --g_objects;
    return S_OK;
  }
};

Factory g_factory;

bool setKey(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG result =
      RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return result == ERROR_SUCCESS;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID riid, void** object) {
  if (!IsEqualCLSID(classId, kStandInClassId)) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, object);
}

STDAPI DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(g_module, path, MAX_PATH);
  const std::wstring classKey = std::wstring(L"CLSID\\") + kClassIdText;
  const bool registered = setKey(kProgramId, nullptr, L"Orvalle JV-Link stand-in") &&
                          setKey(std::wstring(kProgramId) + L"\\CLSID", nullptr, kClassIdText) &&
                          setKey(classKey, nullptr, L"Orvalle JV-Link stand-in") &&
                          setKey(classKey + L"\\ProgID", nullptr, kProgramId) &&
                          setKey(classKey + L"\\InprocServer32", nullptr, path) &&
                          setKey(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  return registered ? S_OK : E_FAIL;
}

STDAPI DllUnregisterServer() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kClassIdText).c_str());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgramId);
  return S_OK;
}

}  // extern "C"
