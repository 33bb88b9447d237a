#include "script/plugin_globals.h"
#include "lexical/message_texts.h"

#include <charconv>
#include <string>

namespace kestrel::script {

namespace {

// "%d.%d" read back as a decimal number.
double versionNumber(uint32_t major, uint32_t minor) {
    std::string text = std::to_string(major) + "." + std::to_string(minor);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

double windowsVersionOf(uint32_t systemVersion) {
    return versionNumber(systemVersion & 0xFF, (systemVersion >> 8) & 0xFF);
}

double dosVersionOf(uint32_t systemVersion) {
    return versionNumber((systemVersion >> 24) & 0xFF, (systemVersion >> 16) & 0xFF);
}

void PluginGlobals::resetForInstallation(uint32_t systemVersion, bool driveAIsFixed) {
    settings.okText = lexical::texts::kOk;
    settings.cancelText = lexical::texts::kCancel;
    settings.badDirectoryText = lexical::texts::kBadDirectory;
    settings.badDriveText = lexical::texts::kBadDrive;
    settings.fileExistsText = lexical::texts::kFileExists;
    settings.fileNotFoundText = lexical::texts::kFileNotFound;
    options.reset();
    windowsVersion = windowsVersionOf(systemVersion);
    dosVersion = dosVersionOf(systemVersion);
    defaultDriveLetter = driveAIsFixed ? 'A' : 'C';
}

} // namespace kestrel::script
