// The file layer's fault seam, shared by its platform implementations: every
// operation asks it first whether a test wants it to fail.
#ifndef TABULON_PLATFORM_FAULT_SEAM_H_
#define TABULON_PLATFORM_FAULT_SEAM_H_

#include "platform/files.h"

namespace tabulon::platform {

// The code of an injected fault due now for `operation`, or kNoError.
int TakeFault(FileOperation operation);

}  // namespace tabulon::platform

#endif  // TABULON_PLATFORM_FAULT_SEAM_H_
