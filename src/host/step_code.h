// The step codes of WM_INSTALLSTEP (its wParam), also remembered with each download request so
// that a delivery says what it delivers. Codes 2 and 3 are optional pictures: a missing one is
// delivered without a file and the installation goes on; every other code is required.
#pragma once

#include <cstdint>

namespace kestrel::host {

enum class StepCode : int32_t {
    Continue = 0,      // start or go on, no file
    Abort = 1,         // end the installation
    ScreenPicture = 2, // the SCREENGRAPHIC file
    IntroPicture = 3,  // the INTROSCREEN file
    File = 4,          // a FILE of the script (or the next volume of an archive)
};

inline constexpr int32_t kLastStepCode = 4;

inline bool isOptional(StepCode code) {
    return code == StepCode::ScreenPicture || code == StepCode::IntroPicture;
}

} // namespace kestrel::host
