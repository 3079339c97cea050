#pragma once
// The calling thread's last system error and the system's text for a code.

#include <string>

namespace kel {

int LastSystemError();
void SetLastSystemError(int code);
// The system's own text; codes it does not know get its "Unknown error" text.
std::string SystemErrorText(int code);

// The codes the program itself sets or tests for, in the system's numbering.
extern const int kErrorNotFound;  // no file of that name
extern const int kErrorInUse;     // the test folder is held by another run
extern const int kErrorNoMemory;
extern const int kErrorBrokenPipe;  // written to a pipe whose reader has gone

// The system's code for a write that failed: a C stream's with errnoValue, or
// (errnoValue 0) a system call's; a closed pipe's is kErrorBrokenPipe.
int StreamWriteError(int errnoValue);

}  // namespace kel
