#pragma once
// The error the skinned-window toolkit raises. Failing system calls are reported
// as class name, ".", method name, ": ", the function and " failed.", for example
// "TOrganicSkin.getRegion: CombineRgn failed.".

#include <stdexcept>
#include <string>

namespace kv::skin {

class OrganicShapeException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;

  [[nodiscard]] static OrganicShapeException Failed(const char* className, const char* method,
                                                    const char* function) {
    return OrganicShapeException(std::string(className) + "." + method + ": " + function +
                                 " failed.");
  }
};

}  // namespace kv::skin
