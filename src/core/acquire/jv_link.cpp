#include "acquire/jv_link.h"

#include <string>

namespace orvalle::acquire {

Status initialiseJvLink(JvLink& link) {
  const int code = link.jvInit(kSoftwareId);
  if (code == jv::kOk) return Status::success();
  return Status::failure("JVInitエラーが発生しました。：" + std::to_string(code));
}

}  // namespace orvalle::acquire
