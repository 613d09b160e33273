#pragma once

#include <oaidl.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "acquire/jv_link.h"

// JV-Link through COM automation: the component is made by its program id
// and every method is called through IDispatch by name, looked up at run
// time, so no type library or header of the data service is needed.
// Records are read with JVGets (a byte array, the bytes exactly) where the
// component offers it, else with JVRead, whose text is converted back to
// CP932 by the preserving conversion (store/cp932_utf16.h).
namespace orvalle::bridge {

class ComJvLink final : public acquire::JvLink {
 public:
  // The program id of JV-Link.
  static constexpr const wchar_t* kProgramId = L"JVDTLab.JVLink";

  // Makes the component; nullptr with `failure` set (UTF-8) when it cannot
  // be made. COM must be initialised on the calling thread.
  static std::unique_ptr<ComJvLink> create(const wchar_t* programId, std::string& failure);

  ~ComJvLink() override;
  ComJvLink(const ComJvLink&) = delete;
  ComJvLink& operator=(const ComJvLink&) = delete;

  // True when records are read with JVGets.
  bool readsBytes() const { return m_readsBytes; }
  // Reads with JVRead even where JVGets is offered.
  void useTextRead() { m_readsBytes = false; }

  int jvInit(std::string_view softwareId) override;
  int jvSetUIProperties() override;
  int jvOpen(std::string_view dataId, std::string_view fromTime, int option,
             acquire::JvOpenCounts& counts) override;
  int jvStatus() override;
  int jvRead(std::string& record, int& size, std::string& fileName) override;
  int jvCancel() override;
  int jvClose() override;
  int jvRTOpen(std::string_view dataId, std::string_view key) override;

 private:
  explicit ComJvLink(IDispatch* dispatch);

  // The dispatch id of a method; -1 when the component has none.
  DISPID idOf(const wchar_t* name);
  // Calls a method with `arguments` in the order of its parameters; returns
  // its result as a number, or a code for a call COM could not make
  // (reported on the error stream with the COM error).
  int call(const wchar_t* name, VARIANT* arguments, unsigned count);

  IDispatch* m_dispatch;
  std::map<std::wstring, DISPID> m_ids;
  bool m_readsBytes = false;
};

}  // namespace orvalle::bridge
