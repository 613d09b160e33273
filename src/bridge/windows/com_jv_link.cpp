#include "com_jv_link.h"

#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "store/cp932_utf16.h"
#include "windows_text.h"

namespace orvalle::bridge {
namespace {

// The code a call returns when COM could not make it: JV-Link's "internal
// error".
constexpr int kCallFailed = -401;

// The size offered to JVRead and JVGets for one record.
constexpr long kRecordBufferSize = 60000;

// A BSTR owned for the length of a call.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::string_view cp932) {
    const std::u16string text = cp932::toUtf16Preserving(cp932);
    m_value = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                static_cast<UINT>(text.size()));
  }
  ~Bstr() { SysFreeString(m_value); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  BSTR get() const { return m_value; }
  BSTR* out() {
    SysFreeString(m_value);
    m_value = nullptr;
    return &m_value;
  }
  // The text as CP932 bytes, every byte as the component meant it.
  std::string bytes() const {
    if (m_value == nullptr) return {};
    return cp932::fromUtf16Preserving(
        std::u16string_view(reinterpret_cast<const char16_t*>(m_value), SysStringLen(m_value)));
  }

 private:
  BSTR m_value = nullptr;
};

VARIANT text(const Bstr& value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = value.get();
  return v;
}

VARIANT number(long value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

VARIANT numberOut(long* value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4 | VT_BYREF;
  v.plVal = value;
  return v;
}

VARIANT textOut(Bstr& value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR | VT_BYREF;
  v.pbstrVal = value.out();
  return v;
}

}  // namespace

std::unique_ptr<ComJvLink> ComJvLink::create(const wchar_t* programId, std::string& failure) {
  CLSID classId;
  HRESULT result = CLSIDFromProgID(programId, &classId);
  IDispatch* dispatch = nullptr;
  if (SUCCEEDED(result)) {
    result = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  }
  if (FAILED(result)) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
    failure = "JV-Link(" + utf8(programId) +
              ")を作成できませんでした。JV-Linkがインストールされているか確認してください。(" +
              code + ")";
    return nullptr;
  }
  std::unique_ptr<ComJvLink> link(new ComJvLink(dispatch));
  link->m_readsBytes = link->idOf(L"JVGets") != DISPID_UNKNOWN;
  return link;
}

ComJvLink::ComJvLink(IDispatch* dispatch) : m_dispatch(dispatch) {}

ComJvLink::~ComJvLink() { m_dispatch->Release(); }

DISPID ComJvLink::idOf(const wchar_t* name) {
  if (auto it = m_ids.find(name); it != m_ids.end()) return it->second;
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (FAILED(m_dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
    id = DISPID_UNKNOWN;
  }
  m_ids.emplace(name, id);
  return id;
}

int ComJvLink::call(const wchar_t* name, VARIANT* arguments, unsigned count) {
  const DISPID id = idOf(name);
  HRESULT result = DISP_E_UNKNOWNNAME;
  VARIANT value;
  VariantInit(&value);
  if (id != DISPID_UNKNOWN) {
    // IDispatch takes the arguments last first.
    std::vector<VARIANT> reversed(arguments, arguments + count);
    std::reverse(reversed.begin(), reversed.end());
    DISPPARAMS parameters{reversed.data(), nullptr, count, 0};
    EXCEPINFO exception{};
    UINT wrongArgument = 0;
    result = m_dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                                &value, &exception, &wrongArgument);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
  }
  if (FAILED(result)) {
    std::fprintf(stderr, "COMエラー: %s (0x%08lX)\n", utf8(name).c_str(),
                 static_cast<unsigned long>(result));
    return kCallFailed;
  }
  int code = 0;
  if (SUCCEEDED(VariantChangeType(&value, &value, 0, VT_I4))) code = value.lVal;
  VariantClear(&value);
  return code;
}

int ComJvLink::jvInit(std::string_view softwareId) {
  Bstr id(softwareId);
  VARIANT arguments[] = {text(id)};
  return call(L"JVInit", arguments, 1);
}

int ComJvLink::jvSetUIProperties() { return call(L"JVSetUIProperties", nullptr, 0); }

int ComJvLink::jvOpen(std::string_view dataId, std::string_view fromTime, int option,
                      acquire::JvOpenCounts& counts) {
  counts = {};
  Bstr data(dataId);
  Bstr from(fromTime);
  long readCount = 0;
  long downloadCount = 0;
  Bstr lastFile;
  VARIANT arguments[] = {text(data),
                         text(from),
                         number(option),
                         numberOut(&readCount),
                         numberOut(&downloadCount),
                         textOut(lastFile)};
  const int code = call(L"JVOpen", arguments, 6);
  if (code == acquire::jv::kOk) {
    counts.readCount = static_cast<int>(readCount);
    counts.downloadCount = static_cast<int>(downloadCount);
    counts.lastFileTimestamp = lastFile.bytes();
  }
  return code;
}

int ComJvLink::jvStatus() { return call(L"JVStatus", nullptr, 0); }

int ComJvLink::jvRead(std::string& record, int& size, std::string& fileName) {
  record.clear();
  Bstr file;
  int code = 0;
  if (m_readsBytes) {
    SAFEARRAY* bytes = nullptr;
    VARIANT buffer;
    VariantInit(&buffer);
    buffer.vt = VT_ARRAY | VT_UI1 | VT_BYREF;
    buffer.pparray = &bytes;
    VARIANT arguments[] = {buffer, number(kRecordBufferSize), textOut(file)};
    code = call(L"JVGets", arguments, 3);
    if (code > 0 && bytes != nullptr) {
      void* data = nullptr;
      if (SUCCEEDED(SafeArrayAccessData(bytes, &data))) {
        const LONG length = static_cast<LONG>(bytes->rgsabound[0].cElements);
        record.assign(static_cast<const char*>(data),
                      static_cast<size_t>(std::min<LONG>(length, code)));
        SafeArrayUnaccessData(bytes);
      }
    }
    if (bytes != nullptr) SafeArrayDestroy(bytes);
  } else {
    Bstr buffer;
    long length = kRecordBufferSize;
    VARIANT arguments[] = {textOut(buffer), numberOut(&length), textOut(file)};
    code = call(L"JVRead", arguments, 3);
    if (code > 0) record = buffer.bytes();
  }
  if (code > 0) {
    size = static_cast<int>(record.size());
    fileName = file.bytes();
    if (!record.empty()) code = size;
  }
  return code;
}

int ComJvLink::jvCancel() { return call(L"JVCancel", nullptr, 0); }

int ComJvLink::jvClose() { return call(L"JVClose", nullptr, 0); }

int ComJvLink::jvRTOpen(std::string_view dataId, std::string_view key) {
  Bstr data(dataId);
  Bstr day(key);
  VARIANT arguments[] = {text(data), text(day)};
  return call(L"JVRTOpen", arguments, 2);
}

}  // namespace orvalle::bridge
