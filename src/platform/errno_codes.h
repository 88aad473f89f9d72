// The desktop's error codes for POSIX errno values (POSIX builds only).
#ifndef TABULON_PLATFORM_ERRNO_CODES_H_
#define TABULON_PLATFORM_ERRNO_CODES_H_

namespace tabulon::platform {

// ENOENT -> 2; ENOTDIR, ENAMETOOLONG -> 3; EMFILE, ENFILE -> 4; EACCES,
// EPERM, EROFS, EISDIR -> 5; ENOSPC, EDQUOT -> 112; 0 -> 0. Any other value
// passes through as its own number.
int ErrorCodeFromErrno(int error_number);

}  // namespace tabulon::platform

#endif  // TABULON_PLATFORM_ERRNO_CODES_H_
