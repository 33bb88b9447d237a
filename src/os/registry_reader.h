// Reading the registry where a script test looks up an installed component.
#pragma once

#include <optional>
#include <string>

namespace kestrel::os {

class RegistryReader {
  public:
    virtual ~RegistryReader() = default;
    // The default (unnamed) text value of key under HKEY_CLASSES_ROOT, at most 999 bytes;
    // nothing when the key or the value cannot be read.
    virtual std::optional<std::string> classesRootDefaultValue(const std::string& key) = 0;
};

} // namespace kestrel::os
